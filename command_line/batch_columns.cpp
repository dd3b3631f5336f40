// Reading the rails' header, and naming the results' columns.
#include "command_line/batch_columns.h"

#include "calc_core/decimal_text.h"
#include "calc_core/tab_inputs.h"
#include "calc_core/value_text.h"
#include "command_line/csv_text.h"
#include "command_line/flag_values.h"

#include <algorithm>

namespace command_line {
namespace {

using calc_core::Tab;
using calc_core::TabInputs;

// Whether any of the tab's own inputs, those the other tab has not, is named.
bool NamesOwnInput(const std::vector<std::string_view>& names, Tab tab, Tab other) {
    const auto named = [&](const calc_core::TabInput& input) {
        return !calc_core::TabInputIndex(other, input.key) &&
               std::find(names.begin(), names.end(), input.key) != names.end();
    };
    const auto inputs = TabInputs(tab);
    return std::any_of(inputs.begin(), inputs.end(), named);
}

std::string KeyList(Tab tab) {
    std::string list;
    for (std::size_t i = 0; i < calc_core::VfInput; ++i) {
        list += (i == 0 ? "" : ", ") + std::string(TabInputs(tab)[i].key);
    }
    return list;
}

// The tab the named inputs belong to, or why they belong to neither or both.
std::optional<Tab> TabOfNames(const std::vector<std::string_view>& names, std::string& problem) {
    const bool calc = NamesOwnInput(names, Tab::Calc, Tab::Check);
    const bool check = NamesOwnInput(names, Tab::Check, Tab::Calc);
    if (calc == check) {
        problem = std::string(calc ? "the header names both the" : "the header names neither the") +
                  " Calc inputs (" + KeyList(Tab::Calc) + (calc ? ") and" : ") nor") +
                  " the Check set (" + KeyList(Tab::Check) + "); a file holds the rows of one";
        return std::nullopt;
    }
    return calc ? Tab::Calc : Tab::Check;
}

// Places one named column; false with the problem for an unknown one.
bool PlaceColumn(std::string_view name, std::size_t at, RailColumns& columns,
                 std::string& problem) {
    if (name == NameColumn) {
        columns.name = at;
        return true;
    }
    if (const auto input = calc_core::TabInputIndex(columns.tab, name)) {
        columns.inputs[*input] = at;
        return true;
    }
    if (const calc_core::SettingRow* row = calc_core::FindSetting(name)) {
        columns.settings.emplace_back(row, at);
        return true;
    }
    problem = calc_core::QuotedForMessage(name) + " is not a column of " +
              std::string(calc_core::TabName(columns.tab)) +
              " rows (name, their inputs, vf, or a setting's key)";
    return false;
}

// The columns' names that end so stand for one column a pin level.
constexpr std::string_view LevelSuffix = "_P";
// The help's first column, and its width at most.
constexpr std::size_t HelpNameWidth = 22;
constexpr std::size_t HelpWidth = 80;

bool ForEachLevel(const ResultColumn& column) {
    return column.name.ends_with(LevelSuffix);
}

bool Asked(ColumnAsk ask, const AnalysisExtras& extras) {
    switch (ask) {
    case ColumnAsk::Always:
        return true;
    case ColumnAsk::MeetSpec:
        return extras.meetSpec;
    case ColumnAsk::Yield:
        return extras.yield;
    case ColumnAsk::MeetSpecAndYield:
        return extras.meetSpec && extras.yield;
    }
    return false;
}

std::string AskedWith(ColumnAsk ask) {
    switch (ask) {
    case ColumnAsk::MeetSpec:
        return " (--meet-spec)";
    case ColumnAsk::Yield:
        return " (--yield)";
    case ColumnAsk::MeetSpecAndYield:
        return " (--meet-spec with --yield)";
    case ColumnAsk::Always:
        break;
    }
    return {};
}

// "  name   what it holds", the text wrapped at the words within HelpWidth, under itself.
std::string HelpLine(std::string_view name, const std::string& text) {
    std::string line = "  " + std::string(name);
    line += line.size() < HelpNameWidth ? std::string(HelpNameWidth - line.size(), ' ')
                                        : "\n" + std::string(HelpNameWidth, ' ');
    std::size_t column = HelpNameWidth;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        const std::string_view word = std::string_view(text).substr(
            at, space == std::string::npos ? std::string::npos : space - at);
        if (column > HelpNameWidth && column + 1 + word.size() > HelpWidth) {
            line += "\n" + std::string(HelpNameWidth, ' ');
            column = HelpNameWidth;
        } else if (column > HelpNameWidth) {
            line += ' ';
            ++column;
        }
        line += word;
        column += word.size();
        at = space == std::string::npos ? text.size() : space + 1;
    }
    return line + "\n";
}

} // namespace

HeaderRead ReadHeader(const std::vector<std::string>& cells) {
    HeaderRead read;
    std::vector<std::string_view> names;
    for (const std::string& cell : cells) {
        const std::string_view name = TrimBlanks(cell);
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            read.problem = "the column " + calc_core::QuotedForMessage(name) + " is given twice";
            return read;
        }
        names.push_back(name);
    }
    const auto tab = TabOfNames(names, read.problem);
    if (!tab) {
        return read;
    }
    RailColumns columns;
    columns.tab = *tab;
    columns.count = names.size();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!PlaceColumn(names[i], i, columns, read.problem)) {
            return read;
        }
    }
    std::vector<std::string_view> required{NameColumn};
    for (std::size_t i = 0; i < calc_core::VfInput; ++i) {
        required.push_back(TabInputs(*tab)[i].key);
    }
    for (std::string_view key : required) {
        if (std::find(names.begin(), names.end(), key) == names.end()) {
            read.problem = "the column " + calc_core::QuotedForMessage(key) + " is missing";
            return read;
        }
    }
    read.columns = columns;
    return read;
}

std::span<const ResultColumn> ResultColumnTable() {
    using enum ColumnAsk;
    using enum CellFormat;
    // clang-format off
    static constexpr ResultColumn Columns[] = {
        {NameColumn, Always, Text, "the row's name"},
        {"message", Always, Text, "empty when the row was analysed as pressed; else why not: its cells (line N: ...), the press's message or the analysis's reason"},
        {"r1", Always, Number, "R1 the press computed with, in ohms (the Calc tab's as shown, whole)"},
        {"r2", Always, Number, "R2, in ohms"},
        {"r3", Always, Number, "R3, in ohms (the Calc tab's as shown, whole)"},
        {"vo_P", Always, Volts, "the output at pin level P, in volts"},
        {"min_P", Always, Volts, "the lowest of its worst-case band"},
        {"max_P", Always, Volts, "the highest of its worst-case band"},
        {"meets_P", Always, YesNo, "whether the band meets the output spec (yes or no)"},
        {"margin_P", Always, Volts, "the band's margin to the spec's edge, in volts"},
        {"best_r1", Always, Number, "the best preferred pair of the series: R1, in ohms"},
        {"best_r3", Always, Number, "and R3"},
        {"grade", MeetSpec, Number, "the first part grade that meets the spec, from 1; empty when none does"},
        {"grade_series", MeetSpec, Text, "its series, or parts"},
        {"grade_tolerance_pct", MeetSpec, Number, "its tolerance, in %"},
        {"grade_tcr_ppm", MeetSpec, Number, "its TCR, in ppm/°C"},
        {"grade_r1", MeetSpec, Number, "its best build's R1, in ohms"},
        {"grade_r2", MeetSpec, Number, "its R2"},
        {"grade_r3", MeetSpec, Number, "its R3"},
        {"grade_margin", MeetSpec, Volts, "its smallest margin, in volts"},
        {"tightest_spec_pct", MeetSpec, Percent, "the tightest spec that grade reaches, in %; when none meets, the grade's that comes nearest"},
        {"yield", Yield, Number, "the design's yield, the set the press computed with: passing boards as a share of 1"},
        {"yield_low95", Yield, Number, "the low end of its 95 % interval"},
        {"yield_high95", Yield, Number, "the high end"},
        {"ppm_fail", Yield, Number, "its failures per million boards"},
        {"grade_yield", MeetSpecAndYield, Number, "the yield of the grade's best build, the build to buy, with the same boards"},
        {"grade_yield_low95", MeetSpecAndYield, Number, "the low end of its 95 % interval"},
        {"grade_yield_high95", MeetSpecAndYield, Number, "the high end"},
        {"grade_ppm_fail", MeetSpecAndYield, Number, "its failures per million boards"},
    };
    // clang-format on
    return Columns;
}

std::vector<std::string> ResultColumns(const AnalysisExtras& extras) {
    std::vector<std::string> names;
    for (NamedColumn& column : ResultColumnsWithFormats(extras)) {
        names.push_back(std::move(column.name));
    }
    return names;
}

std::vector<NamedColumn> ResultColumnsWithFormats(const AnalysisExtras& extras) {
    const std::span<const ResultColumn> table = ResultColumnTable();
    std::vector<NamedColumn> columns;
    for (std::size_t i = 0; i < table.size();) {
        std::size_t end = i + 1;
        if (!ForEachLevel(table[i])) {
            if (Asked(table[i].ask, extras)) {
                columns.push_back({std::string(table[i].name), table[i].format});
            }
            i = end;
            continue;
        }
        // A run of a pin level's columns, written level by level.
        while (end < table.size() && ForEachLevel(table[end])) {
            ++end;
        }
        for (const double level : ResultLevels) {
            for (std::size_t k = i; k < end; ++k) {
                const std::string_view name = table[k].name;
                columns.push_back(
                    {std::string(name.substr(0, name.size() - 1)) + calc_core::ShortestText(level),
                     table[k].format});
            }
        }
        i = end;
    }
    return columns;
}

std::string ColumnsHelp() {
    std::string help = "Columns of the rails' file, named by its header in any order:\n";
    help += HelpLine(NameColumn, "the rail's name");
    for (const calc_core::Tab tab : {calc_core::Tab::Calc, calc_core::Tab::Check}) {
        help += HelpLine(KeyList(tab), tab == calc_core::Tab::Calc
                                           ? "the Calc inputs, or"
                                           : "the Check set; a file holds the rows of one tab");
    }
    help += HelpLine(calc_core::TabInputs(calc_core::Tab::Calc)[calc_core::VfInput].key,
                     "optional: a row with a value there has the diode");
    std::string keys;
    for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
        keys += (keys.empty() ? "" : ", ") + std::string(row.key);
    }
    help += HelpLine("a setting's key", "optional, for that row only: " + keys);
    help += "\nColumns of the results, in this order (P: each pin level, ";
    for (std::size_t i = 0; i < ResultLevels.size(); ++i) {
        help += (i == 0 ? "" : ", ") + calc_core::ShortestText(ResultLevels[i]);
    }
    help += "):\n";
    for (const ResultColumn& column : ResultColumnTable()) {
        help += HelpLine(column.name, std::string(column.holds) + AskedWith(column.ask));
    }
    return help;
}

} // namespace command_line
