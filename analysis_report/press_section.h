// The results a CAL press showed, as a section of the report's documents: each result's text as
// the tab shows it, the element the design check marks red, and the press's message.
#pragma once

#include "analysis_report/analysis_report.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"

#include <string>
#include <string_view>

namespace analysis_report {

inline constexpr std::string_view PressSectionName = "CAL results";

// The result or box a failed design check marks red, as the report names it; empty for none.
std::string_view RedElementName(calc_core::FlaggedElement element);

// What the red mark on that result or box says.
std::string RedElementNote(std::string_view name);

// R1, R3 and Vo_mid as the Calc tab wrote them.
Section PressSection(const calc_core::CalcPressOutcome& press);

// Vo_max, Vo_mid, Vo_min and Delta as the Check tab wrote them.
Section PressSection(const calc_core::CheckOutcome& press);

} // namespace analysis_report
