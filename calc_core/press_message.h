// The messages a CAL press can end with; at most one per press.
#pragma once

#include <string_view>

namespace calc_core {

enum class PressMessage { None, SelectDiode, InputMissing, InputError, CalError };

constexpr std::string_view MessageText(PressMessage message) {
    switch (message) {
    case PressMessage::SelectDiode:
        return "Please select Diode Yes or No";
    case PressMessage::InputMissing:
        return "Please input Data";
    case PressMessage::InputError:
        return "Input Data Error";
    case PressMessage::CalError:
        return "Cal Error! Please check circuit!";
    case PressMessage::None:
        break;
    }
    return {};
}

} // namespace calc_core
