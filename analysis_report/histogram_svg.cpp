// Drawing a histogram of the yield as SVG.
#include "analysis_report/histogram_svg.h"

#include "analysis_report/histogram_plot.h"
#include "analysis_report/svg_axes.h"

namespace analysis_report {
namespace {

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

void Bins(SvgWriter& svg, const Histogram& h, const HistogramPlot& plot, const HistogramBox& box,
          const SvgPalette& colours) {
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        if (!(h.counts[i] > 0)) {
            continue;
        }
        const double left = box.X(BinEdge(h, i));
        const double right = box.X(BinEdge(h, i + 1));
        const double top = box.Y(h.counts[i]);
        const bool inside = plot.inside[i];
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

std::string HistogramSvg(const Histogram& histogram, std::string_view separator,
                         const SvgPalette& colours) {
    const HistogramPlot plot = MakeHistogramPlot(histogram, separator);
    if (!plot.drawable) {
        return {};
    }
    HistogramBox box;
    box.x0 = plot.x.first;
    box.x1 = plot.x.second;
    box.y1 = plot.y.second;
    SvgWriter svg(HistogramSvgWidth, HistogramSvgHeight, histogram.title, plot.description);
    SvgAxes(svg, box, plot.xTicks, plot.yTicks, HistogramSvgHeight, {"Vo [V]", "Count"}, colours);
    Bins(svg, histogram, plot, box, colours);
    return svg.Finish();
}

} // namespace analysis_report
