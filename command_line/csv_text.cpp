// Splitting and writing CSV cells.
#include "command_line/csv_text.h"

namespace command_line {

CsvRecord SplitCsvLine(std::string_view line) {
    CsvRecord record;
    std::size_t i = 0;
    while (true) {
        std::string cell;
        if (i < line.size() && line[i] == '"') {
            // A quoted cell: up to the quote that is not doubled.
            for (++i;; ++i) {
                if (i >= line.size()) {
                    record.problem = "a quoted cell is not closed on its line (a rail's row is "
                                     "one line, so a quoted line break cannot stand in it)";
                    return record;
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line[i];
            }
            if (i < line.size() && line[i] != ',') {
                record.problem = "cell " + std::to_string(record.cells.size() + 1) +
                                 " has text after its closing quote";
                return record;
            }
        } else {
            const std::size_t end = std::min(line.find(',', i), line.size());
            cell.assign(line.substr(i, end - i));
            if (cell.find('"') != std::string::npos) {
                record.problem = "cell " + std::to_string(record.cells.size() + 1) +
                                 " has a quote but is not quoted (write \"\" inside quotes)";
                return record;
            }
            i = end;
        }
        record.cells.push_back(std::move(cell));
        if (i >= line.size()) {
            return record;
        }
        ++i; // the comma
    }
}

std::string CsvCell(std::string_view text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) {
        return std::string(text);
    }
    std::string cell = "\"";
    for (char c : text) {
        cell += c;
        if (c == '"') {
            cell += '"';
        }
    }
    return cell + "\"";
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string InertText(std::string_view text) {
    if (!text.empty() &&
        std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
        return "'" + std::string(text);
    }
    return std::string(text);
}

} // namespace command_line
