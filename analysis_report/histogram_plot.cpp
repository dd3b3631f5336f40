// The numbers of a yield histogram's picture: its frame, ticks, the bins inside the spec and its
// description.
#include "analysis_report/histogram_plot.h"

#include "analysis_report/number_format.h"
#include "analysis_report/plot_data.h"

#include <algorithm>
#include <cmath>

namespace analysis_report {
namespace {

constexpr int MostXTicks = 8;
constexpr int MostYTicks = 5;

bool Drawable(const Histogram& h) {
    return !h.counts.empty() && h.binWidth > 0 && std::isfinite(h.binLow) &&
           std::isfinite(BinEdge(h, h.counts.size())) && std::isfinite(h.specLow) &&
           std::isfinite(h.specHigh) &&
           std::all_of(h.counts.begin(), h.counts.end(), [](double n) { return std::isfinite(n); });
}

bool InsideSpec(const Histogram& h, std::size_t i) {
    const double centre = BinEdge(h, i) + h.binWidth / 2;
    return centre >= h.specLow && centre <= h.specHigh;
}

std::vector<std::pair<double, std::string>> Labelled(const AxisTicks& ticks,
                                                     std::string_view separator) {
    std::vector<std::pair<double, std::string>> labelled;
    for (double value : ticks.values) {
        labelled.emplace_back(value, FormatFixed(value, ticks.decimals, separator));
    }
    return labelled;
}

// The histogram in words: its bins, its spec and the share of the counts inside it.
std::string Description(const Histogram& h, const std::vector<bool>& inside,
                        std::string_view separator) {
    double total = 0;
    double within = 0;
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        total += h.counts[i];
        within += inside[i] ? h.counts[i] : 0;
    }
    return h.title + ": " + std::to_string(h.counts.size()) + " bins of " +
           FormatPrefixed(h.binWidth, "V", 4, separator) + " from " +
           FormatVolts(h.binLow, separator) + " to " +
           FormatVolts(BinEdge(h, h.counts.size()), separator) + "; spec " +
           FormatVolts(h.specLow, separator) + " to " + FormatVolts(h.specHigh, separator) +
           (total > 0 ? "; " + FormatShare(within / total, separator) + " of the count inside it."
                      : ".");
}

} // namespace

double BinEdge(const Histogram& histogram, std::size_t i) {
    return histogram.binLow + histogram.binWidth * double(i);
}

HistogramPlot MakeHistogramPlot(const Histogram& h, std::string_view separator) {
    HistogramPlot plot;
    if (!Drawable(h)) {
        return plot;
    }
    plot.drawable = true;
    const double lo = std::min(h.binLow, h.specLow);
    const double hi = std::max(BinEdge(h, h.counts.size()), h.specHigh);
    const double pad = (hi - lo) * 0.03;
    plot.x = {lo - pad, hi + pad};
    const double most = *std::max_element(h.counts.begin(), h.counts.end());
    plot.y = {0, most > 0 ? most * 1.08 : 1};
    plot.xTicks = Labelled(NiceTicks(plot.x.first, plot.x.second, MostXTicks), separator);
    plot.yTicks = Labelled(NiceTicks(plot.y.first, plot.y.second, MostYTicks), separator);
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        plot.inside.push_back(InsideSpec(h, i));
    }
    plot.description = Description(h, plot.inside, separator);
    return plot;
}

} // namespace analysis_report
