// The part grades the synthesis chooses from: a series (or the user's parts list) with the
// figures of its parts, cheapest first; the columns those figures are read by, the default table
// and the reading of a grade list.
#pragma once

#include "calc_core/list_text.h"
#include "calc_core/preferred_values.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

struct AnalysisSettings;

struct PartGrade {
    ESeries series = ESeries::E96;        // Parts: the values of the user's parts list
    double tolerancePct = 0;              // each resistor, plus or minus
    double tcrPpm = 0;                    // per °C, plus or minus
    std::optional<double> lifeDriftPct{}; // plus or minus; absent: the settings' own
    std::string name{};                   // as the list names it; empty when it does not
};

// A figure of a grade's parts, which stands in for a setting of the resistors: its name in a
// grade list's header and its key in JSON; the setting's row gives its limits and unit. A column
// that is not required may be left out, and the grade then takes the setting.
struct GradeColumn {
    std::string_view header; // "tolerance"
    std::string_view key;    // "tolerance_pct"
    double AnalysisSettings::*setting = nullptr;
    bool required = true;
    std::optional<double> (*get)(const PartGrade&) = nullptr;
    void (*set)(PartGrade&, double) = nullptr;
};
std::span<const GradeColumn> GradeColumns();

// The header names of the series and of the name, around the figures' columns.
inline constexpr std::string_view GradeSeriesColumn = "series";
inline constexpr std::string_view GradeNameColumn = "name";

// The settings with the grade's figures in place of the resistors' (those the grade gives).
AnalysisSettings GradeSettings(const AnalysisSettings& settings, const PartGrade& grade);

// E24 5 % 200 ppm/°C, E24 1 % 100, E96 1 % 100, E96 1 % 50, E192 0.5 % 25, E192 0.1 % 25 and
// E192 0.1 % 10, cheapest first.
std::vector<PartGrade> DefaultPartGrades();

// One grade a line, separated by commas. Without a header, each line is the series (E6 to E192, or
// "parts", without regard to case), the tolerance in %, the TCR in ppm/°C and an optional name,
// which is the rest of the line ("E96, 1, 50, thick film"). A first line that names columns
// instead ("series, tolerance, tcr, life_drift, name", in any order, the series, tolerance and
// tcr required) is a header, and each line then gives those columns; an empty optional one is
// left out. Figures are held to the limits of their settings' rows; entries as ForEachEntry
// passes them. The first bad line refuses the whole list with one sentence that names its
// number, and so does a list without a grade.
ListRead<PartGrade> ReadPartGrades(std::string_view text);

// The grades as a list reads them back: without a header when no grade gives an optional
// column, with one naming every column otherwise.
std::string PartGradesText(std::span<const PartGrade> grades);

} // namespace calc_core
