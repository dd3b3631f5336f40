// Splitting a list's text into its entries.
#include "calc_core/list_text.h"

#include "calc_core/value_text.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace calc_core {

std::string_view NextLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view Blanks = " \t";
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

std::string_view EntryOf(std::string_view line) {
    const std::string_view entry = TrimBlanks(line);
    return entry.starts_with('#') ? std::string_view() : entry;
}

std::string_view NextField(std::string_view& rest) {
    const std::size_t comma = rest.find(',');
    const std::string_view field = TrimBlanks(rest.substr(0, comma));
    rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    return field;
}

bool NamesColumn(std::string_view field, std::string_view column) {
    return std::equal(field.begin(), field.end(), column.begin(), column.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

namespace {

// The place of the column the field names; nullopt for none.
std::optional<std::size_t> PlaceOf(std::string_view field, std::span<const ListColumn> columns) {
    for (const ListColumn& column : columns) {
        if (NamesColumn(field, column.name)) {
            return column.place;
        }
    }
    return std::nullopt;
}

} // namespace

bool IsHeaderLine(std::string_view entry, std::span<const ListColumn> columns) {
    while (!entry.empty()) {
        if (PlaceOf(NextField(entry), columns)) {
            return true;
        }
    }
    return false;
}

std::string ReadHeaderLine(std::string_view entry, std::span<const ListColumn> columns,
                           std::string_view list, std::vector<std::size_t>& layout) {
    while (!entry.empty()) {
        const std::string_view field = NextField(entry);
        const std::optional<std::size_t> place = PlaceOf(field, columns);
        if (!place) {
            std::string names;
            for (const ListColumn& column : columns) {
                names += (names.empty() ? "" : ", ") + std::string(column.name);
            }
            return QuotedForMessage(field) + " is not a column of a " + std::string(list) + " (" +
                   names + ").";
        }
        if (std::find(layout.begin(), layout.end(), *place) != layout.end()) {
            return "the column " + QuotedForMessage(field) + " is named twice.";
        }
        layout.push_back(*place);
    }
    return {};
}

std::string LineMessage(std::size_t number) {
    return "Line " + std::to_string(number) + ": ";
}

} // namespace calc_core
