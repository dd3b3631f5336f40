// Conversions between texts and numbers.
#include "calc_core/number_text.h"

#include "calc_core/decimal_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace calc_core {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool StartsWithAt(std::string_view text, std::size_t pos, std::string_view prefix) {
    return !prefix.empty() && text.substr(pos, prefix.size()) == prefix;
}

// A number taken apart into plain ASCII pieces, ready for ReadDecimal.
struct NumberParts {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    bool exponentNegative = false;
    std::string_view exponentDigits;
};

// Overflow gives nullopt; underflow gives a zero of the number's sign.
std::optional<double> ToDouble(const NumberParts& parts) {
    std::string canonical = parts.integerDigits.empty() ? "0" : parts.integerDigits;
    if (!parts.fractionDigits.empty()) {
        canonical += '.';
        canonical += parts.fractionDigits;
    }
    if (!parts.exponentDigits.empty()) {
        canonical += parts.exponentNegative ? "e-" : "e";
        canonical += parts.exponentDigits;
    }
    const DecimalRead read = ReadDecimal(canonical);
    if (read.length != canonical.size() || std::isinf(read.value)) {
        return std::nullopt;
    }
    return parts.negative ? -read.value : read.value;
}

// Reads "E", an optional sign and at least one digit at pos; returns the position after it,
// or pos itself when no complete exponent stands there.
std::size_t ReadExponent(std::string_view text, std::size_t pos, NumberParts& parts) {
    if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E')) {
        return pos;
    }
    std::size_t i = pos + 1;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    if (i == digitsStart) {
        return pos;
    }
    parts.exponentNegative = negative;
    parts.exponentDigits = text.substr(digitsStart, i - digitsStart);
    return i;
}

// The text without the blanks before and after it.
std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// Reads the integer part's digits at pos into parts; returns the position after them, or nullopt
// when its groups are wrong. Groups after the first are exactly three digits, the first one to
// three; an empty group separator groups nothing.
std::optional<std::size_t> ReadIntegerDigits(std::string_view text, std::size_t pos,
                                             std::string_view group, NumberParts& parts) {
    bool grouped = false;
    std::size_t groupLength = 0;
    std::size_t i = pos;
    while (i < text.size()) {
        if (IsDigit(text[i])) {
            parts.integerDigits += text[i];
            ++groupLength;
            ++i;
        } else if (StartsWithAt(text, i, group)) {
            const bool groupFits =
                grouped ? groupLength == 3 : groupLength >= 1 && groupLength <= 3;
            if (!groupFits) {
                return std::nullopt;
            }
            grouped = true;
            groupLength = 0;
            i += group.size();
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3) {
        return std::nullopt;
    }
    return i;
}

} // namespace

std::optional<double> StrictNumber(std::string_view text, const NumberLocale& locale) {
    const std::string_view body = TrimBlanks(text);
    const std::string_view decimal = locale.decimalSeparator;
    // A locale that names the same separator twice cannot group.
    const std::string_view group = locale.groupSeparator == locale.decimalSeparator
                                       ? std::string_view{}
                                       : std::string_view{locale.groupSeparator};

    NumberParts parts;
    std::size_t i = 0;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) {
        parts.negative = body[i] == '-';
        ++i;
    }
    const std::optional<std::size_t> afterInteger = ReadIntegerDigits(body, i, group, parts);
    if (!afterInteger) {
        return std::nullopt;
    }
    i = *afterInteger;
    if (StartsWithAt(body, i, decimal)) {
        i += decimal.size();
        while (i < body.size() && IsDigit(body[i])) {
            parts.fractionDigits += body[i];
            ++i;
        }
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) {
        return std::nullopt;
    }

    const std::size_t afterExponent = ReadExponent(body, i, parts);
    if (afterExponent == i && i < body.size()) {
        return std::nullopt; // a stray character, or an "E" without digits
    }
    if (afterExponent != body.size()) {
        return std::nullopt;
    }
    return ToDouble(parts);
}

double LeadingNumber(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            packed += c;
        }
    }

    NumberParts parts;
    std::size_t i = 0;
    if (i < packed.size() && (packed[i] == '+' || packed[i] == '-')) {
        parts.negative = packed[i] == '-';
        ++i;
    }
    while (i < packed.size() && IsDigit(packed[i])) {
        parts.integerDigits += packed[i++];
    }
    if (i < packed.size() && packed[i] == '.') {
        ++i;
        while (i < packed.size() && IsDigit(packed[i])) {
            parts.fractionDigits += packed[i++];
        }
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) {
        return 0;
    }
    ReadExponent(packed, i, parts);
    const auto value = ToDouble(parts);
    if (!value) {
        const double infinity = std::numeric_limits<double>::infinity();
        return parts.negative ? -infinity : infinity;
    }
    return *value;
}

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

PrefixedValue WithDecimalPrefix(double value, int digits) {
    struct Prefix {
        int exponent;
        std::string_view symbol;
    };
    static constexpr Prefix Prefixes[] = {{-12, "p"}, {-9, "n"}, {-6, "\u00b5"}, {-3, "m"}, {0, ""},
                                          {3, "k"},   {6, "M"},  {9, "G"},       {12, "T"}};
    constexpr int NoPrefix = 4;
    constexpr int Last = int(std::size(Prefixes)) - 1;
    if (value == 0 || !std::isfinite(value)) {
        return {value, {}};
    }
    // By an exact power of ten either way.
    const auto scaled = [value](int index) {
        const int exponent = Prefixes[index].exponent;
        return exponent >= 0 ? value / std::pow(10.0, exponent) : value * std::pow(10.0, -exponent);
    };
    const int thousands = int(std::floor(std::floor(std::log10(std::fabs(value))) / 3));
    int index = std::clamp(thousands + NoPrefix, 0, Last);
    // Rounding to the digits shown may carry into the next thousand.
    const double rounded = ReadDecimal(SignificantText(scaled(index), digits)).value;
    if (std::fabs(rounded) >= 1000 && index < Last) {
        ++index;
    }
    return {scaled(index), Prefixes[index].symbol};
}

double ReadWholeText(std::string_view text) {
    return StrictNumber(text, NumberLocale{}).value_or(0);
}

std::string FormatWhole(double value) {
    const double whole = std::round(value); // halves away from zero, exactly
    if (whole == 0) {
        return "0";
    }
    return FixedText(whole, 0);
}

std::string FormatOneDecimal(double value, const NumberLocale& locale) {
    // Only values of the form m/4 with m odd sit exactly on a half of the last digit;
    // the conversion rounds those to even, so nudge them one step away from zero first.
    const double quarters = value * 4;
    if (std::isfinite(quarters) && std::nearbyint(quarters) == quarters &&
        std::fmod(quarters, 2) != 0) {
        value = std::nextafter(value, value > 0 ? HUGE_VAL : -HUGE_VAL);
    }
    std::string text = FixedText(value, 1);
    if (text == "-0.0") {
        text = "0.0";
    }
    return text.replace(text.size() - 2, 1, locale.decimalSeparator);
}

} // namespace calc_core
