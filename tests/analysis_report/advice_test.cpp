// The advice of the report agrees with itself on the Calc worked example: the preferred pairs'
// warning names the resistors it judged with and the grade that meets the spec; when none does,
// the grade that comes nearest is named and its builds shown; a fitted build says whose it is;
// a parts list nothing uses says so.
#include "analysis_report/analysis_report.h"
#include "calc_core/analysis_design.h"
#include "calc_core/design_analysis.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace analysis_report;
using calc_core::AnalysisSettings;
using calc_core::FitChoice;

namespace {

const calc_core::AnalysisDesign CalcExample =
    calc_core::DesignOfCalc({calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210);

Report Analysed(const AnalysisSettings& settings, const std::optional<FitChoice>& fit = {}) {
    calc_core::AnalysisAsks asks;
    asks.synthesis = true;
    const calc_core::AnalysisOutcome outcome =
        calc_core::AnalyseDesign(CalcExample, settings, fit, asks);
    EXPECT_EQ(outcome.reason, "");
    return MakeReport(calc_core::Tab::Calc, CalcExample, settings, outcome, ".");
}

std::vector<std::string> Warnings(const Section* section) {
    std::vector<std::string> warnings;
    for (const Note& note : section ? section->notes : std::vector<Note>{}) {
        if (note.warning) {
            warnings.push_back(note.text);
        }
    }
    return warnings;
}

// The default grades, and the same with a looser grade of the parts list added last, which
// reaches only ± 14.862 % with 68 k, 10 k and 4.7 k.
AnalysisSettings Settings(double specPct, bool looserLast) {
    AnalysisSettings s;
    s.specPct = specPct;
    if (looserLast) {
        s.grades.push_back({calc_core::ESeries::Parts, 1, 100, {}, ""});
        s.parts.values = {4700, 10000, 68000};
    }
    return s;
}

// Grade 4 (E96 1 % 50 ppm/°C) is the first to meet ± 5 %, with 64.9 k and 7.15 k, the same pair
// the preferred values rank first and find short of ± 5 % with the settings' 100 ppm/°C. At
// ± 1.5 % grade 7 comes nearest with ± 2.000 %, a looser grade after it or not.
TEST(Advice, TheWarningAndTheSummaryNameTheSameGrade) {
    struct Row {
        const char* name;
        AnalysisSettings settings;
        std::string pairsWarning;
        std::string partsWarning; // empty: Parts to buy warns of nothing
        std::string buildsSubject;
    };
    const std::string pairsMiss = "None of the pairs meets the \u00b1 SPEC % spec at every level "
                                  "with its own worst-case bands, judged with the settings' "
                                  "resistors, \u00b1 1 % \u00b1 100 ppm/\u00b0C. ";
    const auto miss = [&pairsMiss](const std::string& spec, const std::string& rest) {
        return std::string(pairsMiss).replace(pairsMiss.find("SPEC"), 4, spec) + rest;
    };
    const std::string grade4 = "Grade 4 of Parts to buy, E96 \u00b1 1 % \u00b1 50 ppm/\u00b0C, "
                               "meets it: see Parts to buy and Best builds.";
    const std::string noneMeets = "No grade of Parts to buy meets it either: see Parts to buy and "
                                  "Best builds for the one that comes nearest.";
    const std::string grade7 = "No grade meets the \u00b1 1.5 % spec. Grade 7 (E192 \u00b1 0.1 % "
                               "\u00b1 10 ppm/\u00b0C) comes nearest, reaching \u00b1 2.000 % at "
                               "best; Best builds shows its builds.";
    const std::string nearest7 =
        "Grade 7, nearest the spec (none meets it): E192 \u00b1 0.1 % \u00b1 10 ppm/\u00b0C";
    // clang-format off
    const Row rows[] = {
        {"At5Pct", Settings(5, false), miss("5", grade4), "",
         "Grade 4: E96 \u00b1 1 % \u00b1 50 ppm/\u00b0C"},
        {"At5PctLooserLast", Settings(5, true), miss("5", grade4), "",
         "Grade 4: E96 \u00b1 1 % \u00b1 50 ppm/\u00b0C"},
        {"At1.5Pct", Settings(1.5, false), miss("1.5", noneMeets), grade7, nearest7},
        {"At1.5PctLooserLast", Settings(1.5, true), miss("1.5", noneMeets), grade7, nearest7},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Report report = Analysed(row.settings);
        EXPECT_EQ(Warnings(FindSection(report, PreferredSectionName)),
                  std::vector{row.pairsWarning});
        EXPECT_EQ(Warnings(FindSection(report, PartsSectionName)),
                  row.partsWarning.empty() ? std::vector<std::string>{}
                                           : std::vector{row.partsWarning});
        const Section* builds = FindSection(report, BuildsSectionName);
        ASSERT_NE(builds, nullptr);
        EXPECT_EQ(builds->subject, row.buildsSubject);
        EXPECT_EQ(builds->rows.size(), 3u);
    }
}

// A fitted pair's pages say where it came from: a preferred pair by its rank, a build of Parts to
// buy or Best builds whose grade's tolerance and TCR the settings hold, else typed. The same pair
// with the settings' 100 ppm/°C is grade 3's best build (E96 1 % 100 ppm/°C), with 75 ppm/°C
// no grade's.
TEST(Advice, TheFittedPairSaysWhereItCameFrom) {
    AnalysisSettings grade4;
    grade4.resistorTcrPpm = 50;
    AnalysisSettings noGrade;
    noGrade.resistorTcrPpm = 75;
    struct Row {
        const char* name;
        AnalysisSettings settings;
        FitChoice fit;
        std::string origin;
    };
    const Row rows[] = {
        {"PreferredPair", {}, FitChoice::Pair(2), "preferred pair 2"},
        {"GradesBestBuild", grade4, FitChoice::Typed(64900, 7150), "grade 4's best build"},
        {"ItsSecondBuild", grade4, FitChoice::Typed(63400, 6810), "grade 4's build 2"},
        {"Grade3sTcr", {}, FitChoice::Typed(64900, 7150), "grade 3's best build"},
        {"NoGradesTcr", noGrade, FitChoice::Typed(64900, 7150), "as typed"},
        {"AnotherR2", grade4, FitChoice::Typed(64900, 7150, 10200), "as typed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Report report = Analysed(row.settings, row.fit);
        const std::string& subject = FindSection(report, "Levels")->subject;
        EXPECT_TRUE(subject.ends_with(", " + row.origin)) << subject;
    }
}

// A parts list that neither the series nor a grade names is said to be unused, with how to use
// it; one that either takes, or none, says nothing.
TEST(Advice, AnUnusedPartsListIsSaidBesideTheSettings) {
    const std::string unused =
        "The parts list is not used: neither the series nor a part grade names it. To use it, "
        "choose the series parts, or add a grade that names it, such as \"parts, 1, 100\", to "
        "the part grades.";
    AnalysisSettings given;
    given.parts.values = {4700, 10000, 68000};
    AnalysisSettings series = given;
    series.series = calc_core::ESeries::Parts;
    AnalysisSettings graded = Settings(5, true);
    struct Row {
        const char* name;
        AnalysisSettings settings;
        std::vector<std::string> notes;
    };
    const Row rows[] = {
        {"Unused", given, {unused}},
        {"TheSeries", series, {}},
        {"AGrade", graded, {}},
        {"NoList", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> notes;
        for (const Note& note : Analysed(row.settings).settings.notes) {
            notes.push_back(note.text);
        }
        EXPECT_EQ(notes, row.notes);
    }
}

} // namespace
