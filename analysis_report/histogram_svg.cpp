// Drawing a histogram of the yield as SVG.
#include "analysis_report/histogram_svg.h"

#include "analysis_report/number_format.h"
#include "analysis_report/plot_data.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace analysis_report {
namespace {

constexpr int MostXTicks = 8;
constexpr int MostYTicks = 5;

// Where the values go in the picture: volts across, counts up.
struct HistogramBox {
    double left = 64;
    double right = HistogramSvgWidth - 16;
    double top = 24;
    double bottom = HistogramSvgHeight - 44;
    double x0 = 0;
    double x1 = 1;
    double y1 = 1;

    double X(double volts) const { return left + (volts - x0) / (x1 - x0) * (right - left); }
    double Y(double count) const { return bottom - count / y1 * (bottom - top); }
};

double BinEdge(const Histogram& h, std::size_t i) {
    return h.binLow + h.binWidth * double(i);
}

// The bins and the spec band with a margin; the counts from 0 up to above the highest.
HistogramBox BoxFor(const Histogram& h) {
    HistogramBox box;
    std::tie(box.x0, box.x1) = HistogramRange(h);
    const double most = *std::max_element(h.counts.begin(), h.counts.end());
    box.y1 = most > 0 ? most * 1.08 : 1;
    return box;
}

void Axes(SvgWriter& svg, const HistogramBox& box, std::string_view separator,
          const SvgPalette& colours) {
    const auto label = [&](double x, double y, std::string_view anchor, const std::string& text) {
        svg.Add("text",
                {{"class", "label"},
                 {"x", SvgNumber(x)},
                 {"y", SvgNumber(y)},
                 {"text-anchor", std::string(anchor)},
                 {"fill", std::string(colours.text)}},
                text);
    };
    const auto gridLine = [&](double x1, double y1, double x2, double y2) {
        svg.Add("line", {{"class", "grid"},
                         {"x1", SvgNumber(x1)},
                         {"y1", SvgNumber(y1)},
                         {"x2", SvgNumber(x2)},
                         {"y2", SvgNumber(y2)},
                         {"stroke", std::string(colours.grid)},
                         {"stroke-opacity", "0.35"}});
    };
    const AxisTicks xTicks = NiceTicks(box.x0, box.x1, MostXTicks);
    for (double x : xTicks.values) {
        gridLine(box.X(x), box.top, box.X(x), box.bottom);
        label(box.X(x), box.bottom + 18, "middle", FormatFixed(x, xTicks.decimals, separator));
    }
    const AxisTicks yTicks = NiceTicks(0, box.y1, MostYTicks);
    for (double y : yTicks.values) {
        gridLine(box.left, box.Y(y), box.right, box.Y(y));
        label(box.left - 6, box.Y(y) + 4, "end", FormatFixed(y, yTicks.decimals, separator));
    }
    svg.Add("rect", {{"class", "axis"},
                     {"x", SvgNumber(box.left)},
                     {"y", SvgNumber(box.top)},
                     {"width", SvgNumber(box.right - box.left)},
                     {"height", SvgNumber(box.bottom - box.top)},
                     {"fill", "none"},
                     {"stroke", std::string(colours.text)}});
    label((box.left + box.right) / 2, HistogramSvgHeight - 6, "middle", "Vo [V]");
    label(4, 14, "start", "Count");
}

void Bins(SvgWriter& svg, const Histogram& h, const HistogramBox& box, const SvgPalette& colours) {
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        if (!(h.counts[i] > 0)) {
            continue;
        }
        const double left = box.X(BinEdge(h, i));
        const double right = box.X(BinEdge(h, i + 1));
        const double top = box.Y(h.counts[i]);
        const bool inside = BinInsideSpec(h, i);
        const std::string colour(inside ? colours.mark : colours.fails);
        if (!inside) {
            svg.Add("path", {{"class", "hatch"},
                             {"d", HatchPath(left, top, right, box.bottom, 4)},
                             {"stroke", colour},
                             {"stroke-width", "1"}});
        }
        svg.Add("rect", {{"class", inside ? "bin" : "bin outside"},
                         {"x", SvgNumber(left)},
                         {"y", SvgNumber(top)},
                         {"width", SvgNumber(right - left)},
                         {"height", SvgNumber(box.bottom - top)},
                         {"fill", inside ? colour : "none"},
                         {"fill-opacity", "0.35"},
                         {"stroke", colour}});
    }
    for (double edge : {h.specLow, h.specHigh}) {
        svg.Add("line", {{"class", "spec-edge"},
                         {"x1", SvgNumber(box.X(edge))},
                         {"y1", SvgNumber(box.top)},
                         {"x2", SvgNumber(box.X(edge))},
                         {"y2", SvgNumber(box.bottom)},
                         {"stroke", std::string(colours.text)},
                         {"stroke-width", "1.5"},
                         {"stroke-dasharray", "5 3"}});
    }
}

} // namespace

std::pair<double, double> HistogramRange(const Histogram& h) {
    const double lo = std::min(h.binLow, h.specLow);
    const double hi = std::max(BinEdge(h, h.counts.size()), h.specHigh);
    const double pad = (hi - lo) * 0.03;
    return {lo - pad, hi + pad};
}

bool HistogramDrawable(const Histogram& h) {
    return !h.counts.empty() && h.binWidth > 0 && std::isfinite(h.binLow) &&
           std::isfinite(BinEdge(h, h.counts.size())) && std::isfinite(h.specLow) &&
           std::isfinite(h.specHigh) &&
           std::all_of(h.counts.begin(), h.counts.end(), [](double n) { return std::isfinite(n); });
}

bool BinInsideSpec(const Histogram& h, std::size_t i) {
    const double centre = BinEdge(h, i) + h.binWidth / 2;
    return centre >= h.specLow && centre <= h.specHigh;
}

std::string HistogramDescription(const Histogram& h, std::string_view separator) {
    double total = 0;
    double inside = 0;
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        total += h.counts[i];
        inside += BinInsideSpec(h, i) ? h.counts[i] : 0;
    }
    return h.title + ": " + std::to_string(h.counts.size()) + " bins of " +
           FormatPrefixed(h.binWidth, "V", 4, separator) + " from " +
           FormatVolts(h.binLow, separator) + " to " +
           FormatVolts(BinEdge(h, h.counts.size()), separator) + "; spec " +
           FormatVolts(h.specLow, separator) + " to " + FormatVolts(h.specHigh, separator) +
           (total > 0 ? "; " + FormatShare(inside / total, separator) + " of the count inside it."
                      : ".");
}

std::string HistogramSvg(const Histogram& histogram, std::string_view separator,
                         const SvgPalette& colours) {
    const Histogram& h = histogram;
    if (!HistogramDrawable(h)) {
        return {};
    }
    const HistogramBox box = BoxFor(h);
    SvgWriter svg(HistogramSvgWidth, HistogramSvgHeight, h.title,
                  HistogramDescription(h, separator));
    Axes(svg, box, separator, colours);
    Bins(svg, h, box, colours);
    return svg.Finish();
}

} // namespace analysis_report
