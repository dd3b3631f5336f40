// A CAL press's outcome as the page applies it: message, layout, label texts, red mark, record.
#pragma once

#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"

#include <nlohmann/json.hpp>

namespace web_page {

// The labels are named as the window names them: Label2(0..2) on Calc, Label3(0..3) on Check.
nlohmann::ordered_json CalcPressResponse(const calc_core::CalcPressOutcome& press, bool recorded);
nlohmann::ordered_json CheckPressResponse(const calc_core::CheckOutcome& press, bool recorded);

} // namespace web_page
