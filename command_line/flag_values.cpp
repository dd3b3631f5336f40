// Reading a flag's or a column's value into the settings, and the words when it cannot be read.
#include "command_line/flag_values.h"

#include "calc_core/setting_text.h"
#include "command_line/list_file.h"

#include <optional>

namespace command_line {

std::string ValueError(std::string_view name, std::string_view text,
                       calc_core::ValueProblem problem) {
    return std::string(name) + ": " + calc_core::QuotedForMessage(text) + " " +
           std::string(calc_core::ValueProblemText(problem));
}

namespace {

// A list from the file the text names; its first bad line's sentence names the file.
bool ReadList(const calc_core::SettingRow& row, std::string_view name, std::string_view file,
              calc_core::AnalysisSettings& settings, std::string& error) {
    std::string problem;
    const std::optional<std::string> text = ReadListFile(file, problem);
    if (text) {
        problem = calc_core::ReadSettingText(row, *text, settings);
    }
    if (!problem.empty()) {
        error = std::string(name) + ": " + calc_core::QuotedForMessage(file) + " " +
                (text ? "refused: " + problem : problem);
        return false;
    }
    return true;
}

} // namespace

bool ReadSettingValue(const calc_core::SettingRow& row, std::string_view name,
                      std::string_view text, calc_core::AnalysisSettings& settings,
                      std::string& error) {
    if (row.kind == calc_core::SettingKind::List) {
        return ReadList(row, name, text, settings, error);
    }
    if (std::string problem = calc_core::ReadSettingText(row, text, settings); !problem.empty()) {
        error = std::string(name) + ": " + problem;
        return false;
    }
    return true;
}

} // namespace command_line
