// Decimal text of doubles, written by {fmt} and read by fast_float, which give the same digits
// with every C++ library the core is built with.
#include "calc_core/decimal_text.h"

#include <fast_float/fast_float.h>
#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace calc_core {
namespace {

// printf takes a negative precision as none given.
constexpr int DefaultPrecision = 6;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether a decimal has a nonzero digit before its exponent; one pass, for pasted texts that
// may be megabytes long.
bool HasNonzeroDigit(std::string_view decimal) {
    for (char c : decimal) {
        if (c == 'e' || c == 'E') {
            return false;
        }
        if (c >= '1' && c <= '9') {
            return true;
        }
    }
    return false;
}

// The significant digits of a finite, nonzero magnitude, without leading or trailing zeros, and
// the power of ten of the first of them.
struct Digits {
    std::string digits;
    int exponent = 0;
};

// Takes apart a text of {fmt}'s, in fixed ("0.0001", "1000") or exponent ("1.5e+22") notation.
Digits DigitsOf(std::string_view text) {
    const std::size_t e = std::min(text.find('e'), text.size());
    int exponent = 0;
    for (std::size_t i = e + 2; i < text.size(); ++i) {
        exponent = exponent * 10 + (text[i] - '0');
    }
    if (e + 1 < text.size() && text[e + 1] == '-') {
        exponent = -exponent;
    }
    const std::string_view mantissa = text.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    Digits result;
    for (char c : mantissa) {
        if (IsDigit(c)) {
            result.digits += c;
        }
    }
    const std::size_t first = result.digits.find_first_not_of('0');
    result.digits.erase(0, first);
    result.digits.erase(result.digits.find_last_not_of('0') + 1);
    result.exponent = exponent + static_cast<int>(point) - 1 - static_cast<int>(first);
    return result;
}

// A whole number is written with all the digits of its exact value, as printf's "%.0f" writes
// it: as many characters as its shortest digits followed by zeros.
std::string FixedNotation(const Digits& d, double magnitude) {
    if (d.exponent >= static_cast<int>(d.digits.size()) - 1) {
        return fmt::format(FMT_COMPILE("{:.0f}"), magnitude);
    }
    if (d.exponent >= 0) {
        const auto whole = static_cast<std::size_t>(d.exponent) + 1;
        return d.digits.substr(0, whole) + '.' + d.digits.substr(whole);
    }
    return "0." + std::string(static_cast<std::size_t>(-d.exponent) - 1, '0') + d.digits;
}

// As printf's "%e": a point only before further digits, and at least two exponent digits.
std::string ExponentNotation(const Digits& d) {
    std::string text = d.digits.substr(0, 1);
    if (d.digits.size() > 1) {
        text += '.';
        text += d.digits.substr(1);
    }
    return text +
           fmt::format(FMT_COMPILE("e{}{:02}"), d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
}

} // namespace

std::string FixedText(double value, int decimals) {
    return fmt::format(FMT_COMPILE("{:.{}f}"), value, decimals < 0 ? DefaultPrecision : decimals);
}

std::string SignificantText(double value, int digits) {
    return fmt::format(FMT_COMPILE("{:.{}g}"), value, digits < 0 ? DefaultPrecision : digits);
}

std::string ShortestText(double value) {
    // {fmt}'s own shortest text chooses its notation by the exponent alone ("0.0001", "1e+16");
    // here the shorter of the two wins, fixed notation on a tie.
    std::string text = fmt::format(FMT_COMPILE("{}"), value);
    if (value == 0 || !std::isfinite(value)) {
        return text;
    }
    const std::string_view sign = std::signbit(value) ? "-" : "";
    const Digits digits = DigitsOf(std::string_view(text).substr(sign.size()));
    const std::string fixed = FixedNotation(digits, std::fabs(value));
    const std::string exponent = ExponentNotation(digits);
    return std::string(sign) + (exponent.size() < fixed.size() ? exponent : fixed);
}

DecimalRead ReadDecimal(std::string_view text) {
    DecimalRead read;
    // fast_float also reads "inf", "infinity" and "nan", which are no decimals here.
    const std::size_t sign = text.starts_with('-') ? 1 : 0;
    if (text.size() <= sign || !(IsDigit(text[sign]) || text[sign] == '.')) {
        return read;
    }
    double value = 0;
    const auto [end, error] = fast_float::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{}) {
        return read;
    }
    read.value = value;
    read.length = static_cast<std::size_t>(end - text.data());
    // fast_float rounds a number beyond the doubles to infinity or zero without saying so; only
    // a nonzero digit before the exponent tells an underflow from a true zero.
    if (std::isinf(value)) {
        read.outOfRange = true;
    } else if (value == 0) {
        read.outOfRange = HasNonzeroDigit(text.substr(0, read.length));
    }
    return read;
}

} // namespace calc_core
