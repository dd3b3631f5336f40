// Reading a flag's or a column's value into the settings, and the words when it cannot be read.
#include "command_line/flag_values.h"

#include "command_line/list_file.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <variant>

namespace command_line {

std::string ValueError(std::string_view name, std::string_view text,
                       calc_core::ValueProblem problem) {
    return std::string(name) + ": " + calc_core::QuotedForMessage(text) + " " +
           std::string(calc_core::ValueProblemText(problem));
}

namespace {

// A whole number of decimal digits alone, within the row's limits being the core's to judge.
bool ReadWhole(const calc_core::SettingRow& row, std::string_view name, std::string_view text,
               calc_core::AnalysisSettings& settings, std::string& error) {
    std::uint64_t value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || fault != std::errc() || end != text.data() + text.size()) {
        error = std::string(name) + ": " + calc_core::QuotedForMessage(text) +
                " is not a whole number from 0 to 18446744073709551615";
        return false;
    }
    row.setWhole(settings, value);
    return true;
}

// A list from the file the text names; its first bad line's sentence names the file.
bool ReadList(const calc_core::SettingRow& row, std::string_view name, std::string_view file,
              calc_core::AnalysisSettings& settings, std::string& error) {
    std::string problem;
    const std::optional<std::string> text = ReadListFile(file, problem);
    if (text) {
        problem = row.readList(settings, *text);
    }
    if (!problem.empty()) {
        error = std::string(name) + ": " + calc_core::QuotedForMessage(file) + " " +
                (text ? "refused: " + problem : problem);
        return false;
    }
    return true;
}

bool ReadChoice(const calc_core::SettingRow& row, std::string_view name, std::string_view text,
                calc_core::AnalysisSettings& settings, std::string& error) {
    if (const auto choice = calc_core::ChoiceIndex(row, text)) {
        row.choose(settings, *choice);
        return true;
    }
    std::string label = calc_core::PlainLabel(row);
    label[0] = char(std::tolower(static_cast<unsigned char>(label[0])));
    error = std::string(name) + ": " + calc_core::QuotedForMessage(text) + " is not a " + label +
            " (" + calc_core::ChoiceList(row) + ")";
    return false;
}

} // namespace

bool ReadSettingValue(const calc_core::SettingRow& row, std::string_view name,
                      std::string_view text, calc_core::AnalysisSettings& settings,
                      std::string& error) {
    switch (row.kind) {
    case calc_core::SettingKind::Choice:
        return ReadChoice(row, name, text, settings, error);
    case calc_core::SettingKind::Whole:
        return ReadWhole(row, name, text, settings, error);
    case calc_core::SettingKind::List:
        return ReadList(row, name, text, settings, error);
    case calc_core::SettingKind::Number:
    case calc_core::SettingKind::OptionalNumber:
        break;
    }
    const auto kind =
        row.resistance ? calc_core::ValueKind::Resistance : calc_core::ValueKind::Number;
    const calc_core::ValueRead value = calc_core::ReadValue(text, kind);
    if (const auto* problem = std::get_if<calc_core::ValueProblem>(&value)) {
        error = ValueError(name, text, *problem);
        return false;
    }
    if (row.kind == calc_core::SettingKind::OptionalNumber) {
        settings.*row.optionalNumber = std::get<double>(value);
    } else {
        settings.*row.number = std::get<double>(value);
    }
    return true;
}

} // namespace command_line
