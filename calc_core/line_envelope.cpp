// The lower envelope's highest point, over the ends of the interval and the lines' crossings.
#include "calc_core/line_envelope.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace calc_core {
namespace {

double LowestAt(std::span<const Line> lines, double x) {
    double lowest = std::numeric_limits<double>::infinity();
    for (const Line& line : lines) {
        lowest = std::min(lowest, line.offset + line.slope * x);
    }
    return lowest;
}

} // namespace

double HighestOfLowerEnvelope(std::span<const Line> lines, double low, double high) {
    double highest = std::max(LowestAt(lines, low), LowestAt(lines, high));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            const double x =
                (lines[j].offset - lines[i].offset) / (lines[i].slope - lines[j].slope);
            if (x > low && x < high) { // false for parallel lines, whose x is not finite
                highest = std::max(highest, LowestAt(lines, x));
            }
        }
    }
    return highest;
}

} // namespace calc_core
