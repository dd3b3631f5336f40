// Parsing the command line with CLI11, and turning each value into the text the gate reads.
#include "command_line/arguments.h"

#include "orvalex/version.h"

#include "calc_core/decimal_text.h"
#include "calc_core/tab_inputs.h"
#include "calc_core/value_text.h"
#include "command_line/batch_columns.h"
#include "command_line/design_request.h"
#include "command_line/flag_values.h"
#include "command_line/system_text.h"
#include "design_file/design_file_reader.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace command_line {
namespace {

constexpr const char* kProgram = "orvalex-kep";

constexpr const char* kDescription =
    "Designs and checks the three resistors that set the output voltage of a DC/DC\n"
    "converter: the Calc and Check presses of the calculator Orvalex_KEP, and the\n"
    "analysis of the design (levels, pin faults, preferred values, tolerances); opens\n"
    "and saves design files, and analyses a board's rails from a CSV file.";

constexpr const char* kFooter =
    R"(Values are read with '.' as the decimal point, whatever the locale. Resistances
also take 10k, 4k7, 4.7k, 2M2, 470R and 4R7. Giving --vf selects the diode.

Examples:
  orvalex-kep design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30
  orvalex-kep design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --vf 0.6 --series E24
  orvalex-kep check --r1 470 --r2 10 --r3 100 --vref 1.2 --json
  orvalex-kep design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --save rail.okep
  orvalex-kep open rail.okep --spec 2
  orvalex-kep batch rails.csv --format json

Exit status: 0 when the press passes, 1 for "Cal Error! Please check circuit!"
(batch: when any row has a message), 2 for a message of the input check, a bad
command line, a design file that cannot be opened or saved, or a batch's bad header.
)";

// The texts of one command's flags, as CLI11 stores them.
struct CommandTexts {
    std::array<std::string, 5> boxes;
    // By the settings table's rows; sized once, as CLI11 keeps the strings' addresses.
    std::vector<std::string> settings = std::vector<std::string>(calc_core::SettingRows().size());
    std::string fitPair;
    std::string fitR1;
    std::string fitR3;
    std::string fitR2;
    bool meetSpec = false;
    bool yield = false;
    bool json = false;
    std::string file; // open's and batch's file
    std::string save;
    std::string note;
    std::string format; // --format: the report's; batch's, its rows'

    unsigned threads = 0; // batch's; 0: every core
};

// The --format values of design, check and open, in the order of OutputFormat.
constexpr std::array<const char*, 5> kFormats = {"text", "json", "html", "csv", "bom"};

// A setting's line in the help: its help text and unit.
std::string SettingHelp(const calc_core::SettingRow& row) {
    std::string help(row.help);
    return row.unit.symbol.empty() ? help : help + " [" + std::string(row.unit.symbol) + "]";
}

// A setting's default as the help shows it; none for a list or an absent number.
std::string DefaultText(const calc_core::SettingRow& row) {
    switch (row.kind) {
    case calc_core::SettingKind::List:
    case calc_core::SettingKind::OptionalNumber:
        return {};
    default:
        return calc_core::SettingText(row, calc_core::AnalysisSettings{});
    }
}

CLI::Option* AddSingle(CLI::App& command, const std::string& name, std::string& text,
                       const std::string& help) {
    return command.add_option(name, text, help)->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

void AddInputs(CLI::App& command, calc_core::Tab tab, CommandTexts& texts) {
    const auto boxes = calc_core::TabInputs(tab);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        CLI::Option* option = AddSingle(command, std::string(boxes[i].flag), texts.boxes[i],
                                        std::string(boxes[i].help));
        option->type_name(boxes[i].resistance ? "OHM" : "V")->group("Inputs");
        if (i != calc_core::VfInput) {
            option->required();
        }
    }
}

// A flag row's two flags, on and off, each putting its word into the row's text.
void AddFlagPair(CLI::App& command, const calc_core::SettingRow& row, std::string& text) {
    const bool on = calc_core::AnalysisSettings{}.*row.onOff;
    command
        .add_flag_callback(
            std::string(row.flag), [&text] { text = "yes"; },
            SettingHelp(row) + (on ? " (the default)" : ""))
        ->group("Analysis");
    command
        .add_flag_callback(
            calc_core::NegatedFlag(row), [&text] { text = "no"; },
            "Turns " + std::string(row.flag) + " off" + (on ? "" : " (the default)"))
        ->group("Analysis");
}

void AddSettings(CLI::App& command, CommandTexts& texts) {
    command
        .add_flag("--meet-spec", texts.meetSpec,
                  "Also find the cheapest part grade, and its best builds, that meet the spec")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->group("Analysis");
    command
        .add_flag("--yield", texts.yield,
                  "Also estimate how many boards pass the spec, by simulating them")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->group("Analysis");
    const auto rows = calc_core::SettingRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].kind == calc_core::SettingKind::Flag) {
            AddFlagPair(command, rows[i], texts.settings[i]);
            continue;
        }
        AddSingle(command, std::string(rows[i].flag), texts.settings[i], SettingHelp(rows[i]))
            ->type_name(calc_core::ValueName(rows[i]))
            ->default_str(DefaultText(rows[i]))
            ->group("Analysis");
    }
}

void AddFit(CLI::App& command, CommandTexts& texts) {
    AddSingle(command, "--fit-pair", texts.fitPair,
              "Analyse as fitted the preferred pair of this rank, 1 being the best")
        ->type_name("N")
        ->group("Fitted pair");
    AddSingle(command, "--fit-r1", texts.fitR1, "Analyse as fitted this R1, with --fit-r3 [ohm]")
        ->type_name("OHM")
        ->group("Fitted pair");
    AddSingle(command, "--fit-r3", texts.fitR3, "Analyse as fitted this R3, with --fit-r1 [ohm]")
        ->type_name("OHM")
        ->group("Fitted pair");
    AddSingle(command, "--fit-r2", texts.fitR2,
              "With --fit-r1 and --fit-r3, a build's own R2 instead of the design's [ohm]")
        ->type_name("OHM")
        ->group("Fitted pair");
}

// The report's form, and the design file a press may save.
void AddOutput(CLI::App& command, CommandTexts& texts) {
    command.add_flag("--json", texts.json, "One JSON object on stdout instead of text")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->group("Output");
    AddSingle(command, "--format", texts.format,
              "The report as text, one JSON object, or a document: one HTML file, CSV tables, or "
              "the bill of materials of the build to buy as CSV (with the synthesis)")
        ->type_name("text|json|html|csv|bom")
        ->default_str("text")
        ->group("Output");
    CLI::Option* save =
        AddSingle(command, "--save", texts.save,
                  "Save the design (inputs, settings, fit and note) to this file (.okep)")
            ->type_name("FILE")
            ->group("Design file");
    AddSingle(command, "--note", texts.note, "The design file's note, such as the rail's name")
        ->type_name("TEXT")
        ->needs(save)
        ->group("Design file");
}

// design and check: a tab's inputs with the analysis flags.
CLI::App* AddPress(CLI::App& app, const char* name, const char* help, calc_core::Tab tab,
                   CommandTexts& texts) {
    CLI::App* command = app.add_subcommand(name, help);
    AddInputs(*command, tab, texts);
    AddSettings(*command, texts);
    AddFit(*command, texts);
    AddOutput(*command, texts);
    return command;
}

CLI::App* AddOpen(CLI::App& app, CommandTexts& texts) {
    CLI::App* command = app.add_subcommand(
        "open", "The press and analysis a design file describes; flags override its settings");
    command->add_option("FILE", texts.file, "The design file (.okep)")->required();
    AddSettings(*command, texts);
    AddFit(*command, texts);
    AddOutput(*command, texts);
    return command;
}

CLI::App* AddBatch(CLI::App& app, CommandTexts& texts) {
    CLI::App* command = app.add_subcommand(
        "batch", "One press and analysis per row of a CSV file of rails, one result per row");
    command->add_option("RAILS", texts.file, "The CSV file of rails, or - for stdin")->required();
    AddSettings(*command, texts);
    AddSingle(*command, "--format", texts.format, "The results as CSV or as JSON lines")
        ->type_name("csv|json")
        ->check(CLI::IsMember({"csv", "json"}))
        ->default_str("csv")
        ->group("Output");
    command->add_option("--threads", texts.threads, "Rows computed at once; 0 for every core")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
        ->check(CLI::Range(0u, 1024u))
        ->type_name("N")
        ->default_str("0")
        ->group("Output");
    command->footer(ColumnsHelp() + "\n" + kFooter);
    return command;
}

// The box's text for the gate: the value in plain "C" notation. An empty value stays empty,
// so that the press answers it as it answers an empty box.
bool ToBoxText(const calc_core::TabInput& box, std::string& text, std::optional<double>& number,
               std::string& error) {
    if (text.empty()) {
        return true;
    }
    const calc_core::ValueRead value = calc_core::ReadValue(
        text, box.resistance ? calc_core::ValueKind::Resistance : calc_core::ValueKind::Number);
    if (const auto* problem = std::get_if<calc_core::ValueProblem>(&value)) {
        error = ValueError(box.flag, text, *problem);
        return false;
    }
    number = std::get<double>(value);
    text = calc_core::ShortestText(*number);
    return true;
}

// A parse error of CLI11 as one line: its own words, with the arguments it quotes made safe.
std::string OneLine(const CLI::ParseError& error, const CLI::App& app) {
    const auto commands = app.get_subcommands();
    if (commands.empty() && dynamic_cast<const CLI::RequiredError*>(&error)) {
        return "a command is required: design, check, open or batch (see --help)";
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

// The program's parser: the commands with their flags, and where CLI11 puts their texts.
// CLI11's apps cannot be moved, so the parser stays where it is built.
struct Parser {
    CLI::App app{kDescription, kProgram};
    CommandTexts calcTexts;
    CommandTexts checkTexts;
    CommandTexts openTexts;
    CommandTexts batchTexts;
    CLI::App* design = nullptr;
    CLI::App* check = nullptr;
    CLI::App* open = nullptr;
    CLI::App* batch = nullptr;

    Parser() {
        app.set_version_flag("--version",
                             std::string(kProgram) + " " + std::string(orvalex::Version));
        app.require_subcommand(1);
        app.footer(kFooter);
        design =
            AddPress(app, "design", "The Calc press: R1, R3 and Vo_mid from the wanted outputs",
                     calc_core::Tab::Calc, calcTexts);
        check = AddPress(app, "check", "The Check press: the output levels and Delta -/+ of a set",
                         calc_core::Tab::Check, checkTexts);
        open = AddOpen(app, openTexts);
        batch = AddBatch(app, batchTexts);
        for (CLI::App* command : {design, check, open}) {
            command->footer(kFooter);
        }
    }
};

// The analysis settings the command's flags give, on top of the defaults or a file's; false
// with the error for the first that is not a value or out of its range.
bool ReadSettings(const CLI::App& command, const CommandTexts& texts,
                  calc_core::AnalysisSettings& settings, std::string& error) {
    const auto rows = calc_core::SettingRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const calc_core::SettingRow& row = rows[i];
        const bool off = row.kind == calc_core::SettingKind::Flag &&
                         command.count(calc_core::NegatedFlag(row)) > 0;
        if (off && command.count(std::string(row.flag)) > 0) {
            error = std::string(row.flag) + " and " + calc_core::NegatedFlag(row) +
                    " ask for both; give one of them";
            return false;
        }
        if ((off || command.count(std::string(row.flag)) > 0) &&
            !ReadSettingValue(row, row.flag, texts.settings[i], settings, error)) {
            return false;
        }
    }
    // A value the user asked for and the analysis cannot take is a bad command line, not a
    // design that cannot be analysed.
    error = calc_core::SettingsRefusal(settings);
    return error.empty();
}

// A typed resistance of the fit's flag; false with the error.
bool ReadFitOhms(const char* flag, const std::string& text, double& ohms, std::string& error) {
    const calc_core::ValueRead value = calc_core::ReadValue(text, calc_core::ValueKind::Resistance);
    if (const auto* problem = std::get_if<calc_core::ValueProblem>(&value)) {
        error = ValueError(flag, text, *problem);
        return false;
    }
    ohms = std::get<double>(value);
    return true;
}

// The rank of --fit-pair; false with the error.
bool ReadFitRank(const std::string& text, int& rank, std::string& error) {
    const calc_core::ValueRead value = calc_core::ReadValue(text, calc_core::ValueKind::Number);
    const double* number = std::get_if<double>(&value);
    if (!number || !(*number >= 1 && *number <= calc_core::PreferredPairCount) ||
        *number != std::floor(*number)) {
        error = "--fit-pair: " + calc_core::QuotedForMessage(text) +
                " is not a pair's rank (1 to " + std::to_string(calc_core::PreferredPairCount) +
                ")";
        return false;
    }
    rank = int(*number);
    return true;
}

// Which of the fit's flags go together: a rank alone, or R1 and R3 with R2 if a build has its own.
std::string FitFlagsFault(bool pair, bool r1, bool r3, bool r2) {
    if (pair && (r1 || r3 || r2)) {
        return "--fit-pair and --fit-r1/--fit-r3 each choose the pair to fit; give one of them";
    }
    if (r1 != r3) {
        return std::string(r1 ? "--fit-r1" : "--fit-r3") + " needs " +
               (r1 ? "--fit-r3" : "--fit-r1") + ": a fitted pair is R1 and R3 together";
    }
    if (r2 && !r1) {
        return "--fit-r2 needs --fit-r1 and --fit-r3: it is the R2 of a build";
    }
    return {};
}

// The pair to fit that the command's flags give, if any; false with the error for a bad one.
bool ReadFit(const CLI::App& command, const CommandTexts& texts,
             std::optional<calc_core::FitChoice>& fit, std::string& error) {
    const bool pair = command.count("--fit-pair") > 0;
    const bool r1 = command.count("--fit-r1") > 0;
    const bool r3 = command.count("--fit-r3") > 0;
    const bool r2 = command.count("--fit-r2") > 0;
    if (error = FitFlagsFault(pair, r1, r3, r2); !error.empty()) {
        return false;
    }
    if (pair) {
        int rank = 0;
        if (!ReadFitRank(texts.fitPair, rank, error)) {
            return false;
        }
        fit = calc_core::FitChoice::Pair(rank);
    } else if (r1) {
        double ohms[3] = {};
        if (!ReadFitOhms("--fit-r1", texts.fitR1, ohms[0], error) ||
            !ReadFitOhms("--fit-r3", texts.fitR3, ohms[1], error) ||
            (r2 && !ReadFitOhms("--fit-r2", texts.fitR2, ohms[2], error))) {
            return false;
        }
        fit = calc_core::FitChoice::Typed(ohms[0], ohms[1],
                                          r2 ? std::optional(ohms[2]) : std::nullopt);
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
    const auto* const found = std::find(kFormats.begin(), kFormats.end(), name);
    if (found == kFormats.end()) {
        error = "--format: " + calc_core::QuotedForMessage(texts.format) +
                " is not a format (text, json, html, csv, bom)";
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

// A file's name without its folders, as a document names it.
std::string FileNameOf(const std::string& argument) {
    const std::u8string name = PathOfArgument(argument).filename().u8string();
    return calc_core::Printable(std::string(name.begin(), name.end()), 200);
}

// The flags every request has besides its inputs: settings, fit, output and the design file.
bool ReadCommon(const CLI::App& command, const CommandTexts& texts, Request& request,
                std::string& error) {
    if (!ReadFormat(command, texts, request.format, error)) {
        return false;
    }
    request.extras.meetSpec =
        request.extras.meetSpec || texts.meetSpec || request.format == OutputFormat::Bom;
    request.extras.yield = request.extras.yield || texts.yield;
    if (command.count("--save") > 0) {
        request.savePath = texts.save;
        request.designFile = FileNameOf(texts.save);
    }
    if (command.count("--note") > 0) {
        request.note = texts.note;
    }
    return ReadSettings(command, texts, request.settings, error) &&
           ReadFit(command, texts, request.fit, error);
}

// The request of design or check, or the error of its first bad value.
ParsedArguments ReadPressRequest(Parser& parser) {
    const bool calc = parser.design->parsed();
    const CLI::App& command = calc ? *parser.design : *parser.check;
    CommandTexts& texts = calc ? parser.calcTexts : parser.checkTexts;
    Request request;
    request.tab = calc ? calc_core::Tab::Calc : calc_core::Tab::Check;
    const auto boxes = calc_core::TabInputs(request.tab);
    request.diode = command.count(std::string(boxes[calc_core::VfInput].flag)) > 0;
    ParsedArguments parsed;
    parsed.status = 2;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if ((i != calc_core::VfInput || request.diode) &&
            !ToBoxText(boxes[i], texts.boxes[i], request.values[i], parsed.error)) {
            return parsed;
        }
    }
    request.texts = texts.boxes;
    if (!ReadCommon(command, texts, request, parsed.error)) {
        return parsed;
    }
    parsed.status = 0;
    parsed.request = request;
    return parsed;
}

// The request of open: the file's design, with the flags given over its settings and fit.
ParsedArguments ReadOpenRequest(Parser& parser) {
    const CommandTexts& texts = parser.openTexts;
    ParsedArguments parsed;
    parsed.status = 2;
    const design_file::DesignRead read = design_file::ReadDesignFile(
        PathOfArgument(texts.file), calc_core::Printable(texts.file, 200));
    if (!read.design) {
        parsed.error = read.error;
        return parsed;
    }
    Request request = RequestOfDesign(*read.design);
    request.designFile = FileNameOf(texts.file);
    if (!ReadCommon(*parser.open, texts, request, parsed.error)) {
        return parsed;
    }
    parsed.status = 0;
    parsed.request = request;
    return parsed;
}

ParsedArguments ReadBatchRequest(Parser& parser) {
    const CommandTexts& texts = parser.batchTexts;
    BatchRequest batch;
    batch.path = texts.file;
    batch.json = texts.format == "json";
    batch.extras = {texts.meetSpec, texts.yield, 1};
    batch.threads =
        texts.threads > 0 ? texts.threads : std::max(1u, std::thread::hardware_concurrency());
    ParsedArguments parsed;
    if (!ReadSettings(*parser.batch, texts, batch.settings, parsed.error)) {
        parsed.status = 2;
        return parsed;
    }
    parsed.batch = batch;
    return parsed;
}

// The note of a parts list given on the command line that neither the series nor a grade of the
// synthesis takes.
void NoteUnusedParts(const CLI::App& command, ParsedArguments& parsed) {
    const calc_core::AnalysisSettings* settings = parsed.request ? &parsed.request->settings
                                                  : parsed.batch ? &parsed.batch->settings
                                                                 : nullptr;
    const bool synthesis = parsed.request ? parsed.request->extras.meetSpec
                           : parsed.batch ? parsed.batch->extras.meetSpec
                                          : false;
    if (settings && command.count("--parts") > 0 &&
        !calc_core::PartsListUsed(*settings, synthesis)) {
        parsed.note = "--parts: " + std::string(calc_core::UnusedPartsListNote(*settings));
    }
}

ParsedArguments ReadRequest(Parser& parser) {
    const CLI::App& command = parser.open->parsed()     ? *parser.open
                              : parser.batch->parsed()  ? *parser.batch
                              : parser.design->parsed() ? *parser.design
                                                        : *parser.check;
    ParsedArguments parsed = parser.open->parsed()    ? ReadOpenRequest(parser)
                             : parser.batch->parsed() ? ReadBatchRequest(parser)
                                                      : ReadPressRequest(parser);
    NoteUnusedParts(command, parsed);
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
