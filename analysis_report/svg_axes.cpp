// A chart's frame in SVG: its grid lines, labels, frame and axis titles.
#include "analysis_report/svg_axes.h"

namespace analysis_report {

void SvgGridLine(SvgWriter& svg, double x1, double y1, double x2, double y2,
                 const SvgPalette& colours) {
    svg.Add("line", {{"class", "grid"},
                     {"x1", SvgNumber(x1)},
                     {"y1", SvgNumber(y1)},
                     {"x2", SvgNumber(x2)},
                     {"y2", SvgNumber(y2)},
                     {"stroke", std::string(colours.grid)},
                     {"stroke-opacity", "0.35"}});
}

void SvgLabel(SvgWriter& svg, double x, double y, std::string_view anchor, std::string_view text,
              const SvgPalette& colours) {
    svg.Add("text",
            {{"class", "label"},
             {"x", SvgNumber(x)},
             {"y", SvgNumber(y)},
             {"text-anchor", std::string(anchor)},
             {"fill", std::string(colours.text)}},
            text);
}

void SvgFrameAndTitles(SvgWriter& svg, const SvgArea& area, int height, const SvgAxisTitles& titles,
                       const SvgPalette& colours) {
    svg.Add("rect", {{"class", "axis"},
                     {"x", SvgNumber(area.left)},
                     {"y", SvgNumber(area.top)},
                     {"width", SvgNumber(area.right - area.left)},
                     {"height", SvgNumber(area.bottom - area.top)},
                     {"fill", "none"},
                     {"stroke", std::string(colours.text)}});
    SvgLabel(svg, (area.left + area.right) / 2, height - 6, "middle", titles.across, colours);
    SvgLabel(svg, 4, 14, "start", titles.up, colours);
}

} // namespace analysis_report
