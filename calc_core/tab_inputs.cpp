// The table of the tabs' input boxes.
#include "calc_core/tab_inputs.h"

#include <array>

namespace calc_core {
namespace {

constexpr TabInput Vf = {"vf", "--vf", "Vf", false,
                         "The diode's forward voltage Vf [V]; selects the diode"};

constexpr std::array<TabInput, 5> CalcInputs = {{
    {"r2", "--r2", "R2", true, "R2, from the node to ground [ohm]"},
    {"vref", "--vref", "Vref", false, "The reference voltage Vref [V]"},
    {"vo_max", "--vo-max", "Vo_max", false, "The wanted output Vo_max, pin at 0.14 V [V]"},
    {"vo_min", "--vo-min", "Vo_min", false, "The wanted output Vo_min, highest pin level [V]"},
    Vf,
}};

constexpr std::array<TabInput, 5> CheckInputs = {{
    {"r1", "--r1", "R1", true, "R1, from the output to the node [ohm]"},
    {"r2", "--r2", "R2", true, "R2, from the node to ground [ohm]"},
    {"r3", "--r3", "R3", true, "R3, from the node to the KEP pin [ohm]"},
    {"vref", "--vref", "Vref", false, "The reference voltage Vref [V]"},
    Vf,
}};

static_assert(std::tuple_size_v<TabInputTexts> == CalcInputs.size());

} // namespace

std::span<const TabInput> TabInputs(Tab tab) {
    return tab == Tab::Calc ? std::span<const TabInput>(CalcInputs)
                            : std::span<const TabInput>(CheckInputs);
}

std::optional<std::size_t> TabInputIndex(Tab tab, std::string_view key) {
    const auto inputs = TabInputs(tab);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (inputs[i].key == key) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace calc_core
