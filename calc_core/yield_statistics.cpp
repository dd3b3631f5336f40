// The Wilson interval, Cpk and the merging and moments of a level's tally.
#include "calc_core/yield_statistics.h"

#include <algorithm>
#include <cmath>

namespace calc_core {

ShareInterval WilsonInterval(std::uint64_t hits, std::uint64_t trials, double z) {
    const double k = double(hits);
    const double n = double(trials);
    const double zz = z * z;
    const double centre = (k + zz / 2) / (n + zz);
    const double half = z * std::sqrt(k * (n - k) / n + zz / 4) / (n + zz);
    // None or all hits put a bound at exactly 0 or 1, which rounding would miss by an ulp.
    return {hits == 0 ? 0.0 : std::max(0.0, centre - half),
            hits == trials ? 1.0 : std::min(1.0, centre + half)};
}

std::optional<double> ProcessCapability(double mean, double sigma, double low, double high) {
    if (!(sigma > 0)) {
        return std::nullopt;
    }
    return std::min(high - mean, mean - low) / (3 * sigma);
}

void MergeTally(LevelTally& into, const LevelTally& later) {
    into.sum += later.sum;
    into.sumSquares += later.sumSquares;
    into.min = std::min(into.min, later.min);
    into.max = std::max(into.max, later.max);
    into.values += later.values;
    into.passingBoards += later.passingBoards;
    for (std::size_t i = 0; i < HistogramBins; ++i) {
        into.bins[i] += later.bins[i];
    }
}

LevelMoments MomentsOf(const LevelTally& t, const LevelScale& scale) {
    if (t.values == 0) {
        return {};
    }
    if (t.min == t.max) {
        return {t.min, 0};
    }
    const double n = double(t.values);
    const double meanShift = t.sum / n;
    const double variance = std::max(0.0, t.sumSquares / n - meanShift * meanShift);
    return {scale.reference + meanShift, std::sqrt(variance)};
}

} // namespace calc_core
