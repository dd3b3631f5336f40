// Accessible names and descriptions of the form Orvalen's controls.
#include "main_window/control_accessibility.h"

namespace main_window {
namespace {

// clang-format off
constexpr AccessibleRow Rows[] = {
    // control     caption label  name                description
    // Calc inputs and results
    {"Text1(0)",  "Label1(0)",   "",                 ""},
    {"Text1(1)",  "Label1(1)",   "",                 ""},
    {"Text1(2)",  "Label1(2)",   "",                 ""},
    {"Text1(3)",  "Label1(3)",   "",                 ""},
    {"Text1(4)",  "Label1(8)",   "",                 ""},
    {"Label2(0)", "Label5(0)",   "",                 ""},
    {"Label2(1)", "Label5(1)",   "",                 ""},
    {"Label2(2)", "Label5(2)",   "",                 ""},
    // Check inputs and results
    {"Text2(0)",  "Label1(7)",   "",                 ""},
    {"Text2(1)",  "Label1(6)",   "",                 ""},
    {"Text2(2)",  "Label1(5)",   "",                 ""},
    {"Text2(3)",  "Label1(4)",   "",                 ""},
    {"Text2(4)",  "Label1(9)",   "",                 ""},
    {"Label3(0)", "Label5(3)",   "",                 ""},
    {"Label3(1)", "Label5(4)",   "",                 ""},
    {"Label3(2)", "Label5(5)",   "",                 ""},
    {"Label3(3)", "Label5(6)",   "",                 ""},
    // Both tabs have a CAL and a CLEAR; only the description says which tab a button acts on.
    {"Command1",  "",            "",                 "Calc tab: designs R1 and R3 from the inputs"},
    {"Command2",  "",            "",                 "Calc tab: clears its inputs and results"},
    {"Command3",  "",            "",                 "Check tab: computes the output voltages of the resistor set"},
    {"Command4",  "",            "",                 "Check tab: clears its inputs and results"},
    // The pictures have no caption of their own.
    {"Picture1",  "",            "Schematic",        "DC/DC converter with R1 from Vout to the feedback node FB, R2 from FB "
                                                     "to ground and R3 from FB to the KEP pin of the Orvalex device"},
    {"Picture2",  "",            "Preferred values", "Table of the IEC 60063 preferred resistor values, series E6 to E96"},
};

constexpr DiodeGroupRow DiodeGroups[] = {
    {"Label6(0)", "Option1(0)", "Option1(1)"},
    {"Label6(1)", "Option2(0)", "Option2(1)"},
};
// clang-format on

} // namespace

std::span<const AccessibleRow> OrvalenAccessibility() {
    return Rows;
}
std::span<const DiodeGroupRow> OrvalenDiodeGroups() {
    return DiodeGroups;
}

} // namespace main_window
