// Making the analysis's results plain finite numbers, or saying which of them are not.
#pragma once

#include "calc_core/design_analysis.h"

#include <cmath>
#include <string>

namespace calc_core {

// Makes a negative zero a plain one; true when the value is finite.
inline bool MakeFinite(double& value) {
    value += 0.0;
    return std::isfinite(value);
}

// Every value made plain, whatever the first gave; true when all are finite.
template <typename... Values> bool MakeFinite(double& first, Values&... rest) {
    const bool finite = MakeFinite(first);
    return MakeFinite(rest...) && finite;
}

// Makes every result of the analysis plain; the first group of results that is not finite, as a
// sentence, or empty when all are.
std::string FiniteRefusal(DesignAnalysis& analysis);

} // namespace calc_core
