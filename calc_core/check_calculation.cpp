// The Check tab's output voltages for a chosen resistor set.
#include "calc_core/check_calculation.h"

#include "calc_core/number_text.h"
#include "calc_core/pin_levels.h"

#include <cmath>

namespace calc_core {
namespace {

// A run or press that ends with a message and no result.
CheckOutcome Refused(PressMessage message) {
    CheckOutcome outcome;
    outcome.message = message;
    return outcome;
}

} // namespace

CheckOutcome CheckCalculation(const CheckInputs& in, CheckResults& results,
                              const NumberLocale& locale) {
    const double g = ((in.r1 + in.r2) / in.r2) * in.vref;
    CheckResults next = results;
    CheckOutcome outcome;
    if (in.choice == DiodeChoice::Yes) {
        const auto level = [&](double vx) {
            return g + (in.vref - (in.vf + vx)) * (in.r1 / in.r3);
        };
        next.voMax = level(LevelLow);
        next.voMin = level(LevelMid);
        if (!std::isfinite(next.voMax) || !std::isfinite(next.voMin)) {
            return Refused(PressMessage::InputError);
        }
    } else {
        const auto level = [&](double vx) { return g + (in.r1 / in.r3) * (in.vref - vx); };
        next.voMax = level(LevelLow);
        next.voMid = level(LevelMid);
        next.voMin = level(LevelHigh);
        // From the unrounded levels of this run, never from the shown texts.
        next.delta = RoundHalfEven((next.voMax - next.voMin) / 2);
        if (!std::isfinite(next.voMax) || !std::isfinite(next.voMid) ||
            !std::isfinite(next.voMin) || !std::isfinite(next.delta)) {
            return Refused(PressMessage::InputError);
        }
        outcome.voMidText = FormatWhole(next.voMid);
        outcome.deltaText = FormatOneDecimal(next.delta, locale);
    }
    outcome.voMaxText = FormatWhole(next.voMax);
    outcome.voMinText = FormatWhole(next.voMin);
    outcome.inputs = in;
    results = next;
    return outcome;
}

CheckOutcome CheckPress(bool yesSelected, bool noSelected, const TabInputTexts& texts,
                        const NumberLocale& locale, CheckResults& results) {
    const DiodeChoice choice = ChooseDiode(yesSelected, noSelected);
    const GateOutcome gate = ValidateInputs(choice, texts, locale);
    if (!gate.passed()) {
        return Refused(gate.message);
    }
    CheckInputs inputs;
    inputs.choice = choice;
    inputs.r1 = gate.values[0];
    inputs.r2 = gate.values[1];
    inputs.r3 = gate.values[2];
    inputs.vref = gate.values[3];
    if (choice == DiodeChoice::Yes) {
        inputs.vf = gate.values[4];
    }
    return CheckCalculation(inputs, results, locale);
}

} // namespace calc_core
