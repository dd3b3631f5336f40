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

std::vector<std::string> ResultColumns(const AnalysisExtras& extras) {
    std::vector<std::string> names{std::string(NameColumn), "message", "r1", "r2", "r3"};
    for (const double level : ResultLevels) {
        for (const char* quantity : {"vo_", "min_", "max_", "meets_", "margin_"}) {
            names.push_back(quantity + calc_core::ShortestText(level));
        }
    }
    names.insert(names.end(), {"best_r1", "best_r3"});
    if (extras.meetSpec) {
        names.insert(names.end(),
                     {"grade", "grade_series", "grade_tolerance_pct", "grade_tcr_ppm", "grade_r1",
                      "grade_r2", "grade_r3", "grade_margin", "tightest_spec_pct"});
    }
    if (extras.yield) {
        names.insert(names.end(), {"yield", "yield_low95", "yield_high95", "ppm_fail"});
    }
    return names;
}

} // namespace command_line
