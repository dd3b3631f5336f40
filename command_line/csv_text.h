// CSV as RFC 4180 writes it: cells split by commas, quoted cells with doubled quotes, one record a
// line; and cells written so that a spreadsheet takes a user's text as text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace command_line {

struct CsvRecord {
    std::vector<std::string> cells; // with a problem, those read before it
    // Why the line is no record, as words that follow "line N: "; empty when it is one.
    std::string problem;
};

// The cells of one line (without its line end). A quoted cell must close on the same line: a
// rail's row is one line, so a quoted line break is refused rather than read across lines.
CsvRecord SplitCsvLine(std::string_view line);

// The cell as it must be written: quoted, its quotes doubled, when it holds a comma, a quote or a
// line end, or begins or ends with a blank.
std::string CsvCell(std::string_view text);

// The text without the blanks (spaces and tabs) around it.
std::string_view TrimBlanks(std::string_view text);

// A user's text that a spreadsheet would take as a formula (it begins with =, +, -, @, a tab or a
// carriage return) with an apostrophe before it, which keeps it text.
std::string InertText(std::string_view text);

} // namespace command_line
