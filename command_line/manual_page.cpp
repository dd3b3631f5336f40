// The build's tool that writes the manual page: the template with each group's settings put in
// at its comment line ".\" settings: analysis", "parts" or "yield", one entry a row of
// the settings table, so that a new setting's flag is in the manual without a word written by
// hand. Usage: manual_page TEMPLATE OUTPUT.
#include "calc_core/analysis_settings.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using calc_core::SettingKind;
using calc_core::SettingRow;

// Text as troff reads it: a backslash and a minus escaped, the characters the table's texts use
// by their troff names, any other beyond ASCII by its code point.
std::string Troff(std::string_view text) {
    static constexpr std::pair<std::string_view, std::string_view> Names[] = {
        {"\u00b0", "\\(de"}, {"\u03a9", "\\(*W"}, {"\u00b1", "\\(+-"}, {"\u00d7", "\\(mu"},
        {"\u2212", "\\-"},   {"\u03c3", "\\(*s"}, {"\u00b5", "\\(mc"}, {"\u201c", "\\(lq"},
        {"\u201d", "\\(rq"}, {"\u2014", "\\(em"}, {"\u2013", "\\(en"}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += text[i] == '\\' ? "\\e" : text[i] == '-' ? "\\-" : std::string(1, text[i]);
            ++i;
            continue;
        }
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        const std::string_view character = text.substr(i, length);
        std::string name;
        for (const auto& [utf8, troff] : Names) {
            name = utf8 == character ? std::string(troff) : name;
        }
        if (name.empty()) {
            unsigned code = byte & (length == 2 ? 0x1Fu : length == 3 ? 0x0Fu : 0x07u);
            for (std::size_t k = 1; k < character.size(); ++k) {
                code = (code << 6) | (static_cast<unsigned char>(character[k]) & 0x3Fu);
            }
            std::ostringstream hex;
            hex << "\\[u" << std::uppercase << std::hex << code << "]";
            name = hex.str();
        }
        out += name;
        i += length;
    }
    return out;
}

std::string WithUnit(const SettingRow& row, const std::string& text) {
    return row.unit.symbol.empty() ? text : text + "\\ " + Troff(row.unit.symbol);
}

// What the row takes and its limits, after its help.
std::string Takes(const SettingRow& row) {
    switch (row.kind) {
    case SettingKind::Number:
    case SettingKind::OptionalNumber:
        return ", from " + Troff(calc_core::LimitText(row, row.lowest)) + " to " +
               WithUnit(row, Troff(calc_core::LimitText(row, row.highest))) + ".";
    case SettingKind::Whole:
        return ", a whole number from " + std::to_string(row.lowestWhole) + " to " +
               std::to_string(row.highestWhole) + ".";
    case SettingKind::Choice:
        return ": " + Troff(calc_core::ChoiceList(row)) + ", in either case.";
    case SettingKind::List:
        return ".";
    case SettingKind::Flag:
        return "; " + Troff(calc_core::NegatedFlag(row)) + " turns it off.";
    }
    return {};
}

// A line of text, kept from reading as a request when it starts with one's mark.
std::string Line(const std::string& text) {
    return (text.starts_with('.') || text.starts_with('\'') ? "\\&" + text : text) + "\n";
}

// A list's default, its lines joined: "E24, 5, 200; E24, 1, 100".
std::string ListDefault(const SettingRow& row) {
    std::string lines = calc_core::DefaultListText(row);
    std::string joined;
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = lines.find('\n', start);
        joined += (joined.empty() ? "" : "; ") + lines.substr(start, end - start);
        start = end == std::string::npos ? lines.size() : end + 1;
    }
    return joined.empty() ? "" : "Default: " + Troff(joined) + ".\n";
}

std::string Entry(const SettingRow& row) {
    const std::string value = calc_core::ValueName(row);
    std::string entry = ".TP\n.BI " + Troff(row.flag) + " \" " + Troff(value) + "\"\n" +
                        Line(Troff(row.help) + Takes(row));
    if (!row.details.empty()) {
        entry += Line(Troff(row.details));
    }
    if (row.kind == SettingKind::List) {
        entry += ListDefault(row);
    } else if (row.kind != SettingKind::OptionalNumber) {
        const std::string fallback = calc_core::SettingText(row, calc_core::AnalysisSettings{});
        entry +=
            "Default " +
            (row.kind == SettingKind::Number ? WithUnit(row, Troff(fallback)) : Troff(fallback)) +
            ".\n";
    }
    return entry;
}

std::string Entries(calc_core::SettingGroup group) {
    std::string text;
    for (const SettingRow& row : calc_core::SettingRows()) {
        if (row.group == group) {
            text += Entry(row);
        }
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: manual_page TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    using calc_core::SettingGroup;
    for (const auto& [marker, group] :
         {std::pair{".\\\" settings: analysis\n", SettingGroup::Analysis},
          std::pair{".\\\" settings: parts\n", SettingGroup::Parts},
          std::pair{".\\\" settings: yield\n", SettingGroup::Yield}}) {
        const std::size_t at = page.find(marker);
        if (at == std::string::npos) {
            std::cerr << "manual_page: the template has no " << marker;
            return 1;
        }
        page.replace(at, std::string_view(marker).size(), Entries(group));
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << page;
    return out ? 0 : 1;
}
