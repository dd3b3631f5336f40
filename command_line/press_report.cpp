// Running a press on the core and analysing the design it computed with.
#include "command_line/press_report.h"

#include "analysis_report/press_section.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"

#include <optional>
#include <string>

namespace command_line {
namespace {

// The analysis's extras as the core takes them.
calc_core::AnalysisAsks AsksOf(const Request& request) {
    calc_core::AnalysisAsks asks;
    asks.synthesis = request.extras.meetSpec;
    asks.yield = request.extras.yield;
    asks.threads = request.extras.threads;
    return asks;
}

using namespace calc_core;

// The flags' texts are written with '.' and never grouped.
const NumberLocale kFlagNotation{".", ""};

void AddText(PressReport& report, std::string_view name, const std::optional<std::string>& text) {
    if (text) {
        report.texts.push_back({name, *text});
    }
}

std::string GateReason(PressMessage message) {
    return "The press ended with \"" + std::string(MessageText(message)) +
           "\", so there is no design to analyse.";
}

void RunCalc(const Request& request, PressReport& report) {
    const CalcPressOutcome press =
        CalcPress(request.diode, !request.diode, request.texts, kFlagNotation);
    const DesignOutcome& result = press.result;
    report.message = result.message;
    report.flagged = analysis_report::RedElementName(result.flagged);
    report.results = analysis_report::PressSection(press);
    AddText(report, "R1", result.r1Text);
    AddText(report, "R3", result.r3Text);
    AddText(report, "Vo_mid", result.voMidText);
    const auto design = DesignOfPress(press); // as the press shows it, in whole ohms
    if (IsGateMessage(report.message)) {
        report.analysis.reason = GateReason(report.message);
    } else if (!design) {
        report.analysis.reason =
            "The press computed no R1 and R3 from these values, so there is no design to analyse.";
    } else {
        report.design = design;
        report.analysis = AnalyseDesign(*design, request.settings, request.fit, AsksOf(request));
    }
}

void RunCheck(const Request& request, PressReport& report) {
    CheckResults results;
    const CheckOutcome press =
        CheckPress(request.diode, !request.diode, request.texts, kFlagNotation, results);
    report.message = press.message;
    AddText(report, "Vo_max", press.voMaxText);
    AddText(report, "Vo_mid", press.voMidText);
    AddText(report, "Vo_min", press.voMinText);
    AddText(report, "Delta", press.deltaText);
    report.results = analysis_report::PressSection(press);
    if (const auto design = DesignOfPress(press)) {
        report.design = design;
        report.analysis = AnalyseDesign(*design, request.settings, request.fit, AsksOf(request));
    } else {
        report.analysis.reason = GateReason(report.message);
    }
}

} // namespace

PressReport RunPress(const Request& request) {
    PressReport report;
    report.tab = request.tab;
    report.diode = request.diode;
    report.settings = request.settings;
    if (request.tab == Tab::Calc) {
        RunCalc(request, report);
    } else {
        RunCheck(request, report);
    }
    return report;
}

bool IsGateMessage(PressMessage message) {
    return message == PressMessage::SelectDiode || message == PressMessage::InputMissing ||
           message == PressMessage::InputError;
}

int ExitStatus(PressMessage message) {
    if (message == PressMessage::None) {
        return 0;
    }
    return message == PressMessage::CalError ? 1 : 2;
}

} // namespace command_line
