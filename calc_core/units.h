// The units the settings are given in, each with its symbol and the one conversion to the unit
// the arithmetic uses: a fraction for %, volts, amperes, and per °C for the coefficients.
#pragma once

#include <string_view>

namespace calc_core {

struct Unit {
    std::string_view symbol; // as written after a value: "%", "ppm/°C"; empty for none
    // A value in this unit is value / divisor, or value * factor, in the base unit. Each unit
    // keeps the one operation its figures have always been computed with, so that every result
    // keeps its last bit.
    double divisor = 1;
    double factor = 1;

    constexpr double ToBase(double value) const {
        return divisor != 1 ? value / divisor : value * factor;
    }
};

inline constexpr Unit NoUnit{"", 1, 1};
inline constexpr Unit Percent{"%", 100, 1};
inline constexpr Unit PartsPerMillionPerDegree{"ppm/\u00b0C", 1, 1e-6};
inline constexpr Unit Millivolts{"mV", 1000, 1};
inline constexpr Unit MillivoltsPerDegree{"mV/\u00b0C", 1000, 1};
inline constexpr Unit Volts{"V", 1, 1};
inline constexpr Unit Nanoamperes{"nA", 1, 1e-9};
inline constexpr Unit DegreesCelsius{"\u00b0C", 1, 1};
inline constexpr Unit Ohms{"\u03a9", 1, 1};
inline constexpr Unit Watts{"W", 1, 1};
inline constexpr Unit PartsPerMillion{"ppm", 1, 1};

} // namespace calc_core
