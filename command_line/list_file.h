// Reading the file a list setting names on the command line (--grades FILE, --parts FILE).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace command_line {

// The largest list file read: a parts list of millions of lines fits.
inline constexpr std::size_t MaxListFileBytes = std::size_t{64} << 20;

// The whole text of the file the argument names (UTF-8), or nothing with the reason: it cannot
// be opened or read, or it is larger than MaxListFileBytes.
std::optional<std::string> ReadListFile(std::string_view argument, std::string& error);

} // namespace command_line
