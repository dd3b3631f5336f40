// A press and its analysis as a document for the command line: one HTML file or CSV tables.
#pragma once

#include "command_line/arguments.h"
#include "command_line/press_report.h"

#include <ostream>
#include <string>

namespace command_line {

// The document of the format (Html or Csv) with the press's results as its first section, then
// the analysis report, or the reason why there is none, dated `date`. Writes nothing for a press
// that ended at the input check. It names the request's design file and note (--note, or the
// opened file's).
void WriteDocument(const PressReport& report, OutputFormat format, const std::string& date,
                   const Request& request, std::ostream& out);

} // namespace command_line
