// The highest point of the lower envelope of a few straight lines over an interval: the maximum
// of a concave piecewise-linear function.
#pragma once

#include <span>

namespace calc_core {

// The line y = offset + slope * x.
struct Line {
    double offset = 0;
    double slope = 0;
};

// The largest over low <= x <= high of the smallest of the lines at x. It lies at an end of the
// interval or where two lines cross, so only those points are evaluated: a few dozen for the
// six lines of three levels.
double HighestOfLowerEnvelope(std::span<const Line> lines, double low, double high);

} // namespace calc_core
