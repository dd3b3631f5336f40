// The default part grades, and the reading of a grade list.
#include "calc_core/part_grades.h"

#include "calc_core/analysis_settings.h"
#include "calc_core/value_text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace calc_core {
namespace {

bool SameWithoutCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string SeriesRefusal(std::string_view field) {
    std::string names;
    for (ESeries series : AllSeries) {
        names += std::string(SeriesName(series)) + ", ";
    }
    names.resize(names.size() - 2);
    return QuotedForMessage(field) + " is not a series (" + names + " or " +
           std::string(PartsGradeName) + ").";
}

// The setting's subject as it stands inside a sentence: "the resistor tolerance".
std::string InnerSubject(const SettingRow& row) {
    std::string subject(row.subject);
    subject[0] = char(std::tolower(static_cast<unsigned char>(subject[0])));
    return subject;
}

// Reads a number field within its setting's limits; the refusal without the line's number.
std::string ReadLimited(std::string_view field, const SettingRow& row, double& number) {
    const ValueRead value = ReadValue(field, ValueKind::Number);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        return InnerSubject(row) + " " + QuotedForMessage(field) + " " +
               std::string(ValueProblemText(*problem)) + ".";
    }
    number = std::get<double>(value);
    if (number >= row.lowest && number <= row.highest) {
        return {};
    }
    const std::string unit(row.unit);
    return InnerSubject(row) + " must be from " + LimitText(row, row.lowest) + " " + unit + " to " +
           LimitText(row, row.highest) + " " + unit + ", not " + QuotedForMessage(field) + ".";
}

// Splits off the text up to the first comma, its blanks cut; the rest follows the comma.
std::string_view NextField(std::string_view& rest) {
    const std::size_t comma = rest.find(',');
    const std::string_view field = TrimBlanks(rest.substr(0, comma));
    rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    return field;
}

// One grade from a line's entry; the refusal without the line's number.
std::string ReadGrade(std::string_view entry, PartGrade& grade) {
    const std::string_view line = entry;
    const std::string_view seriesField = NextField(entry);
    const bool threeFields = entry.find(',') != std::string_view::npos;
    const std::string_view toleranceField = NextField(entry);
    const std::string_view tcrField = NextField(entry);
    if (!threeFields) {
        return QuotedForMessage(line) +
               " is not a grade: write its series, tolerance in % and TCR in ppm/\u00b0C, "
               "separated by commas (E96, 1, 50).";
    }
    grade.parts = SameWithoutCase(seriesField, PartsGradeName);
    const std::optional<ESeries> series = SeriesFromName(seriesField);
    if (!grade.parts && !series) {
        return SeriesRefusal(seriesField);
    }
    grade.series = series.value_or(grade.series);
    if (std::string refusal = ReadLimited(
            toleranceField, SettingOf(&AnalysisSettings::resistorTolerancePct), grade.tolerancePct);
        !refusal.empty()) {
        return refusal;
    }
    grade.name = std::string(TrimBlanks(entry));
    return ReadLimited(tcrField, SettingOf(&AnalysisSettings::resistorTcrPpm), grade.tcrPpm);
}

} // namespace

std::vector<PartGrade> DefaultPartGrades() {
    using enum ESeries;
    return {
        {E24, false, 5, 200, {}},   {E24, false, 1, 100, {}},   {E96, false, 1, 100, {}},
        {E96, false, 1, 50, {}},    {E192, false, 0.5, 25, {}}, {E192, false, 0.1, 25, {}},
        {E192, false, 0.1, 10, {}},
    };
}

ListRead<PartGrade> ReadPartGrades(std::string_view text) {
    ListRead<PartGrade> list;
    const bool read = ForEachEntry(text, [&list](const EntryLine& line) {
        PartGrade grade;
        if (std::string refusal = ReadGrade(line.text, grade); !refusal.empty()) {
            list.error = LineMessage(line.number) + refusal;
            return false;
        }
        list.values.push_back(std::move(grade));
        return true;
    });
    if (!read) {
        list.values.clear();
    } else if (list.values.empty()) {
        list.error = "The grade list holds no grade.";
    }
    return list;
}

} // namespace calc_core
