// A chart's frame in SVG, as the plot and the histograms draw it: a faint grid line and a label at
// each tick, the frame around the area, and the titles of the two axes.
#pragma once

#include "analysis_report/svg_writer.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace analysis_report {

using SvgTicks = std::vector<std::pair<double, std::string>>; // a value and its label

// The chart's area in the picture, and where its values go.
struct SvgArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct SvgAxisTitles {
    std::string_view across; // under the area, at the picture's foot
    std::string_view up;     // at the picture's top left
};

// The grid line from (x1, y1) to (x2, y2).
void SvgGridLine(SvgWriter& svg, double x1, double y1, double x2, double y2,
                 const SvgPalette& colours);
// A label at (x, y), anchored "start", "middle" or "end".
void SvgLabel(SvgWriter& svg, double x, double y, std::string_view anchor, std::string_view text,
              const SvgPalette& colours);
// The frame around the area and the axes' titles, in a picture `height` high.
void SvgFrameAndTitles(SvgWriter& svg, const SvgArea& area, int height, const SvgAxisTitles& titles,
                       const SvgPalette& colours);

// The whole frame; `box` places a value in the picture with X(value) and Y(value), and has the
// area's left, top, right and bottom.
template <typename Box>
void SvgAxes(SvgWriter& svg, const Box& box, const SvgTicks& xTicks, const SvgTicks& yTicks,
             int height, const SvgAxisTitles& titles, const SvgPalette& colours) {
    for (const auto& [x, text] : xTicks) {
        SvgGridLine(svg, box.X(x), box.top, box.X(x), box.bottom, colours);
        SvgLabel(svg, box.X(x), box.bottom + 18, "middle", text, colours);
    }
    for (const auto& [y, text] : yTicks) {
        SvgGridLine(svg, box.left, box.Y(y), box.right, box.Y(y), colours);
        SvgLabel(svg, box.left - 6, box.Y(y) + 4, "end", text, colours);
    }
    SvgFrameAndTitles(svg, {box.left, box.top, box.right, box.bottom}, height, titles, colours);
}

} // namespace analysis_report
