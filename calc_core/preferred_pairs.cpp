// The preferred-value search: only the R3 values next to each R1's critical points are ranked.
#include "calc_core/preferred_pairs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <tuple>
#include <utility>

namespace calc_core {
namespace {

struct Ranked {
    double worst = 0;
    double sum = 0;
    double errorVoMax = 0;
    double errorVoMin = 0;
    double r1 = 0;
    double r3 = 0;
};

bool RanksBefore(const Ranked& a, const Ranked& b) {
    return std::tie(a.worst, a.sum, a.r1, a.r3) < std::tie(b.worst, b.sum, b.r1, b.r3);
}

// The best pairs offered so far, best first.
class BestPairsSoFar {
  public:
    void Offer(const Ranked& pair) {
        std::size_t pos = count_;
        if (count_ < places_.size()) {
            ++count_;
        } else if (RanksBefore(pair, places_.back())) {
            pos = places_.size() - 1;
        } else {
            return;
        }
        for (; pos > 0 && RanksBefore(pair, places_[pos - 1]); --pos) {
            places_[pos] = places_[pos - 1];
        }
        places_[pos] = pair;
    }

    std::span<const Ranked> Places() const { return std::span(places_).first(count_); }

  private:
    std::array<Ranked, PreferredPairCount> places_{};
    std::size_t count_ = 0;
};

// Grid values taken on each side of a critical R3: the best three lie within two places of the
// grid's best, which is next to a critical point; one more allows for the rounding of the point.
constexpr std::ptrdiff_t CriticalReach = 4;

using IndexRange = std::pair<std::ptrdiff_t, std::ptrdiff_t>; // [first, end) of the values

// The R3 values worth ranking for one R1: both ends of the values, and beside each critical point.
void RangesWorthRanking(std::vector<IndexRange>& ranges, std::span<const double> values, double r1,
                        double dMax, double dMin, double tMax, double tMin) {
    const auto n = static_cast<std::ptrdiff_t>(values.size());
    ranges.assign({{0, PreferredPairCount}, {n - PreferredPairCount, n}});
    for (double critical :
         {-(r1 * tMax) / dMax, -(r1 * tMin) / dMin, (r1 * (tMax - tMin)) / (dMin - dMax),
          -(r1 * (tMax + tMin)) / (dMax + dMin)}) {
        if (critical > 0 && std::isfinite(critical)) {
            const auto pos =
                std::lower_bound(values.begin(), values.end(), critical) - values.begin();
            ranges.emplace_back(pos - CriticalReach, pos + CriticalReach);
        }
    }
    std::sort(ranges.begin(), ranges.end());
}

PreferredPair PairOf(const Ranked& ranked, const Circuit& c, const std::vector<double>& pinLevels) {
    PreferredPair pair;
    pair.r1 = ranked.r1;
    pair.r3 = ranked.r3;
    Circuit chosen = c;
    chosen.r1 = ranked.r1;
    chosen.r3 = ranked.r3;
    for (double pinV : pinLevels) {
        pair.levels.push_back(CircuitOutput(chosen, pinV));
    }
    pair.errorVoMax = ranked.errorVoMax;
    pair.errorVoMin = ranked.errorVoMin;
    pair.worstError = ranked.worst;
    pair.sumError = ranked.sum;
    return pair;
}

} // namespace

// For a fixed R1 both errors are |linear| in x = 1/R3, so the worst and the sum are convex in x
// and the ranking is unimodal along the sorted R3 values. Between the critical points (the zero of
// each error, and where they are equal or opposite) both are linear, so the ranking is monotone
// there; the best R3 values of that R1 therefore sit beside a critical point or at an end of the
// values (where every R3 ties, the smallest win).
std::vector<PreferredPair> BestPairs(const Circuit& c, const std::vector<double>& pinLevels,
                                     double targetVoMax, double targetVoMin,
                                     std::span<const double> values) {
    const auto n = static_cast<std::ptrdiff_t>(values.size());
    const double tMax = R3Voltage(c, pinLevels.front());
    const double tMin = R3Voltage(c, pinLevels.back());
    BestPairsSoFar best;
    std::vector<IndexRange> ranges;
    ranges.reserve(6);
    for (double r1 : values) {
        Circuit trial = c;
        trial.r1 = r1;
        const double g = DividerOutput(trial);
        RangesWorthRanking(ranges, values, r1, g - targetVoMax, g - targetVoMin, tMax, tMin);
        std::ptrdiff_t next = 0; // each R3 is ranked once, however the ranges overlap
        for (const auto& [first, end] : ranges) {
            for (std::ptrdiff_t j = std::max(first, next); j < std::min(end, n); ++j) {
                const double r3 = values[static_cast<std::size_t>(j)];
                // CircuitOutput written out with the divider shared across R3.
                const double k = r1 / r3;
                const double eMax = std::fabs((g + k * tMax) - targetVoMax);
                const double eMin = std::fabs((g + k * tMin) - targetVoMin);
                best.Offer({Highest(eMax, eMin), eMax + eMin, eMax, eMin, r1, r3});
            }
            next = std::max(next, end);
        }
    }
    std::vector<PreferredPair> pairs;
    for (const Ranked& ranked : best.Places()) {
        pairs.push_back(PairOf(ranked, c, pinLevels));
    }
    return pairs;
}

} // namespace calc_core
