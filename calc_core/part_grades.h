// The part grades the synthesis chooses from: a series (or the user's parts list) with a
// tolerance and a TCR, cheapest first; the default table and the reading of a grade list.
#pragma once

#include "calc_core/list_text.h"
#include "calc_core/preferred_values.h"

#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

struct PartGrade {
    ESeries series = ESeries::E96; // unused when parts is set
    bool parts = false;            // the values of the user's parts list instead of a series
    double tolerancePct = 0;       // each resistor, plus or minus
    double tcrPpm = 0;             // per °C, plus or minus
    std::string name;              // as the list names it; empty when it does not
};

// E24 5 % 200 ppm/°C, E24 1 % 100, E96 1 % 100, E96 1 % 50, E192 0.5 % 25, E192 0.1 % 25 and
// E192 0.1 % 10, cheapest first.
std::vector<PartGrade> DefaultPartGrades();

// The name that stands for the parts list in a grade list.
inline constexpr std::string_view PartsGradeName = "parts";

// One grade a line: the series (E6 to E192, or "parts", without regard to case), the tolerance
// in %, the TCR in ppm/°C and an optional name, separated by commas ("E96, 1, 50, thick film");
// the name is the rest of the line. The tolerance and the TCR are held to the limits of their
// settings' rows; entries as ForEachEntry passes them. The first bad line refuses the whole list
// with one sentence that names its number, and so does a list without a grade.
ListRead<PartGrade> ReadPartGrades(std::string_view text);

} // namespace calc_core
