// Exact conversions between doubles and decimal text in the "C" notation ('.' as the decimal
// point, no grouping), giving the same digits on every platform the core is built for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calc_core {

// Fixed notation with `decimals` digits after the point, rounded exactly from the double's value
// (halves to even, as printf "%.*f"); a negative value keeps its sign ("-0.000").
std::string FixedText(double value, int decimals);

// At most `digits` significant digits without trailing zeros, in the shorter of fixed and
// exponent notation, as printf "%.*g" writes them.
std::string SignificantText(double value, int digits);

// The shortest text that reads back as exactly this value ("0.1", "1e+300", "-0").
std::string ShortestText(double value);

// What ReadDecimal found at the start of a text.
struct DecimalRead {
    double value = 0;        // beyond the range, the infinity or the zero of the number's sign
    std::size_t length = 0;  // characters read; 0 when no number stands at the start
    bool outOfRange = false; // the number's magnitude is beyond the range of doubles either way
};

// Reads an optional '-', digits with at most one '.', and an optional exponent from the start of
// the text, rounded correctly to the nearest double, as std::from_chars does in its general
// format: no '+', no blanks, no hexadecimal, no "inf" or "nan".
DecimalRead ReadDecimal(std::string_view text);

} // namespace calc_core
