// The settings of the design analysis, and the table that declares each of them once: its key,
// its flag, its label, unit and help, its limits and the decimals shown. The core's refusals, the
// command line, the JSON, the analysis window and the page all read the table.
#pragma once

#include "calc_core/criterion_settings.h"
#include "calc_core/part_grades.h"
#include "calc_core/parts_list.h"
#include "calc_core/preferred_values.h"
#include "calc_core/units.h"
#include "calc_core/yield_settings.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

// The temperature at which every value is nominal.
inline constexpr double NominalTemperatureC = 25;

// The largest whole number a setting can hold, and so the seed's highest.
inline constexpr std::uint64_t LargestWhole = std::numeric_limits<std::uint64_t>::max();

// Each member's initializer is the setting's default; nothing else writes it.
struct AnalysisSettings {
    ESeries series = ESeries::E96;
    double resistorTolerancePct = 1; // each of R1, R2, R3
    double vrefTolerancePct = 1;
    double levelAccuracyMv = 10; // every pin level, plus or minus
    double vfSpreadV = 0.05;     // the diode's Vf, plus or minus; used with it only
    double pinVoltage = 3.3;     // the pin driven to a voltage of the user's choosing
    double tempMinC = -40;       // the operating range
    double tempMaxC = 85;
    // Drifts, plus or minus; with its tolerance a part's swing over the range stays below 100 %.
    // Vref's is 0 by default: datasheets usually give its tolerance over temperature already.
    double resistorTcrPpm = 100;     // per °C, each resistor
    double resistorLifeDriftPct = 0; // each resistor over its load life, plus or minus
    double vrefDriftPpm = 0;         // per °C
    double vfTempcoMv = -2;          // per °C, signed; used with the diode only
    double fbCurrentNa = 0;          // into or out of the feedback pin, plus or minus
    double specPct = 5;              // the output spec, plus or minus % of each level's target
    // The synthesis: the part grades, cheapest first, and R2 as designed or, with both ends given,
    // free between them (ohms).
    std::vector<PartGrade> grades = DefaultPartGrades();
    std::optional<double> r2MinOhms{};
    std::optional<double> r2MaxOhms{};
    // The user's own values: the series Parts and the grades that name the parts list; or a
    // catalogue, whose lines stand in for the grades.
    PartsList parts{};
    // What the parts to buy must meet, and whether R1, R2 and R3 may each be of its own grade
    // when the grades have prices.
    BuildCriterion criterion = BuildCriterion::WorstCase;
    double maxFailPpm = 100; // the yield's 95 % upper bound of failures per million
    double minCpk = 1.33;    // every level's
    bool mixGrades = true;
    YieldSettings yield{};
};

enum class SettingKind {
    Number,         // a double member, within lowest..highest
    OptionalNumber, // the same, or absent
    Whole,          // a 64-bit unsigned whole number, within lowestWhole..highestWhole
    Choice,         // one of a list of names
    List,           // a list the user gives as text, one entry a line
    Flag,           // on or off: "yes" or "no"; on the command line a flag and its "--no-" twin
};

// The lists a List row holds; each has its own JSON form.
enum class ListKind { Grades, Parts };

// What a setting is for, as the front ends group the rows: the analysis of the set, the parts
// the synthesis may buy, and the simulated boards of the yield estimate.
enum class SettingGroup { Analysis, Parts, Yield };
inline constexpr SettingGroup AllSettingGroups[] = {SettingGroup::Analysis, SettingGroup::Parts,
                                                    SettingGroup::Yield};

// The group's title: "Analysis", "Parts to buy", "Yield".
std::string_view SettingGroupName(SettingGroup group);

// One setting as every front end shows it and the core judges it.
struct SettingRow {
    SettingKind kind = SettingKind::Number;
    std::string_view id{};   // the control's name in the window and the page: "ResistorTolerance"
    std::string_view key{};  // the JSON's and the requests' member: "resistor_pct"
    std::string_view flag{}; // the command line's: "--tolerance"
    std::string_view valueName{}; // the flag's value in the help: "PCT"; "FILE" for a list
    std::string_view label{};     // "Resistor tolerance"
    Unit unit = NoUnit;           // written after the value: "%"; and its conversion
    bool plusMinus = false;       // a spread, written "± 1 %"
    std::string_view subject{};   // how a refusal names it: "The resistor tolerance"
    std::string_view help{};      // one line: the command line's help, and the tooltip's start
    std::string_view details{};   // more for the tooltip and the page's help, when needed
    bool diodeOnly = false;       // used with the diode only
    SettingGroup group = SettingGroup::Analysis;

    // Number and OptionalNumber rows.
    double AnalysisSettings::*number = nullptr;
    std::optional<double> AnalysisSettings::*optionalNumber = nullptr;
    double lowest = 0;
    double highest = 0;
    int decimals = 0;        // shown and kept by the window's and the page's boxes
    bool resistance = false; // typed as one: 4k7, 2M2, 470R

    // Whole rows: the member read and written through these.
    std::uint64_t (*wholeOf)(const AnalysisSettings&) = nullptr;
    void (*setWhole)(AnalysisSettings&, std::uint64_t) = nullptr;
    std::uint64_t lowestWhole = 0;
    std::uint64_t highestWhole = 0;

    // Choice rows: the names, and the member read and written as an index into them.
    std::span<const std::string_view> choices{};
    std::size_t (*choiceOf)(const AnalysisSettings&) = nullptr;
    void (*choose)(AnalysisSettings&, std::size_t) = nullptr;

    // List rows: the list as text, one entry a line, and read back from text (the sentence of
    // its first bad line, or empty when it was read and set).
    ListKind list = ListKind::Parts;
    std::string (*listText)(const AnalysisSettings&) = nullptr;
    std::string (*readList)(AnalysisSettings&, std::string_view text) = nullptr;
    void (*copyList)(AnalysisSettings& to, const AnalysisSettings& from) = nullptr;

    // Flag rows: the member read and written.
    bool AnalysisSettings::*onOff = nullptr;
};

// Every setting, in the order of AnalysisSettings; the front ends show them in this order.
std::span<const SettingRow> SettingRows();

// The row of a key, or of a number member; nullptr when there is none.
const SettingRow* FindSetting(std::string_view key);
const SettingRow& SettingOf(double AnalysisSettings::*number);
const SettingRow& SettingOf(std::optional<double> AnalysisSettings::*number);

// The help with its details, as a tooltip shows it.
std::string HelpText(const SettingRow& row);

// The criterion the settings ask of a build to buy.
CriterionSettings CriterionOf(const AnalysisSettings& settings);

// The name of a flag row's "off" on the command line: "--no-mix-grades".
std::string NegatedFlag(const SettingRow& row);

// The flag's value as the help names it: a choice's names, "E6|E12|...|parts", or the row's.
std::string ValueName(const SettingRow& row);

// The index of a choice row's name, read without regard to case; nullopt for anything else.
std::optional<std::size_t> ChoiceIndex(const SettingRow& row, std::string_view name);

// A choice row's names as a list: "E6, E12, E24, E48, E96 or E192", or with ", " alone.
std::string ChoiceList(const SettingRow& row, std::string_view last = " or ");

// Copies the row's member from one settings to another.
void CopySetting(const SettingRow& row, const AnalysisSettings& from, AnalysisSettings& to);

// The default, read from AnalysisSettings' initializer: a number, a whole number, a choice's
// index, or a list's text; a flag's is SettingText's.
double DefaultNumber(const SettingRow& row);
std::uint64_t DefaultWhole(const SettingRow& row);
std::size_t DefaultChoice(const SettingRow& row);
std::string DefaultListText(const SettingRow& row);

// A setting's value as text for the help, the page and the report's plain cells: a number with
// its row's decimals (LimitText), a whole number, a choice's name, "" for an absent optional
// number, a list's text.
std::string SettingText(const SettingRow& row, const AnalysisSettings& settings);

// A limit or default as the help and the refusals write it: fixed to the row's decimals,
// without trailing zeros ("99.99", "-273.15", "1000000").
std::string LimitText(const SettingRow& row, double value);
// The same with the row's unit after a space, when it has one ("99.99 %", "1000000").
std::string LimitWithUnit(const SettingRow& row, double value);

// The first setting the analysis cannot work with, judged in the order of the table, as a
// sentence; empty when all are in range. Besides each row's limits: the operating range must not
// be upside down, a resistor's and Vref's swing over it must stay below 100 %, the two ends of
// R2's range come together and in order, each grade and part is within its limits, and the series
// of the parts list needs one.
std::string SettingsRefusal(const AnalysisSettings& settings);

// Why the row's own value cannot be analysed, as SettingsRefusal words it: outside its limits
// (or, for the parts list, missing while the series names it); empty when it can. What a row must
// satisfy with the rows before it, such as R2's two ends together, is not judged.
std::string RowRefusal(const SettingRow& row, const AnalysisSettings& settings);

// Whether the analysis reads the parts list: for the series "parts", or with the synthesis for a
// catalogue or a grade of it. A list given while neither takes it changes nothing.
bool PartsListUsed(const AnalysisSettings& settings, bool synthesis);

// What to do with a parts list (or catalogue) that nothing takes, as a note beside it.
std::string_view UnusedPartsListNote(const AnalysisSettings& settings);

// SettingsRefusal's sentence with the row being judged when it was refused; no row and no
// sentence when all are in range.
struct SettingsFault {
    const SettingRow* row = nullptr;
    std::string reason;
};
SettingsFault FindSettingsFault(const AnalysisSettings& settings);

} // namespace calc_core
