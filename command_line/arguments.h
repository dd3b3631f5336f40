// The command line of orvalex-kep: its two commands, their flags, the help and the version.
#pragma once

#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"
#include "calc_core/input_gate.h"

#include <optional>
#include <span>
#include <string>

namespace command_line {

// What the report is written as: --format, or --json.
enum class OutputFormat { Text, Json, Html, Csv };

// One press and its analysis, as the flags ask for it.
struct Request {
    calc_core::Tab tab = calc_core::Tab::Calc;
    bool diode = false; // --vf given: the diode choice "Yes"
    // The tab's five boxes as a user would type the values in the "C" locale.
    calc_core::TabInputTexts texts;
    calc_core::AnalysisSettings settings;
    std::optional<calc_core::FitChoice> fit; // the pair to analyse as fitted, if any
    OutputFormat format = OutputFormat::Text;
};

// Either a request to run, or an answer that needs no press: the help or the version text for
// stdout with status 0, or a one-line error (without the program's name) with status 2.
struct ParsedArguments {
    std::optional<Request> request;
    std::string output;
    std::string error;
    int status = 0;
};

// Reads the arguments that follow the program's name.
ParsedArguments ParseArguments(std::span<const std::string> args);

} // namespace command_line
