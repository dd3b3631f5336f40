// One rail of a batch: its row read, pressed and analysed, and its result written as a line.
#pragma once

#include "calc_core/analysis_settings.h"
#include "command_line/batch_columns.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace command_line {

struct RailResult {
    std::string line;    // the result, a CSV or JSON line with its line end
    bool failed = false; // its message is not empty
};

// The result of the row on the file's line lineNumber (from 1, the header's), with the settings
// every row starts from. A row that cannot be analysed keeps its name, when it can be read, and
// says why in its message: its cells ("line 7: ..."), the press's message, or the analysis's
// reason. A Cal Error keeps the analysis of what the press computed.
RailResult AnalyseRail(const RailColumns& columns, const calc_core::AnalysisSettings& settings,
                       std::string_view line, std::size_t lineNumber, bool json,
                       const AnalysisExtras& extras = {});

// The result of a row that cannot be read at all: no name, and the problem as its message.
RailResult RefusedRail(const std::string& problem, bool json, const AnalysisExtras& extras = {});

// The CSV header of the results, with its line end.
std::string ResultHeaderLine(const AnalysisExtras& extras = {});

} // namespace command_line
