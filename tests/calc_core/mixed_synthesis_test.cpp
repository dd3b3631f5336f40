// Tests of buying at least cost: the worked example's mix, the search against every assignment
// and build, the power ratings, and the criterion's boards.
#include "calc_core/analysis_settings.h"
#include "calc_core/build_criterion.h"
#include "calc_core/mixed_synthesis.h"
#include "calc_core/part_power.h"
#include "calc_core/synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

namespace calc_core {
namespace {

const Circuit CalcDesign{64955, 10000, 7210, 2.5, std::nullopt};
const std::vector<double> CalcTargets{40, 34.95497746185853, 30};

// The worked example with the default grades and prices: R1 of grade 4 (64.9 kΩ), R2 of grade 2
// and R3 of grade 3 (7.15 kΩ) meet ± 5 % with 75 mV to spare for 1.6 + 1.1 + 1.3 = 4.0, against
// 4.8 for grade 4 throughout; nothing cheaper meets it.
TEST(MixedSynthesis, WorkedExampleBuysOneBetterPart) {
    const AnalysisSettings settings;
    const std::optional<MixedBuild> mix = CheapestMix(
        CalcDesign, CalcTargets, settings, {settings.grades, {}, std::nullopt, {}, std::nullopt});
    ASSERT_TRUE(mix);
    EXPECT_EQ(mix->grades, (std::array<std::size_t, 3>{3, 1, 2}));
    EXPECT_EQ(mix->r1, 64900);
    EXPECT_EQ(mix->r2, 10000);
    EXPECT_EQ(mix->r3, 7150);
    EXPECT_NEAR(mix->price, 4.0, 1e-12);
    EXPECT_NEAR(mix->verdict.margin, 0.075, 0.0005);
    EXPECT_TRUE(mix->verdict.meets);
    EXPECT_EQ(mix->verdict.boards, 0u);
}

// The synthesis looks for a mix only below the cheapest grade throughout that meets: at ± 5 % the
// worked example's 4.0 against grade 4's 4.8; at ± 1.5 %, where no grade meets, none; and none
// when mixing is off or a grade has no price.
TEST(MixedSynthesis, SynthesisMixesBelowTheGradeItChose) {
    const struct {
        const char* name;
        double spec;
        bool mix;
        bool priced;
        std::optional<double> price;
    } rows[] = {
        {"AtFivePercent", 5, true, true, 4.0},
        {"NoGradeMeets", 1.5, true, true, std::nullopt},
        {"MixingOff", 5, false, true, std::nullopt},
        {"AGradeUnpriced", 5, true, false, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisSettings settings;
        settings.specPct = row.spec;
        settings.mixGrades = row.mix;
        if (!row.priced) {
            settings.grades[0].price.reset();
        }
        const Synthesis synthesis =
            Synthesise(CalcDesign, CalcTargets, settings, settings.grades, {}, std::nullopt);
        ASSERT_EQ(synthesis.mixed.has_value(), row.price.has_value());
        if (row.price) {
            EXPECT_NEAR(synthesis.mixed->price, *row.price, 1e-12);
        }
    }
}

// Grades of a small parts list, so that every assignment and build can be tried: the search finds
// the cheapest assignment whose best build meets the spec, the larger margin on a price tie, with
// and without the diode.
TEST(MixedSynthesis, FindsWhatEveryAssignmentAndBuildSays) {
    std::vector<double> parts;
    for (double decade : {1e3, 1e4, 1e5}) {
        for (double step : {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2}) {
            parts.push_back(decade * step);
        }
    }
    const auto grade = [](double tolerance, double tcr, double price) {
        return PartGrade{
            .series = ESeries::Parts, .tolerancePct = tolerance, .tcrPpm = tcr, .price = price};
    };
    const std::vector<PartGrade> grades = {grade(5, 200, 1), grade(1, 100, 2), grade(0.1, 25, 5)};
    // Held to the designs' own outputs at a spec that the cheapest grade throughout misses.
    const struct {
        const char* name;
        Circuit design;
        double spec;
    } rows[] = {
        {"NoDiode", {47000, 10000, 8200, 1.2, std::nullopt}, 6},
        {"Diode", {47000, 10000, 8200, 2.5, 0.3}, 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisSettings settings;
        settings.specPct = row.spec;
        std::vector<double> targets;
        for (double pin : PinLevels(row.design)) {
            targets.push_back(OutputWithFbCurrent(row.design, pin, 0));
        }
        std::optional<std::tuple<double, double, double, double>> best; // price, -margin, r1, r3
        for (std::size_t a = 0; a < 3; ++a) {
            for (std::size_t b = 0; b < 3; ++b) {
                for (std::size_t c = 0; c < 3; ++c) {
                    const TermSizes sizes = SizesOf(settings, {&grades[a], &grades[b], &grades[c]});
                    for (double r1 : parts) {
                        for (double r3 : parts) {
                            Circuit build = row.design;
                            build.r1 = r1;
                            build.r3 = r3;
                            const CriterionVerdict v =
                                JudgeBuild(build, targets, settings, sizes, {}, settings.yield);
                            const auto key =
                                std::tuple(*grades[a].price + *grades[b].price + *grades[c].price,
                                           -v.margin, r1, r3);
                            if (v.meets && (!best || key < *best)) {
                                best = key;
                            }
                        }
                    }
                }
            }
        }
        const auto mix = CheapestMix(row.design, targets, settings,
                                     {grades, parts, std::nullopt, {}, std::nullopt});
        ASSERT_TRUE(best.has_value());
        ASSERT_TRUE(mix);
        EXPECT_NEAR(mix->price, std::get<0>(*best), 1e-12);
        EXPECT_NEAR(mix->verdict.margin, -std::get<1>(*best), 1e-12);
        EXPECT_EQ(mix->r1, std::get<2>(*best));
        EXPECT_EQ(mix->r3, std::get<3>(*best));
    }
}

// The rating holds up to 70 °C and falls linearly to nothing at 155 °C; R1 of 7.87 kΩ at 40 V
// over Vref 2.5 V dissipates 37.5² / 7870 = 178.7 mW, more than an 0603 part's 100 mW even at
// 25 °C, and 10 kΩ of R2 625 µW.
TEST(PartPower, DeratesAboveSeventyDegrees) {
    const std::pair<double, double> rows[] = {{-40, 0.1},    {70, 0.1}, {85, 0.1 * 70 / 85},
                                              {112.5, 0.05}, {155, 0},  {200, 0}};
    for (const auto& [temperature, watts] : rows) {
        EXPECT_NEAR(DeratedPowerW(0.1, temperature), watts, 1e-15) << temperature;
    }
    const BuildPower power = PowerOf({7870, 10000, 909, 2.5, std::nullopt});
    EXPECT_NEAR(power.watts[1], 2.5 * 2.5 / 10000, 1e-15);
    EXPECT_EQ(power.highest, 0u);
    const PartGrade rated{.powerW = 0.1};
    const PartGrade unrated{};
    BuildPower justUnder = power;
    justUnder.watts[0] = DeratedPowerW(0.1, 85);
    BuildPower justOver = justUnder;
    justOver.watts[0] = std::nextafter(justUnder.watts[0], 1.0);
    EXPECT_TRUE(WithinRatings(justUnder, {&rated, &rated, &rated}, 85));
    EXPECT_FALSE(WithinRatings(justOver, {&rated, &rated, &rated}, 85));
    EXPECT_TRUE(WithinRatings(justOver, {&unrated, &rated, &rated}, 85));
}

// Only R1 varies, uniformly, so a level fails for the share of R1's draws beyond its spec's edge:
// a build that meets the spec in the worst case needs no board; one that fails 2 % of its boards
// is refused after the first chunk, its lower bound already above 100 ppm; one that almost never
// fails passes once the bound of n boards without a failure, z² / (n + z²), is below 100 ppm:
// 117 ppm at 32,768 boards, 78 ppm at 49,152.
TEST(BuildCriterion, YieldRunsUntilTheBoundDecides) {
    AnalysisSettings settings;
    for (double AnalysisSettings::*term :
         {&AnalysisSettings::resistorTcrPpm, &AnalysisSettings::vrefTolerancePct,
          &AnalysisSettings::levelAccuracyMv}) {
        settings.*term = 0;
    }
    settings.resistorTolerancePct = 1;
    TermSizes sizes = SizesOf(settings);
    sizes.of[0][Index(ToleranceQuantity::R2)] = 0;
    sizes.of[0][Index(ToleranceQuantity::R3)] = 0;
    const CriterionSettings yield{BuildCriterion::Yield, 100, 1.33};
    // Vo at 0.14 V, 40.000026 V for its target of 40 V, moves by 37.5 V x 1 % = 0.375 V either
    // way, the most against its spec of the three levels: a spec edge at the fraction f of that
    // above it fails (1 - f) / 2 of the boards there.
    const struct {
        double specPct;
        bool meets;
        std::uint64_t boards;
    } rows[] = {
        {1, true, 0},             // 0.4 V: the worst case meets
        {0.9188, false, 16384},   // 0.3675 V: f = 0.98, 2 % fail
        {0.9375649, true, 49152}, // f = 0.99999987 above: 0.07 ppm fail
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.specPct);
        settings.specPct = row.specPct;
        const CriterionVerdict v =
            JudgeBuild(CalcDesign, CalcTargets, settings, sizes, yield, settings.yield);
        EXPECT_EQ(v.meets, row.meets);
        EXPECT_EQ(v.boards, row.boards);
    }
}

// Builds whose values all scale by 2 give the same output to the last bit, so their margins tie
// exactly: the smaller R1 wins, then the smaller R3, then R2.
TEST(Synthesis, ExactTiesGoToTheSmallerR1ThenR3ThenR2) {
    std::vector<double> parts;
    for (double ohms = 1000; ohms <= 128000; ohms *= 2) {
        parts.push_back(ohms);
    }
    const Circuit design{8000, 8000, 8000, 1.25, std::nullopt};
    std::vector<double> targets;
    for (double pin : PinLevels(design)) {
        targets.push_back(OutputWithFbCurrent(design, pin, 0));
    }
    const PartGrade grade{.series = ESeries::Parts, .tolerancePct = 1, .tcrPpm = 100};
    const Synthesis synthesis =
        Synthesise(design, targets, AnalysisSettings{}, {&grade, 1}, parts, R2Range{1000, 128000});
    ASSERT_EQ(synthesis.grades.size(), 1u);
    const Build& best = synthesis.grades[0].best;
    EXPECT_EQ(std::tuple(best.r1, best.r3, best.r2), std::tuple(1000.0, 1000.0, 1000.0));
    ASSERT_GE(synthesis.builds.size(), 2u);
    EXPECT_EQ(synthesis.builds[1].margin, best.margin);
    EXPECT_EQ(synthesis.builds[1].r1, 2000);
}

// With R2 free from 1 kΩ to 1 MΩ, grade 6's best build was R1 7.87 kΩ, R2 1.18 kΩ and R3 909 Ω,
// whose R1 dissipates 179 mW; within the 0603 rating derated to 82.4 mW at 85 °C, every grade's
// best build now keeps each part below it.
TEST(Synthesis, EveryBuildStaysWithinItsRating) {
    const AnalysisSettings settings;
    const Synthesis synthesis =
        Synthesise(CalcDesign, CalcTargets, settings, settings.grades, {}, R2Range{1e3, 1e6});
    const double rated = DeratedPowerW(DefaultPowerW, settings.tempMaxC);
    EXPECT_NEAR(rated, 0.1 * 70 / 85, 1e-15);
    for (const GradeSynthesis& g : synthesis.grades) {
        ASSERT_EQ(g.status, GradeStatus::Searched);
        for (double watts : g.power.watts) {
            EXPECT_LE(watts, rated);
        }
    }
    EXPECT_NE(synthesis.grades[5].best.r1, 7870);
}

} // namespace
} // namespace calc_core
