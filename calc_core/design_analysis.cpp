// The design analysis composed: the design's set, its preferred pairs judged against the spec,
// and the fitted pair.
#include "calc_core/design_analysis.h"

#include "calc_core/catalogue_grades.h"
#include "calc_core/finite_results.h"
#include "calc_core/preferred_values.h"

#include <string>
#include <utility>
#include <vector>

namespace calc_core {
namespace {

// Each level's target, as SpecLevel says: the design's own outputs between the two ends.
std::vector<double> SpecTargets(const DesignAnalysis& a) {
    std::vector<double> targets;
    for (const LevelAnalysis& level : a.set.levels) {
        targets.push_back(level.vo);
    }
    targets.front() = *a.design.targetVoMax;
    targets.back() = *a.design.targetVoMin;
    return targets;
}

// The fitted pair's R1 and R3: a preferred pair's, or as typed; absent for a rank beyond the
// pairs found.
std::optional<Circuit> FittedCircuit(const DesignAnalysis& a, const FitChoice& fit) {
    Circuit fitted = a.design.circuit;
    if (fit.pairRank) {
        const auto rank = static_cast<std::size_t>(*fit.pairRank);
        if (rank > a.preferred.size()) {
            return std::nullopt;
        }
        fitted.r1 = a.preferred[rank - 1].r1;
        fitted.r3 = a.preferred[rank - 1].r3;
    } else {
        fitted.r1 = fit.r1;
        fitted.r3 = fit.r3;
        fitted.r2 = fit.r2.value_or(fitted.r2);
    }
    return fitted;
}

FittedAnalysis AnalyseFitted(const DesignAnalysis& a, const Circuit& fitted, const FitChoice& fit,
                             const std::vector<double>& targets) {
    FittedAnalysis f;
    f.set = AnalyseSet(fitted, a.settings);
    CheckSpec(f.set, targets, a.settings.specPct);
    f.r1 = fitted.r1;
    f.r3 = fitted.r3;
    f.r2 = fit.r2;
    f.pairRank = fit.pairRank;
    for (std::size_t i = 0; i < f.set.levels.size(); ++i) {
        f.voChange.push_back(f.set.levels[i].vo - a.set.levels[i].vo);
    }
    return f;
}

// Whether each pair's own worst-case bands meet the spec, and by how much.
void JudgePairs(std::vector<PreferredPair>& pairs, const Circuit& design,
                const std::vector<double>& targets, const AnalysisSettings& settings) {
    for (PreferredPair& pair : pairs) {
        Circuit paired = design;
        paired.r1 = pair.r1;
        paired.r3 = pair.r3;
        const SpecVerdict verdict = JudgeSetAgainstSpec(paired, targets, settings);
        pair.meetsSpec = verdict.meets;
        pair.specMargin = verdict.margin;
    }
}

Synthesis SynthesisOf(const DesignAnalysis& a) {
    const AnalysisSettings& s = a.settings;
    std::optional<R2Range> r2Free;
    if (s.r2MinOhms && s.r2MaxOhms) {
        r2Free = R2Range{*s.r2MinOhms, *s.r2MaxOhms};
    }
    return Synthesise(a.design.circuit, a.targets(), s, SynthesisGrades(s), s.parts.values, r2Free);
}

// The yields of YieldInputs, with one progress over all of them; false when it was stopped. A
// grade's build whose input the estimate refuses gets no yield.
bool EstimateYields(DesignAnalysis& a, const AnalysisAsks& asks) {
    const std::vector<YieldInput> inputs = YieldInputs(a);
    const std::uint64_t boards = a.settings.yield.boards;
    const std::uint64_t all = boards * inputs.size();
    std::vector<std::optional<YieldEstimate>> estimates;
    for (const YieldInput& input : inputs) {
        if (!YieldRefusal(input).empty()) {
            estimates.emplace_back();
            continue;
        }
        const std::uint64_t before = boards * estimates.size();
        estimates.push_back(EstimateYield(input, asks.threads, [&](std::uint64_t done, auto) {
            return asks.progress ? asks.progress(before + done, all) : YieldStep::Continue;
        }));
        if (!estimates.back()) {
            return false;
        }
    }
    SetYields(a, std::move(estimates));
    return true;
}

} // namespace

bool SameFit(const FitChoice& a, const FitChoice& b) {
    if (a.pairRank || b.pairRank) {
        return a.pairRank == b.pairRank;
    }
    return a.r1 == b.r1 && a.r3 == b.r3 && a.r2 == b.r2;
}

std::string FitRefusal(const std::optional<FitChoice>& fit) {
    if (!fit) {
        return {};
    }
    if (fit->pairRank) {
        if (*fit->pairRank < 1 || *fit->pairRank > PreferredPairCount) {
            return "The pair to fit must be one of the preferred pairs, 1 to " +
                   std::to_string(PreferredPairCount) + ", to analyse the design.";
        }
        return {};
    }
    for (const auto& [value, name] :
         {std::pair{fit->r1, "The fitted R1"}, std::pair{fit->r3, "The fitted R3"},
          std::pair{fit->r2.value_or(1), "The fitted R2"}}) {
        if (std::string reason = PositiveRefusal(value, name, "\u03A9"); !reason.empty()) {
            return reason;
        }
    }
    return {};
}

AnalysisOutcome AnalyseDesign(const AnalysisDesign& design, const AnalysisSettings& settings,
                              const std::optional<FitChoice>& fit, const AnalysisAsks& asks) {
    AnalysisOutcome outcome;
    for (const std::string& reason :
         {DesignRefusal(design), SettingsRefusal(settings), FitRefusal(fit)}) {
        if (!reason.empty()) {
            outcome.reason = reason;
            return outcome;
        }
    }
    const Circuit& c = design.circuit;
    DesignAnalysis a;
    a.set = AnalyseSet(c, settings);
    a.design = design;
    a.settings = settings;

    // Without targets of its own the set is compared with itself.
    a.design.targetVoMax = design.targetVoMax.value_or(a.set.levels.front().vo);
    a.design.targetVoMin = design.targetVoMin.value_or(a.set.levels.back().vo);
    const std::vector<double> targets = SpecTargets(a);
    CheckSpec(a.set, targets, settings.specPct);
    const std::vector<double> values =
        settings.series == ESeries::Parts ? settings.parts.values : SeriesValues(settings.series);
    a.preferred = BestPairs(c, PinLevels(c), *a.design.targetVoMax, *a.design.targetVoMin, values);
    JudgePairs(a.preferred, c, targets, settings);
    if (fit) {
        const std::optional<Circuit> fitted = FittedCircuit(a, *fit);
        if (!fitted) {
            outcome.reason = FitRefusal(FitChoice::Pair(0));
            return outcome;
        }
        a.fitted = AnalyseFitted(a, *fitted, *fit, targets);
    }
    outcome.reason = FiniteRefusal(a);
    if (outcome.reason.empty() && asks.synthesis) {
        a.synthesis = SynthesisOf(a);
    }
    if (outcome.reason.empty() && asks.yield) {
        outcome.reason = YieldRefusal(YieldInputOf(a));
        if (outcome.reason.empty() && !EstimateYields(a, asks)) {
            outcome.reason = "The yield estimate was stopped before its end.";
        }
    }
    if (outcome.reason.empty()) {
        outcome.analysis = std::move(a);
    }
    return outcome;
}

Circuit DesignAnalysis::shownCircuit() const {
    Circuit circuit = design.circuit;
    if (fitted) {
        circuit.r1 = fitted->r1;
        circuit.r3 = fitted->r3;
        circuit.r2 = fitted->r2.value_or(circuit.r2);
    }
    return circuit;
}

std::vector<double> DesignAnalysis::targets() const {
    std::vector<double> list;
    for (const SpecLevel& spec : set.spec) {
        list.push_back(spec.target);
    }
    return list;
}

YieldInput YieldInputOf(const DesignAnalysis& a) {
    return YieldInputOf(a, a.settings.yield);
}

YieldInput YieldInputOf(const DesignAnalysis& a, const YieldSettings& yield) {
    return {a.shownCircuit(), a.settings, a.targets(), yield};
}

std::vector<YieldInput> YieldInputs(const DesignAnalysis& a) {
    std::vector<YieldInput> inputs = {YieldInputOf(a)};
    if (a.synthesis) {
        for (const GradeSynthesis& grade : a.synthesis->grades) {
            if (grade.status == GradeStatus::Searched) {
                Circuit build = a.design.circuit;
                build.r1 = grade.best.r1;
                build.r2 = grade.best.r2;
                build.r3 = grade.best.r3;
                inputs.push_back(
                    {build, GradeSettings(a.settings, grade.grade), a.targets(), a.settings.yield});
            }
        }
    }
    return inputs;
}

void SetYields(DesignAnalysis& a, std::vector<std::optional<YieldEstimate>> estimates) {
    a.yield = std::move(estimates.front());
    if (a.synthesis) {
        std::size_t next = 1;
        for (GradeSynthesis& grade : a.synthesis->grades) {
            if (grade.status == GradeStatus::Searched) {
                const auto& estimate = estimates[next++];
                grade.yield = estimate ? std::optional(estimate->yield) : std::nullopt;
                if (estimate) {
                    grade.yieldInterval = estimate->interval;
                    grade.yieldPpmFail = estimate->ppmFail;
                }
            }
        }
    }
}

} // namespace calc_core
