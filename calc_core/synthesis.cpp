// The synthesis over the part grades: each grade's search, its best builds judged again over
// every corner of the box as the analysis judges a fitted pair, the grade chosen, and when no
// grade meets the spec, the grade that comes nearest with the numbers that explain it.
#include "calc_core/synthesis.h"

#include "calc_core/build_criterion.h"
#include "calc_core/build_search.h"
#include "calc_core/output_spec.h"
#include "calc_core/part_power.h"
#include "calc_core/preferred_values.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace calc_core {
namespace {

std::optional<std::pair<double, double>> RangeOf(const std::optional<R2Range>& r2Free) {
    return r2Free ? std::optional(std::pair{r2Free->min, r2Free->max}) : std::nullopt;
}

Circuit CircuitOf(const Circuit& design, double r1, double r2, double r3) {
    Circuit c = design;
    c.r1 = r1;
    c.r2 = r2;
    c.r3 = r3;
    return c;
}

Build Judged(const Circuit& design, const RankedBuild& ranked, const std::vector<double>& targets,
             const AnalysisSettings& settings) {
    const SpecVerdict verdict =
        JudgeSetAgainstSpec(CircuitOf(design, ranked.r1, ranked.r2, ranked.r3), targets, settings);
    return {ranked.r1, ranked.r2, ranked.r3, verdict.margin, verdict.meets};
}

struct GradeSearch {
    GradeSynthesis result;
    std::vector<Build> builds; // the best SynthesisBuildCount, best first
};

GradeSearch SearchGrade(const Circuit& design, const std::vector<double>& targets,
                        const AnalysisSettings& settings, const PartGrade& grade,
                        std::span<const double> parts, const std::optional<R2Range>& r2Free) {
    GradeSearch search;
    GradeSynthesis& g = search.result;
    g.grade = grade;
    const AnalysisSettings s = GradeSettings(settings, grade);
    g.refusal = SettingsRefusal(s);
    const std::vector<double> values = GradeValues(grade, parts);
    const std::vector<double> r2Values = R2Choices(design.r2, grade, values, RangeOf(r2Free));
    g.status = !g.refusal.empty() ? GradeStatus::Refused
               : values.empty()   ? GradeStatus::NoPartsList
               : r2Values.empty() ? (r2Free ? GradeStatus::NoR2InRange : GradeStatus::NoR2Value)
                                  : GradeStatus::Searched;
    if (g.status != GradeStatus::Searched) {
        return search;
    }
    const BuildBands bands(design, targets, s);
    const std::array<const PartGrade*, 3> grades = {&grade, &grade, &grade};
    const BuildFilter withinRating = [&](double r1, double r2, double r3) {
        return WithinRatings(PowerOf(CircuitOf(design, r1, r2, r3)), grades, s.tempMaxC);
    };
    for (const RankedBuild& ranked :
         BestBuilds(bands, {values, values, r2Values}, SearchAim::Margin, SynthesisBuildCount,
                    withinRating)) {
        search.builds.push_back(Judged(design, ranked, targets, s));
    }
    if (search.builds.empty()) {
        g.status = GradeStatus::OverRating;
        return search;
    }
    g.best = search.builds.front();
    const Circuit best = CircuitOf(design, g.best.r1, g.best.r2, g.best.r3);
    g.power = PowerOf(best);
    g.verdict = JudgeBuild(best, targets, s, SizesOf(s), CriterionOf(s), s.yield);
    const RankedBuild tightest =
        BestBuilds(bands, values, r2Values, SearchAim::SpecNeeded, 1).front();
    g.tightestSpecPct =
        SmallestSpecMet(CircuitOf(design, tightest.r1, tightest.r2, tightest.r3), targets, s);
    return search;
}

// The quantities no resistor choice changes, in the order of the terms that move them; Vf with
// the diode only.
std::vector<FixedSwing> FixedSwings(const Circuit& c, double pinV, double target,
                                    const AnalysisSettings& s) {
    const ToleranceBox box = ToleranceBoxAt(c, pinV, s);
    const std::array<double, ToleranceQuantityCount> half = HalfSwings(box);
    const ToleranceLevel band = AnalyseTolerance(c, pinV, s);
    std::vector<FixedSwing> fixed;
    for (const ToleranceQuantity q : TermQuantities()) {
        if (!IsResistor(q) && Index(q) < box.varying) {
            fixed.push_back({q, half[Index(q)], half[Index(q)] / std::fabs(target) * 100,
                             band.shares[Index(q)]});
        }
    }
    return fixed;
}

SpecLimit LimitOf(const Circuit& design, const std::vector<double>& targets,
                  const AnalysisSettings& settings, std::size_t gradeIndex,
                  const GradeSynthesis& g) {
    const AnalysisSettings s = GradeSettings(settings, g.grade);
    const Circuit c = CircuitOf(design, g.best.r1, g.best.r2, g.best.r3);
    const std::vector<double> pinLevels = PinLevels(c);
    SpecLimit limit;
    limit.grade = gradeIndex;
    limit.build = g.best;
    limit.tightestSpecPct = g.tightestSpecPct;
    for (std::size_t i = 0; i < pinLevels.size(); ++i) {
        const SpecLevel spec =
            JudgeSpec(WorstCase(ToleranceBoxAt(c, pinLevels[i], s)), targets[i], s.specPct);
        if (i == 0 || spec.margin < limit.margin) {
            limit.level = i;
            limit.margin = spec.margin;
        }
    }
    limit.pinV = pinLevels[limit.level];
    limit.target = targets[limit.level];
    limit.fixed = FixedSwings(c, limit.pinV, limit.target, s);
    return limit;
}

// Whether the grade comes nearer the spec than the nearest so far: a tighter spec, the cheaper
// (earlier) grade on a tie.
bool Nearer(const GradeSynthesis& grade, const std::optional<std::size_t>& nearest,
            const std::vector<GradeSynthesis>& grades) {
    return grade.status == GradeStatus::Searched &&
           (!nearest || grade.tightestSpecPct < grades[*nearest].tightestSpecPct);
}

} // namespace

Synthesis Synthesise(const Circuit& design, const std::vector<double>& targets,
                     const AnalysisSettings& settings, std::span<const PartGrade> grades,
                     std::span<const double> parts, std::optional<R2Range> r2Free) {
    if (targets.size() != PinLevels(design).size()) {
        throw std::invalid_argument("one target per pin level");
    }
    Synthesis synthesis;
    std::optional<std::size_t> nearest; // without a grade that meets: the builds of this one
    for (std::size_t i = 0; i < grades.size(); ++i) {
        GradeSearch search = SearchGrade(design, targets, settings, grades[i], parts, r2Free);
        if (!synthesis.chosen && search.result.meets()) {
            synthesis.chosen = i;
            synthesis.builds = std::move(search.builds);
        } else if (!synthesis.chosen && Nearer(search.result, nearest, synthesis.grades)) {
            nearest = i;
            synthesis.builds = std::move(search.builds);
        }
        synthesis.grades.push_back(std::move(search.result));
    }
    if (!synthesis.chosen && nearest) {
        synthesis.limit = LimitOf(design, targets, settings, *nearest, synthesis.grades[*nearest]);
    }
    // A mix of the grades is looked for below the price of the cheapest grade throughout that
    // meets: where none does, trying every assignment would cost hundreds of searches for what
    // is, in practice, a design no resistor choice saves (synthesis.limit says what holds it). A
    // catalogue's grade seldom holds all three values, so its mix is looked for in any case.
    const std::optional<double> uniformPrice =
        synthesis.chosen ? BoardPrice(grades[*synthesis.chosen]) : std::nullopt;
    const bool catalogue = std::any_of(grades.begin(), grades.end(), IsCatalogueGrade);
    const MixedSearch search{grades, parts, RangeOf(r2Free), CriterionOf(settings), uniformPrice};
    if (settings.mixGrades && (uniformPrice || catalogue)) {
        synthesis.mixAssignments = MixAssignments(design, settings, search);
        synthesis.mixed = CheapestMix(design, targets, settings, search);
    }
    return synthesis;
}

} // namespace calc_core
