// The columns of a batch: what the header of the rails' file names, and the results' columns.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/design_tab.h"
#include "calc_core/pin_levels.h"
#include "command_line/arguments.h"

#include <array>
#include <cstddef>
#include <optional>
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

// The results' columns, in order: name, message, the set, each pin level's, the best pair; then,
// as asked, the chosen grade and its build, and the yield.
std::vector<std::string> ResultColumns(const AnalysisExtras& extras = {});

} // namespace command_line
