// The analysis as one JSON object of numbers, with nlohmann/json.
#include "analysis_report/analysis_json.h"

#include <string>
#include <string_view>

namespace analysis_report {
namespace {

using namespace calc_core;

// The names of the fault states, as the document lists the overvoltage ones.
std::string_view FaultName(FaultState state) {
    switch (state) {
    case FaultState::PinAtZero:
        return "pin_0v";
    case FaultState::PinOpen:
        return "pin_open";
    case FaultState::PinAtUserVoltage:
        return "pin_user";
    }
    return {};
}

Json OptionalNumber(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json LevelsJson(const DesignAnalysis& analysis) {
    Json levels = Json::array();
    for (const LevelAnalysis& level : analysis.levels) {
        levels.push_back({
            {"pin_v", level.pinV},
            {"vo", level.vo},
            {"vo_formula", level.voFormula},
            {"i_r1", level.iR1},
            {"i_r2", level.iR2},
            {"i_r3", level.iR3},
            {"diode_conducts", level.diodeConducts},
        });
    }
    return levels;
}

Json FaultsJson(const DesignAnalysis& analysis) {
    Json faults = Json::object();
    Json overvoltage = Json::array();
    for (const FaultAnalysis& fault : analysis.faults) {
        const std::string name(FaultName(fault.state));
        if (fault.state == FaultState::PinAtUserVoltage) {
            faults[name] = {{"pin_v", OptionalNumber(fault.pinV)}, {"vo", fault.vo}};
        } else {
            faults[name] = fault.vo;
        }
        if (fault.overvoltage) {
            overvoltage.push_back(name);
        }
    }
    faults["overvoltage"] = overvoltage;
    return faults;
}

Json PreferredJson(const DesignAnalysis& analysis) {
    Json pairs = Json::array();
    for (const PreferredPair& pair : analysis.preferred) {
        pairs.push_back({
            {"r1", pair.r1},
            {"r3", pair.r3},
            {"levels", pair.levels},
            {"error_vo_max", pair.errorVoMax},
            {"error_vo_min", pair.errorVoMin},
            {"worst_error", pair.worstError},
        });
    }
    return {{"series", std::string(SeriesName(analysis.settings.series))}, {"pairs", pairs}};
}

Json ToleranceJson(const DesignAnalysis& analysis) {
    const AnalysisSettings& settings = analysis.settings;
    const bool diode = analysis.design.circuit.diode();
    Json levels = Json::array();
    for (const ToleranceLevel& level : analysis.tolerance) {
        const auto share = [&](ToleranceQuantity quantity) {
            return level.shares[static_cast<std::size_t>(quantity)];
        };
        levels.push_back({
            {"pin_v", level.pinV},
            {"min", level.min},
            {"max", level.max},
            {"rss", level.rss},
            {"shares",
             {
                 {"r1", share(ToleranceQuantity::R1)},
                 {"r2", share(ToleranceQuantity::R2)},
                 {"r3", share(ToleranceQuantity::R3)},
                 {"vref", share(ToleranceQuantity::Vref)},
                 {"level", share(ToleranceQuantity::Level)},
                 {"vf", share(ToleranceQuantity::Vf)},
             }},
        });
    }
    return {
        {"resistor_pct", settings.resistorTolerancePct},
        {"vref_pct", settings.vrefTolerancePct},
        {"level_mv", settings.levelAccuracyMv},
        {"vf_v", diode ? Json(settings.vfSpreadV) : Json(nullptr)},
        {"levels", levels},
        {"overlap", analysis.bandsOverlap},
    };
}

} // namespace

Json AnalysisJson(const DesignAnalysis& analysis) {
    const Circuit& circuit = analysis.design.circuit;
    return {
        {"design",
         {
             {"r1", circuit.r1},
             {"r2", circuit.r2},
             {"r3", circuit.r3},
             {"vref", circuit.vref},
             {"vf", OptionalNumber(circuit.vf)},
             {"target_vo_max", OptionalNumber(analysis.design.targetVoMax)},
             {"target_vo_min", OptionalNumber(analysis.design.targetVoMin)},
         }},
        {"levels", LevelsJson(analysis)},
        {"span", analysis.span},
        {"p_r1_max", analysis.pR1Max},
        {"p_r2_max", analysis.pR2Max},
        {"faults", FaultsJson(analysis)},
        {"preferred", PreferredJson(analysis)},
        {"tolerance", ToleranceJson(analysis)},
    };
}

} // namespace analysis_report
