// The Check tab's output voltages for a chosen resistor set.
#include "calc_core/check_calculation.h"

#include "calc_core/number_text.h"
#include "calc_core/pin_levels.h"

#include <cmath>

namespace calc_core {

std::optional<std::vector<LabelText>> CheckCalculation(const CheckInputs& in, CheckResults& results,
                                                       const NumberLocale& locale) {
    const double g = ((in.r1 + in.r2) / in.r2) * in.vref;
    CheckResults next = results;
    std::vector<LabelText> texts;
    if (in.choice == DiodeChoice::Yes) {
        const auto level = [&](double vx) {
            return g + (in.vref - (in.vf + vx)) * (in.r1 / in.r3);
        };
        next.voMax = level(LevelLow);
        next.voMin = level(LevelMid);
        if (!std::isfinite(next.voMax) || !std::isfinite(next.voMin)) {
            return std::nullopt;
        }
        texts = {{0, FormatWhole(next.voMax)}, {2, FormatWhole(next.voMin)}};
    } else {
        const auto level = [&](double vx) { return g + (in.r1 / in.r3) * (in.vref - vx); };
        next.voMax = level(LevelLow);
        next.voMid = level(LevelMid);
        next.voMin = level(LevelHigh);
        // From the unrounded levels of this run, never from the shown texts.
        next.delta = RoundHalfEven((next.voMax - next.voMin) / 2);
        if (!std::isfinite(next.voMax) || !std::isfinite(next.voMid) ||
            !std::isfinite(next.voMin) || !std::isfinite(next.delta)) {
            return std::nullopt;
        }
        texts = {{0, FormatWhole(next.voMax)},
                 {1, FormatWhole(next.voMid)},
                 {2, FormatWhole(next.voMin)},
                 {3, FormatOneDecimal(next.delta, locale)}};
    }
    results = next;
    return texts;
}

CheckPressOutcome CheckPress(bool yesSelected, bool noSelected, const TabInputTexts& texts,
                             const NumberLocale& locale, CheckResults& results) {
    const DiodeChoice choice = ChooseDiode(yesSelected, noSelected);
    const GateOutcome gate = ValidateInputs(choice, texts, locale);
    if (!gate.passed()) {
        return {gate.message, {}};
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
    auto labelTexts = CheckCalculation(inputs, results, locale);
    if (!labelTexts) {
        return {PressMessage::InputError, {}};
    }
    return {PressMessage::None, std::move(*labelTexts)};
}

} // namespace calc_core
