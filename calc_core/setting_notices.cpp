// The notices beside settings given but not used.
#include "calc_core/setting_notices.h"

#include <algorithm>

namespace calc_core {

std::vector<SettingNotice> SettingNotices(const AnalysisSettings& settings) {
    std::vector<SettingNotice> notices;
    const bool gradeTakesParts = std::any_of(settings.grades.begin(), settings.grades.end(),
                                             [](const PartGrade& grade) { return grade.parts; });
    if (!settings.parts.empty() && settings.series != ESeries::Parts && !gradeTakesParts) {
        notices.push_back(
            {FindSetting("parts"),
             "The parts list is not used: neither the series nor a part grade names it. To use "
             "it, choose the series " +
                 std::string(PartsGradeName) + ", or add a grade that names it, such as \"" +
                 std::string(PartsGradeName) + ", 1, 100\", to the part grades."});
    }
    return notices;
}

} // namespace calc_core
