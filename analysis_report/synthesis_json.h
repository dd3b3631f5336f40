// The synthesis and the yield estimate as JSON objects of numbers, with the names every front end
// writes: `analysis.synthesis` and `analysis.yield`.
#pragma once

#include "calc_core/synthesis.h"
#include "calc_core/tolerance_box.h"
#include "calc_core/yield_estimate.h"

#include <nlohmann/json.hpp>

#include <string_view>

namespace analysis_report {

// How the JSON names a quantity of the tolerance box: "r1", "vref", "level", "fb_current", "vf".
std::string_view QuantityKey(calc_core::ToleranceQuantity quantity);

nlohmann::ordered_json SynthesisJson(const calc_core::Synthesis& synthesis);

nlohmann::ordered_json YieldJson(const calc_core::YieldEstimate& estimate);

} // namespace analysis_report
