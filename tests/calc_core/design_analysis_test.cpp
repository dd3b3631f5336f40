// Tests of the design analysis: worked designs, the preferred-value search against every pair,
// the tolerance bands and the sentences that refuse a design.
#include "calc_core/design_analysis.h"
#include "calc_core/preferred_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <tuple>

namespace calc_core {
namespace {

constexpr double Mv = 1e-3;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

AnalysisDesign Design(double r1, double r2, double r3, double vref, std::optional<double> vf,
                      std::optional<double> voMax = {}, std::optional<double> voMin = {}) {
    return {{r1, r2, r3, vref, vf}, voMax, voMin};
}

// The Calc worked example as shown, and the Check example with the diode.
const AnalysisDesign CalcExample =
    DesignOfCalc({DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210);
const AnalysisDesign CheckDiodeExample = DesignOfCheck({DiodeChoice::Yes, 470, 10, 100, 1.2, 0.6});

DesignAnalysis Analysed(const AnalysisDesign& design, const AnalysisSettings& settings = {}) {
    AnalysisOutcome outcome = AnalyseDesign(design, settings);
    EXPECT_EQ(outcome.reason, "");
    return outcome.analysis.value();
}

TEST(PreferredValues, SeriesSpanOneOhmToTenMegohm) {
    const std::tuple<ESeries, std::size_t, double, double> rows[] = {
        {ESeries::E6, 43, 6.8, 1'500'000},    {ESeries::E12, 85, 8.2, 1'200'000},
        {ESeries::E24, 169, 9.1, 1'100'000},  {ESeries::E48, 337, 9.53, 1'050'000},
        {ESeries::E96, 673, 9.76, 1'020'000}, {ESeries::E192, 1345, 9.88, 1'010'000},
    };
    for (const auto& [series, count, lastOfFirstDecade, secondOfLastDecade] : rows) {
        SCOPED_TRACE(SeriesName(series));
        const std::vector<double> values = SeriesValues(series);
        ASSERT_EQ(values.size(), count);
        const std::size_t perDecade = (count - 1) / 7;
        EXPECT_EQ(values.front(), 1.0);
        EXPECT_EQ(values[perDecade - 1], lastOfFirstDecade);
        EXPECT_EQ(values[6 * perDecade + 1], secondOfLastDecade);
        EXPECT_EQ(values.back(), 10'000'000.0);
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
        EXPECT_EQ(SeriesFromName(SeriesName(series)), series);
    }
    // E192 keeps the published 920 where 10^(185/192) rounds to 919.
    const std::vector<double> e192 = SeriesValues(ESeries::E192);
    EXPECT_EQ(e192[185], 9.2);
    EXPECT_EQ(e192[3 * 192 + 185], 9200.0);
    for (const char* name : {"E 96", "E97", "E96 ", "", "e9",
                             "\xc9"
                             "96"}) {
        EXPECT_EQ(SeriesFromName(name), std::nullopt) << name;
    }
    // Names are read without regard to case.
    EXPECT_EQ(SeriesFromName("e96"), ESeries::E96);
    EXPECT_EQ(SeriesFromName("e192"), ESeries::E192);
}

// Levels, currents, powers and fault states of the two worked designs; the Check design with
// the diode blocks at 0.7 V, where Vref - (Vf + 0.7) = -0.1 V and the tabs' 57.13 V is out of
// reach.
TEST(DesignAnalysis, WorkedDesigns) {
    struct Level {
        double vo, voFormula, iR1, iR3;
        bool conducts;
    };
    struct Row {
        const char* name;
        AnalysisDesign design;
        std::vector<Level> levels;
        double iR2, span, pR1Max, pR2Max;
        std::array<double, 3> faultVo; // pin at 0 V, open, at 3.3 V
        std::array<bool, 3> overvoltage;
    };
    // clang-format off
    const Row rows[] = {
        {"CalcExample", CalcExample,
         {{40.000026006, 40.000026006, 5.773231623e-4, 3.273231623e-4, true},
          {34.954977462, 34.954977462, 4.996532594e-4, 2.496532594e-4, true},
          {30.000019071, 30.000019071, 4.233703190e-4, 1.733703190e-4, true}},
         2.5e-4, 10.000007, 0.0216496336, 0.000625, {41.261, 18.739, 11.532}, {true, false, false}},
        {"CheckDiodeExample", CheckDiodeExample,
         {{59.762, 59.762, 0.1246, 0.0046, true}, {57.600, 57.130, 0.12, 0, false}},
         0.12, 2.162, 7.297, 0.144, {60.42, 57.6, 57.6}, {true, false, false}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DesignAnalysis a = Analysed(row.design);
        ASSERT_EQ(a.levels.size(), row.levels.size());
        for (std::size_t i = 0; i < row.levels.size(); ++i) {
            EXPECT_NEAR(a.levels[i].vo, row.levels[i].vo, 1e-8);
            EXPECT_NEAR(a.levels[i].voFormula, row.levels[i].voFormula, 1e-8);
            EXPECT_NEAR(a.levels[i].iR1, row.levels[i].iR1, 1e-12);
            EXPECT_NEAR(a.levels[i].iR2, row.iR2, 1e-15);
            EXPECT_NEAR(a.levels[i].iR3, row.levels[i].iR3, 1e-12);
            EXPECT_EQ(a.levels[i].diodeConducts, row.levels[i].conducts);
        }
        EXPECT_NEAR(a.span, row.span, Mv);
        EXPECT_NEAR(a.pR1Max, row.pR1Max, Mv);
        EXPECT_NEAR(a.pR2Max, row.pR2Max, 1e-12);
        ASSERT_EQ(a.faults.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(a.faults[i].vo, row.faultVo[i], Mv);
            EXPECT_EQ(a.faults[i].overvoltage, row.overvoltage[i]);
        }
        EXPECT_EQ(a.faults[1].pinV, std::nullopt);
        EXPECT_EQ(a.faults[2].pinV, 3.3);
    }
    // Without targets of its own the Check design's outputs stand in.
    const DesignAnalysis a = Analysed(CheckDiodeExample);
    EXPECT_EQ(a.design.targetVoMax, a.levels[0].vo);
    EXPECT_EQ(a.design.targetVoMin, a.levels[1].vo);
    // The diode blocks at every level and with the pin at 0 V: each fault state only equals the
    // highest output, which is no overvoltage.
    for (const FaultAnalysis& fault : Analysed(Design(470, 10, 100, 1.2, 1.5)).faults) {
        EXPECT_FALSE(fault.overvoltage);
    }
}

TEST(DesignAnalysis, PreferredPairsAreTheTrueBest) {
    struct Row {
        const char* name;
        AnalysisDesign design;
        ESeries series;
        std::array<std::tuple<double, double, double>, 3> best; // R1, R3, worst error
    };
    // clang-format off
    const Row rows[] = {
        {"CalcExampleE96", CalcExample, ESeries::E96,
         {{{64900, 7150, 0.146538}, {66500, 7500, 0.208333}, {63400, 6980, 0.296132}}}},
        // The nearest values are 64.9 k and 7.23 k.
        {"CalcExampleE192NotTheNearest", CalcExample, ESeries::E192,
         {{{64200, 7060, 0.083144}, {64900, 7230, 0.090491}, {65700, 7320, 0.144262}}}},
        // The nearest values are 62 k and 7.5 k.
        {"CalcExampleE24NotTheNearest", CalcExample, ESeries::E24,
         {{{62000, 6800, 0.602941}, {68000, 7500, 0.897333}, {68000, 8200, 0.929268}}}},
        {"DiodeE12NotTheNearest",
         DesignOfCalc({DiodeChoice::Yes, 10000, 2.5, 40, 30, 0.6}, 24286, 1360), ESeries::E12,
         {{{22000, 1200, 0.266667}, {27000, 1500, 0.93}, {6800, 330, 1.072727}}}},
        // The diode blocks at both levels: every R3 ties and the smallest win.
        {"DiodeAlwaysBlocked", Design(470, 10000, 100, 1.2, 1.5, 40, 30), ESeries::E6,
         {{{330000, 1, 10.8}, {330000, 1.5, 10.8}, {330000, 2.2, 10.8}}}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisSettings settings;
        settings.series = row.series;
        const DesignAnalysis a = Analysed(row.design, settings);
        ASSERT_EQ(a.preferred.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            const auto& [r1, r3, worst] = row.best[i];
            EXPECT_EQ(a.preferred[i].r1, r1);
            EXPECT_EQ(a.preferred[i].r3, r3);
            EXPECT_NEAR(a.preferred[i].worstError, worst, 1e-6);
        }
    }
}

// The best three of every pair of the series, ranked as the analysis ranks them.
std::vector<std::tuple<double, double, double, double>> ExhaustiveBest(const AnalysisDesign& d,
                                                                       ESeries series) {
    const std::vector<double> values = SeriesValues(series);
    const std::vector<double> levels = PinLevels(d.circuit);
    std::vector<std::tuple<double, double, double, double>> best;
    for (double r1 : values) {
        for (double r3 : values) {
            Circuit c = d.circuit;
            c.r1 = r1;
            c.r3 = r3;
            const double eMax = std::fabs(CircuitOutput(c, levels.front()) - *d.targetVoMax);
            const double eMin = std::fabs(CircuitOutput(c, levels.back()) - *d.targetVoMin);
            best.emplace_back(std::max(eMax, eMin), eMax + eMin, r1, r3);
            std::sort(best.begin(), best.end());
            if (best.size() > 3) {
                best.pop_back();
            }
        }
    }
    return best;
}

TEST(DesignAnalysis, PreferredSearchAgreesWithEveryPair) {
    std::mt19937 random(60063);
    std::uniform_real_distribution<double> unit(0, 1);
    const std::vector<double> r2s = SeriesValues(ESeries::E24);
    std::vector<std::pair<AnalysisDesign, ESeries>> designs = {
        {Design(470, 10, 100, 1.2, 0.6, 59.762, 57.6), ESeries::E192},
        {CalcExample, ESeries::E192},
        {Design(1, 4700, 1, 1.25, std::nullopt, 9, 1.25), ESeries::E192}, // R3 term 0 at 1.25 V
        {Design(1, 1000, 1, 0.5, std::nullopt, 3, 8), ESeries::E192},     // Vo_min above Vo_max
    };
    for (int i = 0; i < 240; ++i) {
        const double vref = 0.3 + 3 * unit(random);
        const std::optional<double> vf =
            i % 3 == 0 ? std::optional(0.1 + 1.4 * unit(random)) : std::nullopt;
        const double voMax = vref * (1 + 60 * unit(random));
        const double voMin = i % 5 == 0 ? voMax + 3 * unit(random) : voMax * unit(random);
        const double r2 = r2s[std::size_t(unit(random) * double(r2s.size() - 1))];
        designs.push_back({Design(1, r2, 1, vref, vf, voMax, voMin), AllSeries[i % 3]});
    }
    for (const auto& [design, series] : designs) {
        SCOPED_TRACE(testing::Message() << SeriesName(series) << " R2 " << design.circuit.r2
                                        << " Vref " << design.circuit.vref << " targets "
                                        << *design.targetVoMax << ", " << *design.targetVoMin);
        AnalysisSettings settings;
        settings.series = series;
        const DesignAnalysis a = Analysed(design, settings);
        const auto expected = ExhaustiveBest(design, series);
        ASSERT_EQ(a.preferred.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(a.preferred[i].worstError, std::get<0>(expected[i]));
            EXPECT_EQ(a.preferred[i].sumError, std::get<1>(expected[i]));
            EXPECT_EQ(a.preferred[i].r1, std::get<2>(expected[i]));
            EXPECT_EQ(a.preferred[i].r3, std::get<3>(expected[i]));
        }
    }
}

TEST(DesignAnalysis, ToleranceBandsOverCornersAndRss) {
    struct Band {
        double min, max, rss;
    };
    struct Row {
        const char* name;
        AnalysisDesign design;
        AnalysisSettings settings;
        std::vector<Band> bands;
        bool overlap;
    };
    // clang-format off
    const Row rows[] = {
        // The worst case adds every swing in full; it is twice as wide as the RSS spread here.
        {"CalcExample", CalcExample, {},
         {{38.764208, 41.269956, 0.624963}, {33.819061, 36.122987, 0.579978},
          {28.962221, 31.067929, 0.541341}}, false},
        {"CalcExampleWide", CalcExample, {ESeries::E96, 5, 2, 50, 0.05, 3.3},
         {{35.269650, 45.352092, 2.489550}, {30.705082, 39.775986, 2.200110},
          {26.222024, 34.299453, 1.937966}}, true},
        {"CheckDiodeExample", CheckDiodeExample, {},
         {{57.705826, 61.877701, 1.057800}, {55.918337, 59.326788, 0.983886}}, true},
        {"NothingVaries", CalcExample, {ESeries::E96, 0, 0, 0, 0, 3.3},
         {{40.000026, 40.000026, 0}, {34.954977, 34.954977, 0}, {30.000019, 30.000019, 0}}, false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DesignAnalysis a = Analysed(row.design, row.settings);
        ASSERT_EQ(a.tolerance.size(), row.bands.size());
        for (std::size_t i = 0; i < row.bands.size(); ++i) {
            const ToleranceLevel& band = a.tolerance[i];
            EXPECT_NEAR(band.min, row.bands[i].min, Mv);
            EXPECT_NEAR(band.max, row.bands[i].max, Mv);
            EXPECT_NEAR(band.rss, row.bands[i].rss, Mv);
            double total = 0;
            for (double share : band.shares) {
                total += share;
            }
            EXPECT_NEAR(total, row.bands[i].rss > 0 ? 1 : 0, 1e-12);
        }
        EXPECT_EQ(a.bandsOverlap, row.overlap);
    }
    const DesignAnalysis a = Analysed(CheckDiodeExample);
    // Blocked at 0.7 V over the whole box: R3, the level and Vf move nothing there.
    const std::array<double, 6> low = {0.306496, 0.28434, 0.000418, 0.357418, 0.001974, 0.049355};
    const std::array<double, 6> mid = {0.328601, 0.328667, 0, 0.342733, 0, 0};
    for (std::size_t q = 0; q < 6; ++q) {
        EXPECT_NEAR(a.tolerance[0].shares[q], low[q], 1e-6);
        EXPECT_NEAR(a.tolerance[1].shares[q], mid[q], 1e-6);
    }
}

TEST(DesignAnalysis, RefusesWithOneSentenceNamingTheFirstBadQuantity) {
    const auto with = [](auto change) {
        AnalysisDesign d = CalcExample;
        AnalysisSettings s;
        change(d.circuit, d, s);
        return AnalyseDesign(d, s);
    };
    using C = Circuit;
    using D = AnalysisDesign;
    using S = AnalysisSettings;
    const std::string beyond = " beyond the range of numbers, so the design cannot be analysed.";
    // clang-format off
    const std::pair<AnalysisOutcome, std::string> rows[] = {
        {with([](C& c, D&, S&) { c.r3 = 0; }), "R3 must be above 0 Ω to analyse the design."},
        {with([](C& c, D&, S&) { c.r3 = 0, c.r1 = -1; }),
         "R1 must be above 0 Ω to analyse the design."},
        {with([](C& c, D&, S&) { c.r2 = NaN; }),
         "R2 must be a finite number to analyse the design."},
        {with([](C& c, D&, S&) { c.vref = Inf, c.vf = 0; }),
         "Vref must be a finite number to analyse the design."},
        {with([](C& c, D&, S&) { c.vf = -0.0; }),
         "The diode's Vf must be above 0 V to analyse the design."},
        {with([](C&, D& d, S& s) { d.targetVoMin = -Inf, s.pinVoltage = NaN; }),
         "The target Vo_min must be a finite number to analyse the design."},
        {with([](C&, D&, S& s) { s.resistorTolerancePct = 100; }),
         "The resistor tolerance must be from 0 % to below 100 % to analyse the design."},
        {with([](C&, D&, S& s) { s.vrefTolerancePct = -0.5; }),
         "The Vref tolerance must be from 0 % to below 100 % to analyse the design."},
        {with([](C&, D&, S& s) { s.levelAccuracyMv = Inf; }),
         "The pin level accuracy must be a finite number of 0 mV or more to analyse the design."},
        {with([](C&, D&, S& s) { s.vfSpreadV = NaN; }),
         "The Vf spread must be a finite number of 0 V or more to analyse the design."},
        {with([](C&, D&, S& s) { s.pinVoltage = -Inf; }),
         "The pin voltage must be a finite number to analyse the design."},
        {with([](C& c, D&, S&) { c.vref = 1e300, c.r1 = 1e10, c.r2 = 1; }),
         "The output voltages at the pin levels are" + beyond},
        {with([](C& c, D&, S&) { c.vref = 1e300, c.r1 = 1e10; }), "The power in R1 is" + beyond},
    };
    // clang-format on
    for (const auto& [outcome, reason] : rows) {
        EXPECT_EQ(outcome.reason, reason);
        EXPECT_FALSE(outcome.analysis.has_value()) << reason;
    }
}

// A press's design is what it showed: a flagged Calc press still has one, with its negative R3
// read back from the text; a press stopped by the input check has none.
TEST(DesignOfPress, TakesWhatThePressShowed) {
    const CalcPressOutcome flagged =
        CalcPress(false, true, {"10000", "2.5", "40", "2", ""}, NumberLocale{});
    ASSERT_EQ(flagged.result.flagged, FlaggedElement::VoMaxBox);
    const auto design = DesignOfPress(flagged);
    ASSERT_TRUE(design.has_value());
    EXPECT_EQ(design->circuit.r1, 173171);
    EXPECT_EQ(design->circuit.r3, -4943);
    EXPECT_EQ(design->targetVoMin, 2);
    EXPECT_FALSE(DesignOfPress(CalcPress(false, true, {"10000", "x", "40", "2", ""}, {})));

    CheckResults results;
    const auto set = DesignOfPress(
        CheckPress(true, false, {"470", "10", "100", "1.2", "0.6"}, NumberLocale{}, results));
    ASSERT_TRUE(set.has_value());
    EXPECT_EQ(set->circuit.vf, 0.6);
    EXPECT_FALSE(set->targetVoMax.has_value());
    EXPECT_FALSE(
        DesignOfPress(CheckPress(false, false, {"470", "10", "100", "1.2", ""}, {}, results)));
}

TEST(DesignAnalysis, ZeroResultsAreNeverNegativeZero) {
    // One step of Vref below 1.25 V over a huge R3 underflows to a negative zero current at the
    // highest level; nothing varies either.
    const DesignAnalysis a = Analysed(Design(1000, 1000, 1e308, 1.25 - 0x1p-52, std::nullopt),
                                      {ESeries::E6, 0, 0, 0, 0, 0});
    EXPECT_EQ(a.levels[2].iR3, 0.0);
    EXPECT_FALSE(std::signbit(a.levels[2].iR3));
    for (const ToleranceLevel& band : a.tolerance) {
        EXPECT_FALSE(std::signbit(band.rss));
        for (double share : band.shares) {
            EXPECT_FALSE(std::signbit(share));
        }
    }
}

} // namespace
} // namespace calc_core
