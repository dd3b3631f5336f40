// Tests of the real orvalex-kep program, run as a child process: the worked examples of both
// presses, the engineering forms, the locale, the JSON document and the bad command lines.
#include "calc_core/design_analysis.h"
#include "calc_core/design_calculation.h"
#include "program_runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using program_runner::Ran;
using program_runner::RunProgram;
using program_runner::Words;

struct Example {
    const char* args;
    std::map<std::string, std::string> texts;
    const char* flagged; // nullptr: none
    int status;
};

// The worked examples of both tabs, their result texts and exit status, in text and in JSON.
TEST(Program, WorkedExamplesGiveTheWindowsTextsAndExitStatus) {
    const Example examples[] = {
        {"design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 30",
         {{"R1", "64955"}, {"R3", "7210"}, {"Vo_mid", "35"}},
         nullptr,
         0},
        {"design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 30 --vf 0.6",
         {{"R1", "24286"}, {"R3", "1360"}},
         nullptr,
         0},
        {"design --r2 1000 --vref 1.0 --vo-max 35 --vo-min 10",
         {{"R1", "14631"}, {"R3", "650"}, {"Vo_mid", "23"}},
         nullptr,
         0},
        {"design --r2 10000 --vref 2.5 --vo-max 30 --vo-min 40",
         {{"R1", "195045"}, {"R3", "-21650"}, {"Vo_mid", "35"}},
         nullptr,
         0},
        {"design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 2",
         {{"R1", "173171"}, {"R3", "-4943"}, {"Vo_mid", "-17"}},
         "Vo_max",
         1},
        {"design --r2 100 --vref 2.0 --vo-max 101.2 --vo-min 40.2",
         {{"R1", "151"}, {"R3", "3"}, {"Vo_mid", "66"}},
         "Vo_mid",
         1},
        {"design --r2 2 --vref 0.5 --vo-max 240.6 --vo-min 90.8",
         {{"R1", "766"}, {"R3", "6"}, {"Vo_mid", "165"}},
         "Vo_min",
         1},
        {"check --r1 470 --r2 10 --r3 100 --vref 1.2",
         {{"Vo_max", "63"}, {"Vo_mid", "60"}, {"Vo_min", "57"}, {"Delta", "3.0"}},
         nullptr,
         0},
        {"check --r1 470 --r2 10 --r3 100 --vref 1.2 --vf 0.6",
         {{"Vo_max", "60"}, {"Vo_min", "57"}},
         nullptr,
         0},
        {"check --r1 300 --r2 4 --r3 37 --vref 1.25",
         {{"Vo_max", "104"}, {"Vo_mid", "99"}, {"Vo_min", "95"}, {"Delta", "4.0"}},
         nullptr,
         0},
        {"check --r1 330 --r2 10 --r3 1000 --vref 1.0",
         {{"Vo_max", "34"}, {"Vo_mid", "34"}, {"Vo_min", "34"}, {"Delta", "0.0"}},
         nullptr,
         0},
        {"check --r1 100 --r2 100 --r3 12 --vref 0.5",
         {{"Vo_max", "4"}, {"Vo_mid", "-1"}, {"Vo_min", "-5"}, {"Delta", "5.0"}},
         nullptr,
         0},
    };
    for (const Example& example : examples) {
        SCOPED_TRACE(example.args);
        std::vector<std::string> args = Words(example.args);
        const Ran text = RunProgram(args);
        EXPECT_EQ(text.status, example.status);
        // The result texts lead the report, one "name text" line each, in the window's order.
        std::istringstream lines(text.out);
        std::string line;
        std::getline(lines, line);
        std::map<std::string, std::string> shown;
        for (std::size_t i = 0; i < example.texts.size() && std::getline(lines, line); ++i) {
            const std::vector<std::string> words = Words(line);
            ASSERT_EQ(words.size(), 2u) << line;
            shown[words[0]] = words[1];
        }
        EXPECT_EQ(shown, example.texts);
        EXPECT_EQ(text.err,
                  example.status == 1 ? "orvalex-kep: Cal Error! Please check circuit!\n" : "");

        args.emplace_back("--json");
        const Ran structured = RunProgram(args);
        EXPECT_EQ(structured.status, example.status);
        const json press = json::parse(structured.out).at("press");
        EXPECT_EQ(press.at("texts").get<decltype(example.texts)>(), example.texts);
        EXPECT_EQ(press.at("flagged"), example.flagged ? json(example.flagged) : json(nullptr));
    }
}

// A form and the plain value it stands for give the same report.
TEST(Program, EngineeringFormsGiveTheSameReportAsTheirPlainValues) {
    const std::pair<const char*, const char*> forms[] = {
        {"10k", "10000"}, {"4k7", "4700"}, {"4.7k", "4700"}, {"2M2", "2200000"},
        {"470R", "470"},  {"4R7", "4.7"},  {"1e4", "10000"}, {"0.33k", "330"},
    };
    for (const auto& [form, plain] : forms) {
        SCOPED_TRACE(form);
        const Ran given = RunProgram(
            {"check", "--r1", form, "--r2", "1k", "--r3", "2k2", "--vref", "1.2", "--json"});
        const Ran expected = RunProgram(
            {"check", "--r1", plain, "--r2", "1000", "--r3", "2200", "--vref", "1.2", "--json"});
        EXPECT_EQ(given.status, 0);
        EXPECT_EQ(given.out, expected.out);
        EXPECT_EQ(json::parse(given.out)["analysis"]["design"]["r1"], std::strtod(plain, nullptr));
    }
}

// The output under a German locale, whose decimal separator is a comma, is the C locale's.
TEST(Program, OutputIsTheSameWhateverTheLocale) {
    const std::filesystem::path locales = std::filesystem::temp_directory_path() /
                                          ("orvalex-kep-locales-" + std::to_string(getpid()));
    std::filesystem::create_directories(locales);
    const std::string build =
        "localedef -i de_DE -f UTF-8 " + (locales / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(build.c_str()), 0) << "localedef (package locales) is needed";
    const std::vector<std::string> german = {"LOCPATH=" + locales.string(), "LANG=de_DE.UTF-8",
                                             "LC_ALL=de_DE.UTF-8"};
    const std::vector<std::string> c = {"LANG=C", "LC_ALL=C"};
    // The locale is really in force for a program that takes it from the environment.
    const std::string probe = "env LOCPATH=" + locales.string() +
                              " LC_ALL=de_DE.UTF-8 /usr/bin/printf %.1f 2.5 | grep -qx 2,5";
    ASSERT_EQ(std::system(probe.c_str()), 0);

    const char* commands[] = {
        "design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30",
        "design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --vf 0.6 --json",
        "check --r1 470 --r2 10 --r3 100 --vref 1.2 --tolerance 0.5",
        "check --r1 4k7 --r2 1k --r3 2k2 --vref 1.2 --json",
    };
    for (const char* command : commands) {
        SCOPED_TRACE(command);
        const Ran inC = RunProgram(Words(command), c);
        const Ran inGerman = RunProgram(Words(command), german);
        EXPECT_EQ(inC.status, 0);
        EXPECT_EQ(inGerman.out, inC.out);
        EXPECT_EQ(inGerman.err, inC.err);
    }
    std::filesystem::remove_all(locales);
}

// The Calc example without the diode: every member of the document, the numbers exactly as the
// core computes them.
TEST(Program, JsonDocumentOfTheCalcExample) {
    const Ran ran = RunProgram(Words("design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --json"));
    ASSERT_EQ(ran.status, 0);
    EXPECT_EQ(ran.err, "");
    const json doc = json::parse(ran.out);
    EXPECT_EQ(doc.size(), 2u); // press and analysis, no reason
    EXPECT_EQ(doc["press"], json::parse(R"({"tab": "calc", "diode": false, "message": null,
        "texts": {"R1": "64955", "R3": "7210", "Vo_mid": "35"}, "flagged": null})"));

    calc_core::DesignInputs inputs{calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0};
    const auto outcome = calc_core::AnalyseDesign(calc_core::DesignOfCalc(inputs, 64955, 7210), {});
    ASSERT_TRUE(outcome.analysis);
    const calc_core::DesignAnalysis& core = *outcome.analysis;
    const json& analysis = doc["analysis"];
    EXPECT_EQ(analysis["design"], json::parse(R"({"r1": 64955, "r2": 10000, "r3": 7210,
        "vref": 2.5, "vf": null, "target_vo_max": 40, "target_vo_min": 30})"));
    ASSERT_EQ(analysis["levels"].size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const json& level = analysis["levels"][i];
        EXPECT_EQ(level["pin_v"], core.set.levels[i].pinV);
        EXPECT_EQ(level["vo"], core.set.levels[i].vo);
        EXPECT_EQ(level["i_r1"], core.set.levels[i].iR1);
        EXPECT_EQ(level["i_r3"], core.set.levels[i].iR3);
        EXPECT_EQ(level["diode_conducts"], true);
    }
    EXPECT_NEAR(analysis["levels"][0]["vo"].get<double>(), 40.000026, 1e-6);
    EXPECT_EQ(analysis["span"], core.set.span);
    EXPECT_EQ(analysis["p_r1_max"], core.set.pR1Max);
    EXPECT_EQ(analysis["p_r2_max"], core.set.pR2Max);

    const json& faults = analysis["faults"];
    EXPECT_NEAR(faults["pin_0v"].get<double>(), 41.261, 5e-4);
    EXPECT_NEAR(faults["pin_open"].get<double>(), 18.739, 5e-4);
    EXPECT_EQ(faults["pin_user"]["pin_v"], 3.3);
    EXPECT_EQ(faults["pin_user"]["vo"], core.set.faults[2].vo);
    EXPECT_EQ(faults["overvoltage"], json::array({"pin_0v"}));

    const json& preferred = analysis["preferred"];
    EXPECT_EQ(preferred["series"], "E96");
    ASSERT_EQ(preferred["pairs"].size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(preferred["pairs"][i]["r1"], core.preferred[i].r1);
        EXPECT_EQ(preferred["pairs"][i]["r3"], core.preferred[i].r3);
        EXPECT_EQ(preferred["pairs"][i]["levels"], json(core.preferred[i].levels));
        EXPECT_EQ(preferred["pairs"][i]["worst_error"], core.preferred[i].worstError);
    }

    const json& tolerance = analysis["tolerance"];
    EXPECT_EQ(tolerance["resistor_pct"], 1.0);
    EXPECT_EQ(tolerance["vref_pct"], 1.0);
    EXPECT_EQ(tolerance["level_mv"], 10.0);
    EXPECT_EQ(tolerance["vf_v"], nullptr);
    EXPECT_EQ(tolerance["overlap"], core.set.bandsOverlap);
    ASSERT_EQ(tolerance["levels"].size(), 3u);
    const char* shares[] = {"r1", "r2", "r3", "vref", "level", "vf"};
    for (std::size_t i = 0; i < 3; ++i) {
        const json& level = tolerance["levels"][i];
        EXPECT_EQ(level["min"], core.set.tolerance[i].min);
        EXPECT_EQ(level["max"], core.set.tolerance[i].max);
        EXPECT_EQ(level["rss"], core.set.tolerance[i].rss);
        for (std::size_t q = 0; q < 6; ++q) {
            EXPECT_EQ(level["shares"][shares[q]], core.set.tolerance[i].shares[q]) << shares[q];
        }
    }
}

// Every bad command line ends with status 2 and one line on stderr that says what is wrong;
// values the press refuses get the press's own message, as in the window.
TEST(Program, BadCommandLinesGiveOneLineAndStatusTwo) {
    const std::string longValue(10000, '7');
    const std::string calc = "design --vref 2.5 --vo-max 40 --vo-min 30 ";
    struct Case {
        std::vector<std::string> args;
        std::string error;    // the line without "orvalex-kep: " and its end
        bool alsoJson = true; // run a second time with --json after the command
    };
    const std::vector<Case> cases = {
        {{}, "a command is required: design, check, open or batch (see --help)"},
        {Words("design --vref 2.5 --vo-max 40 --vo-min 30"), "--r2 is required (see --help)"},
        {Words(calc + "--r2 10k --r3 5"), "The following arguments were not expected: 5 --r3 (see "
                                          "--help)"},
        {Words(calc + "--r2 10k --r2=12k"), "--r2 is given 2 times; give it once"},
        {Words(calc + "--r2 10k --json --json"), "--json is given 2 times; give it once", false},
        {Words(calc + "--r2 10k extra"), "The following argument was not expected: extra (see "
                                         "--help)"},
        {Words(calc + "--r2 10k --vf"), "--vf: 1 required V missing (see --help)"},
        {Words("frobnicate --r2 1"),
         "a command is required: design, check, open or batch (see --help)"},
        {Words(calc + "--r2 4x7"), "--r2: '4x7' is not a resistance (write it like 4700, 4.7k, "
                                   "4k7, 470R or 2M2)"},
        {Words(calc + "--r2 10k --vf 0,6"), "--vf: '0,6' is not a number (write it like 2.5, 0.6 "
                                            "or 1e-3)"},
        {Words("design --r2 10k --vref nan --vo-max 40 --vo-min 30"),
         "--vref: 'nan' is not a number (write it like 2.5, 0.6 or 1e-3)"},
        {Words("design --r2 10k --vref 2.5 --vo-max inf --vo-min 30"),
         "--vo-max: 'inf' is not a number (write it like 2.5, 0.6 or 1e-3)"},
        {Words(calc + "--r2 1e999"), "--r2: '1e999' is beyond the range of numbers"},
        {Words(calc + "--r2 10k --tolerance 1e999"),
         "--tolerance: '1e999' is beyond the range of numbers"},
        {{"design", "--r2", longValue + "x", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30"},
         "--r2: '" + longValue.substr(0, 40) +
             "...' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)"},
        {{"design", "--r2", "4\xCE\xA9\n7", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30"},
         "--r2: '4\\xCE\\xA9\\x0A7' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or "
         "2M2)"},
        // A setting asked for explicitly that the analysis cannot take.
        {Words(calc + "--r2 10k --tolerance 100"),
         "The resistor tolerance must be from 0 % to 99.99 % to analyse the design."},
        {Words(calc + "--r2 10k --tolerance -1"),
         "The resistor tolerance must be from 0 % to 99.99 % to analyse the design."},
        {Words(calc + "--r2 10k --level-accuracy -0.5 --vref-tolerance 100"),
         "The Vref tolerance must be from 0 % to 99.99 % to analyse the design."},
        {Words(calc + "--r2 10k --temp-min 90"),
         "The lowest operating temperature must not be above the highest to analyse the design."},
        {Words(calc + "--r2 10k --spec 0"),
         "The output spec must be from 0.01 % to 99.99 % to analyse the design."},
        {Words(calc + "--r2 10k --fit-pair 4"), "--fit-pair: '4' is not a pair's rank (1 to 3)"},
        {Words(calc + "--r2 10k --fit-pair 1.5"),
         "--fit-pair: '1.5' is not a pair's rank (1 to 3)"},
        {Words(calc + "--r2 10k --fit-r1 65k"),
         "--fit-r1 needs --fit-r3: a fitted pair is R1 and R3 together"},
        {Words(calc + "--r2 10k --fit-pair 1 --fit-r3 7k"),
         "--fit-pair and --fit-r1/--fit-r3 each choose the pair to fit; give one of them"},
        {Words(calc + "--r2 10k --fit-r1 0 --fit-r3 7k"),
         "The fitted R1 must be above 0 \u03a9 to analyse the design."},
        {Words(calc + "--r2 10k --series E7"),
         "--series: 'E7' is not a series (E6, E12, E24, E48, E96, E192 or parts)"},
        {{"design", "--r2", "\xFF--", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30"},
         "--r2: '\\xFF--' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)"},
        // The press's own messages: the value reaches the gate as typed.
        {Words(calc + "--r2 0"), "Input Data Error"},
        {Words(calc + "--r2 -10k"), "Input Data Error"},
        {{"design", "--r2", "", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30"},
         "Please input Data"},
        {Words(calc + "--r2 10k --vf=-0.6"), "Input Data Error"},
        {Words("check --r1 1 --r2 1 --r3 1e-300 --vref 1e300"), "Input Data Error"},
        {{"design", "--r2", std::string(400, '9') + "M", "--vref", "1", "--vo-max", "2", "--vo-min",
          "1"},
         "--r2: '" + std::string(40, '9') + "...' is beyond the range of numbers"},
    };
    for (const Case& c : cases) {
        for (const bool asJson : {false, true}) {
            std::vector<std::string> args = c.args;
            if (asJson && (!c.alsoJson || args.empty())) {
                continue;
            }
            if (asJson) {
                args.insert(args.begin() + 1, "--json");
            }
            SCOPED_TRACE(testing::Message() << c.error << (asJson ? " (json)" : ""));
            const Ran ran = RunProgram(args);
            EXPECT_EQ(ran.status, 2);
            EXPECT_EQ(ran.err, "orvalex-kep: " + c.error + "\n");
        }
    }
}

// The pair to fit by its rank or typed, with the spec's check of each level: figures worked out
// by hand from the node's currents over every corner of the tolerance box.
TEST(Program, FittedPairAndSpec) {
    const std::string calc = "design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 ";
    struct Row {
        std::string fit;
        json pair;
        double r1, vo125, margin125;
    };
    const Row rows[] = {
        {"--fit-pair 1", 1, 64900, 30.071153846, -0.017312},
        {"--fit-r1 65k --fit-r3 7k15", nullptr, 65000, 30.113636364, -0.061985},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fit);
        const Ran ran = RunProgram(Words(calc + row.fit + " --json"));
        ASSERT_EQ(ran.status, 0);
        const json analysis = json::parse(ran.out)["analysis"];
        const json& fitted = analysis["fitted"];
        EXPECT_EQ(fitted["pair"], row.pair);
        EXPECT_EQ(fitted["r1"], row.r1);
        EXPECT_EQ(fitted["design"]["r1"], row.r1);
        EXPECT_FALSE(fitted.contains("preferred"));
        EXPECT_NEAR(fitted["levels"][2]["vo"].get<double>(), row.vo125, 1e-8);
        EXPECT_EQ(fitted["spec"]["levels"][2]["meets"], false);
        EXPECT_NEAR(fitted["spec"]["levels"][2]["margin"].get<double>(), row.margin125, 1e-6);
        // The design's own analysis stays beside it, and meets the spec.
        EXPECT_NEAR(analysis["spec"]["levels"][2]["margin"].get<double>(), 0.058524, 1e-6);
        EXPECT_EQ(analysis["spec"]["levels"][2]["low"], 28.5);
        EXPECT_EQ(analysis["spec"]["pct"], 5);
        EXPECT_EQ(analysis["tolerance"]["tcr_ppm"], 100);
        EXPECT_EQ(analysis["tolerance"]["vf_tempco_mv"], nullptr);
        EXPECT_EQ(analysis["tolerance"]["levels"][0]["shares"]["fb_current"], 0);
    }
    const Ran text = RunProgram(Words(calc + "--fit-pair 1"));
    EXPECT_NE(text.out.find(
                  "\nLevels\n  As fitted: R1 64.9 k\u03a9, R3 7.15 k\u03a9, preferred pair 1\n"),
              std::string::npos);
    EXPECT_NE(
        text.out.find("  Warning: At 1.250 V the worst-case band leaves the spec by 0.017 V."),
        std::string::npos);
    EXPECT_EQ(json::parse(RunProgram(Words(calc + "--json")).out)["analysis"]["fitted"], nullptr);
}

TEST(Program, SeriesNamesAreReadWithoutRegardToCase) {
    const std::string calc = "design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --json --series ";
    const Ran upper = RunProgram(Words(calc + "E24"));
    const Ran lower = RunProgram(Words(calc + "e24"));
    EXPECT_EQ(lower.status, 0);
    EXPECT_EQ(lower.out, upper.out);
    EXPECT_NE(lower.out, RunProgram(Words(calc + "E96")).out);
}

// A press whose design cannot be analysed still exits by its press, with the reason beside it.
TEST(Program, UnanalysableDesignExitsByItsPressWithTheReason) {
    const Ran ran = RunProgram(Words("design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 2 --json"));
    EXPECT_EQ(ran.status, 1);
    const json doc = json::parse(ran.out);
    EXPECT_EQ(doc["press"]["message"], "Cal Error! Please check circuit!");
    EXPECT_EQ(doc["analysis"], nullptr);
    EXPECT_FALSE(doc["reason"].get<std::string>().empty());

    const Ran gate = RunProgram(Words("check --r1 0 --r2 1 --r3 1 --vref 1 --json"));
    EXPECT_EQ(gate.status, 2);
    EXPECT_EQ(json::parse(gate.out)["reason"],
              "The press ended with \"Input Data Error\", so there is no design to analyse.");
    EXPECT_EQ(RunProgram(Words("check --r1 0 --r2 1 --r3 1 --vref 1")).out, "");
}

} // namespace
