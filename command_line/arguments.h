// The command line of orvalex-kep: its commands, their flags, the help and the version.
#pragma once

#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"
#include "calc_core/input_gate.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace command_line {

// What the report is written as: --format, or --json.
enum class OutputFormat { Text, Json, Html, Csv, Bom };

// What the analysis computes besides the design: --meet-spec and --yield.
struct AnalysisExtras {
    bool meetSpec = false;
    bool yield = false;
    unsigned threads = 0; // for the yield: 0 is every core
};

// One press and its analysis, as the flags or a design file ask for it.
struct Request {
    calc_core::Tab tab = calc_core::Tab::Calc;
    bool diode = false; // --vf given: the diode choice "Yes"
    // The tab's five boxes as a user would type the values in the "C" locale.
    calc_core::TabInputTexts texts;
    // The same as numbers, for a design file; absent for an empty value.
    std::array<std::optional<double>, 5> values;
    calc_core::AnalysisSettings settings;
    std::optional<calc_core::FitChoice> fit; // the pair to analyse as fitted, if any
    AnalysisExtras extras;
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string> savePath; // --save: where to write the design
    std::string note;                    // --note, or the opened file's
    std::string designFile; // the name of the file saved, or else opened, that a document names
};

// A batch of rails: the file (or "-" for stdin), the settings every row starts from, and how the
// results are written and computed.
struct BatchRequest {
    std::string path;
    calc_core::AnalysisSettings settings;
    AnalysisExtras extras; // each row's yield runs on one thread: the rows share the cores
    bool json = false;     // JSON lines instead of CSV
    unsigned threads = 1;
};

// Either a request to run, or an answer that needs no press: the help or the version text for
// stdout with status 0, or a one-line error (without the program's name) with status 2.
struct ParsedArguments {
    std::optional<Request> request;
    std::optional<BatchRequest> batch;
    std::string output;
    std::string error;
    // Said on stderr before the request runs, whatever its status: a parts list that nothing
    // takes.
    std::string note;
    int status = 0;
};

// Reads the arguments that follow the program's name; `open` reads its design file here.
ParsedArguments ParseArguments(std::span<const std::string> args);

} // namespace command_line
