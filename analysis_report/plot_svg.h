// The plot of an analysis as an SVG picture, drawn as the page draws it: the grid and ticks, each
// level's worst-case band across the plot, the curve, and at each level its output, its band's
// bar and its spec, hollow when met and hatched when not.
#pragma once

#include "analysis_report/plot_data.h"
#include "analysis_report/svg_writer.h"

#include <string>

namespace analysis_report {

inline constexpr int PlotSvgWidth = 640;
inline constexpr int PlotSvgHeight = 358; // the page's height at this width

// The picture in the given colours; empty when the plot is not drawable.
std::string PlotSvg(const PlotData& plot, const SvgPalette& colours);

} // namespace analysis_report
