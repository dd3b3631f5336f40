// The power the resistors of a build dissipate, and whether each stays within its grade's rating
// derated for the operating range's highest temperature.
#pragma once

#include "calc_core/circuit.h"
#include "calc_core/part_grades.h"

#include <array>
#include <cstddef>

namespace calc_core {

// A chip resistor's rating holds up to 70 °C and falls linearly to nothing at 155 °C, the usual
// curve of thick- and thin-film parts.
inline constexpr double PowerRatedUpToC = 70;
inline constexpr double PowerNoneAtC = 155;

// The rating's share left at the temperature [W].
double DeratedPowerW(double ratingW, double temperatureC);

// What a build dissipates at its nominal values, over the pin levels.
struct BuildPower {
    std::array<double, 3> watts{}; // R1, R2, R3: each one's highest [W]
    std::size_t highest = 0;       // which of them dissipates most, by index
    double dividerCurrentA = 0;    // through R1 at the highest output
};
BuildPower PowerOf(const Circuit& circuit);

// Whether each resistor's highest dissipation stays within its grade's rating derated at the
// temperature; a grade without a rating is not judged.
bool WithinRatings(const BuildPower& power, const std::array<const PartGrade*, 3>& grades,
                   double temperatureC);

} // namespace calc_core
