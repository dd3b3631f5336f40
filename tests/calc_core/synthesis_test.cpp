// Tests of the synthesis: its search against every build, worked designs of the default grades,
// a spec no grade meets and the grades it cannot search.
#include "calc_core/build_bands.h"
#include "calc_core/line_envelope.h"
#include "calc_core/output_spec.h"
#include "calc_core/synthesis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

namespace calc_core {
namespace {

// The Calc worked example: R2 10 kOhm, Vref 2.5 V, 40 V to 30 V, no diode; the middle target is
// the designed output at 0.7 V.
const Circuit CalcExample = {64955, 10000, 7210, 2.5, std::nullopt};
const std::vector<double> CalcTargets = {40, 34.954977462, 30};

// Each level's band over every corner of the box.
std::vector<ToleranceLevel> EveryCornerBands(const Circuit& c, const AnalysisSettings& s) {
    std::vector<ToleranceLevel> bands;
    for (double pinV : PinLevels(c)) {
        bands.push_back(WorstCase(ToleranceBoxAt(c, pinV, s)));
    }
    return bands;
}

// The best builds of a grade over every build, judged by the bands of every corner, and the
// smallest spec any of them meets.
struct Exhaustive {
    std::vector<Build> best; // the best few, ranked as the synthesis ranks them
    double tightestPct = INFINITY;
};

Exhaustive EveryBuild(const Circuit& design, const std::vector<double>& targets,
                      const AnalysisSettings& settings, const PartGrade& grade,
                      const std::vector<double>& values, const std::vector<double>& r2Values) {
    const AnalysisSettings s = GradeSettings(settings, grade);
    Exhaustive every;
    const auto ranksBefore = [](const Build& a, const Build& b) {
        return std::tie(b.margin, a.r1, a.r3, a.r2) < std::tie(a.margin, b.r1, b.r3, b.r2);
    };
    for (double r2 : r2Values) {
        for (double r1 : values) {
            for (double r3 : values) {
                Circuit c = design;
                c.r1 = r1, c.r2 = r2, c.r3 = r3;
                const std::vector<ToleranceLevel> bands = EveryCornerBands(c, s);
                Build build = {r1, r2, r3, INFINITY, true};
                double pct = 0;
                for (std::size_t k = 0; k < bands.size(); ++k) {
                    const SpecLevel spec = JudgeSpec(bands[k], targets[k], s.specPct);
                    build.margin = std::min(build.margin, spec.margin);
                    build.meets = build.meets && spec.meets;
                    pct = std::max({pct, (targets[k] - bands[k].min) / std::fabs(targets[k]) * 100,
                                    (bands[k].max - targets[k]) / std::fabs(targets[k]) * 100});
                }
                every.tightestPct = std::min(every.tightestPct, pct);
                every.best.insert(
                    std::upper_bound(every.best.begin(), every.best.end(), build, ranksBefore),
                    build);
                if (every.best.size() > SynthesisBuildCount + 1) {
                    every.best.pop_back();
                }
            }
        }
    }
    return every;
}

// The four corners of each edge give the bands of every corner, over random boxes.
TEST(BuildBands, EdgesFromFourCornersAreThoseOfEveryCorner) {
    std::mt19937 random(192);
    std::uniform_real_distribution<double> unit(0, 1);
    const auto ohms = [&] { return std::pow(10.0, 7 * unit(random)); };
    for (int i = 0; i < 2000; ++i) {
        const Circuit c = {ohms(), ohms(), ohms(), 0.2 + 3 * unit(random),
                           i % 2 ? std::optional(0.1 + 1.4 * unit(random)) : std::nullopt};
        AnalysisSettings s;
        s.resistorTolerancePct = 10 * unit(random);
        s.resistorTcrPpm = 500 * unit(random);
        s.vrefTolerancePct = 5 * unit(random);
        s.levelAccuracyMv = 300 * unit(random);
        s.vfSpreadV = 0.3 * unit(random);
        s.vfTempcoMv = 10 * unit(random) - 5;
        s.fbCurrentNa = i % 3 ? 0 : 5000 * unit(random);
        s.tempMinC = 60 * unit(random) - 60; // a range that may leave out 25 °C
        s.tempMaxC = s.tempMinC + 150 * unit(random);
        s.specPct = 10 * unit(random) + 0.01;
        std::vector<double> targets;
        for (double pinV : PinLevels(c)) {
            targets.push_back(CircuitOutput(c, pinV) * (0.9 + 0.2 * unit(random)));
        }
        const BuildBands bands(c, targets, s);
        const BuildStanding standing = bands.Standing(bands.DividerOf(c.r1, c.r2), c.r3);
        const std::vector<ToleranceLevel> every = EveryCornerBands(c, s);
        double margin = INFINITY;
        double needed = 0;
        for (std::size_t k = 0; k < every.size(); ++k) {
            margin = std::min(margin, JudgeSpec(every[k], targets[k], s.specPct).margin);
            needed = std::max({needed, (targets[k] - every[k].min) / std::fabs(targets[k]),
                               (every[k].max - targets[k]) / std::fabs(targets[k])});
        }
        const double scale = std::fabs(targets.front()) + std::fabs(targets.back());
        ASSERT_NEAR(standing.margin, margin, 1e-13 * scale) << i;
        ASSERT_NEAR(standing.specNeeded, needed, 1e-13 * (1 + needed)) << i;
    }
}

struct SearchCase {
    std::string name;
    Circuit design;
    std::vector<double> targets;
    AnalysisSettings settings;
    std::vector<PartGrade> grades;
    std::vector<double> parts;
    std::optional<R2Range> r2Free;
};

// The build of the k-th place, or one whose margin ties with it.
void ExpectPlace(const Build& got, const std::vector<Build>& best, std::size_t k, double tie) {
    EXPECT_NEAR(got.margin, best[k].margin, tie) << "place " << k;
    const bool tied = (k > 0 && best[k - 1].margin - best[k].margin <= tie) ||
                      (k + 1 < best.size() && best[k].margin - best[k + 1].margin <= tie);
    if (!tied) {
        EXPECT_EQ(std::tie(got.r1, got.r2, got.r3), std::tie(best[k].r1, best[k].r2, best[k].r3))
            << "place " << k;
    }
}

void ExpectAsEveryBuild(const SearchCase& row) {
    const Synthesis synthesis =
        Synthesise(row.design, row.targets, row.settings, row.grades, row.parts, row.r2Free);
    ASSERT_EQ(synthesis.grades.size(), row.grades.size());
    const double tie = 1e-12 * std::fabs(row.targets.front());
    std::optional<std::size_t> chosen;
    for (std::size_t g = 0; g < row.grades.size(); ++g) {
        SCOPED_TRACE(testing::Message() << "grade " << g);
        const PartGrade& grade = row.grades[g];
        const std::vector<double> values = grade.parts ? row.parts : SeriesValues(grade.series);
        std::vector<double> r2Values = {row.design.r2};
        if (row.r2Free) {
            r2Values.clear();
            std::copy_if(values.begin(), values.end(), std::back_inserter(r2Values),
                         [&](double r2) { return r2 >= row.r2Free->min && r2 <= row.r2Free->max; });
        }
        const Exhaustive every =
            EveryBuild(row.design, row.targets, row.settings, grade, values, r2Values);
        const GradeSynthesis& got = synthesis.grades[g];
        ASSERT_EQ(got.status, GradeStatus::Searched);
        ExpectPlace(got.best, every.best, 0, tie);
        EXPECT_EQ(got.meets(), every.best[0].meets);
        EXPECT_NEAR(got.tightestSpecPct, every.tightestPct, 1e-12 * every.tightestPct);
        EXPECT_FALSE(got.yieldPct.has_value());
        if (!chosen && every.best[0].meets) {
            chosen = g;
            ASSERT_EQ(synthesis.builds.size(), SynthesisBuildCount);
            for (std::size_t k = 0; k < SynthesisBuildCount; ++k) {
                ExpectPlace(synthesis.builds[k], every.best, k, tie);
            }
        }
    }
    EXPECT_EQ(synthesis.chosen, chosen);
    EXPECT_EQ(synthesis.limit.has_value(), !chosen);
}

PartGrade Grade(ESeries series, double tolerancePct, double tcrPpm) {
    return {series, false, tolerancePct, tcrPpm, {}};
}
PartGrade PartsGrade(double tolerancePct, double tcrPpm) {
    return {ESeries::E96, true, tolerancePct, tcrPpm, {}};
}

// Worked designs with and without the diode, R2 as designed and free, series and parts.
TEST(Synthesis, BestBuildsAndTightestSpecAsEveryBuild) {
    using enum ESeries;
    const Circuit diode = {24286, 10000, 1360, 2.5, 0.6};
    const std::vector<double> parts = {1000,  2200,  3300,  4700,  6800,  7500,  8200,
                                       10000, 22000, 47000, 56000, 62000, 68000, 100000};
    // clang-format off
    const SearchCase rows[] = {
        {"CalcExample", CalcExample, CalcTargets, {},
         {Grade(E12, 5, 200), Grade(E24, 1, 100), Grade(E12, 0.1, 10)}, {}, {}},
        {"CalcExampleTightSpec", CalcExample, CalcTargets, {.specPct = 2.5},
         {Grade(E12, 1, 100), Grade(E24, 0.5, 25)}, {}, {}},
        {"CalcExampleR2Free", CalcExample, CalcTargets, {.specPct = 3},
         {Grade(E12, 1, 100), Grade(E12, 0.1, 25)}, {}, R2Range{6800, 15000}},
        {"Diode", diode, {40, 30}, {.specPct = 4},
         {Grade(E12, 1, 100), Grade(E24, 0.5, 50)}, {}, {}},
        {"DiodeR2Free", diode, {40, 30}, {.specPct = 6},
         {Grade(E12, 1, 100)}, {}, R2Range{4700, 12000}},
        {"PartsR2Free", CalcExample, CalcTargets, {.specPct = 3},
         {PartsGrade(1, 100), PartsGrade(0.1, 10)}, parts, R2Range{1, 1e7}},
        {"DiodeParts", diode, {40, 30}, {.fbCurrentNa = 300, .specPct = 5},
         {PartsGrade(0.5, 25)}, parts, {}},
    };
    // clang-format on
    for (const SearchCase& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectAsEveryBuild(row);
    }
}

// Random designs and settings against every build of small series.
TEST(Synthesis, RandomDesignsAsEveryBuild) {
    std::mt19937 random(60063);
    std::uniform_real_distribution<double> unit(0, 1);
    const std::vector<double> e12 = SeriesValues(ESeries::E12);
    for (int i = 0; i < 16; ++i) {
        SearchCase row;
        row.name = "random " + std::to_string(i);
        const auto pick = [&] { return e12[std::size_t(unit(random) * double(e12.size() - 1))]; };
        row.design = {pick(), pick(), pick(), 0.3 + 2.5 * unit(random),
                      i % 3 == 0 ? std::optional(0.1 + 0.8 * unit(random)) : std::nullopt};
        for (double pinV : PinLevels(row.design)) {
            row.targets.push_back(CircuitOutput(row.design, pinV) * (0.95 + 0.1 * unit(random)));
        }
        row.settings.vrefTolerancePct = 2 * unit(random);
        row.settings.fbCurrentNa = i % 4 == 0 ? 1000 * unit(random) : 0;
        row.settings.specPct = 1 + 15 * unit(random);
        const ESeries series = i % 2 ? ESeries::E6 : ESeries::E12;
        row.grades = {Grade(series, 5 * unit(random), 200 * unit(random)),
                      Grade(series, 0.5 * unit(random), 25 * unit(random))};
        if (i % 5 == 0) {
            row.r2Free = R2Range{row.design.r2 / 1.5, row.design.r2 * 1.5};
        }
        SCOPED_TRACE(row.name);
        ExpectAsEveryBuild(row);
    }
}

} // namespace
} // namespace calc_core
