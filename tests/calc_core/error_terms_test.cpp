// Tests of the error terms: each moves the band of a design worked by hand, the boards of the
// yield never leave the worst-case band of their build, and life drift's spread on the boards
// has its closed form.
#include "calc_core/error_terms.h"
#include "calc_core/output_spec.h"
#include "calc_core/portable_random.h"
#include "calc_core/tolerance_box.h"
#include "calc_core/yield_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace calc_core {
namespace {

// Nothing moves: every term at 0, the range 25 °C to 75 °C (50 °C from the nominal temperature).
AnalysisSettings Still() {
    AnalysisSettings s;
    for (const ErrorTerm& term : ErrorTerms) {
        s.*term.setting = 0;
    }
    s.tempMinC = 25;
    s.tempMaxC = 75;
    return s;
}

// R1 = R2 = R3 = 10 kΩ, Vref 1.2 V, at the pin level 0.14 V: Vo = 2 Vref + (Vref - 0.14 V) =
// 3.46 V; with a diode of Vf 0.3 V, 3.16 V. Each row moves one term, and the band is worked in
// Python from Vo = (R1 + R2) / R2 Vref + R1 / R3 (Vref - Vf - L) + I_FB R1 at the box's corners;
// the RSS from each quantity's half swing. Every term of the model has a row.
TEST(ErrorTerms, EachTermMovesTheBandAsWorkedByHand) {
    struct Row {
        double AnalysisSettings::*setting;
        double value;
        bool diode;
        double min;
        double max;
        double rss;
    };
    using S = AnalysisSettings;
    const Row rows[] = {
        {&S::resistorTolerancePct, 1, false, 3.415247524752475, 3.5056565656565657,
         0.027697856951248254},
        // 100 ppm/°C over 50 °C is 0.5 %.
        {&S::resistorTcrPpm, 100, false, 3.4375124378109456, 3.4827135678391956,
         0.013848581321570807},
        // The same box as a tolerance of the same size.
        {&S::resistorLifeDriftPct, 1, false, 3.415247524752475, 3.5056565656565657,
         0.027697856951248254},
        {&S::vrefTolerancePct, 1, false, 3.424, 3.496, 0.036},
        {&S::vrefDriftPpm, 100, false, 3.442, 3.478, 0.018},
        {&S::levelAccuracyMv, 10, false, 3.45, 3.47, 0.01},
        // 100 nA through R1 = 10 kΩ.
        {&S::fbCurrentNa, 100, false, 3.459, 3.461, 0.001},
        {&S::vfSpreadV, 0.05, true, 3.11, 3.21, 0.05},
        // -2 mV/°C takes Vf from 0.3 V at 25 °C to 0.2 V at 75 °C, one way only.
        {&S::vfTempcoMv, -2, true, 3.16, 3.26, 0.05},
    };
    for (const ErrorTerm& term : ErrorTerms) {
        EXPECT_TRUE(std::any_of(std::begin(rows), std::end(rows),
                                [&](const Row& row) { return row.setting == term.setting; }))
            << "no row for the term of " << SettingOf(term.setting).key;
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(SettingOf(row.setting).key));
        AnalysisSettings settings = Still();
        settings.*row.setting = row.value;
        const Circuit circuit{10e3, 10e3, 10e3, 1.2, row.diode ? std::optional(0.3) : std::nullopt};
        const ToleranceLevel band = AnalyseTolerance(circuit, 0.14, settings);
        EXPECT_NEAR(band.min, row.min, 1e-12);
        EXPECT_NEAR(band.max, row.max, 1e-12);
        EXPECT_NEAR(band.rss, row.rss, 1e-12);
    }
}

// Life drift alone spreads as the three resistors' half swings say (Python): R1 0.0226 V,
// R2 0.0120012 V and R3 0.0106011 V of the 3.46 V at 1 %.
TEST(ErrorTerms, LifeDriftSharesAreEachResistors) {
    AnalysisSettings settings = Still();
    settings.resistorLifeDriftPct = 1;
    const ToleranceLevel band =
        AnalyseTolerance({10e3, 10e3, 10e3, 1.2, std::nullopt}, 0.14, settings);
    EXPECT_NEAR(band.shares[Index(ToleranceQuantity::R1)], 0.6657704915715443, 1e-12);
    EXPECT_NEAR(band.shares[Index(ToleranceQuantity::R2)], 0.187740088990859, 1e-12);
    EXPECT_NEAR(band.shares[Index(ToleranceQuantity::R3)], 0.14648941943759666, 1e-12);
    EXPECT_EQ(band.shares[Index(ToleranceQuantity::Vref)], 0);
}

// Random designs and settings, every term drawn: each board's output at each level and
// temperature lies within the worst-case band of the same build, up to the last place.
TEST(ErrorTerms, BoardsStayInTheirWorstCaseBand) {
    PortableRandom random(StreamOf(2026, 0));
    const auto between = [&](double low, double high) {
        return low + (high - low) * (random.Uniform() + 1) / 2;
    };
    for (int design = 0; design < 3000; ++design) {
        const bool diode = design % 3 == 0;
        const Circuit circuit{between(100, 1e6), between(100, 1e6), between(100, 1e6),
                              between(0.5, 5),
                              diode ? std::optional(between(0.1, 0.8)) : std::nullopt};
        AnalysisSettings s;
        s.resistorTolerancePct = between(0, 5);
        s.resistorTcrPpm = between(0, 200);
        s.resistorLifeDriftPct = design % 2 == 0 ? between(0, 2) : 0;
        s.vrefTolerancePct = between(0, 3);
        s.vrefDriftPpm = between(0, 100);
        s.levelAccuracyMv = between(0, 50);
        s.fbCurrentNa = between(0, 500);
        s.vfSpreadV = between(0, 0.1);
        s.vfTempcoMv = between(-3, 3);
        s.tempMinC = between(-55, 40);
        s.tempMaxC = between(s.tempMinC, 150);
        s.specPct = 5;
        std::vector<double> targets;
        for (double pin : PinLevels(circuit)) {
            targets.push_back(OutputWithFbCurrent(circuit, pin, 0));
        }
        const auto distribution =
            design % 4 < 2 ? YieldDistribution::Uniform : YieldDistribution::Normal;
        const YieldModel model = ModelOf(circuit, s, targets, distribution);
        const YieldTally tally = SimulateChunk(model, 7, std::uint64_t(design), 64);
        for (std::size_t j = 0; j < model.levels.size(); ++j) {
            const ToleranceLevel& band = model.levels[j].band;
            const double slack = 1e-12 * std::max(std::fabs(band.min), std::fabs(band.max));
            ASSERT_GE(tally.levels[j].min, band.min - slack)
                << "design " << design << " level " << j;
            ASSERT_LE(tally.levels[j].max, band.max + slack)
                << "design " << design << " level " << j;
        }
    }
}

// Life drift on R1 alone, every other term still: Vo = Vref + R1 (Vref / R2 + (Vref - L) / R3)
// is linear in R1's draw, so each level's mean is its nominal output and its sigma the slope
// R1 (Vref / R2 + (Vref - L) / R3) times 1 % times the unit's sigma: 1 / sqrt(3) uniform, and
// for z / 3 cut at |z| = 3, sqrt(1 - 6 phi(3) / (2 Phi(3) - 1)) / 3 = 0.328859 (Python).
TEST(ErrorTerms, LifeDriftOnR1AloneHasTheClosedFormSpread) {
    const Circuit calc{64955, 10000, 7210, 2.5, std::nullopt};
    const std::vector<double> targets{40, 34.95497746185853, 30};
    const double slopes[] = {37.50002600554785, 32.45497746185853, 27.500019070735092};
    AnalysisSettings settings = Still();
    settings.resistorLifeDriftPct = 1;
    TermSizes sizes = SizesOf(settings);
    for (std::size_t t = 0; t < ErrorTermCount; ++t) {
        sizes.of[t][Index(ToleranceQuantity::R2)] = 0;
        sizes.of[t][Index(ToleranceQuantity::R3)] = 0;
    }
    const struct {
        YieldDistribution distribution;
        double unitSigma;
    } rows[] = {{YieldDistribution::Uniform, 1 / std::sqrt(3.0)},
                {YieldDistribution::Normal, 0.32885946418603623}};
    constexpr std::uint64_t Chunks = 8;
    for (const auto& row : rows) {
        const YieldModel model = ModelOf(calc, settings, targets, row.distribution, sizes);
        YieldTally tally;
        for (std::uint64_t chunk = 0; chunk < Chunks; ++chunk) {
            MergeYieldTally(tally, SimulateChunk(model, 1, chunk, YieldChunkBoards));
        }
        for (std::size_t j = 0; j < 3; ++j) {
            const LevelTally& level = tally.levels[j];
            const double n = double(level.values);
            const double mean = model.levels[j].scale.reference + level.sum / n;
            const double sigma =
                std::sqrt(level.sumSquares / n - (level.sum / n) * (level.sum / n));
            const double expected = slopes[j] * 0.01 * row.unitSigma;
            EXPECT_NEAR(mean, OutputWithFbCurrent(calc, PinLevels(calc)[j], 0),
                        4 * expected / std::sqrt(n / 3));
            EXPECT_NEAR(sigma, expected, 0.01 * expected) << j;
        }
    }
}

} // namespace
} // namespace calc_core
