// The plain-text report of a press and its analysis.
#pragma once

#include "command_line/press_report.h"

#include <ostream>

namespace command_line {

// The result texts as the window shows them, then the analysis report in aligned tables, or the
// reason why there is none. Writes nothing for a press that ended at the input check.
void WriteText(const PressReport& report, std::ostream& out);

} // namespace command_line
