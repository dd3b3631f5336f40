// Reading a setting's text by its row's kind, and judging it by the row's limits.
#include "web_page/api/read_setting_response.h"

#include "analysis_report/settings_json.h"
#include "calc_core/setting_text.h"
#include "web_page/api/protocol_keys.h"

#include <string>

namespace web_page {

using namespace calc_core;
using Json = nlohmann::ordered_json;

// The core's sentence of the text, with its stop, or the refusal of the value read.
Json ReadSettingResponse(const SettingRow& row, std::string_view text) {
    AnalysisSettings settings;
    std::string problem = ReadSettingText(row, text, settings, BlankText::Default);
    problem = problem.empty()          ? RowRefusal(row, settings)
              : problem.ends_with('.') ? problem
                                       : problem + ".";
    if (!problem.empty()) {
        return {{keys::Problem, problem}};
    }
    if (row.kind == SettingKind::Whole) {
        return {{keys::Value, std::to_string(row.wholeOf(settings))}};
    }
    return {{keys::Value, analysis_report::SettingsJson(settings)[std::string(row.key)]}};
}

} // namespace web_page
