// The simulated boards of the yield estimate: what each board draws, how its outputs are
// evaluated at three temperatures, and the tally of one chunk of boards from its own stream.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/tolerance_box.h"
#include "calc_core/yield_settings.h"
#include "calc_core/yield_statistics.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace calc_core {

inline constexpr std::size_t YieldMaxLevels = 3;
// Boards per chunk; each chunk draws from its own stream, so chunks may run anywhere.
inline constexpr std::uint64_t YieldChunkBoards = std::uint64_t{1} << 14;

struct YieldLevelPlan {
    double pinV = 0;
    double target = 0;
    double specLow = 0; // JudgeSpec's edges, each included
    double specHigh = 0;
    ToleranceLevel band; // the worst case, across which the histogram's bins lie
    LevelScale scale;
};

// Everything about the boards that is the same for each of them.
struct YieldModel {
    std::array<double, 3> resistors{}; // R1, R2, R3
    double vref = 0;
    std::optional<double> vf;
    // As fractions, volts and amperes: the tolerances' and spreads' half widths, and per °C.
    double resistorTolerance = 0;
    double resistorTcr = 0;
    double vrefTolerance = 0;
    double vrefDrift = 0;
    double levelAccuracy = 0;
    double vfSpread = 0;
    double vfTempco = 0;
    double fbCurrent = 0;
    // T_min, 25 °C (or the end of the range nearer it when the range leaves it out, so that no
    // board works outside its range) and T_max, and each minus 25 °C.
    std::array<double, 3> temperatures{};
    std::array<double, 3> temperatureOffsets{};
    std::vector<YieldLevelPlan> levels; // in the order of PinLevels
    YieldDistribution distribution = YieldDistribution::Uniform;
};

// The model of a set with each level's target (in the order of PinLevels); the settings and
// the circuit must be ones the analysis accepts.
YieldModel ModelOf(const Circuit& circuit, const AnalysisSettings& settings,
                   const std::vector<double>& targets, YieldDistribution distribution);

// What a run of boards gave, level by level in the model's order.
struct YieldTally {
    std::uint64_t boards = 0;
    std::uint64_t passing = 0; // every level passes at every temperature
    std::array<LevelTally, YieldMaxLevels> levels{};
};

// Adds a later tally's boards; see MergeTally.
void MergeYieldTally(YieldTally& into, const YieldTally& later);

// `boards` boards drawn from stream `chunk` of the seed.
YieldTally SimulateChunk(const YieldModel& model, std::uint64_t seed, std::uint64_t chunk,
                         std::uint64_t boards);

} // namespace calc_core
