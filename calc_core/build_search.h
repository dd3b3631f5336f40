// The search for the best builds of one part grade: R1 and R3 from the grade's values, R2 from
// its own list, ranked by their standing against the targets.
#pragma once

#include "calc_core/build_bands.h"

#include <cstddef>
#include <span>
#include <vector>

namespace calc_core {

// What the search ranks by: the margin (larger first), or the spec needed (smaller first).
enum class SearchAim { Margin, SpecNeeded };

struct RankedBuild {
    double score = 0; // the margin, or the spec needed negated: larger is better
    double r1 = 0;
    double r2 = 0;
    double r3 = 0;
};

// The best `count` builds, best first: the higher score, then the smaller R1, R3 and R2. The
// values are ascending; R2 takes each of r2Values. Exact over every build up to the rounding of
// the scores (near-ties within some 1e-15 may rank either way).
std::vector<RankedBuild> BestBuilds(const BuildBands& bands, std::span<const double> values,
                                    std::span<const double> r2Values, SearchAim aim,
                                    std::size_t count);

} // namespace calc_core
