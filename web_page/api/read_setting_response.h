// A setting read from the text of the page's box: a list, an optional resistance or a whole
// number as the settings take it, or the sentence that says why the text is refused.
#pragma once

#include "calc_core/analysis_settings.h"

#include <nlohmann/json.hpp>

#include <string_view>

namespace web_page {

// {"value": the setting's JSON as an analysis request takes it} or {"problem": one sentence}:
// a list's first bad line ("Line 3: ..."), a text that is no number or resistance, or a value out
// of the row's limits in the core's words. An empty box is none for an optional number and, for a
// list whose default is empty, that default. A whole number's value is its decimal text, which
// JavaScript keeps exact.
nlohmann::ordered_json ReadSettingResponse(const calc_core::SettingRow& row, std::string_view text);

} // namespace web_page
