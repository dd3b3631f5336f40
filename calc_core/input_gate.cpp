// The input gate of both CAL presses.
#include "calc_core/input_gate.h"

#include "calc_core/number_text.h"

namespace calc_core {

DiodeChoice ChooseDiode(bool yesSelected, bool noSelected) {
    if (noSelected) {
        return DiodeChoice::No;
    }
    if (yesSelected) {
        return DiodeChoice::Yes;
    }
    return DiodeChoice::NotSelected;
}

std::size_t FieldCount(DiodeChoice choice) {
    return choice == DiodeChoice::Yes ? 5 : 4;
}

GateOutcome ValidateInputs(DiodeChoice choice, std::span<const std::string> fields,
                           const NumberLocale& locale) {
    if (choice == DiodeChoice::NotSelected) {
        return {PressMessage::SelectDiode, {}};
    }
    const auto tested = fields.first(std::min(FieldCount(choice), fields.size()));
    for (const auto& text : tested) {
        if (text.empty()) { // exact: blanks only is not empty
            return {PressMessage::InputMissing, {}};
        }
    }
    GateOutcome outcome;
    for (const auto& text : tested) {
        const auto value = StrictNumber(text, locale);
        if (!value) {
            return {PressMessage::InputError, {}};
        }
        outcome.values.push_back(*value);
    }
    for (double value : outcome.values) {
        if (!(value > 0)) {
            return {PressMessage::InputError, {}};
        }
    }
    return outcome;
}

} // namespace calc_core
