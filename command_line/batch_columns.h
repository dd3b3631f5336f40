// The columns of a batch: what the header of the rails' file names, and the results' columns.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/design_tab.h"
#include "calc_core/pin_levels.h"
#include "command_line/arguments.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace command_line {

inline constexpr std::string_view NameColumn = "name";

// The pin levels the results have columns for: every level of either diode choice.
inline constexpr std::array<double, 3> ResultLevels = {calc_core::LevelLow, calc_core::LevelMid,
                                                       calc_core::LevelHigh};

// Where each value stands in a row of the rails' file.
struct RailColumns {
    calc_core::Tab tab = calc_core::Tab::Calc;
    std::size_t count = 0; // cells a row has
    std::size_t name = 0;
    std::array<std::optional<std::size_t>, 5> inputs; // by the tab's boxes; Vf's may be absent
    std::vector<std::pair<const calc_core::SettingRow*, std::size_t>> settings;
};

struct HeaderRead {
    std::optional<RailColumns> columns;
    std::string problem; // without columns: words that follow "line 1: "
};

// The header's cells: name, the Calc inputs (r2, vref, vo_max, vo_min) or the Check set (r1,
// r2, r3, vref), Vf optionally, and any setting's key, each once and in any order.
HeaderRead ReadHeader(const std::vector<std::string>& cells);

// How a result's cell writes its number: volts and percentages to the report's thousandth,
// the others to at most ten significant digits, never in exponent form for a whole number.
enum class CellFormat { Text, YesNo, Volts, Percent, Number };

// Which results have a column: every one, with --meet-spec, with --yield, or with both.
enum class ColumnAsk { Always, MeetSpec, Yield, MeetSpecAndYield };

// One of the results' columns as declared: the help lists them and the batch writes them.
struct ResultColumn {
    std::string_view name; // a "_P" at its end stands for one column a pin level: "vo_0.14"
    ColumnAsk ask;
    CellFormat format;
    std::string_view holds; // what its cells hold, for the help
};

// Every result column, in the order written.
std::span<const ResultColumn> ResultColumnTable();

// A column as the results name it, with its cells' format.
struct NamedColumn {
    std::string name;
    CellFormat format = CellFormat::Text;
};

// The results' columns, in order: name, message, the set, each pin level's, the best pair; then,
// as asked, the chosen grade and its build, and the yields; with their formats, or by name.
std::vector<NamedColumn> ResultColumnsWithFormats(const AnalysisExtras& extras = {});
std::vector<std::string> ResultColumns(const AnalysisExtras& extras = {});

// The help's list of the columns a rails' file may have and of the results' columns.
std::string ColumnsHelp();

} // namespace command_line
