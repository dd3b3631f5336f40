// Drawing a histogram of the yield as SVG.
#include "analysis_report/histogram_svg.h"

#include "analysis_report/histogram_plot.h"

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

void Axes(SvgWriter& svg, const HistogramPlot& plot, const HistogramBox& box,
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
    for (const auto& [x, text] : plot.xTicks) {
        gridLine(box.X(x), box.top, box.X(x), box.bottom);
        label(box.X(x), box.bottom + 18, "middle", text);
    }
    for (const auto& [y, text] : plot.yTicks) {
        gridLine(box.left, box.Y(y), box.right, box.Y(y));
        label(box.left - 6, box.Y(y) + 4, "end", text);
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
    Axes(svg, plot, box, colours);
    Bins(svg, histogram, plot, box, colours);
    return svg.Finish();
}

} // namespace analysis_report
