// The statistics of the yield estimate: the Wilson score interval of a share, Cpk, and one
// level's tally of simulated outputs (moments, extremes, passing boards and histogram).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace calc_core {

// The two-sided 95 % quantile of the standard normal distribution.
inline constexpr double WilsonZ95 = 1.959963984540054;

struct ShareInterval {
    double low = 0;
    double high = 0;
};

// The Wilson score interval of `hits` out of `trials` (trials > 0), clamped to [0, 1]:
// (k + z^2/2 -+ z sqrt(k (n - k) / n + z^2/4)) / (n + z^2).
ShareInterval WilsonInterval(std::uint64_t hits, std::uint64_t trials, double z = WilsonZ95);

// min(high - mean, mean - low) / (3 sigma); absent when sigma is 0, where it has no finite
// value (every output alike).
std::optional<double> ProcessCapability(double mean, double sigma, double low, double high);

inline constexpr std::size_t HistogramBins = 50;

// Where one level's values are tallied: the reference its sums are taken from (a value near
// them, so that the sum of squares keeps its digits), and the histogram's bins.
struct LevelScale {
    double reference = 0;
    double binLow = 0;
    double binWidth = 0;
    double binsPerUnit = 0; // 1 / binWidth; 0 with a zero width: every value in the first bin
};

// One level's values over boards and temperatures, merged chunk by chunk in chunk order.
struct LevelTally {
    double sum = 0;        // of value - reference
    double sumSquares = 0; // of (value - reference)^2
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    std::uint64_t values = 0;
    std::uint64_t passingBoards = 0; // the level passes at every temperature
    std::array<std::uint64_t, HistogramBins> bins{};

    void Add(double value, const LevelScale& scale) {
        const double d = value - scale.reference;
        sum += d;
        sumSquares += d * d;
        min = value < min ? value : min;
        max = value > max ? value : max;
        ++values;
        ++bins[BinOf(value, scale)];
    }

    // The bin of floor((value - binLow) * binsPerUnit), kept within the bins.
    static std::size_t BinOf(double value, const LevelScale& scale) {
        const double at = (value - scale.binLow) * scale.binsPerUnit;
        if (!(at > 0)) {
            return 0;
        }
        return at < double(HistogramBins) ? std::size_t(at) : HistogramBins - 1;
    }
};

// Adds a later chunk's tally: the sums in this order, so that the result does not depend on how
// the chunks were shared out.
void MergeTally(LevelTally& into, const LevelTally& later);

struct LevelMoments {
    double mean = 0;
    double sigma = 0; // of the population: the values over N
};

// Mean and sigma from the sums; sigma is exactly 0 when every value was the same.
LevelMoments MomentsOf(const LevelTally& tally, const LevelScale& scale);

} // namespace calc_core
