// What a front end says beside a setting that the analysis takes but does not use, and how to
// make it used: a parts list that neither the series nor a part grade names.
#pragma once

#include "calc_core/analysis_settings.h"

#include <string>
#include <vector>

namespace calc_core {

struct SettingNotice {
    const SettingRow* row = nullptr; // the setting it stands beside
    std::string text;                // one sentence or two
};

// The notices of the settings, in the order of the table; none when every value given is used.
std::vector<SettingNotice> SettingNotices(const AnalysisSettings& settings);

} // namespace calc_core
