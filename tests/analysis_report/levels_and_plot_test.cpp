// Tests of the report's levels section and the plot's numbers for designs worked by hand: the
// columns and the warning cells by fit and diode, and the plot's range, ends and description.
#include "analysis_report/analysis_report.h"
#include "analysis_report/plot_data.h"
#include "calc_core/analysis_design.h"
#include "calc_core/design_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace analysis_report;
using calc_core::AnalysisDesign;
using calc_core::DiodeChoice;
using calc_core::FitChoice;

namespace {

const std::string Ohm = "\u03a9";

// The Calc worked example as shown, and the Check example with the diode, whose level of 0.7 V
// leaves Vf plus the pin level at 1.3 V, above Vref's 1.2 V: the diode blocks there.
const AnalysisDesign CalcExample =
    calc_core::DesignOfCalc({DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210);
const AnalysisDesign CheckDiodeExample =
    calc_core::DesignOfCheck({DiodeChoice::Yes, 470, 10, 100, 1.2, 0.6});
// A set whose R1 / R3 of 10 pulls the output below 0 V above a pin level of 0.6 V:
// 1 V + 10 * (0.5 V - 0.7 V) = -1 V, and -6.5 V at 1.25 V.
const AnalysisDesign CollapsingSet =
    calc_core::DesignOfCheck({DiodeChoice::No, 10000, 10000, 1000, 0.5, 0});

calc_core::DesignAnalysis Analysed(const AnalysisDesign& design, double pinVoltage,
                                   const std::optional<FitChoice>& fit) {
    calc_core::AnalysisSettings settings;
    settings.pinVoltage = pinVoltage;
    calc_core::AnalysisOutcome outcome = calc_core::AnalyseDesign(design, settings, fit);
    EXPECT_EQ(outcome.reason, "");
    return outcome.analysis.value();
}

// Vo = (R1 + R2) / R2 * Vref + R1 / R3 * V(R3), V(R3) being Vref minus the pin level, and with
// the diode also minus Vf, and never below 0; the tabs' formula lets it go below. Each row gives
// the first cells of each level's row.
struct LevelsRow {
    const char* name;
    calc_core::Tab tab;
    AnalysisDesign design;
    std::optional<FitChoice> fit;
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::pair<int, int>> flagged;
    std::vector<std::string> warnings;
};

// clang-format off
const LevelsRow LevelsRows[] = {
    {"Calc example: the output and the three currents", calc_core::Tab::Calc, CalcExample, {},
     {"Pin level", "Vo", "I(R1)", "I(R2)", "I(R3)"},
     {{"0.140 V", "40.000 V", "577.3 \u00b5A", "250 \u00b5A", "327.3 \u00b5A"},
      {"0.700 V", "34.955 V", "499.7 \u00b5A", "250 \u00b5A", "249.7 \u00b5A"},
      {"1.250 V", "30.000 V", "423.4 \u00b5A", "250 \u00b5A", "173.4 \u00b5A"}},
     {}, {}},
    {"Calc example fitted with typed E96 values: designed, fitted, difference",
     calc_core::Tab::Calc, CalcExample, FitChoice::Typed(64900, 7150),
     {"Pin level", "Designed Vo", "Fitted Vo", "Difference", "I(R1)", "I(R2)", "I(R3)"},
     {{"0.140 V", "40.000 V", "40.147 V", "0.147 V"},
      {"0.700 V", "34.955 V", "35.063 V", "0.108 V"},
      {"1.250 V", "30.000 V", "30.071 V", "0.071 V"}},
     {}, {}},
    {"outputs below 0 V: the Vo cells warn, a note for each", calc_core::Tab::Check,
     CollapsingSet, {},
     {"Pin level", "Vo", "I(R1)", "I(R2)", "I(R3)"},
     {{"0.140 V", "4.600 V"}, {"0.700 V", "-1.000 V"}, {"1.250 V", "-6.500 V"}},
     {{1, 1}, {2, 1}},
     {"At 0.700 V the formula gives -1.000 V: the converter cannot regulate below 0 V, and its "
      "output collapses.",
      "At 1.250 V the formula gives -6.500 V: the converter cannot regulate below 0 V, and its "
      "output collapses."}},
    {"fitted, the same set: the warning cells are the fitted outputs'", calc_core::Tab::Check,
     CollapsingSet, FitChoice::Typed(10000, 1000),
     {"Pin level", "Designed Vo", "Fitted Vo", "Difference", "I(R1)", "I(R2)", "I(R3)"},
     {{"0.140 V", "4.600 V", "4.600 V", "0.000 V"},
      {"0.700 V", "-1.000 V", "-1.000 V", "0.000 V"},
      {"1.250 V", "-6.500 V", "-6.500 V", "0.000 V"}},
     {{1, 2}, {2, 2}},
     {"At 0.700 V the formula gives -1.000 V: the converter cannot regulate below 0 V, and its "
      "output collapses.",
      "At 1.250 V the formula gives -6.500 V: the converter cannot regulate below 0 V, and its "
      "output collapses."}},
    {"Check example with the diode: it blocks at 0.7 V, a warning cell and note",
     calc_core::Tab::Check, CheckDiodeExample, {},
     {"Pin level", "Vo", "Diode", "Vo by the tabs' formula", "I(R1)", "I(R2)", "I(R3)"},
     {{"0.140 V", "59.762 V", "conducts", "59.762 V", "124.6 mA", "120 mA", "4.6 mA"},
      {"0.700 V", "57.600 V", "blocks", "57.130 V", "120 mA", "120 mA"}},
     {{1, 2}},
     {"At 0.700 V the diode blocks, as Vf plus the pin level is not below Vref: no current "
      "flows through R3, and the output sits at 57.600 V, not at the 57.130 V of the Calc and "
      "Check tabs' formula."}},
};
// clang-format on

TEST(LevelsSection, ColumnsAndWarningsByFitAndDiode) {
    for (const LevelsRow& row : LevelsRows) {
        SCOPED_TRACE(row.name);
        const calc_core::DesignAnalysis analysis = Analysed(row.design, 3.3, row.fit);
        const Report report =
            MakeReport(row.tab, row.design, analysis.settings, {analysis, std::string()}, ".");
        const Section* levels = FindSection(report, "Levels");
        ASSERT_NE(levels, nullptr);
        EXPECT_EQ(levels->header, row.header);
        ASSERT_EQ(levels->rows.size(), row.rows.size());
        for (std::size_t i = 0; i < row.rows.size(); ++i) {
            const std::vector<std::string>& cells = levels->rows[i];
            ASSERT_EQ(cells.size(), row.header.size());
            EXPECT_EQ(
                std::vector(cells.begin(), cells.begin() + std::ptrdiff_t(row.rows[i].size())),
                row.rows[i]);
        }
        EXPECT_EQ(levels->flagged, row.flagged);
        std::vector<std::string> warnings;
        for (const Note& note : levels->notes) {
            if (note.warning) {
                warnings.push_back(note.text);
            }
        }
        EXPECT_EQ(warnings, row.warnings);
    }
}

// The plot runs from 0 V to the pin voltage of the settings, widened to take in every level, and
// shows the fitted circuit when there is one.
struct PlotRow {
    const char* name;
    AnalysisDesign design;
    double pinVoltage;
    std::optional<FitChoice> fit;
    std::pair<double, double> x;
    double firstVo;
    double lastVo;
    std::size_t marks;
    std::string description; // its first sentence
};

// clang-format off
const PlotRow PlotRows[] = {
    {"diode example to 3.3 V: blocked from 0.6 V on, the divider's 57.6 V",
     CheckDiodeExample, 3.3, {}, {0, 3.3}, 60.42, 57.6, 2,
     "Vo from 60.420 V at 0.000 V to 57.600 V at 3.300 V."},
    {"a pin voltage below 0 widens the range down, the highest level up",
     CalcExample, -1, {}, {-1, 1.25}, 50.2703034, 30.0000191, 3,
     "Vo from 50.270 V at -1.000 V to 30.000 V at 1.250 V."},
    {"a fitted pair is the plotted circuit and named first",
     CalcExample, 3.3, FitChoice::Typed(64900, 7150), {0, 3.3}, 41.4173077, 11.4634615, 3,
     "As fitted, R1 64.9 k" + Ohm + " and R3 7.15 k" + Ohm +
         ": Vo from 41.417 V at 0.000 V to 11.463 V at 3.300 V."},
};
// clang-format on

TEST(PlotData, RangeEndsAndDescription) {
    for (const PlotRow& row : PlotRows) {
        SCOPED_TRACE(row.name);
        const PlotData plot = MakePlotData(Analysed(row.design, row.pinVoltage, row.fit), ".");
        EXPECT_EQ(plot.x, row.x);
        ASSERT_EQ(plot.curve.size(), 401u);
        EXPECT_EQ(plot.curve.front().first, row.x.first);
        EXPECT_EQ(plot.curve.back().first, row.x.second);
        EXPECT_NEAR(plot.curve.front().second, row.firstVo, 1e-6);
        EXPECT_NEAR(plot.curve.back().second, row.lastVo, 1e-6);
        EXPECT_TRUE(plot.drawable);
        EXPECT_EQ(plot.description.substr(0, row.description.size()), row.description);
        // Every mark and its bands lie inside the output range, which has room around them.
        ASSERT_EQ(plot.marks.size(), row.marks);
        for (const PlotMark& mark : plot.marks) {
            EXPECT_LT(plot.y.first, std::min(mark.min, mark.specLow));
            EXPECT_GT(plot.y.second, std::max(mark.max, mark.specHigh));
        }
    }
}

} // namespace
