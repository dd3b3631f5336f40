// The yield estimate: how many boards built with a resistor set pass the output spec at every
// level over the operating range, by Monte Carlo over simulated boards. It runs all at once on
// every core, or step by step, chunk by chunk; both give the same bits for the same seed, on
// every platform.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/yield_model.h"
#include "calc_core/yield_statistics.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace calc_core {

// What is estimated: a resistor set with the analysis settings and each level's target, in the
// order of PinLevels.
struct YieldInput {
    Circuit circuit;
    AnalysisSettings settings;
    std::vector<double> targets;
    YieldSettings yield;
};

// The first input the estimate cannot work with, as a sentence (as AnalyseDesign words it);
// empty when it can. A target count other than the levels' is the caller's error and throws.
std::string YieldRefusal(const YieldInput& input);

struct YieldLevel {
    double pinV = 0;
    double target = 0;
    double specLow = 0;
    double specHigh = 0;
    // Over every board at all three temperatures.
    double mean = 0;
    double sigma = 0;
    std::optional<double> cpk; // absent when sigma is 0
    double min = 0;
    double max = 0;
    std::uint64_t passingBoards = 0; // the level passes at all three temperatures
    double passShare = 0;
    // 3 x boards values across the level's worst-case band: bin i holds binLow + i * binWidth
    // up to the next bin's start; the top edge goes to the last bin.
    double binLow = 0;
    double binWidth = 0;
    std::array<std::uint64_t, HistogramBins> bins{};
};

struct YieldEstimate {
    YieldSettings settings;
    std::array<double, 3> temperatures{}; // °C: T_min, the middle one, T_max
    std::uint64_t boards = 0;
    std::uint64_t passing = 0;
    double yield = 0; // passing / boards
    ShareInterval interval;
    double ppmFail = 0; // failures per million boards
    std::vector<YieldLevel> levels;
};

// One estimate, run step by step: start it, run its chunks in order (here, or each anywhere with
// RunChunk and handed back in order to Merge), and finish it. Any split gives the bits of
// EstimateYield.
class YieldRun {
  public:
    // Throws std::invalid_argument with YieldRefusal's sentence for an input it refuses.
    explicit YieldRun(const YieldInput& input);

    std::size_t ChunkCount() const { return chunkCount_; }
    std::size_t ChunksDone() const { return chunksDone_; }
    std::uint64_t Boards() const { return boards_; }
    std::uint64_t BoardsDone() const { return total_.boards; }
    bool Done() const { return chunksDone_ == chunkCount_; }

    // The tally of one chunk; const, so chunks may run on several threads at once.
    YieldTally RunChunk(std::size_t chunk) const;

    // Adds the tally of chunk ChunksDone().
    void Merge(const YieldTally& chunkTally);

    // Runs and merges chunks [first, last); `first` must be ChunksDone().
    void RunChunks(std::size_t first, std::size_t last);

    // The estimate once every chunk is merged.
    YieldEstimate Finish() const;

  private:
    YieldModel model_;
    YieldSettings settings_;
    std::uint64_t boards_ = 0;
    std::size_t chunkCount_ = 0;
    std::size_t chunksDone_ = 0;
    YieldTally total_;
};

enum class YieldStep { Continue, Stop };

// Told the boards done so far and the boards in all after each round of chunks; Stop ends the
// run without a result.
using YieldProgress = std::function<YieldStep(std::uint64_t boardsDone, std::uint64_t boards)>;

// Runs every chunk on `threads` threads (0: one per core; always one under emscripten).
// Absent when the progress callback stopped it. Throws as YieldRun does.
std::optional<YieldEstimate> EstimateYield(const YieldInput& input, unsigned threads = 0,
                                           const YieldProgress& progress = {});

// Every number of the estimate as its shortest text, in a fixed order: equal digests mean equal
// bits.
std::string YieldDigest(const YieldEstimate& estimate);

} // namespace calc_core
