// Conversions between texts and numbers: the strict whole-text reading the input gate
// judges with, the prefix reading used on the system's own texts, and the display patterns.
#pragma once

#include "calc_core/number_locale.h"

#include <optional>
#include <string>
#include <string_view>

namespace calc_core {

// Reads the whole text as a number in the locale's notation: blanks around it, one leading
// sign, digits grouped by threes in the integer part, one decimal separator, an exponent.
// Anything else, or a value beyond the double range, is no number (nullopt).
std::optional<double> StrictNumber(std::string_view text, const NumberLocale& locale);

inline bool IsNumericText(std::string_view text, const NumberLocale& locale) {
    return StrictNumber(text, locale).has_value();
}

// Reads the number at the start of the text with '.' as the only decimal point, ignoring
// spaces, tabs and line feeds anywhere; 0 when the text does not start with a number.
double LeadingNumber(std::string_view text);

// Nearest whole number, exact halves to the even neighbour, for any finite double.
double RoundHalfEven(double value);

// A whole-number text of FormatWhole's read back as its number: plain digits with an optional
// minus sign read the same in every locale. 0 for any other text.
double ReadWholeText(std::string_view text);

// Pattern "0": the value rounded to a whole number, halves away from zero, every digit written,
// no grouping; never "-0". The value must be finite.
std::string FormatWhole(double value);

// Pattern "0.0": one digit after the locale's decimal separator, halves away from zero,
// no grouping; never "-0.0". The value must be finite.
std::string FormatOneDecimal(double value, const NumberLocale& locale);

} // namespace calc_core
