// The bill of materials of the build to buy for the Calc worked example, worked out from the
// default grades' prices by hand: the cells, the total a board, and cells a spreadsheet would
// run made harmless.
#include "analysis_report/analysis_report.h"
#include "analysis_report/buy_section.h"
#include "calc_core/analysis_design.h"
#include "calc_core/design_analysis.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using calc_core::AnalysisSettings;

const calc_core::AnalysisDesign CalcExample =
    calc_core::DesignOfCalc({calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210);

std::optional<std::string> Bom(const AnalysisSettings& settings) {
    calc_core::AnalysisAsks asks;
    asks.synthesis = true;
    const calc_core::AnalysisOutcome outcome =
        calc_core::AnalyseDesign(CalcExample, settings, std::nullopt, asks);
    return analysis_report::BomCsv(
        analysis_report::MakeReport(calc_core::Tab::Calc, CalcExample, settings, outcome, ","));
}

constexpr const char* Header = "designator,value_ohm,tolerance_pct,tcr_ppm,life_drift_pct,grade,"
                               "mpn,manufacturer,quantity,unit_price,power_w\r\n";

TEST(BillOfMaterials, TheBuildToBuyPartByPart) {
    struct Row {
        const char* name;
        void (*vary)(AnalysisSettings&);
        std::optional<std::string> rows; // after the header; none when nothing is bought
    };
    const Row rows[] = {
        // The mix: grade 4, 2 and 3 for 1.6 + 1.1 + 1.3, whatever the window's decimal comma.
        {"Mixed", [](AnalysisSettings&) {},
         "R1,64900,1,50,0,4,,,1,1.6,0.1\r\nR2,10000,1,100,0,2,,,1,1.1,0.1\r\n"
         "R3,7150,1,100,0,3,,,1,1.3,0.1\r\ntotal,,,,,,,,,4,\r\n"},
        // Grade 4 throughout, its named cell quoted for its comma; it starts with the grade's
        // number,
        // so a spreadsheet does not run it.
        {"Uniform, a named grade",
         [](AnalysisSettings& s) {
             s.mixGrades = false;
             s.grades[3].name = "=thin, film";
         },
         "R1,64900,1,50,0,\"4 (=thin, film)\",,,1,1.6,0.1\r\n"
         "R2,10000,1,50,0,\"4 (=thin, film)\",,,1,1.6,0.1\r\n"
         "R3,7150,1,50,0,\"4 (=thin, film)\",,,1,1.6,0.1\r\ntotal,,,,,,,,,4.8,\r\n"},
        // By the yield: 1.3 + 1.1 + 1.1 is 3.5, not 3.5000000000000004.
        {"Yield criterion",
         [](AnalysisSettings& s) { s.criterion = calc_core::BuildCriterion::Yield; },
         "R1,63400,1,100,0,3,,,1,1.3,0.1\r\nR2,10000,1,100,0,2,,,1,1.1,0.1\r\n"
         "R3,6800,1,100,0,2,,,1,1.1,0.1\r\ntotal,,,,,,,,,3.5,\r\n"},
        {"Nothing meets ± 1.5 %", [](AnalysisSettings& s) { s.specPct = 1.5; }, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisSettings settings;
        row.vary(settings);
        const std::optional<std::string> bom = Bom(settings);
        ASSERT_EQ(bom.has_value(), row.rows.has_value());
        if (row.rows) {
            EXPECT_EQ(*bom, Header + *row.rows);
        }
    }
}

} // namespace
