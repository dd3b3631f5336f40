// The input boxes of the Calc and Check tabs as every front end names them: the key of the design
// file and of the batch's columns, the command line's flag, and whether it is a resistance.
#pragma once

#include "calc_core/design_tab.h"
#include "calc_core/input_gate.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace calc_core {

struct TabInput {
    std::string_view key;  // "vo_max": the design file's and the batch's name
    std::string_view flag; // "--vo-max"
    std::string_view name; // "Vo_max": how a message names it
    bool resistance = false;
    std::string_view help; // one line: the command line's help
};

// The index of the diode's Vf among a tab's boxes; it is read with the diode only.
inline constexpr std::size_t VfInput = 4;

// A tab's five boxes in the gate's order (TabInputTexts), Vf last.
std::span<const TabInput> TabInputs(Tab tab);

// The index of a key among the tab's boxes, or nullopt.
std::optional<std::size_t> TabInputIndex(Tab tab, std::string_view key);

} // namespace calc_core
