// The criterion's verdict on a build: the worst case, or its boards run until the bound decides.
#include "calc_core/build_criterion.h"

#include "calc_core/analysis_settings.h"
#include "calc_core/output_spec.h"
#include "calc_core/yield_model.h"
#include "calc_core/yield_statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace calc_core {
namespace {

// Failures per million within their 95 % interval, from the passing boards.
ShareInterval FailurePpm(std::uint64_t passing, std::uint64_t boards) {
    const ShareInterval pass = WilsonInterval(passing, boards);
    return {(1 - pass.high) * 1e6, (1 - pass.low) * 1e6};
}

// The least Cpk over the levels; a level whose outputs are all alike counts as no limit.
double LeastCpk(const YieldModel& model, const YieldTally& tally) {
    double least = std::numeric_limits<double>::infinity();
    for (std::size_t j = 0; j < model.levels.size(); ++j) {
        const LevelTally& level = tally.levels[j];
        const double n = double(level.values);
        const double mean = model.levels[j].scale.reference + level.sum / n;
        const double variance =
            std::max(0.0, level.sumSquares / n - (level.sum / n) * (level.sum / n));
        const auto cpk = ProcessCapability(mean, std::sqrt(variance), model.levels[j].specLow,
                                           model.levels[j].specHigh);
        least = std::min(least, cpk.value_or(least));
    }
    return least;
}

// The boards of the model, chunk after chunk, until `decided` says so or the boards run out.
template <typename Decided>
YieldTally RunUntil(const YieldModel& model, const YieldSettings& yield, Decided decided) {
    YieldTally tally;
    for (std::uint64_t chunk = 0; tally.boards < yield.boards; ++chunk) {
        MergeYieldTally(tally,
                        SimulateChunk(model, yield.seed, chunk,
                                      std::min(YieldChunkBoards, yield.boards - tally.boards)));
        if (decided(tally)) {
            break;
        }
    }
    return tally;
}

} // namespace

CriterionVerdict JudgeBuild(const Circuit& build, const std::vector<double>& targets,
                            const AnalysisSettings& settings, const TermSizes& sizes,
                            const CriterionSettings& criterion, const YieldSettings& yield) {
    CriterionVerdict verdict;
    const YieldModel model = ModelOf(build, settings, targets, yield.distribution, sizes);
    bool everyBoardPasses = true;
    bool everyBoardFails = false;
    verdict.margin = std::numeric_limits<double>::infinity();
    for (const YieldLevelPlan& level : model.levels) {
        const SpecLevel spec = JudgeSpec(level.band, level.target, settings.specPct);
        verdict.margin = std::min(verdict.margin, spec.margin);
        everyBoardPasses = everyBoardPasses && spec.meets;
        everyBoardFails =
            everyBoardFails || level.band.max < spec.low || level.band.min > spec.high;
    }
    if (criterion.criterion == BuildCriterion::WorstCase ||
        (criterion.criterion == BuildCriterion::Yield && everyBoardPasses) || everyBoardFails) {
        verdict.meets = everyBoardPasses;
        return verdict;
    }
    if (criterion.criterion == BuildCriterion::Yield) {
        const YieldTally tally = RunUntil(model, yield, [&](const YieldTally& t) {
            const ShareInterval ppm = FailurePpm(t.passing, t.boards);
            return ppm.high <= criterion.maxPpm || ppm.low > criterion.maxPpm;
        });
        const ShareInterval ppm = FailurePpm(tally.passing, tally.boards);
        verdict = {
            ppm.high <= criterion.maxPpm, verdict.margin, ppm.high, ppm.low, {}, tally.boards};
        return verdict;
    }
    const YieldTally tally = RunUntil(model, yield, [](const YieldTally&) { return false; });
    const double cpk = LeastCpk(model, tally);
    verdict = {cpk >= criterion.minCpk, verdict.margin, {}, {}, cpk, tally.boards};
    return verdict;
}

} // namespace calc_core
