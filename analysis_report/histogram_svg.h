// A histogram of the yield as an SVG picture: its bins as bars, hatched where they lie outside the
// level's spec, and the spec's edges as dashed lines.
#pragma once

#include "analysis_report/report_document.h"
#include "analysis_report/svg_writer.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace analysis_report {

inline constexpr int HistogramSvgWidth = 640;
inline constexpr int HistogramSvgHeight = 240;

// Whether the bins can be drawn: some, of a width that is a finite number above 0, with every
// edge, count and the spec band finite.
bool HistogramDrawable(const Histogram& histogram);

// The volts a picture of the histogram spans: the bins and the spec band, with a margin either
// side.
std::pair<double, double> HistogramRange(const Histogram& histogram);

// Whether bin i lies within the level's spec, by its centre: the bins drawn told apart.
bool BinInsideSpec(const Histogram& histogram, std::size_t bin);

// The histogram in words, for screen readers: its title, bins, spec and the share of the count
// inside the spec.
std::string HistogramDescription(const Histogram& histogram, std::string_view separator);

// The picture in the given colours, its axes labelled with the separator; empty when the bins
// cannot be drawn (none, or a width that is not a finite number above 0).
std::string HistogramSvg(const Histogram& histogram, std::string_view separator,
                         const SvgPalette& colours);

} // namespace analysis_report
