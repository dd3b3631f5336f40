// Drawing the plot of an analysis as SVG.
#include "analysis_report/plot_svg.h"

#include "analysis_report/svg_axes.h"

#include <algorithm>

namespace analysis_report {
namespace {

// Where the plot's values go in the picture.
struct PlotBox {
    double left = 64;
    double right = PlotSvgWidth - 16;
    double top = 24;
    double bottom = PlotSvgHeight - 44;
    std::pair<double, double> x;
    std::pair<double, double> y;

    double X(double value) const {
        const double span = x.second - x.first;
        return left + (value - x.first) / (span != 0 ? span : 1) * (right - left);
    }
    double Y(double value) const {
        const double span = y.second - y.first;
        return bottom - (value - y.first) / (span != 0 ? span : 1) * (bottom - top);
    }
};

// Each level's band across the plot, so that overlapping bands show as one, and the curve.
void BandsAndCurve(SvgWriter& svg, const PlotData& plot, const PlotBox& box,
                   const SvgPalette& colours) {
    for (const PlotMark& mark : plot.marks) {
        svg.Add("rect", {{"class", "band"},
                         {"x", SvgNumber(box.left)},
                         {"y", SvgNumber(box.Y(mark.max))},
                         {"width", SvgNumber(box.right - box.left)},
                         {"height", SvgNumber(std::max(1.0, box.Y(mark.min) - box.Y(mark.max)))},
                         {"fill", std::string(colours.band)},
                         {"fill-opacity", SvgNumber(colours.bandOpacity)}});
    }
    std::string points;
    for (const auto& [x, y] : plot.curve) {
        points += (points.empty() ? "" : " ") + SvgNumber(box.X(x)) + ',' + SvgNumber(box.Y(y));
    }
    svg.Add("polyline", {{"class", "curve"},
                         {"points", points},
                         {"fill", "none"},
                         {"stroke", std::string(colours.curve)},
                         {"stroke-width", "2"}});
}

// The spec's band beside the level: hollow while the worst case stays inside, hatched when not,
// so that more than its colour tells them apart.
void Spec(SvgWriter& svg, const PlotMark& mark, const PlotBox& box, const SvgPalette& colours) {
    const double left = box.X(mark.pinV) + 9;
    const double top = box.Y(mark.specHigh);
    const double height = std::max(1.0, box.Y(mark.specLow) - top);
    const std::string colour(mark.meetsSpec ? colours.meets : colours.fails);
    if (!mark.meetsSpec) {
        svg.Add("path", {{"class", "hatch"},
                         {"d", HatchPath(left, top, left + 6, top + height, 5)},
                         {"stroke", colour},
                         {"stroke-width", "1.5"}});
    }
    svg.Add("rect", {{"class", mark.meetsSpec ? "spec meets" : "spec fails"},
                     {"x", SvgNumber(left)},
                     {"y", SvgNumber(top)},
                     {"width", "6"},
                     {"height", SvgNumber(height)},
                     {"fill", "none"},
                     {"stroke", colour},
                     {"stroke-width", "1.5"}});
}

// A level: its spec, the bar of its worst-case band and its output as a dot.
void Mark(SvgWriter& svg, const PlotMark& mark, const PlotBox& box, const SvgPalette& colours) {
    const double x = box.X(mark.pinV);
    const double top = box.Y(mark.max);
    const double bottom = box.Y(mark.min);
    svg.Open("g", {{"class", "level"}});
    Spec(svg, mark, box, colours);
    const auto bar = [&](double x1, double y1, double x2, double y2) {
        svg.Add("line", {{"class", "bar"},
                         {"x1", SvgNumber(x1)},
                         {"y1", SvgNumber(y1)},
                         {"x2", SvgNumber(x2)},
                         {"y2", SvgNumber(y2)},
                         {"stroke", std::string(colours.mark)},
                         {"stroke-width", "2"}});
    };
    bar(x, top, x, bottom);
    bar(x - 6, top, x + 6, top);
    bar(x - 6, bottom, x + 6, bottom);
    svg.Add("circle", {{"class", "dot"},
                       {"cx", SvgNumber(x)},
                       {"cy", SvgNumber(box.Y(mark.vo))},
                       {"r", "4"},
                       {"fill", std::string(colours.mark)}});
    svg.Close("g");
}

} // namespace

std::string PlotSvg(const PlotData& plot, const SvgPalette& colours) {
    if (!plot.drawable || plot.curve.empty()) {
        return {};
    }
    PlotBox box;
    box.x = plot.x;
    box.y = plot.y;
    SvgWriter svg(PlotSvgWidth, PlotSvgHeight, "Plot of Vo against the pin voltage",
                  plot.description);
    SvgAxes(svg, box, plot.xTicks, plot.yTicks, PlotSvgHeight, {"Pin voltage [V]", "Vo [V]"},
            colours);
    BandsAndCurve(svg, plot, box, colours);
    for (const PlotMark& mark : plot.marks) {
        Mark(svg, mark, box, colours);
    }
    return svg.Finish();
}

} // namespace analysis_report
