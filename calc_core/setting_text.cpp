// Reading a setting's text by its row's kind.
#include "calc_core/setting_text.h"

#include "calc_core/list_text.h"
#include "calc_core/value_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <variant>

namespace calc_core {
namespace {

std::string ReadNumber(const SettingRow& row, std::string_view text, AnalysisSettings& settings) {
    if (text.empty() && row.kind == SettingKind::OptionalNumber) {
        settings.*row.optionalNumber = std::nullopt;
        return {};
    }
    const ValueRead value =
        ReadValue(text, row.resistance ? ValueKind::Resistance : ValueKind::Number);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        return QuotedForMessage(text) + " " + std::string(ValueProblemText(*problem));
    }
    if (row.kind == SettingKind::OptionalNumber) {
        settings.*row.optionalNumber = std::get<double>(value);
    } else {
        settings.*row.number = std::get<double>(value);
    }
    return {};
}

// Decimal digits alone, within 64 bits.
std::string ReadWhole(const SettingRow& row, std::string_view text, AnalysisSettings& settings) {
    std::uint64_t value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || fault != std::errc() || end != text.data() + text.size()) {
        return QuotedForMessage(text) + " is not a whole number from " +
               std::to_string(row.lowestWhole) + " to " + std::to_string(row.highestWhole);
    }
    row.setWhole(settings, value);
    return {};
}

std::string ReadChoice(const SettingRow& row, std::string_view text, AnalysisSettings& settings) {
    if (const auto choice = ChoiceIndex(row, text)) {
        row.choose(settings, *choice);
        return {};
    }
    std::string label(row.label);
    label[0] = char(std::tolower(static_cast<unsigned char>(label[0])));
    return QuotedForMessage(text) + " is not a " + label + " (" + ChoiceList(row) + ")";
}

// "yes" or "no", as SettingText writes a flag, or true, false, on, off, 1 or 0.
std::string ReadFlag(const SettingRow& row, std::string_view text, AnalysisSettings& settings) {
    static constexpr std::pair<std::string_view, bool> Words[] = {
        {"yes", true}, {"no", false},  {"true", true}, {"false", false},
        {"on", true},  {"off", false}, {"1", true},    {"0", false}};
    for (const auto& [word, on] : Words) {
        if (std::equal(word.begin(), word.end(), text.begin(), text.end(), [](char a, char b) {
                return a == std::tolower(static_cast<unsigned char>(b));
            })) {
            settings.*row.onOff = on;
            return {};
        }
    }
    return QuotedForMessage(text) + " is not yes or no";
}

std::string ReadList(const SettingRow& row, std::string_view text, AnalysisSettings& settings) {
    return row.readList(settings, text);
}

} // namespace

std::string ReadSettingText(const SettingRow& row, std::string_view text,
                            AnalysisSettings& settings, BlankText blank) {
    if (blank == BlankText::Default && row.kind == SettingKind::List &&
        DefaultListText(row).empty() &&
        ForEachEntry(text, [](const EntryLine&) { return false; })) {
        CopySetting(row, AnalysisSettings{}, settings);
        return {};
    }
    switch (row.kind) {
    case SettingKind::List:
        return ReadList(row, text, settings);
    case SettingKind::Whole:
        return ReadWhole(row, TrimBlanks(text), settings);
    case SettingKind::Choice:
        return ReadChoice(row, TrimBlanks(text), settings);
    case SettingKind::Flag:
        return ReadFlag(row, TrimBlanks(text), settings);
    case SettingKind::Number:
    case SettingKind::OptionalNumber:
        break;
    }
    return ReadNumber(row, TrimBlanks(text), settings);
}

} // namespace calc_core
