// The date a document of the command line bears: the day of SOURCE_DATE_EPOCH when it is set, the
// reproducible-builds convention by which a build or a test makes the same bytes again, or else
// today's.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace command_line {

// The environment variable's name.
inline constexpr const char* SourceDateEpoch = "SOURCE_DATE_EPOCH";

// The UTC day of a count of seconds since 1970-01-01 as "YYYY-MM-DD"; nothing for a text that
// is not decimal digits alone, or past the end of the year 9999.
std::optional<std::string> DateOfEpoch(std::string_view seconds);

// The local day of the time as "YYYY-MM-DD".
std::string LocalDate(std::time_t time);

} // namespace command_line
