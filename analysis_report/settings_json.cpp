// Writing and reading the settings by the keys of their table.
#include "analysis_report/settings_json.h"

#include <string>
#include <vector>

namespace analysis_report {
namespace {

using Json = nlohmann::ordered_json;

// The part grades as objects, the fields of a grade list's line by their names.
Json GradesJson(const calc_core::AnalysisSettings& settings) {
    Json grades = Json::array();
    for (const calc_core::PartGrade& grade : settings.grades) {
        grades.push_back(
            {{"series", std::string(grade.parts ? calc_core::PartsGradeName
                                                : calc_core::SeriesName(grade.series))},
             {"tolerance_pct", grade.tolerancePct},
             {"tcr_ppm", grade.tcrPpm},
             {"name", grade.name}});
    }
    return grades;
}

Json ValueJson(const calc_core::SettingRow& row, const calc_core::AnalysisSettings& settings) {
    switch (row.kind) {
    case calc_core::SettingKind::Number:
        return settings.*row.number;
    case calc_core::SettingKind::OptionalNumber: {
        const std::optional<double>& value = settings.*row.optionalNumber;
        return value ? Json(*value) : Json(nullptr);
    }
    case calc_core::SettingKind::Whole:
        return row.wholeOf(settings);
    case calc_core::SettingKind::Choice:
        return std::string(row.choices[row.choiceOf(settings)]);
    case calc_core::SettingKind::List:
        return row.list == calc_core::ListKind::Grades ? GradesJson(settings)
                                                        : Json(settings.parts);
    }
    return nullptr;
}

} // namespace

Json SettingsJson(const calc_core::AnalysisSettings& settings) {
    Json json = Json::object();
    for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
        json[std::string(row.key)] = ValueJson(row, settings);
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
