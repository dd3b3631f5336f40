// Reading a flag's or a column's value into the settings, and the words when it cannot be read.
#include "command_line/flag_values.h"

#include <cctype>
#include <variant>

namespace command_line {

std::string ValueError(std::string_view name, std::string_view text,
                       calc_core::ValueProblem problem) {
    return std::string(name) + ": " + calc_core::QuotedForMessage(text) + " " +
           std::string(calc_core::ValueProblemText(problem));
}

bool ReadSettingValue(const calc_core::SettingRow& row, std::string_view name,
                      std::string_view text, calc_core::AnalysisSettings& settings,
                      std::string& error) {
    if (row.kind == calc_core::SettingKind::Choice) {
        if (const auto choice = calc_core::ChoiceIndex(row, text)) {
            row.choose(settings, *choice);
            return true;
        }
        std::string label = calc_core::PlainLabel(row);
        label[0] = char(std::tolower(static_cast<unsigned char>(label[0])));
        error = std::string(name) + ": " + calc_core::QuotedForMessage(text) + " is not a " +
                label + " (" + calc_core::ChoiceList(row) + ")";
        return false;
    }
    const calc_core::ValueRead value = calc_core::ReadValue(text, calc_core::ValueKind::Number);
    if (const auto* problem = std::get_if<calc_core::ValueProblem>(&value)) {
        error = ValueError(name, text, *problem);
        return false;
    }
    settings.*row.number = std::get<double>(value);
    return true;
}

} // namespace command_line
