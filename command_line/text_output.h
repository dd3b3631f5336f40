// The plain-text report of a press and its analysis.
#pragma once

#include "command_line/press_report.h"

#include <ostream>
#include <string>

namespace command_line {

// The result texts as the window shows them, then the analysis in aligned tables, or the reason
// why there is none. Writes nothing for a press that ended at the input check.
void WriteText(const PressReport& report, std::ostream& out);

// Volts to the millivolt: "40.000 V", never "-0.000 V".
std::string Volts(double value);

// A value with an SI prefix from n to M and at most `digits` significant digits:
// "64.955 kΩ", "577.3 µA".
std::string WithPrefix(double value, std::string_view unit, int digits);

} // namespace command_line
