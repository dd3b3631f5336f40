// The search over R2, R1 and R3, pruned by the bounds and the shape of the standing in 1 / R3.
//
// For one R1 and R2 every corner's output is linear in x = 1 / R3, so a band's top is convex and
// its bottom concave in x: each level's margin, and so the build's, is concave in x, and the
// spec needed convex. Along the ascending R3 values either score therefore rises, then falls
// (a plateau only at its peak), and a search by halves finds the first peak; the best builds
// of that R1 lie within two places of it, and two more allow for rounding.
//
// An R1 is searched only when its bound (BuildBands::MarginBound, SpecNeededBound) can still
// reach the builds kept so far. The bound is concave in R1 for one R2 (it maximises, over a
// cone of (R1, R1 / R3), a function concave in both), so the R1 values worth searching are
// contiguous around its peak: the search starts there, where the best builds usually are, and
// walks out both ways until the bound falls below the worst build kept.
#include "calc_core/build_search.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace calc_core {
namespace {

// Places on each side of an R1's first peak whose builds are offered.
constexpr std::ptrdiff_t PeakReach = 4;

bool RanksBefore(const RankedBuild& a, const RankedBuild& b) {
    return std::tie(b.score, a.r1, a.r3, a.r2) < std::tie(a.score, b.r1, b.r3, b.r2);
}

// The best builds offered so far, best first.
class Leaders {
  public:
    explicit Leaders(std::size_t count) : count_(count) { places_.reserve(count + 1); }

    void Offer(const RankedBuild& build) {
        if (Full() && !RanksBefore(build, places_.back())) {
            return;
        }
        places_.insert(std::upper_bound(places_.begin(), places_.end(), build, RanksBefore), build);
        if (places_.size() > count_) {
            places_.pop_back();
        }
    }

    // The score a build must reach to be kept; -infinity until the places are full.
    double Threshold() const {
        return Full() ? places_.back().score : -std::numeric_limits<double>::infinity();
    }

    std::vector<RankedBuild> Places() && { return std::move(places_); }

  private:
    bool Full() const { return places_.size() >= count_; }

    std::size_t count_;
    std::vector<RankedBuild> places_;
};

// The first i of 0..n-1 with f(i) >= f(i + 1) (f(n) counts as lowest): the first peak of a
// function that rises, then falls. Steps that double from a guess bracket it, then a binary
// search finds it: a guess d places away costs about 4 log2(d) evaluations, a good one only 4.
template <typename Score> std::size_t FirstPeak(std::size_t n, std::size_t guess, Score f) {
    const auto falls = [&](std::size_t i) { return i + 1 == n || f(i) >= f(i + 1); };
    std::size_t low = 0;      // the peak is at low or after it
    std::size_t high = n - 1; // and at high or before it
    guess = std::min(guess, high);
    if (falls(guess)) {
        high = guess;
        for (std::size_t step = 1; low < high; step *= 2) {
            const std::size_t at = high - std::min(step, high - low);
            if (!falls(at)) {
                low = at + 1;
                break;
            }
            high = at;
        }
    } else {
        low = guess + 1;
        for (std::size_t step = 1; low < high; step *= 2) {
            const std::size_t at = std::min(low + step - 1, high);
            if (falls(at)) {
                high = at;
                break;
            }
            low = at + 1;
        }
    }
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (falls(mid)) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

class Search {
  public:
    Search(const BuildBands& bands, const BuildValues& values, SearchAim aim, std::size_t count,
           const BuildFilter& filter)
        : bands_(bands), r1Values_(values.r1), r3Values_(values.r3), aim_(aim), leaders_(count),
          slack_(aim == SearchAim::Margin ? bands.MarginSlack() : BuildBands::SpecNeededSlack),
          filter_(filter) {}

    // Neighbouring R1 values, and R2 values, have their peaks close together: each search
    // starts from the last one's.
    void SearchR2(double r2) {
        const auto bound = [this, r2](std::size_t i) { return Bound(r1Values_[i], r2); };
        r1Guess_ = FirstPeak(r1Values_.size(), r1Guess_, bound);
        std::size_t r3AtPeak = r3Guess_;
        for (std::size_t i = r1Guess_; i < r1Values_.size() && Reaches(bound(i)); ++i) {
            SearchR1(r1Values_[i], r2);
            r3AtPeak = i == r1Guess_ ? r3Guess_ : r3AtPeak;
        }
        r3Guess_ = r3AtPeak; // the walk down starts beside the peak again
        for (std::size_t i = r1Guess_; i-- > 0 && Reaches(bound(i));) {
            SearchR1(r1Values_[i], r2);
        }
    }

    std::vector<RankedBuild> Best() && { return std::move(leaders_).Places(); }

  private:
    bool Reaches(double bound) const { return bound >= leaders_.Threshold() - slack_; }

    double Bound(double r1, double r2) const {
        const double low = r3Values_.front();
        const double high = r3Values_.back();
        return aim_ == SearchAim::Margin ? bands_.MarginBound(r1, r2, low, high)
                                         : -bands_.SpecNeededBound(r1, r2, low, high);
    }

    double Score(const BuildBands::Divider& divider, double r3) const {
        const BuildStanding standing = bands_.Standing(divider, r3);
        return aim_ == SearchAim::Margin ? standing.margin : -standing.specNeeded;
    }

    void SearchR1(double r1, double r2) {
        const BuildBands::Divider divider = bands_.DividerOf(r1, r2);
        const auto score = [&](std::size_t j) { return Score(divider, r3Values_[j]); };
        r3Guess_ = FirstPeak(r3Values_.size(), r3Guess_, score);
        // The filter lets through the R3 from `first` up; below the peak's reach the best of them
        // are at the first, where the score falls from the peak.
        const auto first = static_cast<std::ptrdiff_t>(FirstAdmitted(r1, r2));
        const auto peak = std::max(first, static_cast<std::ptrdiff_t>(r3Guess_));
        const auto n = static_cast<std::ptrdiff_t>(r3Values_.size());
        for (std::ptrdiff_t j = std::max(first, peak - PeakReach);
             j <= std::min(n - 1, peak + PeakReach); ++j) {
            const double r3 = r3Values_[static_cast<std::size_t>(j)];
            leaders_.Offer({score(static_cast<std::size_t>(j)), r1, r2, r3});
        }
    }

    // The first R3 the filter lets through with this R1 and R2; all of them without a filter, none
    // (the count) when it lets none through.
    std::size_t FirstAdmitted(double r1, double r2) const {
        if (!filter_) {
            return 0;
        }
        const auto found = std::partition_point(r3Values_.begin(), r3Values_.end(),
                                                [&](double r3) { return !filter_(r1, r2, r3); });
        return std::size_t(found - r3Values_.begin());
    }

    const BuildBands& bands_;
    std::span<const double> r1Values_;
    std::span<const double> r3Values_;
    SearchAim aim_;
    Leaders leaders_;
    double slack_;
    const BuildFilter& filter_;
    std::size_t r1Guess_ = 0; // where the last peak was found
    std::size_t r3Guess_ = 0;
};

} // namespace

std::vector<RankedBuild> BestBuilds(const BuildBands& bands, const BuildValues& values,
                                    SearchAim aim, std::size_t count, const BuildFilter& filter) {
    if (values.r1.empty() || values.r3.empty() || count == 0) {
        return {};
    }
    Search search(bands, values, aim, count, filter);
    for (double r2 : values.r2) {
        search.SearchR2(r2);
    }
    return std::move(search).Best();
}

std::vector<RankedBuild> BestBuilds(const BuildBands& bands, std::span<const double> values,
                                    std::span<const double> r2Values, SearchAim aim,
                                    std::size_t count) {
    return BestBuilds(bands, {values, values, r2Values}, aim, count);
}

} // namespace calc_core
