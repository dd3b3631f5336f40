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

// A value in units of a decimal prefix, for showing it with a given number of significant digits.
struct PrefixedValue {
    double scaled = 0;
    std::string_view symbol; // UTF-8: "p" to "T", "" for none
};

// The prefix from p to T that puts the value, rounded to `digits` significant digits, from 1 to
// below 1000 where that range reaches: 0.00059672 is 596.72 µ, 999.9996 to 6 digits is 1 k.
// 0 and non-finite values keep no prefix.
PrefixedValue WithDecimalPrefix(double value, int digits);

// Pattern "0": the value rounded to a whole number, halves away from zero, every digit written,
// no grouping; never "-0". The value must be finite.
std::string FormatWhole(double value);

// Pattern "0.0": one digit after the locale's decimal separator, halves away from zero,
// no grouping; never "-0.0". The value must be finite.
std::string FormatOneDecimal(double value, const NumberLocale& locale);

} // namespace calc_core
