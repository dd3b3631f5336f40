// Each row of the settings table reaches every place a setting is shown or kept, with nothing
// written for it by hand: the report's Settings section, the settings' JSON, a design file, the
// command line's help and flags. The window's controls and the page's fields are made from the
// same rows and checked row by row in their own tests (settings_table_test.cpp,
// request_handler_test.cpp). A new row needs nothing here.
#include "analysis_report/analysis_report.h"
#include "analysis_report/settings_json.h"
#include "calc_core/analysis_design.h"
#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "calc_core/setting_text.h"
#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"
#include "program_runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using calc_core::AnalysisSettings;
using calc_core::SettingKind;
using calc_core::SettingRow;
using program_runner::RunProgram;

// A value of the row other than its default that the analysis takes, as the user types it.
std::string OtherText(const SettingRow& row) {
    switch (row.kind) {
    case SettingKind::Number: {
        const double fallback = calc_core::DefaultNumber(row);
        return calc_core::LimitText(row, fallback + (row.highest - fallback) / 10);
    }
    case SettingKind::OptionalNumber:
        return "4k7";
    case SettingKind::Whole:
        return std::to_string(row.lowestWhole / 2 + row.highestWhole / 2);
    case SettingKind::Choice:
        return std::string(row.choices[calc_core::DefaultChoice(row) == 1 ? 0 : 1]);
    case SettingKind::List:
        return row.list == calc_core::ListKind::Grades
                   ? "series, tolerance, tcr, life_drift, name\nE96, 1, 50, 0.5, thin film\n"
                   : "4k7\n10k\n";
    case SettingKind::Flag:
        return calc_core::AnalysisSettings{}.*row.onOff ? "no" : "yes";
    }
    return {};
}

// The settings with the row at that value; R2's two ends go together.
AnalysisSettings WithOther(const SettingRow& row) {
    AnalysisSettings settings;
    const std::string problem = calc_core::ReadSettingText(row, OtherText(row), settings);
    EXPECT_EQ(problem, "");
    if (row.kind == SettingKind::OptionalNumber) {
        settings.r2MinOhms = 4700;
        settings.r2MaxOhms = 4700;
    }
    EXPECT_EQ(calc_core::SettingsRefusal(settings), "");
    EXPECT_NE(calc_core::SettingText(row, settings),
              calc_core::SettingText(row, AnalysisSettings{}));
    return settings;
}

const calc_core::AnalysisDesign CalcExample =
    calc_core::DesignOfCalc({calc_core::DiodeChoice::Yes, 10000, 2.5, 40, 30, 0.6}, 64955, 7210);

TEST(SettingsReach, EveryRowReachesTheReportJsonFileAndCommandLine) {
    const std::string help = RunProgram({"design", "--help"}).out;
    const auto folder = std::filesystem::temp_directory_path() / "orvalex-kep-reach";
    std::filesystem::create_directories(folder);
    for (const SettingRow& row : calc_core::SettingRows()) {
        SCOPED_TRACE(std::string(row.key));
        const AnalysisSettings settings = WithOther(row);
        const std::string value = calc_core::SettingText(row, settings);
        // The JSON, read back.
        const nlohmann::ordered_json json = analysis_report::SettingsJson(settings);
        ASSERT_TRUE(json.contains(std::string(row.key)));
        analysis_report::JsonReader reader = analysis_report::JsonReader::AtPath(json, "");
        EXPECT_EQ(calc_core::SettingText(row, analysis_report::ReadSettingsJson(reader)), value);
        // A design file, saved and opened.
        design_file::Design design;
        design.inputs = {10000, 2.5, 40, 30, 0};
        design.settings = settings;
        const auto read = design_file::ReadDesign(design_file::DesignText(design), "row.okep");
        ASSERT_TRUE(read.design) << read.error;
        EXPECT_EQ(calc_core::SettingText(row, read.design->settings), value);
        // The report's Settings section: every setting of the analysis, the diode's with one.
        if (row.group == calc_core::SettingGroup::Analysis) {
            const analysis_report::Report report =
                analysis_report::MakeReport(calc_core::Tab::Calc, CalcExample, settings,
                                            calc_core::AnalyseDesign(CalcExample, settings), ".");
            EXPECT_NE(analysis_report::FindCell(report.settings, row.label, "Value"), nullptr);
        }
        // The command line: its help, and its flag into the analysis' settings.
        const bool flag = row.kind == SettingKind::Flag;
        const std::string negated = flag ? calc_core::NegatedFlag(row) : std::string();
        EXPECT_NE(
            help.find(flag ? negated : std::string(row.flag) + " " + calc_core::ValueName(row)),
            std::string::npos);
        std::string flagValue = OtherText(row);
        if (row.kind == SettingKind::List) {
            flagValue = (folder / std::string(row.key)).string();
            std::ofstream(flagValue, std::ios::binary) << OtherText(row);
        }
        std::vector<std::string> args = {"design", "--r2",     "10k", "--vref", "2.5", "--vo-max",
                                         "40",     "--vo-min", "30",  "--vf",   "0.6", "--json"};
        if (flag) {
            args.push_back(flagValue == "no" ? negated : std::string(row.flag));
        } else {
            args.insert(args.end(), {std::string(row.flag), flagValue});
        }
        if (row.kind == SettingKind::OptionalNumber) {
            args.insert(args.end(), {row.key == "r2_min" ? "--r2-max" : "--r2-min", "4k7"});
        }
        const auto ran = RunProgram(args);
        ASSERT_EQ(ran.status, 0) << ran.err;
        EXPECT_EQ(
            nlohmann::ordered_json::parse(ran.out)["analysis"]["settings"][std::string(row.key)],
            json[std::string(row.key)]);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
