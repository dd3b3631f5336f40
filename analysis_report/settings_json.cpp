// Writing and reading the settings by the keys of their table.
#include "analysis_report/settings_json.h"

#include <string>
#include <vector>

namespace analysis_report {

nlohmann::ordered_json SettingsJson(const calc_core::AnalysisSettings& settings) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
        const std::string key(row.key);
        switch (row.kind) {
        case calc_core::SettingKind::Number:
            json[key] = settings.*row.number;
            break;
        case calc_core::SettingKind::Choice:
            json[key] = std::string(row.choices[row.choiceOf(settings)]);
            break;
        }
    }
    return json;
}

calc_core::AnalysisSettings ReadSettingsJson(JsonReader& reader) {
    using namespace calc_core;
    std::vector<std::string_view> keys;
    for (const SettingRow& row : SettingRows()) {
        keys.push_back(row.key);
    }
    reader.AllowOnly(keys);
    AnalysisSettings settings;
    for (const SettingRow& row : SettingRows()) {
        switch (row.kind) {
        case SettingKind::Number:
            if (const auto value = reader.OptionalNumber(row.key)) {
                settings.*row.number = *value;
            }
            break;
        case SettingKind::Choice: {
            const auto name = reader.String(row.key, row.choices[row.choiceOf(settings)]);
            const auto choice = name ? ChoiceIndex(row, *name) : std::nullopt;
            if (choice) {
                row.choose(settings, *choice);
            } else if (name) {
                reader.WrongType(row.key, "one of " + ChoiceList(row, ", "));
            }
            break;
        }
        }
    }
    return settings;
}

} // namespace analysis_report
