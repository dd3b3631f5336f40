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

// The indices of the grades whose flag is set.
std::vector<std::size_t> Flagged(const std::vector<bool>& flags) {
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i]) {
            indices.push_back(i);
        }
    }
    return indices;
}

// The assignments of the grades that can be searched, R2's among those that offer it.
std::size_t AssignmentCount(const std::vector<bool>& usable, const std::vector<bool>& r2Usable) {
    const std::size_t outer = Flagged(usable).size();
    return outer * outer * Flagged(r2Usable).size();
}

// Every assignment of the grades that can be searched, cheapest first; on equal prices in the
// order of R1's grade, then R2's, then R3's.
std::vector<Assignment> Assignments(std::span<const PartGrade> grades,
                                    const std::vector<bool>& usable,
                                    const std::vector<bool>& r2Usable) {
    std::vector<Assignment> all;
    for (const std::size_t a : Flagged(usable)) {
        for (const std::size_t b : Flagged(r2Usable)) {
            for (const std::size_t c : Flagged(usable)) {
                all.push_back({{a, b, c}, *grades[a].price + *grades[b].price + *grades[c].price});
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
            r2Usable_.push_back(
                usable_.back() &&
                !R2Choices(design.r2, grade, values_.back(), search.r2Range).empty());
        }
    }

    std::size_t Count() const { return AssignmentCount(usable_, r2Usable_); }

    std::optional<MixedBuild> Cheapest() {
        std::optional<MixedBuild> best;
        for (const Assignment& assignment : Assignments(search_.grades, usable_, r2Usable_)) {
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
        const std::size_t r2Grade = assignment.grades[1];
        const std::vector<double> r2Values =
            R2Choices(design_.r2, search_.grades[r2Grade], values_[r2Grade], search_.r2Range);
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
    std::vector<bool> r2Usable_; // usable, with a value for R2
};

} // namespace

bool MixablePrices(std::span<const PartGrade> grades) {
    return grades.size() > 1 &&
           std::all_of(grades.begin(), grades.end(), [](const PartGrade& g) { return g.price; });
}

std::vector<double> GradeValues(const PartGrade& grade, std::span<const double> parts) {
    if (IsCatalogueGrade(grade)) {
        return grade.values;
    }
    if (grade.series != ESeries::Parts) {
        return SeriesValues(grade.series);
    }
    std::vector<double> values(parts.begin(), parts.end());
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::vector<double> R2Choices(double designedR2, const PartGrade& grade,
                              const std::vector<double>& values,
                              const std::optional<std::pair<double, double>>& range) {
    if (!range) {
        const bool offered = !IsCatalogueGrade(grade) ||
                             std::binary_search(values.begin(), values.end(), designedR2);
        return offered ? std::vector{designedR2} : std::vector<double>{};
    }
    std::vector<double> r2;
    std::copy_if(values.begin(), values.end(), std::back_inserter(r2),
                 [&](double v) { return v >= range->first && v <= range->second; });
    return r2;
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
    MixSearch mix(design, targets, settings, search);
    if (mix.Count() > MaxMixAssignments) {
        return std::nullopt;
    }
    return mix.Cheapest();
}

std::size_t MixAssignments(const Circuit& design, const AnalysisSettings& settings,
                           const MixedSearch& search) {
    const std::vector<double> targets;
    return MixablePrices(search.grades) ? MixSearch(design, targets, settings, search).Count() : 0;
}

} // namespace calc_core
