// The simulated boards of the yield estimate: what each board draws, how its outputs are
// evaluated at three temperatures, and the tally of one chunk of boards from its own stream.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/error_terms.h"
#include "calc_core/tolerance_box.h"
#include "calc_core/yield_settings.h"
#include "calc_core/yield_statistics.h"

#include <algorithm>
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

// Where a board keeps a quantity's value: R1, R2, R3, Vref, the feedback pin's current and Vf
// by their Index, each pin level after them.
inline constexpr std::size_t YieldSlotCount = ToleranceQuantityCount + YieldMaxLevels;
constexpr std::size_t LevelSlot(std::size_t level) {
    return ToleranceQuantityCount + level;
}

// The most terms that move one quantity.
inline constexpr std::size_t YieldMaxSlotTerms = [] {
    std::size_t most = 0;
    for (std::size_t q = 0; q < ToleranceQuantityCount; ++q) {
        std::size_t count = 0;
        for (const ErrorTerm& term : ErrorTerms) {
            count += Moves(term.moves, ToleranceQuantity(q)) ? 1 : 0;
        }
        most = std::max(most, count);
    }
    return most;
}();

// A quantity of every board: its nominal value and its terms in the order they add up, each a
// deviation or, following the temperature, a coefficient per °C.
struct YieldSlot {
    double nominal = 0;
    bool relative = false; // nominal * (1 + the sum), or nominal + each in turn
    std::size_t terms = 0;
    std::array<bool, YieldMaxSlotTerms> perDegree{};
    std::array<double, YieldMaxSlotTerms> fixed{}; // a term that is not drawn: its size
};

// One unit drawn for a board and where it goes: size * u becomes term `place` of the slot. A
// draw that shares the previous one's unit (a shared term) takes no unit of its own.
struct YieldDraw {
    std::size_t slot = 0;
    std::size_t place = 0;
    double size = 0;
    bool sharesPrevious = false;
};

// The draws of a board, in groups drawn in turn: the units of a Distribution group together by
// the distribution (so that normals are drawn side by side), those of a Uniform group uniformly.
struct YieldDrawGroup {
    TermDraw kind = TermDraw::Distribution;
    std::vector<YieldDraw> draws;
    std::size_t units = 0;
};

// Everything about the boards that is the same for each of them.
struct YieldModel {
    std::array<YieldSlot, YieldSlotCount> boardSlots{};
    std::vector<YieldDrawGroup> groups;
    bool diode = false;
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
// The same with the terms' sizes given, such as a build's with a grade for each resistor.
YieldModel ModelOf(const Circuit& circuit, const AnalysisSettings& settings,
                   const std::vector<double>& targets, YieldDistribution distribution,
                   const TermSizes& sizes);

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
