// The error terms and the settings as the report words them: a setting's value with its unit,
// the quantities a group of terms moves, and the sizes of those terms.
#pragma once

#include "analysis_report/report_writer.h"
#include "calc_core/analysis_settings.h"
#include "calc_core/error_terms.h"

#include <string>
#include <vector>

namespace analysis_report {

// A setting's value as the report writes it: volts and ohms as every figure, other units after
// the value, a spread after "± ": "± 1 %", "3.300 V", "-2 mV/°C".
std::string SettingValueText(const calc_core::SettingRow& row, double value, const Writer& w);

// The groups of quantities the terms move, in the order of the terms: R1, R2 and R3 together,
// Vref, the pin level, Vf, the feedback pin's current.
std::vector<calc_core::QuantitySet> TermGroups();

// The quantities of a group as a sentence names them: "R1, R2 and R3", "the pin level".
std::string GroupText(calc_core::QuantitySet group);

// The sizes of the group's terms that take part: "± 1 % and ± 100 ppm/°C", a term named where
// another of the group has its unit ("± 1 % and ± 0.5 % life drift"). With `nonZeroOnly`, the
// first term and those that are not 0 only.
std::string TermsText(calc_core::QuantitySet group, const calc_core::AnalysisSettings& s,
                      const Writer& w, bool nonZeroOnly);

// "A, B and C".
std::string JoinedList(const std::vector<std::string>& items);

} // namespace analysis_report
