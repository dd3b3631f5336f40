// The Check tab: the output voltages of a chosen R1, R2, R3 at each pin level, and Delta -/+.
#pragma once

#include "calc_core/input_gate.h"
#include "calc_core/number_locale.h"
#include "calc_core/press_message.h"

#include <optional>
#include <string>

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

// The outcome of a Check run or press, named by result like the Calc press's: the texts of
// Vo max, Vo mid, Vo min and Delta -/+ it computed (Vo mid and Delta only without the diode,
// none after a message), and at most one message.
struct CheckOutcome {
    std::optional<std::string> voMaxText;
    std::optional<std::string> voMidText;
    std::optional<std::string> voMinText;
    std::optional<std::string> deltaText;
    PressMessage message = PressMessage::None;
    // The values the run computed with; absent when it ended with a message.
    std::optional<CheckInputs> inputs;
};

// Computes the levels into results and returns their texts. When a level or Delta is not
// finite nothing is stored, and the run ends as bad input does ("Input Data Error").
CheckOutcome CheckCalculation(const CheckInputs& inputs, CheckResults& results,
                              const NumberLocale& locale);

// The whole Check press: the gate over the tab's texts, then CheckCalculation.
CheckOutcome CheckPress(bool yesSelected, bool noSelected, const TabInputTexts& texts,
                        const NumberLocale& locale, CheckResults& results);

} // namespace calc_core
