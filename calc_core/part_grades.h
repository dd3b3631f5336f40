// The part grades the synthesis chooses from: a series (or the user's parts list) with the
// figures of its parts, cheapest first; the columns those figures are read by, the default table
// and the reading of a grade list.
#pragma once

#include "calc_core/list_text.h"
#include "calc_core/preferred_values.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

struct AnalysisSettings;
struct SettingRow;

struct PartGrade {
    ESeries series = ESeries::E96;        // Parts: the values of the user's parts list
    double tolerancePct = 0;              // each resistor, plus or minus
    double tcrPpm = 0;                    // per °C, plus or minus
    std::optional<double> lifeDriftPct{}; // plus or minus; absent: the settings' own
    std::string name{};                   // as the list names it; empty when it does not
    // A part's price in any unit, the same for every grade of a list; absent: ranked by its place.
    std::optional<double> price{};
    // A part's power rating up to 70 °C [W]; absent: not judged.
    std::optional<double> powerW{};
    // A grade of a parts catalogue: its values, ascending, and the catalogue's line of each (an
    // index into PartsList::catalogue). Empty for a grade of a series or of the plain parts list.
    std::vector<double> values{};
    std::vector<std::size_t> lines{};
};

// Whether the grade is a catalogue's, its values its own.
inline bool IsCatalogueGrade(const PartGrade& grade) {
    return !grade.values.empty();
}

// A figure of a grade's parts: its name in a grade list's header and its key in JSON. One that
// stands in for a setting of the resistors has that setting's row, with its limits and unit, and
// a grade that leaves it out takes the setting; the others (price, power) have a row of their own.
struct GradeColumn {
    std::string_view header; // "tolerance"
    std::string_view key;    // "tolerance_pct"
    double AnalysisSettings::*setting = nullptr;
    const SettingRow* ownRow = nullptr; // without a setting
    bool required = true;
    std::optional<double> (*get)(const PartGrade&) = nullptr;
    void (*set)(PartGrade&, double) = nullptr;
};
std::span<const GradeColumn> GradeColumns();

// The row that judges and writes the column's figures.
const SettingRow& ColumnRow(const GradeColumn& column);

// Reads a field of the column within its row's limits; the refusal, a sentence without the
// line's number ("the price '-1' must be from 0 to ..."), or empty.
std::string ReadColumnFigure(std::string_view field, const GradeColumn& column, double& number);

// The header names of the series and of the name, around the figures' columns.
inline constexpr std::string_view GradeSeriesColumn = "series";
inline constexpr std::string_view GradeNameColumn = "name";

// The settings with the grade's figures in place of the resistors' (those the grade gives).
AnalysisSettings GradeSettings(const AnalysisSettings& settings, const PartGrade& grade);

// E24 5 % 200 ppm/°C, E24 1 % 100, E96 1 % 100, E96 1 % 50, E192 0.5 % 25, E192 0.1 % 25 and
// E192 0.1 % 10, cheapest first, with rough relative prices of 0603 parts by the reel (1, 1.1,
// 1.3, 1.6, 4, 9 and 20) and an 0603 part's 0.1 W.
std::vector<PartGrade> DefaultPartGrades();

// The price of a board whose R1, R2 and R3 are all of the grade; absent when it has no price.
inline std::optional<double> BoardPrice(const PartGrade& grade) {
    return grade.price ? std::optional(3 * *grade.price) : std::nullopt;
}
inline constexpr double DefaultPowerW = 0.1;

// One grade a line, separated by commas. Without a header, each line is the series (E6 to E192, or
// "parts", without regard to case), the tolerance in %, the TCR in ppm/°C and an optional name,
// which is the rest of the line ("E96, 1, 50, thick film"). A first line that names columns
// instead ("series, tolerance, tcr, life_drift, price, power_w, name", in any order, the series,
// tolerance and tcr required) is a header, and each line then gives those columns; an empty
// optional one is left out. Figures are held to the limits of their settings' rows; entries as
// ForEachEntry passes them. The first bad line refuses the whole list with one sentence that names
// its number, and so does a list without a grade.
ListRead<PartGrade> ReadPartGrades(std::string_view text);

// The grades as a list reads them back: without a header when no grade gives an optional
// column, with one naming every column otherwise.
std::string PartGradesText(std::span<const PartGrade> grades);

} // namespace calc_core
