// The values of the command line's flags: plain decimals with '.', and the engineering forms of
// resistances, read the same whatever the locale.
#pragma once

#include "calc_core/analysis_settings.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace command_line {

enum class ValueKind { Number, Resistance };

enum class ValueProblem { NotANumber, NotAResistance, OutOfRange };

// The value, or what is wrong with its text.
using FlagValue = std::variant<double, ValueProblem>;

// Reads a whole text: an optional sign, digits with at most one '.', an optional exponent.
// Resistances also take 10k, 4k7, 4.7k, 2M2, 470R and 4R7: R, k or M multiplies by 1, 10^3 or
// 10^6 and may stand for the decimal point. Nothing else is read (no blanks, no grouping), and
// infinities, NaN and values beyond the range of doubles are refused.
FlagValue ReadFlagValue(std::string_view text, ValueKind kind);

// The shortest text in the "C" notation that reads back as exactly this value.
std::string PlainText(double value);

// The text as it can stand in a one-line message: control and non-ASCII bytes written as \xNN,
// and anything past maxLength bytes cut off with "...".
std::string Printable(std::string_view text, std::size_t maxLength);

// A flag's text for a message: Printable, up to 40 bytes, in single quotes.
std::string QuotedForMessage(std::string_view text);

// Why a value cannot be read, naming it as the user gave it (a flag, or a batch's column):
// "--r1: '4,7k' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)".
std::string ValueError(std::string_view name, std::string_view text, ValueProblem problem);

// A setting's value into the settings: a choice by its name, without regard to case, or a
// number; false with the error, naming the value by `name`, when it is neither. The value's range
// is the core's to judge.
bool ReadSettingValue(const calc_core::SettingRow& row, std::string_view name,
                      std::string_view text, calc_core::AnalysisSettings& settings,
                      std::string& error);

} // namespace command_line
