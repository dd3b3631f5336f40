// Turning the yield estimate's bins into the histograms the documents draw.
#include "analysis_report/yield_histograms.h"

#include "analysis_report/number_format.h"

namespace analysis_report {

std::vector<Histogram> YieldHistograms(const calc_core::DesignAnalysis& analysis,
                                       std::string_view separator) {
    std::vector<Histogram> histograms;
    if (!analysis.yield) {
        return histograms;
    }
    for (const calc_core::YieldLevel& level : analysis.yield->levels) {
        Histogram histogram;
        histogram.title = "Vo at " + FormatVolts(level.pinV, separator);
        histogram.binLow = level.binLow;
        histogram.binWidth = level.binWidth;
        histogram.counts.assign(level.bins.begin(), level.bins.end());
        histogram.specLow = level.specLow;
        histogram.specHigh = level.specHigh;
        histograms.push_back(std::move(histogram));
    }
    return histograms;
}

} // namespace analysis_report
