// The command line's words about a value it cannot read, and a setting's value read from a flag
// or a batch's column into the settings.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/value_text.h"

#include <string>
#include <string_view>

namespace command_line {

// Why a value cannot be read, naming it as the user gave it (a flag, or a batch's column):
// "--r1: '4,7k' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)".
std::string ValueError(std::string_view name, std::string_view text,
                       calc_core::ValueProblem problem);

// A setting's value into the settings: a choice by its name, without regard to case, a whole
// number, a list from the file the text names, or a number (a resistance where the row says so);
// false with the error, naming the value by `name`, when it is none. The value's range is the
// core's to judge.
bool ReadSettingValue(const calc_core::SettingRow& row, std::string_view name,
                      std::string_view text, calc_core::AnalysisSettings& settings,
                      std::string& error);

} // namespace command_line
