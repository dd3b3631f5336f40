// Tests of the yield estimate: yields with a closed form, builds that meet the spec in the worst
// case, the statistics, the same bits however the chunks are run, and the refused inputs.
#include "calc_core/decimal_text.h"
#include "calc_core/design_analysis.h"
#include "calc_core/output_spec.h"
#include "calc_core/yield_estimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

namespace calc_core {
namespace {

// The Calc worked example as shown, with its targets: 40 V, its own output at 0.7 V, 30 V.
const Circuit CalcCircuit{64955, 10000, 7210, 2.5, std::nullopt};
const std::vector<double> CalcTargets{40, 34.95497746185853, 30};
// The Check example with the diode, held to its own outputs.
const Circuit DiodeCircuit{470, 10, 100, 1.2, 0.6};
const std::vector<double> DiodeTargets{59.762, 57.6};

YieldInput Input(const Circuit& circuit, const std::vector<double>& targets,
                 const AnalysisSettings& settings, std::uint64_t boards,
                 YieldDistribution distribution = YieldDistribution::Uniform) {
    return {circuit, settings, targets, {boards, 1, distribution}};
}

YieldEstimate Estimate(const YieldInput& input, unsigned threads = 1) {
    return EstimateYield(input, threads).value();
}

// Nothing varies but what a row sets.
AnalysisSettings Still() {
    AnalysisSettings s;
    s.resistorTolerancePct = 0;
    s.resistorTcrPpm = 0;
    s.vrefTolerancePct = 0;
    s.levelAccuracyMv = 0;
    return s;
}

// One quantity varies and the output is linear in it, so a level passes for its draw within an
// interval; the yields, shares, sigmas and Cpks were worked in Python: the uniform share is
// the interval's length / 2, the normal one (Phi(3 u_high) - Phi(3 u_low)) / (Phi(3) - Phi(-3)).
// The pin levels draw on their own (the yield is the product of the shares); Vref, its drift and
// the pin current are one draw for every level (the yield is the least share). Where one
// uniform draw moves every temperature alike, the values are uniform across the worst-case band
// and each bin holds a fiftieth of them, three alike per board.
TEST(YieldEstimate, ClosedFormYields) {
    struct Row {
        const char* name;
        std::function<void(AnalysisSettings&)> vary;
        YieldDistribution distribution;
        double yield;
        double shares[3];
        double sigma; // the same at each level
        double cpk[3];
        bool evenBins;
    };
    using enum YieldDistribution;
    // clang-format off
    const Row rows[] = {
        {"Vref3PctUniform", [](AnalysisSettings& s) { s.vrefTolerancePct = 3; s.specPct = 2; },
         Uniform, 0.4847158414305247, {0.646287788574029, 0.5647743770869894, 0.4847158414305247},
         0.7146664744676557, {0.37312229925063234, 0.32607263864257646, 0.2798419265955863}, true},
        {"Vref3PctNormal", [](AnalysisSettings& s) { s.vrefTolerancePct = 3; s.specPct = 2; },
         Normal, 0.8564067130112776, {0.9500469547490058, 0.9122590158722604, 0.8564067130112776},
         0.407074953294886, {0.6550587207401763, 0.5724576793361351, 0.4912943954658599}, false},
        {"Level100MvUniform", [](AnalysisSettings& s) { s.levelAccuracyMv = 100; s.specPct = 2; },
         Uniform, 0.45893194871613024, {0.8879993841890508, 0.775999961511813, 0.665999538141792},
         0.520135738352457, {0.5126700176291692, 0.44802378666998444, 0.3845027909864242}, true},
        {"Level100MvNormal", [](AnalysisSettings& s) { s.levelAccuracyMv = 100; s.specPct = 2; },
         Normal, 0.9356168261432283, {0.9949644020697122, 0.9827410907293477, 0.9568665337252077},
         0.2962699930125379, {0.9000506444789711, 0.7865568183585647, 0.6750384710065477}, false},
        // The current is uniform whatever the distribution.
        {"FbCurrent1UaNormal", [](AnalysisSettings& s) { s.fbCurrentNa = 1000; s.specPct = 0.15; },
         Normal, 0.6927873142945379, {0.9237164190593838, 0.8072121652342488, 0.6927873142945379},
         0.03750178673521214, {0.5330767737868688, 0.4660441608911342, 0.3998114328303738}, true},
        // At -40 °C, 25 °C and 85 °C: Vo = a + Vref K beta (T - 25 °C), beta within +-200 ppm/°C.
        {"VrefDrift200PpmUniform", [](AnalysisSettings& s) { s.vrefDriftPpm = 200; s.specPct = 1; },
         Uniform, 0.5592875093429132, {0.7457166791238797, 0.6516627427926869, 0.5592875093429132},
         0.24332890188116502, {}, false},
    };
    // clang-format on
    constexpr std::uint64_t Boards = 200'000;
    const double means[] = {40.00002600554785, 34.95497746185853, 30.00001907073509};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisSettings settings = Still();
        row.vary(settings);
        const YieldEstimate e =
            Estimate(Input(CalcCircuit, CalcTargets, settings, Boards, row.distribution));
        const auto binomial = [](double p) { return 4 * std::sqrt(p * (1 - p) / Boards); };
        const double binError = 5 * 3 * std::sqrt(Boards * (1.0 / 50) * (49.0 / 50));
        EXPECT_NEAR(e.yield, row.yield, binomial(row.yield));
        // A yield below 100 %: the failures per million are the failing share's.
        EXPECT_DOUBLE_EQ(e.ppmFail, double(e.boards - e.passing) / double(e.boards) * 1e6);
        EXPECT_GT(e.ppmFail, 0.0);
        ASSERT_EQ(e.levels.size(), 3u);
        for (std::size_t j = 0; j < 3; ++j) {
            const YieldLevel& level = e.levels[j];
            EXPECT_NEAR(level.passShare, row.shares[j], binomial(row.shares[j])) << j;
            EXPECT_NEAR(level.mean, means[j], 4 * row.sigma / std::sqrt(double(Boards))) << j;
            EXPECT_NEAR(level.sigma, row.sigma, 0.01 * row.sigma) << j;
            if (row.cpk[j] != 0) {
                EXPECT_NEAR(level.cpk.value(), row.cpk[j], 0.01 * row.cpk[j]) << j;
            }
            for (std::size_t i = 0; row.evenBins && i < HistogramBins; ++i) {
                EXPECT_NEAR(double(level.bins[i]), 3.0 * Boards / HistogramBins, binError) << j;
            }
        }
    }
}

// A build whose worst case meets the spec passes every board: the yield is exactly 1 and the
// Wilson interval from n / (n + z^2) to 1 (Python: 1000 boards 0.9961732415144449, 100000
// boards 0.999961586887417). Every value lies in its level's worst-case band, so in the bins;
// a level whose band has no width holds every value in its first bin, with no sigma or Cpk. The
// middle temperature is 25 °C, or the end of a range that leaves it out.
TEST(YieldEstimate, WorstCaseBuildsPassEveryBoard) {
    struct Row {
        const char* name;
        Circuit circuit;
        std::vector<double> targets;
        std::function<void(AnalysisSettings&)> vary;
        std::uint64_t boards;
        double wilsonLow;
        std::size_t levelsWithoutWidth;
        std::array<double, 3> temperatures;
    };
    const Row rows[] = {
        {"CalcColdRange",
         CalcCircuit,
         CalcTargets,
         [](AnalysisSettings& s) {
             s.specPct = 10;
             s.tempMaxC = 10.5;
         },
         1000,
         0.9961732415144449,
         0,
         {-40, 10.5, 10.5}},
        {"CalcWithCurrentAndDrift",
         CalcCircuit,
         CalcTargets,
         [](AnalysisSettings& s) {
             s.specPct = 12;
             s.fbCurrentNa = 100;
             s.vrefDriftPpm = 50;
         },
         100'000,
         0.999961586887417,
         0,
         {-40, 25, 85}},
        // A range that leaves out 25 °C, where the diode's Vf would lie below the worst case's
        // and the output above it. The diode blocks at 0.7 V: the divider alone, fixed.
        {"DiodeAboveNominalTemperature",
         DiodeCircuit,
         DiodeTargets,
         [](AnalysisSettings& s) {
             s = Still();
             s.levelAccuracyMv = 10;
             s.specPct = 2;
             s.tempMinC = 60;
             s.vfTempcoMv = 2;
         },
         1000,
         0.9961732415144449,
         1,
         {60, 60, 85}},
    };
    for (const Row& row : rows) {
        for (YieldDistribution distribution :
             {YieldDistribution::Uniform, YieldDistribution::Normal}) {
            SCOPED_TRACE(testing::Message() << row.name << " " << int(distribution));
            AnalysisSettings settings;
            row.vary(settings);
            ASSERT_TRUE(JudgeSetAgainstSpec(row.circuit, row.targets, settings).meets);
            const YieldEstimate e =
                Estimate(Input(row.circuit, row.targets, settings, row.boards, distribution));
            EXPECT_EQ(e.passing, row.boards);
            EXPECT_EQ(e.yield, 1.0);
            EXPECT_EQ(e.ppmFail, 0.0);
            EXPECT_NEAR(e.interval.low, row.wilsonLow, 1e-15);
            EXPECT_EQ(e.interval.high, 1.0);
            EXPECT_EQ(e.temperatures, row.temperatures);
            std::size_t withoutWidth = 0;
            for (const YieldLevel& level : e.levels) {
                EXPECT_EQ(level.passShare, 1.0);
                EXPECT_EQ(std::accumulate(level.bins.begin(), level.bins.end(), std::uint64_t{0}),
                          3 * row.boards);
                EXPECT_GE(level.min, level.binLow);
                EXPECT_LE(level.max, level.binLow + double(HistogramBins) * level.binWidth);
                if (level.binWidth == 0) {
                    ++withoutWidth;
                    EXPECT_EQ(level.bins[0], 3 * row.boards);
                    EXPECT_EQ(level.sigma, 0.0);
                    EXPECT_FALSE(level.cpk.has_value());
                } else {
                    EXPECT_GT(level.sigma, 0);
                }
            }
            EXPECT_EQ(withoutWidth, row.levelsWithoutWidth);
        }
    }
}

// Worked with exact decimals in Python from (k + z^2/2 -+ z sqrt(k (n - k) / n + z^2/4)) /
// (n + z^2).
TEST(YieldStatistics, WilsonIntervals) {
    const struct {
        std::uint64_t k, n;
        double low, high;
    } rows[] = {
        {0, 1000, 0.0, 0.003826758485555123},
        {1000, 1000, 0.9961732415144449, 1.0},
        {500, 1000, 0.4690696003681042, 0.5309303996318958},
        {999, 1000, 0.9943574414020421, 0.999823453629374},
        {1, 100000, 1.7652477303783126e-06, 5.664709659040965e-05},
        {99990, 100000, 0.9998159153045492, 0.9999456792654904},
        {3, 7, 0.1582198552514697, 0.7495416354723428},
    };
    for (const auto& row : rows) {
        const ShareInterval interval = WilsonInterval(row.k, row.n);
        EXPECT_NEAR(interval.low, row.low, 1e-15 + 1e-13 * row.low) << row.k << "/" << row.n;
        EXPECT_NEAR(interval.high, row.high, 1e-15 + 1e-13 * row.high) << row.k << "/" << row.n;
        EXPECT_GE(interval.low, 0.0);
        EXPECT_LE(interval.high, 1.0);
    }
}

// The sums are taken from a reference, and sigma is of the population: for 1, 2, 3 and 4,
// sigma^2 = (2.25 + 0.25 + 0.25 + 2.25) / 4 and Cpk in 0..10 = min(7.5, 2.5) / (3 sigma). A value
// on the top edge goes to the last bin, one beyond the band to the nearer end's.
TEST(YieldStatistics, MomentsAndBins) {
    const LevelScale scale{2.6, 1, 0.5, 2};
    LevelTally tally;
    for (double v : {1, 2, 3, 4}) {
        tally.Add(v, scale);
    }
    const LevelMoments m = MomentsOf(tally, scale);
    EXPECT_NEAR(m.mean, 2.5, 1e-15);
    EXPECT_NEAR(m.sigma, 1.118033988749895, 1e-15);
    EXPECT_NEAR(ProcessCapability(m.mean, m.sigma, 0, 10).value(), 0.7453559924999299, 1e-15);
    const std::pair<double, std::size_t> bins[] = {{1, 0},   {1.49, 0}, {1.5, 1},
                                                   {26, 49}, {0.9, 0},  {27, 49}};
    for (const auto& [value, bin] : bins) {
        EXPECT_EQ(LevelTally::BinOf(value, scale), bin) << value;
    }
}

// The same seed gives the same bits whatever the threads and however the chunks are run; another
// seed gives others. 50,000 boards are four chunks, the last of 848. The passing boards and the
// first level's mean as this core gives them pin the stream; the WebAssembly and mingw-w64
// builds of the core gave the same digests.
TEST(YieldEstimate, SameBitsHoweverRun) {
    AnalysisSettings settings;
    settings.specPct = 1.5;
    settings.fbCurrentNa = 100;
    const struct {
        YieldDistribution distribution;
        std::uint64_t passing;
        const char* mean;
    } rows[] = {
        {YieldDistribution::Uniform, 33129, "40.00051708407725"},
        {YieldDistribution::Normal, 46009, "40.00120429212313"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.distribution));
        const YieldInput input =
            Input(CalcCircuit, CalcTargets, settings, 50'000, row.distribution);
        const YieldEstimate first = Estimate(input, 1);
        EXPECT_EQ(first.passing, row.passing);
        EXPECT_EQ(ShortestText(first.levels[0].mean), row.mean);
        const std::string once = YieldDigest(first);
        EXPECT_EQ(YieldDigest(Estimate(input, 1)), once);
        EXPECT_EQ(YieldDigest(Estimate(input, 4)), once);
        EXPECT_EQ(YieldDigest(Estimate(input, 3)), once);

        YieldRun steps(input);
        ASSERT_EQ(steps.ChunkCount(), 4u);
        steps.RunChunks(0, 1);
        steps.RunChunks(1, 1);
        steps.RunChunks(1, 3);
        const YieldTally last = steps.RunChunk(3);
        EXPECT_EQ(last.boards, 848u);
        steps.Merge(last);
        EXPECT_EQ(YieldDigest(steps.Finish()), once);

        YieldInput other = input;
        other.yield.seed = 2;
        EXPECT_NE(YieldDigest(Estimate(other)), once);
    }
}

TEST(YieldEstimate, ProgressAndCancel) {
    const YieldInput input = Input(CalcCircuit, CalcTargets, AnalysisSettings{}, 300'000);
    for (unsigned threads : {1u, 2u}) {
        std::vector<std::uint64_t> told;
        const auto all = EstimateYield(input, threads, [&](std::uint64_t done, std::uint64_t n) {
            EXPECT_EQ(n, 300'000u);
            told.push_back(done);
            return YieldStep::Continue;
        });
        ASSERT_TRUE(all.has_value());
        ASSERT_GE(told.size(), 2u);
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
        EXPECT_EQ(told.back(), 300'000u);

        int calls = 0;
        const auto stopped = EstimateYield(input, threads, [&](std::uint64_t, std::uint64_t) {
            ++calls;
            return YieldStep::Stop;
        });
        EXPECT_FALSE(stopped.has_value());
        EXPECT_EQ(calls, 1);
    }
}

TEST(YieldEstimate, RefusedInputs) {
    const struct {
        const char* name;
        std::function<void(YieldInput&)> change;
        const char* reason;
    } rows[] = {
        {"Fine", [](YieldInput&) {}, ""},
        {"FewestBoards", [](YieldInput& in) { in.yield.boards = 1000; }, ""},
        {"MostBoards", [](YieldInput& in) { in.yield.boards = 10'000'000; }, ""},
        {"TooFewBoards", [](YieldInput& in) { in.yield.boards = 999; },
         "The number of boards must be from 1000 to 10000000 to estimate the yield."},
        {"TooManyBoards", [](YieldInput& in) { in.yield.boards = 10'000'001; },
         "The number of boards must be from 1000 to 10000000 to estimate the yield."},
        {"R2", [](YieldInput& in) { in.circuit.r2 = 0; },
         "R2 must be above 0 \u03A9 to analyse the design."},
        {"Setting", [](YieldInput& in) { in.settings.specPct = 0; },
         "The output spec must be from 0.01 % to 99.99 % to analyse the design."},
        // The circuit and settings are judged before the boards.
        {"SettingBeforeBoards",
         [](YieldInput& in) {
             in.settings.tempMinC = 90;
             in.yield.boards = 0;
         },
         "The lowest operating temperature must not be above the highest to analyse the "
         "design."},
        {"Target", [](YieldInput& in) { in.targets[1] = std::nan(""); },
         "Each level's target must be a finite number to analyse the design."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        YieldInput input = Input(CalcCircuit, CalcTargets, AnalysisSettings{}, 1000);
        row.change(input);
        EXPECT_EQ(YieldRefusal(input), row.reason);
        if (*row.reason != '\0') {
            EXPECT_THROW(YieldRun{input}, std::invalid_argument);
        }
    }
    YieldInput wrongCount = Input(DiodeCircuit, CalcTargets, AnalysisSettings{}, 1000);
    EXPECT_THROW(YieldRefusal(wrongCount), std::invalid_argument);

    // Chunks run in order, and a run finishes only when all are merged.
    YieldRun run(Input(CalcCircuit, CalcTargets, AnalysisSettings{}, 20'000));
    EXPECT_THROW(run.RunChunks(1, 2), std::logic_error);
    EXPECT_THROW(run.Finish(), std::logic_error);
    EXPECT_THROW((void)run.RunChunk(2), std::out_of_range);
    run.RunChunks(0, 2);
    EXPECT_THROW(run.Merge(run.RunChunk(1)), std::logic_error);
    EXPECT_EQ(run.Finish().boards, 20'000u);
}

// The set a design analysis shows: the fitted pair's R1 and R3 with the design's targets.
TEST(YieldEstimate, InputOfAFittedAnalysis) {
    const AnalysisDesign design =
        DesignOfCalc({DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210);
    const AnalysisOutcome outcome =
        AnalyseDesign(design, AnalysisSettings{}, FitChoice::Typed(64900, 7230));
    const YieldInput input = YieldInputOf(outcome.analysis.value(), {5000, 9, {}});
    EXPECT_EQ(input.circuit.r1, 64900);
    EXPECT_EQ(input.circuit.r3, 7230);
    EXPECT_EQ(input.targets, CalcTargets);
    EXPECT_EQ(input.yield.seed, 9u);
}

} // namespace
} // namespace calc_core
