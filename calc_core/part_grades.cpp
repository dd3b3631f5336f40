// The grades' columns, the default part grades, and the reading and writing of a grade list.
#include "calc_core/part_grades.h"

#include "calc_core/analysis_settings.h"
#include "calc_core/decimal_text.h"
#include "calc_core/value_text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace calc_core {
namespace {

using S = AnalysisSettings;

// The figures a grade has of its own: a price in any unit, and a power rating.
const SettingRow PriceRow = {.kind = SettingKind::Number,
                             .label = "Price",
                             .subject = "The price",
                             .lowest = 0,
                             .highest = 1e12,
                             .decimals = 6};
const SettingRow PowerRow = {.kind = SettingKind::Number,
                             .label = "Power rating",
                             .unit = Watts,
                             .subject = "The power rating",
                             .lowest = 0.001,
                             .highest = 1000,
                             .decimals = 3};

const GradeColumn Columns[] = {
    {"tolerance", "tolerance_pct", &S::resistorTolerancePct, nullptr, true,
     [](const PartGrade& g) { return std::optional(g.tolerancePct); },
     [](PartGrade& g, double v) { g.tolerancePct = v; }},
    {"tcr", "tcr_ppm", &S::resistorTcrPpm, nullptr, true,
     [](const PartGrade& g) { return std::optional(g.tcrPpm); },
     [](PartGrade& g, double v) { g.tcrPpm = v; }},
    {"life_drift", "life_drift_pct", &S::resistorLifeDriftPct, nullptr, false,
     [](const PartGrade& g) { return g.lifeDriftPct; },
     [](PartGrade& g, double v) { g.lifeDriftPct = v; }},
    {"price", "price", nullptr, &PriceRow, false, [](const PartGrade& g) { return g.price; },
     [](PartGrade& g, double v) { g.price = v; }},
    {"power_w", "power_w", nullptr, &PowerRow, false, [](const PartGrade& g) { return g.powerW; },
     [](PartGrade& g, double v) { g.powerW = v; }},
};

std::string SeriesRefusal(std::string_view field) {
    std::string names;
    for (ESeries series : AllSeries) {
        names += std::string(SeriesName(series)) + ", ";
    }
    names.resize(names.size() - 2);
    return QuotedForMessage(field) + " is not a series (" + names + " or " +
           std::string(SeriesName(ESeries::Parts)) + ").";
}

// The setting's subject as it stands inside a sentence: "the resistor tolerance".
std::string InnerSubject(const SettingRow& row) {
    std::string subject(row.subject);
    subject[0] = char(std::tolower(static_cast<unsigned char>(subject[0])));
    return subject;
}

} // namespace

std::string ReadColumnFigure(std::string_view field, const GradeColumn& column, double& number) {
    const SettingRow& row = ColumnRow(column);
    const ValueRead value = ReadValue(field, ValueKind::Number);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        return InnerSubject(row) + " " + QuotedForMessage(field) + " " +
               std::string(ValueProblemText(*problem)) + ".";
    }
    number = std::get<double>(value);
    if (number >= row.lowest && number <= row.highest) {
        return {};
    }
    return InnerSubject(row) + " must be from " + LimitWithUnit(row, row.lowest) + " to " +
           LimitWithUnit(row, row.highest) + ", not " + QuotedForMessage(field) + ".";
}

namespace {

// A line's columns: the series, the figures by GradeColumns (nullptr: not given) and the name.
enum class Place : std::size_t { Series = 100, Name = 101 };
using Layout = std::vector<std::size_t>; // each field's column: a GradeColumns index or a Place

// The columns of a line without a header: series, tolerance, TCR, and the name in the rest.
Layout PlainLayout() {
    return {std::size_t(Place::Series), 0, 1, std::size_t(Place::Name)};
}

std::string ReadSeries(std::string_view field, PartGrade& grade) {
    const std::optional<ESeries> series = SeriesFromName(field);
    if (!series) {
        return SeriesRefusal(field);
    }
    grade.series = *series;
    return {};
}

bool Required(std::size_t place) {
    return place == std::size_t(Place::Series) ||
           (place < std::size(Columns) && Columns[place].required);
}

// One grade from a line's entry by the layout; the refusal without the line's number. The name,
// when it is the last column, is the rest of the line, and may be left out.
std::string ReadGrade(std::string_view entry, const Layout& layout, bool header, PartGrade& grade) {
    const std::size_t fields = std::size_t(std::count(entry.begin(), entry.end(), ',')) + 1;
    std::size_t needed = 0;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        needed = Required(layout[i]) ? i + 1 : needed;
    }
    const bool nameLast = layout.back() == std::size_t(Place::Name);
    if (fields < needed || (!nameLast && fields > layout.size())) {
        return QuotedForMessage(entry) +
               (header ? " does not give the header's " + std::to_string(layout.size()) +
                             " columns, separated by commas."
                       : " is not a grade: write its series, tolerance in % and TCR in "
                         "ppm/\u00b0C, separated by commas (E96, 1, 50).");
    }
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const bool rest = i + 1 == layout.size() && nameLast;
        const std::string_view field = rest ? TrimBlanks(entry) : NextField(entry);
        std::string refusal;
        if (layout[i] == std::size_t(Place::Series)) {
            refusal = ReadSeries(field, grade);
        } else if (layout[i] == std::size_t(Place::Name)) {
            grade.name = std::string(field);
        } else if (!field.empty() || Required(layout[i])) {
            const GradeColumn& column = Columns[layout[i]];
            double value = 0;
            refusal = ReadColumnFigure(field, column, value);
            column.set(grade, value);
        }
        if (!refusal.empty()) {
            return refusal;
        }
    }
    return {};
}

// The columns a grade list's header may name, in the order its refusal lists them.
std::vector<ListColumn> ListColumns() {
    std::vector<ListColumn> columns = {{GradeSeriesColumn, std::size_t(Place::Series)}};
    for (std::size_t i = 0; i < std::size(Columns); ++i) {
        columns.push_back({Columns[i].header, i});
    }
    columns.push_back({GradeNameColumn, std::size_t(Place::Name)});
    return columns;
}

// The layout a header names, or the refusal of its first unknown or repeated column, or of a
// required one it leaves out.
std::string ReadHeader(std::string_view entry, const std::vector<ListColumn>& columns,
                       Layout& layout) {
    if (std::string refusal = ReadHeaderLine(entry, columns, "grade list", layout);
        !refusal.empty()) {
        return refusal;
    }
    Layout required = {std::size_t(Place::Series)};
    for (std::size_t i = 0; i < std::size(Columns); ++i) {
        if (Columns[i].required) {
            required.push_back(i);
        }
    }
    for (std::size_t place : required) {
        if (std::find(layout.begin(), layout.end(), place) == layout.end()) {
            return "the header must name the column " +
                   std::string(place < std::size(Columns) ? Columns[place].header
                                                          : GradeSeriesColumn) +
                   ".";
        }
    }
    return {};
}

} // namespace

std::span<const GradeColumn> GradeColumns() {
    return Columns;
}

const SettingRow& ColumnRow(const GradeColumn& column) {
    return column.setting ? SettingOf(column.setting) : *column.ownRow;
}

AnalysisSettings GradeSettings(const AnalysisSettings& settings, const PartGrade& grade) {
    AnalysisSettings s = settings;
    for (const GradeColumn& column : Columns) {
        if (const std::optional<double> value = column.get(grade); value && column.setting) {
            s.*column.setting = *value;
        }
    }
    return s;
}

std::vector<PartGrade> DefaultPartGrades() {
    using enum ESeries;
    const auto grade = [](ESeries series, double tolerancePct, double tcrPpm, double price) {
        return PartGrade{.series = series,
                         .tolerancePct = tolerancePct,
                         .tcrPpm = tcrPpm,
                         .price = price,
                         .powerW = DefaultPowerW};
    };
    return {grade(E24, 5, 200, 1),   grade(E24, 1, 100, 1.1), grade(E96, 1, 100, 1.3),
            grade(E96, 1, 50, 1.6),  grade(E192, 0.5, 25, 4), grade(E192, 0.1, 25, 9),
            grade(E192, 0.1, 10, 20)};
}

ListRead<PartGrade> ReadPartGrades(std::string_view text) {
    ListRead<PartGrade> list;
    Layout layout;
    const std::vector<ListColumn> columns = ListColumns();
    const bool read = ForEachEntry(text, [&](const EntryLine& line) {
        if (layout.empty() && IsHeaderLine(line.text, columns)) {
            std::string refusal = ReadHeader(line.text, columns, layout);
            list.error = refusal.empty() ? "" : LineMessage(line.number) + refusal;
            return refusal.empty();
        }
        const bool header = !layout.empty();
        if (layout.empty()) {
            layout = PlainLayout();
        }
        PartGrade grade;
        if (std::string refusal = ReadGrade(line.text, layout, header, grade); !refusal.empty()) {
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

std::string PartGradesText(std::span<const PartGrade> grades) {
    std::vector<const GradeColumn*> given;
    for (const GradeColumn& column : Columns) {
        if (column.required || std::any_of(grades.begin(), grades.end(), [&](const auto& g) {
                return column.get(g).has_value();
            })) {
            given.push_back(&column);
        }
    }
    const bool header =
        std::any_of(given.begin(), given.end(), [](auto* c) { return !c->required; });
    std::string text;
    if (header) {
        text += std::string(GradeSeriesColumn);
        for (const GradeColumn* column : given) {
            text += ", " + std::string(column->header);
        }
        text += ", " + std::string(GradeNameColumn) + "\n";
    }
    for (const PartGrade& grade : grades) {
        text += std::string(SeriesName(grade.series));
        for (const GradeColumn* column : given) {
            const std::optional<double> value = column->get(grade);
            text += ", " + (value ? ShortestText(*value) : std::string());
        }
        text += (grade.name.empty() ? "" : ", " + grade.name) + "\n";
    }
    return text;
}

} // namespace calc_core
