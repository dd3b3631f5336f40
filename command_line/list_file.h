// Reading the file a list setting names on the command line (--grades FILE, --parts FILE).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace command_line {

// The whole text of the file the argument names (UTF-8), of a pipe such as <(grep ...), or of
// standard input for "-"; or nothing with the reason: it cannot be opened or read, or it is
// larger than calc_core::MaxListBytes, which is found without reading more than one byte past it.
std::optional<std::string> ReadListFile(std::string_view argument, std::string& error);

} // namespace command_line
