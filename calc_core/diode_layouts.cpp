// The diode layouts of the two tabs.
#include "calc_core/diode_layouts.h"

namespace calc_core {
namespace {

// clang-format off
constexpr DiodeLayoutRow CalcLayout[] = {
    // control    with the diode  without
    {"Label1(8)", true,           false},  // "Diode Vf [V]"
    {"Text1(4)",  true,           false},
    {"Label2(2)", false,          true},   // Vo_mid result
    {"Label5(2)", false,          true},   // "Vo_mid [V]"
};

constexpr DiodeLayoutRow CheckLayout[] = {
    // control    with the diode  without
    {"Label1(4)", true,           true},   // "Vref [V]"
    {"Label1(7)", true,           true},   // "R1 [ohm]"
    {"Label1(6)", true,           true},   // "R2 [ohm]"
    {"Label1(5)", true,           true},   // "R3 [ohm]"
    {"Text2(3)",  true,           true},
    {"Text2(0)",  true,           true},
    {"Text2(1)",  true,           true},
    {"Text2(2)",  true,           true},
    {"Label1(9)", true,           false},  // "Diode Vf [V]"
    {"Text2(4)",  true,           false},
    {"Label5(3)", true,           true},   // "Vo max [V]"
    {"Label5(4)", false,          true},   // "Vo mid [V]"
    {"Label5(5)", true,           true},   // "Vo min [V]"
    {"Label5(6)", false,          true},   // "Delta -/+ [V]"
    {"Label3(0)", true,           true},
    {"Label3(1)", false,          true},
    {"Label3(2)", true,           true},
    {"Label3(3)", false,          true},
};
// clang-format on

constexpr PressLayoutRow CalcPressNo[] = {{"Label1(8)", false}, {"Text1(4)", false}};
constexpr PressLayoutRow CalcPressYes[] = {
    {"Label1(8)", true}, {"Text1(4)", true}, {"Label5(2)", false}, {"Label2(2)", false}};

} // namespace

std::span<const DiodeLayoutRow> DiodeLayout(Tab tab) {
    if (tab == Tab::Calc) {
        return CalcLayout;
    }
    return CheckLayout;
}

std::span<const PressLayoutRow> PressLayout(Tab tab, DiodeChoice choice) {
    if (tab != Tab::Calc || choice == DiodeChoice::NotSelected) {
        return {};
    }
    if (choice == DiodeChoice::No) {
        return CalcPressNo;
    }
    return CalcPressYes;
}

} // namespace calc_core
