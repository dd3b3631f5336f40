// The gate both CAL presses pass first: the diode choice of a tab and the tests of its fields.
#pragma once

#include "calc_core/number_locale.h"
#include "calc_core/press_message.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace calc_core {

enum class DiodeChoice { NotSelected, No, Yes };

// "No" is tested before "Yes", so it wins should both ever read as selected.
DiodeChoice ChooseDiode(bool yesSelected, bool noSelected);

// The five input boxes of a tab, by index; the diode field (index 4) is the last.
using TabInputTexts = std::array<std::string, 5>;

// How many of a tab's fields the choice tests and reads: the diode field only with "Yes".
std::size_t FieldCount(DiodeChoice choice);

struct GateOutcome {
    PressMessage message = PressMessage::None;
    // With no message: the value of each tested field, as the gate accepted it.
    std::vector<double> values;

    bool passed() const { return message == PressMessage::None; }
};

// Diode test, then the empty, numeric and sign passes, each over all fields in order;
// the first failure decides the message. Tests the fields the choice names (see FieldCount).
GateOutcome ValidateInputs(DiodeChoice choice, std::span<const std::string> fields,
                           const NumberLocale& locale);

} // namespace calc_core
