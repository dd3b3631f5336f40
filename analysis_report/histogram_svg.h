// A histogram of the yield as an SVG picture: its bins as bars, hatched where they lie outside the
// level's spec, and the spec's edges as dashed lines.
#pragma once

#include "analysis_report/report_document.h"
#include "analysis_report/svg_writer.h"

#include <string>
#include <string_view>

namespace analysis_report {

inline constexpr int HistogramSvgWidth = 640;
inline constexpr int HistogramSvgHeight = 240;

// The picture in the given colours, its axes labelled with the separator; empty when the bins
// cannot be drawn (none, or a width that is not a finite number above 0).
std::string HistogramSvg(const Histogram& histogram, std::string_view separator,
                         const SvgPalette& colours);

} // namespace analysis_report
