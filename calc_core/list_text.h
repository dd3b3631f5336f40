// The lines of a list the user gives as text, one entry a line: blanks around an entry, empty
// lines and '#' comments are passed over, with Unix or Windows line ends and with or without a
// final newline.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

// The largest list a front end reads from a file, in bytes: a parts list of a hundred thousand
// values fits, as a design file holding it does.
inline constexpr std::size_t MaxListBytes = std::size_t{1} << 20;

// A list read from text: its values, or one sentence that says why it was refused.
template <typename T> struct ListRead {
    std::vector<T> values;
    std::string error; // empty when the list was read
};

// One line that holds an entry: its number, counted from 1, and its text without the blanks
// around it.
struct EntryLine {
    std::size_t number = 0;
    std::string_view text;
};

// Splits off the first line of `rest` (without its line end) and returns it.
std::string_view NextLine(std::string_view& rest);

// The entry of a line, or an empty text for an empty or comment line.
std::string_view EntryOf(std::string_view line);

// Calls read(EntryLine) for each entry of the text in order, while it returns true; returns
// false when read stopped it. A UTF-8 byte order mark at the start is passed over.
template <typename Read> bool ForEachEntry(std::string_view text, Read read) {
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(ByteOrderMark)) {
        text.remove_prefix(ByteOrderMark.size());
    }
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::string_view entry = EntryOf(NextLine(text));
        if (!entry.empty() && !read(EntryLine{number, entry})) {
            return false;
        }
    }
    return true;
}

// The start of a message about a line: "Line 3: ".
std::string LineMessage(std::size_t number);

// Blanks and tabs cut from both ends.
std::string_view TrimBlanks(std::string_view text);

// Splits off the text of `rest` up to its first comma, blanks cut; the rest follows the comma.
std::string_view NextField(std::string_view& rest);

// Whether a header's field is the column's name, without regard to case.
bool NamesColumn(std::string_view field, std::string_view column);

// A column a list's header may name, and the place its reader gives the fields of it.
struct ListColumn {
    std::string_view name;
    std::size_t place = 0;
};

// Whether the entry is a header rather than a line of values: one of its fields names a column.
bool IsHeaderLine(std::string_view entry, std::span<const ListColumn> columns);

// The places of the columns a header names, in its order; or the refusal of its first unknown
// column ("'colour' is not a column of a <list> (value, tcr, ...)."; the columns as listed) or
// repeated one, a sentence without the line's number. What a header must name, the reader judges.
std::string ReadHeaderLine(std::string_view entry, std::span<const ListColumn> columns,
                           std::string_view list, std::vector<std::size_t>& layout);

} // namespace calc_core
