// Reading values from plain text, and quoting a text for a message.
#include "calc_core/value_text.h"

#include "calc_core/decimal_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace calc_core {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsDigit);
}

// An unsigned decimal: digits or a point first, then a decimal read to the end. Checking the
// first character keeps out a second sign.
ValueRead ReadUnsigned(std::string_view text) {
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.')) {
        return ValueProblem::NotANumber;
    }
    const DecimalRead read = ReadDecimal(text);
    if (read.length != text.size()) {
        return ValueProblem::NotANumber;
    }
    return read.outOfRange ? ValueRead(ValueProblem::OutOfRange) : ValueRead(read.value);
}

// 4k7 and 4.7k become "4.7e3", so the value is rounded once, from its decimal digits.
ValueRead ReadEngineering(std::string_view text, std::size_t letter) {
    const std::string_view before = text.substr(0, letter);
    const std::string_view after = text.substr(letter + 1);
    const std::size_t point = before.find('.');
    const bool wellFormed =
        !before.empty() && IsDigit(before.front()) && AllDigits(after) &&
        (point == std::string_view::npos
             ? AllDigits(before)
             : after.empty() && point + 1 < before.size() && AllDigits(before.substr(0, point)) &&
                   AllDigits(before.substr(point + 1)));
    if (!wellFormed) {
        return ValueProblem::NotAResistance;
    }
    std::string decimal(before);
    if (!after.empty()) {
        decimal += '.';
        decimal += after;
    }
    switch (text[letter]) {
    case 'k':
        decimal += "e3";
        break;
    case 'M':
        decimal += "e6";
        break;
    default:
        break;
    }
    return ReadUnsigned(decimal);
}

} // namespace

ValueRead ReadValue(std::string_view text, ValueKind kind) {
    bool negative = false;
    std::string_view body = text;
    if (body.starts_with('+') || body.starts_with('-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    ValueRead value = ValueProblem::NotANumber;
    const std::size_t letter =
        kind == ValueKind::Resistance ? body.find_first_of("RkM") : std::string_view::npos;
    if (letter == std::string_view::npos) {
        value = ReadUnsigned(body);
    } else if (body.find_first_of("RkM", letter + 1) == std::string_view::npos) {
        value = ReadEngineering(body, letter);
    }
    if (const double* number = std::get_if<double>(&value)) {
        return negative ? -*number : *number;
    }
    if (kind == ValueKind::Resistance &&
        std::get<ValueProblem>(value) == ValueProblem::NotANumber) {
        return ValueProblem::NotAResistance;
    }
    return value;
}

std::string_view ValueProblemText(ValueProblem problem) {
    switch (problem) {
    case ValueProblem::NotANumber:
        return "is not a number (write it like 2.5, 0.6 or 1e-3)";
    case ValueProblem::NotAResistance:
        return "is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)";
    case ValueProblem::OutOfRange:
        return "is beyond the range of numbers";
    }
    return {};
}

std::string Printable(std::string_view text, std::size_t maxLength) {
    std::string quoted;
    for (std::size_t i = 0; i < text.size() && i < maxLength; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte >= 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += text[i];
        }
    }
    if (text.size() > maxLength) {
        quoted += "...";
    }
    return quoted;
}

std::string QuotedForMessage(std::string_view text) {
    return "'" + Printable(text, 40) + "'";
}

} // namespace calc_core
