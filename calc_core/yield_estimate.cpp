// The yield estimate's input, its chunks run in turn or on threads, and its result.
#include "calc_core/yield_estimate.h"

#include "calc_core/analysis_design.h"
#include "calc_core/decimal_text.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <stdexcept>

#ifndef __EMSCRIPTEN__
#include <thread>
#endif

namespace calc_core {
namespace {

// Chunks each thread runs between two calls of the progress callback: some 10 ms of work.
constexpr std::size_t ChunksPerThreadRound = 8;

YieldLevel LevelOf(const YieldLevelPlan& plan, const LevelTally& tally, std::uint64_t boards) {
    YieldLevel level;
    level.pinV = plan.pinV;
    level.target = plan.target;
    level.specLow = plan.specLow;
    level.specHigh = plan.specHigh;
    const LevelMoments moments = MomentsOf(tally, plan.scale);
    level.mean = moments.mean;
    level.sigma = moments.sigma;
    level.cpk = ProcessCapability(moments.mean, moments.sigma, plan.specLow, plan.specHigh);
    level.min = tally.min;
    level.max = tally.max;
    level.passingBoards = tally.passingBoards;
    level.passShare = double(tally.passingBoards) / double(boards);
    level.binLow = plan.scale.binLow;
    level.binWidth = plan.scale.binWidth;
    level.bins = tally.bins;
    return level;
}

unsigned ThreadsFor(unsigned asked) {
#ifdef __EMSCRIPTEN__
    (void)asked;
    return 1;
#else
    if (asked == 0) {
        asked = std::max(1u, std::thread::hardware_concurrency());
    }
    return asked;
#endif
}

// Chunks [first, last) on `threads` threads, each taking the next chunk not yet taken, merged in
// chunk order once all are done.
void RunRound(YieldRun& run, std::size_t first, std::size_t last, unsigned threads) {
#ifndef __EMSCRIPTEN__
    if (threads > 1) {
        std::vector<YieldTally> tallies(last - first);
        std::atomic<std::size_t> next{first};
        const auto work = [&] {
            for (std::size_t c = next++; c < last; c = next++) {
                tallies[c - first] = run.RunChunk(c);
            }
        };
        std::vector<std::thread> workers;
        for (unsigned t = 1; t < threads; ++t) {
            workers.emplace_back(work);
        }
        work();
        for (std::thread& worker : workers) {
            worker.join();
        }
        for (const YieldTally& tally : tallies) {
            run.Merge(tally);
        }
        return;
    }
#endif
    (void)threads;
    run.RunChunks(first, last);
}

} // namespace

std::string YieldRefusal(const YieldInput& input) {
    if (input.targets.size() != PinLevels(input.circuit).size()) {
        throw std::invalid_argument("the yield estimate needs one target per level");
    }
    for (const std::string& reason : {DesignRefusal({input.circuit, std::nullopt, std::nullopt}),
                                      SettingsRefusal(input.settings)}) {
        if (!reason.empty()) {
            return reason;
        }
    }
    for (double target : input.targets) {
        if (!std::isfinite(target)) {
            return "Each level's target must be a finite number to analyse the design.";
        }
    }
    const std::uint64_t boards = input.yield.boards;
    if (boards < YieldBoardsLowest || boards > YieldBoardsHighest) {
        return "The number of boards must be from " + std::to_string(YieldBoardsLowest) + " to " +
               std::to_string(YieldBoardsHighest) + " to estimate the yield.";
    }
    return {};
}

YieldRun::YieldRun(const YieldInput& input) {
    if (std::string reason = YieldRefusal(input); !reason.empty()) {
        throw std::invalid_argument(reason);
    }
    model_ = ModelOf(input.circuit, input.settings, input.targets, input.yield.distribution);
    settings_ = input.yield;
    boards_ = input.yield.boards;
    chunkCount_ = std::size_t((boards_ + YieldChunkBoards - 1) / YieldChunkBoards);
}

YieldTally YieldRun::RunChunk(std::size_t chunk) const {
    if (chunk >= chunkCount_) {
        throw std::out_of_range("no such chunk of the yield estimate");
    }
    const std::uint64_t first = std::uint64_t(chunk) * YieldChunkBoards;
    return SimulateChunk(model_, settings_.seed, chunk,
                         std::min(YieldChunkBoards, boards_ - first));
}

void YieldRun::Merge(const YieldTally& chunkTally) {
    if (Done()) {
        throw std::logic_error("every chunk of the yield estimate is merged already");
    }
    MergeYieldTally(total_, chunkTally);
    ++chunksDone_;
}

void YieldRun::RunChunks(std::size_t first, std::size_t last) {
    if (first != chunksDone_ || last < first || last > chunkCount_) {
        throw std::logic_error("the yield estimate's chunks run in order");
    }
    for (std::size_t chunk = first; chunk < last; ++chunk) {
        Merge(RunChunk(chunk));
    }
}

YieldEstimate YieldRun::Finish() const {
    if (!Done() || total_.boards != boards_) {
        throw std::logic_error("the yield estimate has chunks left to run");
    }
    YieldEstimate e;
    e.settings = settings_;
    e.temperatures = model_.temperatures;
    e.boards = boards_;
    e.passing = total_.passing;
    e.yield = double(e.passing) / double(e.boards);
    e.interval = WilsonInterval(e.passing, e.boards);
    e.ppmFail = double(e.boards - e.passing) / double(e.boards) * 1e6;
    for (std::size_t j = 0; j < model_.levels.size(); ++j) {
        e.levels.push_back(LevelOf(model_.levels[j], total_.levels[j], boards_));
    }
    return e;
}

std::optional<YieldEstimate> EstimateYield(const YieldInput& input, unsigned threads,
                                           const YieldProgress& progress) {
    YieldRun run(input);
    threads = ThreadsFor(threads);
    const std::size_t perRound = ChunksPerThreadRound * threads;
    while (!run.Done()) {
        const std::size_t first = run.ChunksDone();
        RunRound(run, first, std::min(run.ChunkCount(), first + perRound), threads);
        if (progress && progress(run.BoardsDone(), run.Boards()) == YieldStep::Stop) {
            return std::nullopt;
        }
    }
    return run.Finish();
}

std::string YieldDigest(const YieldEstimate& e) {
    std::string text = std::to_string(e.boards) + ' ' + std::to_string(e.passing);
    const auto add = [&text](double value) { text += ' ' + ShortestText(value); };
    for (double value : {e.yield, e.interval.low, e.interval.high, e.ppmFail}) {
        add(value);
    }
    for (const YieldLevel& level : e.levels) {
        text += " |";
        for (double value : {level.mean, level.sigma, level.cpk.value_or(0), level.min, level.max,
                             level.passShare, level.binLow, level.binWidth}) {
            add(value);
        }
        for (std::uint64_t count : level.bins) {
            text += ' ' + std::to_string(count);
        }
    }
    return text;
}

} // namespace calc_core
