// The search over the assignments of grades to R1, R2 and R3, cheapest first.
#include "calc_core/mixed_synthesis.h"

#include "calc_core/analysis_settings.h"
#include "calc_core/build_bands.h"
#include "calc_core/build_search.h"
#include "calc_core/error_terms.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace calc_core {
namespace {

struct Assignment {
    std::array<std::size_t, 3> grades{};
    double price = 0;
};

// Prices added in another order may differ in their last place: such sums are one price.
bool SamePrice(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

// Every assignment of the grades that can be searched, cheapest first; on equal prices in the
// order of R1's grade, then R2's, then R3's.
std::vector<Assignment> Assignments(std::span<const PartGrade> grades,
                                    const std::vector<bool>& usable) {
    std::vector<Assignment> all;
    for (std::size_t a = 0; a < grades.size(); ++a) {
        for (std::size_t b = 0; b < grades.size(); ++b) {
            for (std::size_t c = 0; c < grades.size(); ++c) {
                if (usable[a] && usable[b] && usable[c]) {
                    all.push_back(
                        {{a, b, c}, *grades[a].price + *grades[b].price + *grades[c].price});
                }
            }
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const Assignment& x, const Assignment& y) {
        return x.price < y.price && !SamePrice(x.price, y.price);
    });
    return all;
}

// The criterion's figure, larger better: the margin, the failures' bound negated, the Cpk.
double Figure(const MixedBuild& build, BuildCriterion criterion) {
    switch (criterion) {
    case BuildCriterion::WorstCase:
        break;
    case BuildCriterion::Yield:
        return -build.verdict.ppmHigh.value_or(0);
    case BuildCriterion::Cpk:
        return build.verdict.cpk.value_or(0);
    }
    return build.verdict.margin;
}

bool Better(const MixedBuild& a, const MixedBuild& b, BuildCriterion criterion) {
    if (!SamePrice(a.price, b.price)) {
        return a.price < b.price;
    }
    return std::tuple(-Figure(a, criterion), -a.verdict.margin, a.r1, a.r3, a.r2) <
           std::tuple(-Figure(b, criterion), -b.verdict.margin, b.r1, b.r3, b.r2);
}

class MixSearch {
  public:
    MixSearch(const Circuit& design, const std::vector<double>& targets,
              const AnalysisSettings& settings, const MixedSearch& search)
        : design_(design), targets_(targets), settings_(settings), search_(search) {
        for (const PartGrade& grade : search.grades) {
            values_.push_back(GradeValues(grade, search.parts));
            usable_.push_back(!values_.back().empty() &&
                              SettingsRefusal(GradeSettings(settings, grade)).empty());
        }
    }

    std::optional<MixedBuild> Cheapest() {
        std::optional<MixedBuild> best;
        for (const Assignment& assignment : Assignments(search_.grades, usable_)) {
            const std::optional<double> bound =
                best ? std::optional(best->price) : search_.highestPrice;
            if (bound && !SamePrice(assignment.price, *bound) && assignment.price > *bound) {
                break;
            }
            std::optional<MixedBuild> build = Judged(assignment);
            if (build && (!best || Better(*build, *best, search_.criterion.criterion))) {
                best = build;
            }
        }
        return best;
    }

  private:
    std::vector<double> R2Values(std::size_t grade) const {
        if (!search_.r2Range) {
            return {design_.r2};
        }
        std::vector<double> r2;
        std::copy_if(
            values_[grade].begin(), values_[grade].end(), std::back_inserter(r2),
            [&](double v) { return v >= search_.r2Range->first && v <= search_.r2Range->second; });
        return r2;
    }

    Circuit CircuitOf(double r1, double r2, double r3) const {
        Circuit c = design_;
        c.r1 = r1;
        c.r2 = r2;
        c.r3 = r3;
        return c;
    }

    // The assignment's build with the largest margin within the ratings, judged by the criterion.
    std::optional<MixedBuild> Judged(const Assignment& assignment) const {
        const auto grades = GradesOf(search_.grades, assignment.grades);
        const TermSizes sizes = SizesOf(settings_, grades);
        const BuildBands bands(design_, targets_, settings_, sizes);
        const std::vector<double> r2Values = R2Values(assignment.grades[1]);
        const BuildFilter withinRatings = [&](double r1, double r2, double r3) {
            return WithinRatings(PowerOf(CircuitOf(r1, r2, r3)), grades, settings_.tempMaxC);
        };
        const std::vector<RankedBuild> best = BestBuilds(
            bands, {values_[assignment.grades[0]], values_[assignment.grades[2]], r2Values},
            SearchAim::Margin, 1, withinRatings);
        if (best.empty()) {
            return std::nullopt;
        }
        const Circuit c = CircuitOf(best.front().r1, best.front().r2, best.front().r3);
        MixedBuild build{
            assignment.grades,
            c.r1,
            c.r2,
            c.r3,
            assignment.price,
            PowerOf(c),
            JudgeBuild(c, targets_, settings_, sizes, search_.criterion, settings_.yield)};
        if (!build.verdict.meets) {
            return std::nullopt;
        }
        return build;
    }

    const Circuit& design_;
    const std::vector<double>& targets_;
    const AnalysisSettings& settings_;
    const MixedSearch& search_;
    std::vector<std::vector<double>> values_;
    std::vector<bool> usable_;
};

} // namespace

bool MixablePrices(std::span<const PartGrade> grades) {
    return grades.size() > 1 &&
           std::all_of(grades.begin(), grades.end(), [](const PartGrade& g) { return g.price; });
}

std::vector<double> GradeValues(const PartGrade& grade, std::span<const double> parts) {
    if (grade.series != ESeries::Parts) {
        return SeriesValues(grade.series);
    }
    std::vector<double> values(parts.begin(), parts.end());
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::array<const PartGrade*, 3> GradesOf(std::span<const PartGrade> grades,
                                         const std::array<std::size_t, 3>& assignment) {
    return {&grades[assignment[0]], &grades[assignment[1]], &grades[assignment[2]]};
}

std::optional<MixedBuild> CheapestMix(const Circuit& design, const std::vector<double>& targets,
                                      const AnalysisSettings& settings, const MixedSearch& search) {
    if (!MixablePrices(search.grades)) {
        return std::nullopt;
    }
    return MixSearch(design, targets, settings, search).Cheapest();
}

} // namespace calc_core
