// The notices beside settings given but not used.
#include "calc_core/setting_notices.h"

namespace calc_core {

std::vector<SettingNotice> SettingNotices(const AnalysisSettings& settings) {
    std::vector<SettingNotice> notices;
    // The window and the page search the grades with every analysis.
    if (!settings.parts.empty() && !PartsListUsed(settings, true)) {
        notices.push_back({FindSetting("parts"), std::string(UnusedPartsListNote(settings))});
    }
    return notices;
}

} // namespace calc_core
