// Parsing the command line with CLI11, and turning each value into the text the gate reads.
#include "command_line/arguments.h"

#include "orvalex/version.h"

#include "calc_core/decimal_text.h"
#include "calc_core/value_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace command_line {
namespace {

using calc_core::QuotedForMessage;
using calc_core::ReadValue;
using calc_core::ValueKind;
using calc_core::ValueProblem;
using calc_core::ValueRead;

constexpr const char* kProgram = "orvalex-kep";

constexpr const char* kDescription =
    "Designs and checks the three resistors that set the output voltage of a DC/DC\n"
    "converter: the Calc and Check presses of the calculator Orvalex_KEP, and the\n"
    "analysis of the design (levels, pin faults, preferred values, tolerances).";

constexpr const char* kFooter =
    R"(Values are read with '.' as the decimal point, whatever the locale. Resistances
also take 10k, 4k7, 4.7k, 2M2, 470R and 4R7. Giving --vf selects the diode.

Examples:
  orvalex-kep design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30
  orvalex-kep design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --vf 0.6 --series E24
  orvalex-kep check --r1 470 --r2 10 --r3 100 --vref 1.2 --json

Exit status: 0 when the press passes, 1 for "Cal Error! Please check circuit!",
2 for a message of the input check or a bad command line.
)";

// A flag whose value becomes one of the tab's boxes.
struct BoxFlag {
    const char* name;
    ValueKind kind;
    const char* help;
};

// The boxes of each tab in the gate's order; the diode's Vf is the fifth.
constexpr std::array<BoxFlag, 4> kCalcBoxes = {{
    {"--r2", ValueKind::Resistance, "R2, from the node to ground [ohm]"},
    {"--vref", ValueKind::Number, "The reference voltage Vref [V]"},
    {"--vo-max", ValueKind::Number, "The wanted output Vo_max, pin at 0.14 V [V]"},
    {"--vo-min", ValueKind::Number, "The wanted output Vo_min, highest pin level [V]"},
}};
constexpr std::array<BoxFlag, 4> kCheckBoxes = {{
    {"--r1", ValueKind::Resistance, "R1, from the output to the node [ohm]"},
    {"--r2", ValueKind::Resistance, "R2, from the node to ground [ohm]"},
    {"--r3", ValueKind::Resistance, "R3, from the node to the KEP pin [ohm]"},
    {"--vref", ValueKind::Number, "The reference voltage Vref [V]"},
}};
constexpr BoxFlag kVfBox = {"--vf", ValueKind::Number,
                            "The diode's forward voltage Vf [V]; selects the diode"};

// The texts of one command's flags, as CLI11 stores them.
struct CommandTexts {
    std::array<std::string, 5> boxes;
    // By the settings table's rows; sized once, as CLI11 keeps the strings' addresses.
    std::vector<std::string> settings = std::vector<std::string>(calc_core::SettingRows().size());
    std::string fitPair;
    std::string fitR1;
    std::string fitR3;
    std::string format;
    bool json = false;
};

// The --format values, in the order of OutputFormat.
constexpr std::array<const char*, 4> kFormats = {"text", "json", "html", "csv"};

// A setting's line in the help: its help text and unit.
std::string SettingHelp(const calc_core::SettingRow& row) {
    std::string help(row.help);
    return row.unit.empty() ? help : help + " [" + std::string(row.unit) + "]";
}

std::string DefaultText(const calc_core::SettingRow& row) {
    if (row.kind == calc_core::SettingKind::Choice) {
        return std::string(row.choices[calc_core::DefaultChoice(row)]);
    }
    return calc_core::LimitText(row, calc_core::DefaultNumber(row));
}

CLI::Option* AddSingle(CLI::App& command, const std::string& name, std::string& text,
                       const std::string& help) {
    return command.add_option(name, text, help)->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

CLI::App* AddCommand(CLI::App& app, const char* name, const char* help,
                     std::span<const BoxFlag> boxes, CommandTexts& texts) {
    CLI::App* command = app.add_subcommand(name, help);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        AddSingle(*command, boxes[i].name, texts.boxes[i], boxes[i].help)
            ->required()
            ->type_name(boxes[i].kind == ValueKind::Resistance ? "OHM" : "V")
            ->group("Inputs");
    }
    AddSingle(*command, kVfBox.name, texts.boxes[4], kVfBox.help)->type_name("V")->group("Inputs");
    const auto rows = calc_core::SettingRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        AddSingle(*command, std::string(rows[i].flag), texts.settings[i], SettingHelp(rows[i]))
            ->type_name(std::string(rows[i].valueName))
            ->default_str(DefaultText(rows[i]))
            ->group("Analysis");
    }
    AddSingle(*command, "--fit-pair", texts.fitPair,
              "Analyse as fitted the preferred pair of this rank, 1 being the best")
        ->type_name("N")
        ->group("Fitted pair");
    AddSingle(*command, "--fit-r1", texts.fitR1, "Analyse as fitted this R1, with --fit-r3 [ohm]")
        ->type_name("OHM")
        ->group("Fitted pair");
    AddSingle(*command, "--fit-r3", texts.fitR3, "Analyse as fitted this R3, with --fit-r1 [ohm]")
        ->type_name("OHM")
        ->group("Fitted pair");
    command->add_flag("--json", texts.json, "One JSON object on stdout instead of text")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->group("Output");
    AddSingle(*command, "--format", texts.format,
              "The report as text, one JSON object, or a document: one HTML file, or CSV tables")
        ->type_name("text|json|html|csv")
        ->default_str("text")
        ->group("Output");
    return command;
}

std::string ValueError(const char* flag, const std::string& text, ValueProblem problem) {
    return std::string(flag) + ": " + QuotedForMessage(text) + " " +
           std::string(calc_core::ValueProblemText(problem));
}

// The box's text for the gate: the value in plain "C" notation. An empty value stays empty,
// so that the press answers it as it answers an empty box.
bool ToBoxText(const BoxFlag& flag, std::string& text, std::string& error) {
    if (text.empty()) {
        return true;
    }
    const ValueRead value = ReadValue(text, flag.kind);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        error = ValueError(flag.name, text, *problem);
        return false;
    }
    text = calc_core::ShortestText(std::get<double>(value));
    return true;
}

// A parse error of CLI11 as one line: its own words, with the arguments it quotes made safe.
std::string OneLine(const CLI::ParseError& error, const CLI::App& app) {
    const auto commands = app.get_subcommands();
    if (commands.empty() && dynamic_cast<const CLI::RequiredError*>(&error)) {
        return "a command is required, design or check (see --help)";
    }
    // CLI11 counts a repeated flag as too many values; say what happened instead.
    if (!commands.empty() && dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
        for (const CLI::Option* option : commands.front()->get_options()) {
            if (option->count() > 1) {
                return option->get_name() + " is given " + std::to_string(option->count()) +
                       " times; give it once";
            }
        }
    }
    return calc_core::Printable(error.what(), 200) + " (see --help)";
}

// The program's parser: the two commands with their flags, and where CLI11 puts their texts.
// CLI11's apps cannot be moved, so the parser stays where it is built.
struct Parser {
    CLI::App app{kDescription, kProgram};
    CommandTexts calcTexts;
    CommandTexts checkTexts;
    CLI::App* design = nullptr;
    CLI::App* check = nullptr;

    Parser() {
        app.set_version_flag("--version",
                             std::string(kProgram) + " " + std::string(orvalex::Version));
        app.require_subcommand(1);
        app.footer(kFooter);
        design =
            AddCommand(app, "design", "The Calc press: R1, R3 and Vo_mid from the wanted outputs",
                       kCalcBoxes, calcTexts);
        check =
            AddCommand(app, "check", "The Check press: the output levels and Delta -/+ of a set",
                       kCheckBoxes, checkTexts);
        design->footer(kFooter);
        check->footer(kFooter);
    }
};

// One setting's flag: a choice by its name, without regard to case, or a number.
bool ReadSetting(const calc_core::SettingRow& row, const std::string& text,
                 calc_core::AnalysisSettings& settings, std::string& error) {
    const std::string flag(row.flag);
    if (row.kind == calc_core::SettingKind::Choice) {
        if (const auto choice = calc_core::ChoiceIndex(row, text)) {
            row.choose(settings, *choice);
            return true;
        }
        std::string label = calc_core::PlainLabel(row);
        label[0] = char(std::tolower(static_cast<unsigned char>(label[0])));
        error = flag + ": " + QuotedForMessage(text) + " is not a " + label + " (" +
                calc_core::ChoiceList(row) + ")";
        return false;
    }
    const ValueRead value = ReadValue(text, ValueKind::Number);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        error = ValueError(flag.c_str(), text, *problem);
        return false;
    }
    settings.*row.number = std::get<double>(value);
    return true;
}

// The analysis settings the command's flags give, on top of the defaults; false with the error
// for the first that is not a value or out of its range.
bool ReadSettings(const CLI::App& command, const CommandTexts& texts,
                  calc_core::AnalysisSettings& settings, std::string& error) {
    const auto rows = calc_core::SettingRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const calc_core::SettingRow& row = rows[i];
        if (command.count(std::string(row.flag)) > 0 &&
            !ReadSetting(row, texts.settings[i], settings, error)) {
            return false;
        }
    }
    // A value the user asked for and the analysis cannot take is a bad command line, not a
    // design that cannot be analysed.
    error = calc_core::SettingsRefusal(settings);
    return error.empty();
}

// The pair to fit that the command's flags give, if any; false with the error for a bad one.
bool ReadFit(const CLI::App& command, const CommandTexts& texts,
             std::optional<calc_core::FitChoice>& fit, std::string& error) {
    const bool pair = command.count("--fit-pair") > 0;
    const bool r1 = command.count("--fit-r1") > 0;
    const bool r3 = command.count("--fit-r3") > 0;
    if (pair && (r1 || r3)) {
        error = "--fit-pair and --fit-r1/--fit-r3 each choose the pair to fit; give one of them";
        return false;
    }
    if (r1 != r3) {
        error = std::string(r1 ? "--fit-r1" : "--fit-r3") + " needs " +
                (r1 ? "--fit-r3" : "--fit-r1") + ": a fitted pair is R1 and R3 together";
        return false;
    }
    if (pair) {
        const ValueRead value = ReadValue(texts.fitPair, ValueKind::Number);
        const double* rank = std::get_if<double>(&value);
        if (!rank || !(*rank >= 1 && *rank <= calc_core::PreferredPairCount) ||
            *rank != std::floor(*rank)) {
            error = "--fit-pair: " + QuotedForMessage(texts.fitPair) +
                    " is not a pair's rank (1 to " + std::to_string(calc_core::PreferredPairCount) +
                    ")";
            return false;
        }
        fit = calc_core::FitChoice::Pair(int(*rank));
    } else if (r1) {
        double values[2] = {};
        const std::pair<const char*, const std::string*> flags[] = {{"--fit-r1", &texts.fitR1},
                                                                    {"--fit-r3", &texts.fitR3}};
        for (std::size_t i = 0; i < 2; ++i) {
            const ValueRead value = ReadValue(*flags[i].second, ValueKind::Resistance);
            if (const auto* problem = std::get_if<ValueProblem>(&value)) {
                error = ValueError(flags[i].first, *flags[i].second, *problem);
                return false;
            }
            values[i] = std::get<double>(value);
        }
        fit = calc_core::FitChoice::Typed(values[0], values[1]);
    }
    error = calc_core::FitRefusal(fit);
    return error.empty();
}

// The report's format from --format, or --json; both must agree.
bool ReadFormat(const CLI::App& command, const CommandTexts& texts, OutputFormat& format,
                std::string& error) {
    format = texts.json ? OutputFormat::Json : OutputFormat::Text;
    if (command.count("--format") == 0) {
        return true;
    }
    std::string name = texts.format;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); });
    const auto found = std::find(kFormats.begin(), kFormats.end(), name);
    if (found == kFormats.end()) {
        error = "--format: " + QuotedForMessage(texts.format) + " is not a format (text, json, " +
                "html, csv)";
        return false;
    }
    const auto chosen = OutputFormat(found - kFormats.begin());
    if (texts.json && chosen != OutputFormat::Json) {
        error = "--json and --format " + name + " ask for different reports; give one of them";
        return false;
    }
    format = chosen;
    return true;
}

// The request of the command that was parsed, or the error of its first bad value.
ParsedArguments ReadRequest(Parser& parser) {
    const bool calc = parser.design->parsed();
    const CLI::App& command = calc ? *parser.design : *parser.check;
    CommandTexts& texts = calc ? parser.calcTexts : parser.checkTexts;
    const std::span<const BoxFlag> boxes =
        calc ? std::span<const BoxFlag>(kCalcBoxes) : std::span<const BoxFlag>(kCheckBoxes);
    Request request;
    request.tab = calc ? calc_core::Tab::Calc : calc_core::Tab::Check;
    request.diode = command.count(kVfBox.name) > 0;
    ParsedArguments parsed;
    parsed.status = 2;
    if (!ReadFormat(command, texts, request.format, parsed.error)) {
        return parsed;
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!ToBoxText(boxes[i], texts.boxes[i], parsed.error)) {
            return parsed;
        }
    }
    if (request.diode && !ToBoxText(kVfBox, texts.boxes[4], parsed.error)) {
        return parsed;
    }
    request.texts = texts.boxes;
    if (!ReadSettings(command, texts, request.settings, parsed.error) ||
        !ReadFit(command, texts, request.fit, parsed.error)) {
        return parsed;
    }
    parsed.status = 0;
    parsed.request = request;
    return parsed;
}

} // namespace

ParsedArguments ParseArguments(std::span<const std::string> args) {
    Parser parser;
    std::vector<const char*> argv{kProgram};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    ParsedArguments parsed;
    try {
        parser.app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        // The program's own help shows every command's flags; a command's help its own.
        parsed.output = parser.app.get_subcommands().empty()
                            ? parser.app.help("", CLI::AppFormatMode::All)
                            : parser.app.help();
        return parsed;
    } catch (const CLI::CallForVersion& version) {
        parsed.output = std::string(version.what()) + "\n";
        return parsed;
    } catch (const CLI::ParseError& error) {
        parsed.error = OneLine(error, parser.app);
        parsed.status = 2;
        return parsed;
    }
    return ReadRequest(parser);
}

} // namespace command_line
