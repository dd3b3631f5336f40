// The settings of the yield estimate: how many boards, the seed of their draws, and how each
// tolerance's deviation is drawn.
#pragma once

#include <cstdint>
#include <string_view>

namespace calc_core {

// How each tolerance's unit deviation u is drawn. Uniform: in (-1, 1). Normal: z / 3 with z
// standard normal, drawn again while |z| > 3, so the tolerance is 3 sigma and no part lies
// outside it. Drifts, TCRs and the feedback pin's current are always uniform.
enum class YieldDistribution { Uniform, Normal };

// The distributions' names, by YieldDistribution.
inline constexpr std::string_view DistributionNames[] = {"uniform", "normal"};

inline constexpr std::uint64_t YieldBoardsLowest = 1'000;
inline constexpr std::uint64_t YieldBoardsHighest = 10'000'000;

// Each member's initializer is the setting's default.
struct YieldSettings {
    std::uint64_t boards = 100'000; // YieldBoardsLowest to YieldBoardsHighest
    std::uint64_t seed = 1;         // any
    YieldDistribution distribution = YieldDistribution::Uniform;
};

} // namespace calc_core
