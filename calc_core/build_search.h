// The search for the best builds of one part grade: R1 and R3 from the grade's values, R2 from
// its own list, ranked by their standing against the targets.
#pragma once

#include "calc_core/build_bands.h"

#include <cstddef>
#include <functional>
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

// Whether a build may be offered at all, such as one whose parts stay within their power
// ratings; for one R1 and R2 it must let through every R3 from some value up (a part's power falls
// as R3 grows). Empty: every build.
using BuildFilter = std::function<bool(double r1, double r2, double r3)>;

// The values of each resistor, ascending: R1's and R3's, and the R2 of each build.
struct BuildValues {
    std::span<const double> r1;
    std::span<const double> r3;
    std::span<const double> r2;
};

// The best `count` builds, best first: the higher score, then the smaller R1, R3 and R2, of
// those the filter lets through. Exact over every build up to the rounding of the scores
// (near-ties within some 1e-15 may rank either way).
std::vector<RankedBuild> BestBuilds(const BuildBands& bands, const BuildValues& values,
                                    SearchAim aim, std::size_t count,
                                    const BuildFilter& filter = {});

// The same with R1 and R3 of the same values.
std::vector<RankedBuild> BestBuilds(const BuildBands& bands, std::span<const double> values,
                                    std::span<const double> r2Values, SearchAim aim,
                                    std::size_t count);

} // namespace calc_core
