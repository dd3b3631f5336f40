// Writing the analysis as documents: the HTML with its plot (and with three histograms of 50 bins,
// as the yield gives them) and the CSV, for the Calc worked example; each with its size in bytes.
#include "analysis_report/plot_data.h"
#include "analysis_report/report_csv.h"
#include "analysis_report/report_html.h"
#include "calc_core/design_analysis.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

struct Example {
    analysis_report::Report report;
    analysis_report::PlotData plot;
    analysis_report::ReportDocument document;
};

// The worked example as the command line documents it, with or without histograms.
Example MakeExample(bool histograms) {
    const auto design =
        calc_core::DesignOfCalc({calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955, 7210);
    const calc_core::AnalysisSettings settings;
    const auto outcome = calc_core::AnalyseDesign(design, settings);
    Example example{
        analysis_report::MakeReport(calc_core::Tab::Calc, design, settings, outcome, "."),
        analysis_report::MakePlotData(*outcome.analysis, "."),
        {}};
    example.document.date = "2025-12-31";
    for (const calc_core::SpecLevel& level : outcome.analysis->set.spec) {
        if (!histograms) {
            break;
        }
        // A bell over the spec band, as the yield's bins would hold it.
        analysis_report::Histogram h{"Vo", level.low, (level.high - level.low) / 50,
                                     {},   level.low, level.high};
        for (int i = 0; i < 50; ++i) {
            h.counts.push_back(std::round(500 * std::exp(-0.5 * std::pow((i - 24.5) / 8, 2))));
        }
        example.document.histograms.push_back(h);
    }
    return example;
}

void Html(benchmark::State& state, bool histograms) {
    const Example example = MakeExample(histograms);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string html =
            analysis_report::ReportHtml(example.report, &example.plot, example.document);
        bytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    state.counters["bytes"] = double(bytes);
}

void Csv(benchmark::State& state) {
    const Example example = MakeExample(false);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string csv = analysis_report::ReportCsv(example.report, example.document);
        bytes = csv.size();
        benchmark::DoNotOptimize(csv.data());
    }
    state.counters["bytes"] = double(bytes);
}

BENCHMARK_CAPTURE(Html, CalcExample, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Html, CalcExampleWithHistograms, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(Csv)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
