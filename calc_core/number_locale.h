// The user's number notation, as the calculation core needs it.
#pragma once

#include <string>

namespace calc_core {

// Separators as UTF-8 text: some locales group digits with a non-ASCII space.
struct NumberLocale {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";
};

} // namespace calc_core
