// Writing and reading the settings by the keys of their table.
#include "analysis_report/settings_json.h"

#include "calc_core/catalogue_grades.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace analysis_report {
namespace {

using Json = nlohmann::ordered_json;

// A catalogue part's members beside the grades' figures.
constexpr std::string_view ValueKey = "value_ohm";
constexpr std::string_view MpnKey = "mpn";
constexpr std::string_view ManufacturerKey = "manufacturer";

// The parts list's values in ohms, or the catalogue's parts as objects: the value, each figure a
// part gives by its key, the part number and maker.
Json PartsJson(const calc_core::PartsList& parts) {
    if (parts.catalogue.empty()) {
        return parts.values;
    }
    const auto figures = calc_core::CatalogueFigures();
    const auto columns = calc_core::GradeColumns();
    Json list = Json::array();
    for (const calc_core::CataloguePart& part : parts.catalogue) {
        Json json = {{std::string(ValueKey), part.ohms}};
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (const std::optional<double>& value = part.*figures[i]) {
                json[std::string(columns[i].key)] = *value;
            }
        }
        json[std::string(MpnKey)] = part.mpn;
        json[std::string(ManufacturerKey)] = part.manufacturer;
        list.push_back(std::move(json));
    }
    return list;
}

// The part grades as objects, the fields of a grade list's line by their names.
Json GradesJson(const calc_core::AnalysisSettings& settings) {
    Json grades = Json::array();
    for (const calc_core::PartGrade& grade : settings.grades) {
        grades.push_back(GradeJson(grade));
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
                                                       : PartsJson(settings.parts);
    case calc_core::SettingKind::Flag:
        return settings.*row.onOff;
    }
    return nullptr;
}

// A whole number as JSON holds it, or as a decimal text of digits, which a page sends for the
// numbers beyond JavaScript's; absent when the member is.
std::optional<std::uint64_t> WholeOf(JsonReader& reader, std::string_view key) {
    const Json* member = reader.OptionalMember(key);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (member->is_number_unsigned()) {
        return member->get<std::uint64_t>();
    }
    if (member->is_string()) {
        const std::string& text = member->get_ref<const std::string&>();
        std::uint64_t value = 0;
        const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (fault == std::errc() && end == text.data() + text.size() && !text.empty()) {
            return value;
        }
    }
    reader.WrongType(key, "a whole number from 0 to " + std::to_string(calc_core::LargestWhole));
    return std::nullopt;
}

// The grades as GradesJson writes them; the core judges their figures.
void ReadGrades(JsonReader& reader, std::string_view key, calc_core::AnalysisSettings& settings) {
    const Json* member = reader.OptionalMember(key);
    if (member == nullptr) {
        return;
    }
    if (!member->is_array()) {
        reader.WrongType(key, "an array of grades");
        return;
    }
    std::vector<std::string_view> keys = {calc_core::GradeSeriesColumn};
    for (const calc_core::GradeColumn& column : calc_core::GradeColumns()) {
        keys.push_back(column.key);
    }
    keys.push_back(calc_core::GradeNameColumn);
    std::vector<calc_core::PartGrade> grades;
    for (const Json& item : *member) {
        JsonReader reading = reader.Nested(item, key);
        reading.AllowOnly(keys);
        calc_core::PartGrade grade;
        const auto series = reading.String(calc_core::GradeSeriesColumn);
        const auto named = series ? calc_core::SeriesFromName(*series) : std::nullopt;
        if (!reading.failed() && !named) {
            reading.Fail(reading.Name(calc_core::GradeSeriesColumn) + " must be a series or \"" +
                         std::string(calc_core::SeriesName(calc_core::ESeries::Parts)) + "\"");
        }
        for (const calc_core::GradeColumn& column : calc_core::GradeColumns()) {
            const auto value =
                column.required ? reading.Number(column.key) : reading.OptionalNumber(column.key);
            if (value) {
                column.set(grade, *value);
            }
        }
        const auto name = reading.String(calc_core::GradeNameColumn, "");
        if (reading.failed()) {
            reader.Fail(reading.error());
            return;
        }
        grade.series = *named;
        grade.name = *name;
        grades.push_back(std::move(grade));
    }
    settings.grades = std::move(grades);
}

// A catalogue's part as PartsJson writes it; its text may not hold a comma or a line end, which
// would split it in the catalogue's text.
std::optional<calc_core::CataloguePart> ReadCataloguePart(JsonReader& reader) {
    std::vector<std::string_view> keys = {ValueKey, MpnKey, ManufacturerKey};
    for (const calc_core::GradeColumn& column : calc_core::GradeColumns()) {
        keys.push_back(column.key);
    }
    reader.AllowOnly(keys);
    calc_core::CataloguePart part;
    part.ohms = reader.Number(ValueKey).value_or(0);
    const auto figures = calc_core::CatalogueFigures();
    const auto columns = calc_core::GradeColumns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        part.*figures[i] = reader.OptionalNumber(columns[i].key);
    }
    for (const auto& [name, text] :
         {std::pair{MpnKey, &part.mpn}, std::pair{ManufacturerKey, &part.manufacturer}}) {
        *text = reader.String(name, "").value_or("");
        if (!reader.failed() && text->find_first_of(",\r\n") != std::string::npos) {
            reader.Fail(reader.Name(name) + " must not hold a comma or a line end");
        }
    }
    return reader.failed() ? std::nullopt : std::optional(std::move(part));
}

// The values in ohms, or a catalogue's parts as objects; the core judges their figures.
void ReadParts(JsonReader& reader, std::string_view key, calc_core::AnalysisSettings& settings) {
    const Json* member = reader.OptionalMember(key);
    if (member == nullptr) {
        return;
    }
    const auto isObject = [](const Json& item) { return item.is_object(); };
    if (member->is_array() && !member->empty() &&
        std::all_of(member->begin(), member->end(), isObject)) {
        std::vector<calc_core::CataloguePart> catalogue;
        for (const Json& item : *member) {
            JsonReader reading = reader.Nested(item, key);
            std::optional<calc_core::CataloguePart> part = ReadCataloguePart(reading);
            if (!part) {
                reader.Fail(reading.error());
                return;
            }
            catalogue.push_back(std::move(*part));
        }
        settings.parts = calc_core::PartsListOf(std::move(catalogue));
        return;
    }
    std::vector<double> values;
    for (const Json& item : member->is_array() ? *member : Json::array()) {
        if (!item.is_number()) {
            break;
        }
        values.push_back(item.get<double>());
    }
    if (!member->is_array() || values.size() != member->size()) {
        reader.WrongType(key, "an array of resistances in ohms, or of catalogue parts");
        return;
    }
    settings.parts = calc_core::PartsListOf(std::move(values));
}

// One setting by its row's kind: a member that is absent keeps its default.
void ReadValue(JsonReader& reader, const calc_core::SettingRow& row,
               calc_core::AnalysisSettings& settings) {
    using calc_core::SettingKind;
    switch (row.kind) {
    case SettingKind::Number:
        if (const auto value = reader.OptionalNumber(row.key)) {
            settings.*row.number = *value;
        }
        break;
    case SettingKind::OptionalNumber:
        if (const Json* member = reader.OptionalMember(row.key); member && !member->is_null()) {
            settings.*row.optionalNumber = reader.OptionalNumber(row.key);
        }
        break;
    case SettingKind::Whole:
        if (const auto value = WholeOf(reader, row.key)) {
            row.setWhole(settings, *value);
        }
        break;
    case SettingKind::Choice: {
        const auto name = reader.String(row.key, row.choices[row.choiceOf(settings)]);
        const auto choice = name ? calc_core::ChoiceIndex(row, *name) : std::nullopt;
        if (choice) {
            row.choose(settings, *choice);
        } else if (name) {
            reader.WrongType(row.key, "one of " + calc_core::ChoiceList(row, ", "));
        }
        break;
    }
    case SettingKind::List:
        if (row.list == calc_core::ListKind::Grades) {
            ReadGrades(reader, row.key, settings);
        } else {
            ReadParts(reader, row.key, settings);
        }
        break;
    case SettingKind::Flag:
        if (const auto value = reader.Bool(row.key, settings.*row.onOff)) {
            settings.*row.onOff = *value;
        }
        break;
    }
}

} // namespace

Json GradeJson(const calc_core::PartGrade& grade) {
    Json json = {{std::string(calc_core::GradeSeriesColumn),
                  std::string(calc_core::GradeSeriesName(grade))}};
    for (const calc_core::GradeColumn& column : calc_core::GradeColumns()) {
        if (const std::optional<double> value = column.get(grade)) {
            json[std::string(column.key)] = *value;
        }
    }
    json[std::string(calc_core::GradeNameColumn)] = grade.name;
    if (calc_core::IsCatalogueGrade(grade)) {
        json["catalogue_parts"] = grade.lines; // indices into the settings' parts, from 0
    }
    return json;
}

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
        ReadValue(reader, row, settings);
    }
    return settings;
}

} // namespace analysis_report
