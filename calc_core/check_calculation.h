// The Check tab: the output voltages of a chosen R1, R2, R3 at each pin level, and Delta -/+.
#pragma once

#include "calc_core/input_gate.h"
#include "calc_core/number_locale.h"
#include "calc_core/press_message.h"

#include <optional>
#include <string>
#include <vector>

namespace calc_core {

// The last computed levels, kept with the window; a run with the diode leaves voMid and delta.
struct CheckResults {
    double voMax = 0;
    double voMid = 0;
    double voMin = 0;
    double delta = 0; // a whole number of volts, wider than 32 bits so it never overflows
};

struct CheckInputs {
    DiodeChoice choice = DiodeChoice::No; // No or Yes
    double r1 = 0;
    double r2 = 0;
    double r3 = 0;
    double vref = 0;
    double vf = 0; // read with Yes only
};

// One result text for Label3(index).
struct LabelText {
    int index = 0;
    std::string text;

    bool operator==(const LabelText&) const = default;
};

// Computes the levels into results and returns the texts in label order (0, 1, 2, 3 without
// the diode; 0, 2 with it). When a level or Delta is not finite nothing is stored (nullopt).
std::optional<std::vector<LabelText>>
CheckCalculation(const CheckInputs& inputs, CheckResults& results, const NumberLocale& locale);

struct CheckPressOutcome {
    PressMessage message = PressMessage::None;
    std::vector<LabelText> labelTexts;
};

// The whole Check press: the gate over the tab's texts, then CheckCalculation.
CheckPressOutcome CheckPress(bool yesSelected, bool noSelected, const TabInputTexts& texts,
                             const NumberLocale& locale, CheckResults& results);

} // namespace calc_core
