// Voltages at the KEP-pin end of R3 for which the output voltages are computed.
#pragma once

namespace calc_core {

inline constexpr double LevelLow = 0.14;
inline constexpr double LevelMid = 0.7;
inline constexpr double LevelHigh = 1.25;

} // namespace calc_core
