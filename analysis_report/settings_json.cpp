// Writing the settings by the keys of their table.
#include "analysis_report/settings_json.h"

#include <string>

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

} // namespace analysis_report
