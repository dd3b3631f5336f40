// Parsing the command line with CLI11, and turning each value into the text the gate reads.
#include "command_line/arguments.h"

#include "orvalex/version.h"

#include "command_line/flag_values.h"

#include <CLI/CLI.hpp>

#include <array>
#include <string_view>
#include <vector>

namespace command_line {
namespace {

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

// A flag of the analysis, with the setting it writes.
struct SettingFlag {
    const char* name;
    const char* type;
    const char* defaultText;
    const char* help;
    double calc_core::AnalysisSettings::*setting;
};

constexpr std::array<SettingFlag, 5> kSettingFlags = {{
    {"--tolerance", "PCT", "1", "Tolerance of each resistor [%]",
     &calc_core::AnalysisSettings::resistorTolerancePct},
    {"--vref-tolerance", "PCT", "1", "Tolerance of Vref [%]",
     &calc_core::AnalysisSettings::vrefTolerancePct},
    {"--level-accuracy", "MV", "10", "Accuracy of every pin level, plus or minus [mV]",
     &calc_core::AnalysisSettings::levelAccuracyMv},
    {"--vf-spread", "V", "0.05", "Spread of the diode's Vf, plus or minus [V]",
     &calc_core::AnalysisSettings::vfSpreadV},
    {"--pin-voltage", "V", "3.3", "The pin's voltage in the fault state 'pin driven' [V]",
     &calc_core::AnalysisSettings::pinVoltage},
}};

// The texts of one command's flags, as CLI11 stores them.
struct CommandTexts {
    std::array<std::string, 5> boxes;
    std::array<std::string, kSettingFlags.size()> settings;
    std::string series;
    bool json = false;
};

CLI::Option* AddSingle(CLI::App& command, const char* name, std::string& text, const char* help) {
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
    AddSingle(*command, "--series", texts.series,
              "Preferred-value series of the pairs of R1 and R3")
        ->type_name("E6|E12|E24|E48|E96|E192")
        ->default_str("E96")
        ->group("Analysis");
    for (std::size_t i = 0; i < kSettingFlags.size(); ++i) {
        const SettingFlag& flag = kSettingFlags[i];
        AddSingle(*command, flag.name, texts.settings[i], flag.help)
            ->type_name(flag.type)
            ->default_str(flag.defaultText)
            ->group("Analysis");
    }
    command->add_flag("--json", texts.json, "One JSON object on stdout instead of text")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->group("Output");
    return command;
}

std::string ValueError(const char* flag, const std::string& text, ValueProblem problem) {
    std::string line = std::string(flag) + ": " + QuotedForMessage(text);
    switch (problem) {
    case ValueProblem::NotANumber:
        return line + " is not a number (write it like 2.5, 0.6 or 1e-3)";
    case ValueProblem::NotAResistance:
        return line + " is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)";
    case ValueProblem::OutOfRange:
        return line + " is beyond the range of numbers";
    }
    return line;
}

// The box's text for the gate: the value in plain "C" notation. An empty value stays empty,
// so that the press answers it as it answers an empty box.
bool ToBoxText(const BoxFlag& flag, std::string& text, std::string& error) {
    if (text.empty()) {
        return true;
    }
    const FlagValue value = ReadFlagValue(text, flag.kind);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        error = ValueError(flag.name, text, *problem);
        return false;
    }
    text = PlainText(std::get<double>(value));
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
    return Printable(error.what(), 200) + " (see --help)";
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

// The analysis settings the command's flags give, on top of the defaults; false with the error
// for the first that is not a value or out of its range.
bool ReadSettings(const CLI::App& command, const CommandTexts& texts,
                  calc_core::AnalysisSettings& settings, std::string& error) {
    if (command.count("--series") > 0) {
        const auto series = calc_core::SeriesFromName(texts.series);
        if (!series) {
            error = "--series: " + QuotedForMessage(texts.series) +
                    " is not a series (E6, E12, E24, E48, E96 or E192)";
            return false;
        }
        settings.series = *series;
    }
    for (std::size_t i = 0; i < kSettingFlags.size(); ++i) {
        const SettingFlag& flag = kSettingFlags[i];
        if (command.count(flag.name) == 0) {
            continue;
        }
        const FlagValue value = ReadFlagValue(texts.settings[i], ValueKind::Number);
        if (const auto* problem = std::get_if<ValueProblem>(&value)) {
            error = ValueError(flag.name, texts.settings[i], *problem);
            return false;
        }
        settings.*flag.setting = std::get<double>(value);
    }
    // A value the user asked for and the analysis cannot take is a bad command line, not a
    // design that cannot be analysed.
    error = calc_core::SettingsRefusal(settings);
    return error.empty();
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
    request.json = texts.json;
    ParsedArguments parsed;
    parsed.status = 2;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!ToBoxText(boxes[i], texts.boxes[i], parsed.error)) {
            return parsed;
        }
    }
    if (request.diode && !ToBoxText(kVfBox, texts.boxes[4], parsed.error)) {
        return parsed;
    }
    request.texts = texts.boxes;
    if (!ReadSettings(command, texts, request.settings, parsed.error)) {
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
