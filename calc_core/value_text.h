// Values read from plain text, as the command line's flags and the parts lists take them: plain
// decimals with '.', and the engineering forms of resistances, read the same whatever the locale;
// and a text made safe to quote in a one-line message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace calc_core {

enum class ValueKind { Number, Resistance };

enum class ValueProblem { NotANumber, NotAResistance, OutOfRange };

// The value, or what is wrong with its text.
using ValueRead = std::variant<double, ValueProblem>;

// Reads a whole text: an optional sign, digits with at most one '.', an optional exponent.
// Resistances also take 10k, 4k7, 4.7k, 2M2, 470R and 4R7: R, k or M multiplies by 1, 10^3 or
// 10^6 and may stand for the decimal point. Nothing else is read (no blanks, no grouping), and
// infinities, NaN and values beyond the range of doubles are refused.
ValueRead ReadValue(std::string_view text, ValueKind kind);

// What is wrong, to follow the quoted text in a message: "is not a resistance (write it like
// 4700, 4.7k, 4k7, 470R or 2M2)".
std::string_view ValueProblemText(ValueProblem problem);

// The text as it can stand in a one-line message: control and non-ASCII bytes written as \xNN,
// and anything past maxLength bytes cut off with "...".
std::string Printable(std::string_view text, std::size_t maxLength);

// A value's text for a message: Printable, up to 40 bytes, in single quotes.
std::string QuotedForMessage(std::string_view text);

} // namespace calc_core
