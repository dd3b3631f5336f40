// What the parts to buy are judged by: the worst case, the yield's failures per million, or Cpk.
#pragma once

#include <array>
#include <string_view>

namespace calc_core {

enum class BuildCriterion { WorstCase, Yield, Cpk };

// The criteria's names, by BuildCriterion.
inline constexpr std::array<std::string_view, 3> CriterionNames = {"worst-case", "yield", "cpk"};

// What the criterion asks: the yield's 95 % upper bound of failures per million at most maxPpm,
// or each level's Cpk at least minCpk.
struct CriterionSettings {
    BuildCriterion criterion = BuildCriterion::WorstCase;
    double maxPpm = 100;
    double minCpk = 1.33;
};

} // namespace calc_core
