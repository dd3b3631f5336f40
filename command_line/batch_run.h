// A batch of rails: the file read as a stream, its rows analysed on every core, and the results
// written in the rows' order.
#pragma once

#include "command_line/arguments.h"

#include <istream>
#include <ostream>
#include <string_view>

namespace command_line {

// Reads the rails' file (stdin for "-") and writes one result a row. Returns 0 when every row
// was analysed as pressed, 1 when any row has a message, 2 with one line on err when the file
// cannot be read or its header is bad.
int RunBatch(const BatchRequest& batch, std::ostream& out, std::ostream& err);

// The same from a stream; shownName names it in an error.
int RunBatchStream(const BatchRequest& batch, std::istream& in, std::string_view shownName,
                   std::ostream& out, std::ostream& err);

} // namespace command_line
