// The bill of materials of the build to buy for the Calc worked example, worked out from the
// default grades' prices by hand: the cells, the total a board, and cells a spreadsheet would
// run made harmless; a catalogue's part numbers; and the same choice on every thread count.
#include "analysis_report/analysis_report.h"
#include "analysis_report/buy_section.h"
#include "calc_core/analysis_design.h"
#include "calc_core/design_analysis.h"
#include "calc_core/parts_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using calc_core::AnalysisSettings;

const calc_core::AnalysisDesign CalcExample =
    calc_core::DesignOfCalc({calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210);

analysis_report::Report ReportOf(const AnalysisSettings& settings, bool yield = false,
                                 unsigned threads = 1) {
    calc_core::AnalysisAsks asks;
    asks.synthesis = true;
    asks.yield = yield;
    asks.threads = threads;
    const calc_core::AnalysisOutcome outcome =
        calc_core::AnalyseDesign(CalcExample, settings, std::nullopt, asks);
    return analysis_report::MakeReport(calc_core::Tab::Calc, CalcExample, settings, outcome, ",");
}

std::optional<std::string> Bom(const AnalysisSettings& settings) {
    return analysis_report::BomCsv(ReportOf(settings));
}

// The worked example's parts of E96 1 % in two grades, 100 and 50 ppm/°C, 10 kΩ in both.
void WithCatalogue(AnalysisSettings& s) {
    s.parts = calc_core::ReadPartsList("value, tcr, price, mpn, manufacturer\n"
                                       "64.9k, 100, 0.013, RC-6492, Yageo\n"
                                       "7.15k, 100, 0.013, RC-7151, Yageo\n"
                                       "10k, 100, 0.013, =RC-1002, Yageo\n"
                                       "64.9k, 50, 0.016, ERJ-6492, Panasonic\n"
                                       "10k, 50, 0.016, ERJ-1002, Panasonic\n")
                  .list;
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
        // R1 of the better grade, R2 and R3 of the cheaper: the catalogue's lines, a part number
        // that a spreadsheet would run made text.
        {"A catalogue, 10 kΩ in both grades", WithCatalogue,
         "R1,64900,1,50,0,2 (Panasonic),ERJ-6492,Panasonic,1,0.016,\r\n"
         "R2,10000,1,100,0,1 (Yageo),'=RC-1002,Yageo,1,0.013,\r\n"
         "R3,7150,1,100,0,1 (Yageo),RC-7151,Yageo,1,0.013,\r\ntotal,,,,,,,,,0.042,\r\n"},
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

// The yield criterion decides by simulated boards: the same seed chooses the same build, and
// reports the same figures, whatever the threads of the yield estimate beside it.
TEST(BillOfMaterials, TheSameChoiceOnEveryThreadCount) {
    AnalysisSettings settings;
    settings.criterion = calc_core::BuildCriterion::Yield;
    settings.yield.boards = 20000;
    const analysis_report::Report one = ReportOf(settings, true, 1);
    const std::optional<std::string> bom = analysis_report::BomCsv(one);
    ASSERT_TRUE(bom);
    // The Buy section's notes: the criterion's bound and the boards that decided it.
    const auto buyNotes = [](const analysis_report::Report& report) {
        std::vector<std::string> texts;
        for (const auto& note :
             analysis_report::FindSection(report, analysis_report::BuySectionName)->notes) {
            texts.push_back(note.text);
        }
        return texts;
    };
    for (const unsigned threads : {2u, 3u, 8u}) {
        const analysis_report::Report more = ReportOf(settings, true, threads);
        EXPECT_EQ(analysis_report::BomCsv(more), bom) << threads;
        EXPECT_EQ(buyNotes(more), buyNotes(one)) << threads;
    }
}

} // namespace
