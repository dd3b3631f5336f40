// Which controls each diode choice shows, by the control's name ("Label1(8)"), as the window and
// the page both lay their tabs out: the layout an option button applies, and the rows a Calc press
// shows or hides as it reads the choice, before the inputs are judged.
#pragma once

#include "calc_core/design_tab.h"
#include "calc_core/input_gate.h"

#include <span>
#include <string_view>

namespace calc_core {

struct DiodeLayoutRow {
    std::string_view control;
    bool withDiode = false;
    bool withoutDiode = false;
};

// The tab's layout in the window's order; every row is set each time, those shown either way
// included.
std::span<const DiodeLayoutRow> DiodeLayout(Tab tab);

struct PressLayoutRow {
    std::string_view control;
    bool shown = false;
};

// What a Calc press sets for the choice it read: No hides the Diode Vf row; Yes shows it and
// hides Vo_mid's; nothing without a choice. A Check press changes no row.
std::span<const PressLayoutRow> PressLayout(Tab tab, DiodeChoice choice);

} // namespace calc_core
