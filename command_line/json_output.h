// The JSON document of a press and its analysis.
#pragma once

#include "command_line/press_report.h"

#include <ostream>

namespace command_line {

// One JSON object; numbers are written as JSON numbers that read back as the same doubles.
void WriteJson(const PressReport& report, std::ostream& out);

} // namespace command_line
