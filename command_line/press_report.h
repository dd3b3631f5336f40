// One press of the command line as the window would make it, and the analysis of its design.
#pragma once

#include "analysis_report/analysis_report.h"
#include "calc_core/design_analysis.h"
#include "calc_core/press_message.h"
#include "command_line/arguments.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace command_line {

struct ResultText {
    std::string_view name; // "R1", "R3", "Vo_mid"; "Vo_max", "Vo_mid", "Vo_min", "Delta"
    std::string text;
};

struct PressReport {
    calc_core::Tab tab = calc_core::Tab::Calc;
    bool diode = false;
    calc_core::PressMessage message = calc_core::PressMessage::None;
    std::vector<ResultText> texts;    // in the order of the tab's result labels
    std::string_view flagged;         // the element a failed design check marks red, or empty
    analysis_report::Section results; // the texts as the documents show them
    // The design the press computed with, and the settings it was analysed with.
    std::optional<calc_core::AnalysisDesign> design;
    calc_core::AnalysisSettings settings;
    calc_core::AnalysisOutcome analysis;
};

// The press with the request's texts in the "C" notation, then the analysis of its design.
PressReport RunPress(const Request& request);

// A message of the input check, which ends the press before anything is computed.
bool IsGateMessage(calc_core::PressMessage message);

// 0 for a passing press, 1 for a failed design check, 2 for a message of the input check.
int ExitStatus(calc_core::PressMessage message);

} // namespace command_line
