// A histogram of the yield as numbers to draw: the axes' ranges and labelled ticks, which bins lie
// inside the level's spec, and the picture in words. The SVG and the page draw from it alike.
#pragma once

#include "analysis_report/report_document.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace analysis_report {

struct HistogramPlot {
    std::pair<double, double> x{0, 1}; // volts: the bins and the spec band with a margin
    std::pair<double, double> y{0, 1}; // counts: from 0 to above the highest
    // Round ticks with their labels in the user's notation.
    std::vector<std::pair<double, std::string>> xTicks;
    std::vector<std::pair<double, std::string>> yTicks;
    std::vector<bool> inside; // per bin: its centre lies within the spec band
    std::string description;  // the bins, the spec and the share inside it, for screen readers
    bool drawable = false;    // false without bins, or with a width that is not above 0
};

// The numbers of the histogram's picture; labels use the given decimal separator.
HistogramPlot MakeHistogramPlot(const Histogram& histogram, std::string_view separator);

// The lower edge of bin i; i = the bins' count gives the top edge.
double BinEdge(const Histogram& histogram, std::size_t i);

} // namespace analysis_report
