// The design analysis composed: the design's set, its preferred pairs judged against the spec,
// and the fitted pair.
#include "calc_core/design_analysis.h"

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

} // namespace

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
    if (std::string reason = PositiveRefusal(fit->r1, "The fitted R1", "\u03A9"); !reason.empty()) {
        return reason;
    }
    return PositiveRefusal(fit->r3, "The fitted R3", "\u03A9");
}

AnalysisOutcome AnalyseDesign(const AnalysisDesign& design, const AnalysisSettings& settings,
                              const std::optional<FitChoice>& fit) {
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
    const std::vector<double> values = SeriesValues(settings.series);
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
    if (outcome.reason.empty()) {
        outcome.analysis = std::move(a);
    }
    return outcome;
}

} // namespace calc_core
