// Benchmarks of the core: a whole Calc and Check press per worked example, the design analysis,
// the synthesis over the part grades, the yield estimate, and long-text and long-list reading.
#include "calc_core/check_calculation.h"
#include "calc_core/decimal_text.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_calculation.h"
#include "calc_core/number_text.h"
#include "calc_core/parts_list.h"
#include "calc_core/synthesis.h"
#include "calc_core/yield_estimate.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using calc_core::CheckResults;
using calc_core::NumberLocale;
using calc_core::TabInputTexts;

const NumberLocale kPointComma{".", ","};

struct CalcExample {
    const char* name;
    bool yes;
    bool no;
    TabInputTexts texts;
    const char* r1; // what the press must show, so a broken press is not timed as a fast one
};

const CalcExample kCalcExamples[] = {
    {"NoDiode40To30", false, true, {"10000", "2.5", "40", "30", ""}, "64955"},
    {"Diode40To30", true, false, {"10000", "2.5", "40", "30", "0.6"}, "24286"},
    {"VoMidOffsetRoundedBeforeSum", false, true, {"1000", "1.0", "35", "10", ""}, "14631"},
    {"VoMaxBelowVoMinGivesNegativeR3", false, true, {"10000", "2.5", "30", "40", ""}, "195045"},
    {"UnreachableVoMaxFlagsVoMaxBox", false, true, {"10000", "2.5", "40", "2", ""}, "173171"},
    {"WholeOhmR3MissesVoMid", false, true, {"100", "2.0", "101.2", "40.2", ""}, "151"},
    {"WholeOhmR3MissesVoMin", false, true, {"2", "0.5", "240.6", "90.8", ""}, "766"},
};

struct CheckExample {
    const char* name;
    bool yes;
    bool no;
    TabInputTexts texts;
    const char* voMax; // the text of Label3(0) the press must write
};

const CheckExample kCheckExamples[] = {
    {"NoDiodeLevels", false, true, {"470", "10", "100", "1.2", ""}, "63"},
    {"DiodeLevelsKeepMidAndDelta", true, false, {"470", "10", "100", "1.2", "0.6"}, "60"},
    {"ExactHalfSpreadRoundsToEven", false, true, {"300", "4", "37", "1.25", ""}, "104"},
    {"CloseLevelsGiveZeroDelta", false, true, {"330", "10", "1000", "1.0", ""}, "34"},
    {"NegativeLevels", false, true, {"100", "100", "12", "0.5", ""}, "4"},
};

void CalcPress(benchmark::State& state, const CalcExample& example) {
    const auto first = calc_core::CalcPress(example.yes, example.no, example.texts, kPointComma);
    if (first.result.r1Text != example.r1) {
        state.SkipWithError("the press does not give the example's R1");
        return;
    }
    for (auto _ : state) {
        auto outcome = calc_core::CalcPress(example.yes, example.no, example.texts, kPointComma);
        benchmark::DoNotOptimize(outcome);
    }
}

void CheckPress(benchmark::State& state, const CheckExample& example) {
    CheckResults results; // kept across presses, as the window keeps it
    const auto first =
        calc_core::CheckPress(example.yes, example.no, example.texts, kPointComma, results);
    if (first.voMaxText != example.voMax) {
        state.SkipWithError("the press does not give the example's Vo max");
        return;
    }
    for (auto _ : state) {
        auto outcome =
            calc_core::CheckPress(example.yes, example.no, example.texts, kPointComma, results);
        benchmark::DoNotOptimize(outcome);
    }
}

struct AnalysisExample {
    const char* name;
    calc_core::AnalysisDesign design;
    double bestR1; // the best E192 pair's R1, so a broken search is not timed as a fast one
};

const AnalysisExample kAnalysisExamples[] = {
    {"CalcNoDiode40To30",
     calc_core::DesignOfCalc({calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210),
     64200},
    {"CheckDiodeBlockedAtMid",
     calc_core::DesignOfCheck({calc_core::DiodeChoice::Yes, 470, 10, 100, 1.2, 0.6}), 470},
};

// One whole analysis: levels, faults, the E192 search over 1,345 values, the tolerance bands over
// temperature with the feedback pin's current, the spec of the design and of each pair, and with
// `fit` the analysis of the best pair as fitted.
void AnalyseDesign(benchmark::State& state, const AnalysisExample& example, bool fit) {
    calc_core::AnalysisSettings settings;
    settings.series = calc_core::ESeries::E192;
    settings.fbCurrentNa = 100;
    const auto choice = fit ? std::optional(calc_core::FitChoice::Pair(1)) : std::nullopt;
    const auto first = calc_core::AnalyseDesign(example.design, settings, choice);
    if (!first.analysis || first.analysis->preferred.front().r1 != example.bestR1) {
        state.SkipWithError("the analysis does not give the example's best pair");
        return;
    }
    for (auto _ : state) {
        auto outcome = calc_core::AnalyseDesign(example.design, settings, choice);
        benchmark::DoNotOptimize(outcome);
    }
}

// The yield estimate of the analysis example's design over temperature with 100 nA into the
// feedback pin: state.range(0) boards on state.range(1) threads (0: one per core), with
// state.range(2) 1 for normal tolerances.
void EstimateYield(benchmark::State& state, const AnalysisExample& example) {
    calc_core::AnalysisSettings settings;
    settings.fbCurrentNa = 100;
    const auto analysis = calc_core::AnalyseDesign(example.design, settings);
    if (!analysis.analysis) {
        state.SkipWithError("the example cannot be analysed");
        return;
    }
    calc_core::YieldSettings yield;
    yield.boards = std::uint64_t(state.range(0));
    yield.distribution = state.range(2) == 1 ? calc_core::YieldDistribution::Normal
                                             : calc_core::YieldDistribution::Uniform;
    const calc_core::YieldInput input = calc_core::YieldInputOf(*analysis.analysis, yield);
    const auto threads = unsigned(state.range(1));
    for (auto _ : state) {
        auto estimate = calc_core::EstimateYield(input, threads);
        benchmark::DoNotOptimize(estimate);
    }
    state.counters["boards_per_s"] = benchmark::Counter(
        double(state.range(0)) * double(state.iterations()), benchmark::Counter::kIsRate);
}

struct SynthesisExample {
    const char* name;
    calc_core::Circuit design;
    std::vector<double> targets;
    std::optional<calc_core::R2Range> r2Free;
    // The grade it must choose, so that a broken search is not timed as a fast one.
    std::optional<std::size_t> chosen;
};

// The Calc worked example against the default grades at the default +- 5 %: with R2 as designed
// the fourth grade is the first that meets it, with R2 free over one decade of E192 the third.
// With the diode, whose Vf alone swings the output at 0.7 V by +- 9.9 %, none does.
const SynthesisExample kSynthesisExamples[] = {
    {"CalcExampleR2AsDesigned",
     {64955, 10000, 7210, 2.5, std::nullopt},
     {40, 34.954977462, 30},
     std::nullopt,
     3},
    {"CalcExampleR2FreeOneDecade",
     {64955, 10000, 7210, 2.5, std::nullopt},
     {40, 34.954977462, 30},
     calc_core::R2Range{10000, 100000},
     2},
    {"DiodeR2AsDesigned", {24286, 10000, 1360, 2.5, 0.6}, {40, 30}, std::nullopt, std::nullopt},
    {"DiodeR2FreeOneDecade",
     {24286, 10000, 1360, 2.5, 0.6},
     {40, 30},
     calc_core::R2Range{10000, 100000},
     std::nullopt},
};

void Synthesise(benchmark::State& state, const SynthesisExample& example) {
    const std::vector<calc_core::PartGrade> grades = calc_core::DefaultPartGrades();
    const auto run = [&] {
        return calc_core::Synthesise(example.design, example.targets, {}, grades, {},
                                     example.r2Free);
    };
    if (run().chosen != example.chosen) {
        state.SkipWithError("the synthesis does not choose the example's grade");
        return;
    }
    for (auto _ : state) {
        auto synthesis = run();
        benchmark::DoNotOptimize(synthesis);
    }
}

// The Calc worked example's synthesis with a grade for each resistor, by each criterion, against
// the grades each for all three parts alone. The mix must cost 4 of the default prices by the
// worst case, so that a broken search is not timed as a fast one.
void SynthesiseMix(benchmark::State& state) {
    const calc_core::Circuit design{64955, 10000, 7210, 2.5, std::nullopt};
    const std::vector<double> targets{40, 34.954977462, 30};
    calc_core::AnalysisSettings settings;
    settings.criterion = calc_core::BuildCriterion(state.range(0));
    settings.mixGrades = state.range(1) != 0;
    const std::vector<calc_core::PartGrade> grades = calc_core::DefaultPartGrades();
    const auto run = [&] {
        return calc_core::Synthesise(design, targets, settings, grades, {}, std::nullopt);
    };
    const calc_core::Synthesis first = run();
    if (settings.mixGrades &&
        (!first.mixed || (settings.criterion == calc_core::BuildCriterion::WorstCase &&
                          std::abs(first.mixed->price - 4) > 1e-9))) {
        state.SkipWithError("the mix is not the example's");
        return;
    }
    for (auto _ : state) {
        auto synthesis = run();
        benchmark::DoNotOptimize(synthesis);
    }
}

// A parts list of a million lines: every E192 value in its forms, in Windows line ends, read in
// full; and the same with its last line bad, refused.
std::string MillionLineList(bool badLastLine) {
    const std::vector<double> values = calc_core::SeriesValues(calc_core::ESeries::E192);
    std::string text;
    for (std::size_t i = 0; i < 1'000'000; ++i) {
        const double ohms = values[i % values.size()];
        if (i % 3 == 0 && ohms >= 1000) { // 4k70, 10k20
            char engineering[32];
            std::snprintf(engineering, sizeof engineering, "%dk%02d", int(ohms) / 1000,
                          int(ohms) % 1000 / 10);
            text += engineering;
        } else {
            text += calc_core::ShortestText(ohms);
        }
        text += "\r\n";
    }
    if (badLastLine) {
        text += "4x7";
    }
    return text;
}

void ReadPartsList(benchmark::State& state, bool badLastLine) {
    const std::string text = MillionLineList(badLastLine);
    if (calc_core::ReadPartsList(text).error.empty() == badLastLine) {
        state.SkipWithError("the list is not read as it must be");
        return;
    }
    for (auto _ : state) {
        auto list = calc_core::ReadPartsList(text);
        benchmark::DoNotOptimize(list);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
}

// A pasted text may be megabytes long; its reading must stay linear.
template <char Fill, typename Read> void LongText(benchmark::State& state, Read read) {
    const std::string text(std::size_t(state.range(0)), Fill);
    for (auto _ : state) {
        benchmark::DoNotOptimize(read(text));
    }
    // Digits are read to the end; a letter stops the reading at once, so no rate for those.
    if (Fill != 'x') {
        state.SetBytesProcessed(state.iterations() * state.range(0));
    }
}

void StrictNumberDigits(benchmark::State& state) {
    LongText<'7'>(state, [](const std::string& t) { return IsNumericText(t, kPointComma); });
}
void StrictNumberLetters(benchmark::State& state) {
    LongText<'x'>(state, [](const std::string& t) { return IsNumericText(t, kPointComma); });
}
void LeadingNumberDigits(benchmark::State& state) {
    LongText<'7'>(state, [](const std::string& t) { return calc_core::LeadingNumber(t); });
}

BENCHMARK(StrictNumberDigits)
    ->Arg(1'000)
    ->Arg(100'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(StrictNumberLetters)
    ->Arg(1'000)
    ->Arg(100'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(LeadingNumberDigits)
    ->Arg(1'000)
    ->Arg(100'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMicrosecond);

// The synthesis of each example, then the worked example's by each criterion, mixed and not.
void RegisterSynthesisBenchmarks() {
    for (const SynthesisExample& example : kSynthesisExamples) {
        benchmark::RegisterBenchmark((std::string("Synthesise/") + example.name).c_str(),
                                     Synthesise, example)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("SynthesiseMix/CalcExample", SynthesiseMix)
        ->ArgNames({"criterion", "mix"})
        ->Args({0, 0})
        ->Args({0, 1})
        ->Args({1, 1})
        ->Args({2, 1})
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    for (const CalcExample& example : kCalcExamples) {
        benchmark::RegisterBenchmark((std::string("CalcPress/") + example.name).c_str(), CalcPress,
                                     example);
    }
    for (const CheckExample& example : kCheckExamples) {
        benchmark::RegisterBenchmark((std::string("CheckPress/") + example.name).c_str(),
                                     CheckPress, example);
    }
    for (const AnalysisExample& example : kAnalysisExamples) {
        benchmark::RegisterBenchmark((std::string("AnalyseDesignE192/") + example.name).c_str(),
                                     AnalyseDesign, example, false)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(
            (std::string("AnalyseDesignE192Fitted/") + example.name).c_str(), AnalyseDesign,
            example, true)
            ->Unit(benchmark::kMicrosecond);
    }
    for (const AnalysisExample& example : kAnalysisExamples) {
        benchmark::RegisterBenchmark((std::string("EstimateYield/") + example.name).c_str(),
                                     EstimateYield, example)
            ->ArgNames({"boards", "threads", "normal"})
            ->Args({100'000, 1, 0})
            ->Args({100'000, 1, 1})
            ->Args({100'000, 0, 0})
            ->Args({10'000'000, 0, 0})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    RegisterSynthesisBenchmarks();
    benchmark::RegisterBenchmark("ReadPartsList/MillionLines", ReadPartsList, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ReadPartsList/MillionLinesLastBad", ReadPartsList, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
