// The analysis as one JSON object of numbers, with nlohmann/json.
#include "analysis_report/analysis_json.h"

#include "analysis_report/settings_json.h"
#include "analysis_report/synthesis_json.h"
#include "calc_core/error_terms.h"

#include <algorithm>
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

Json LevelsJson(const SetAnalysis& analysis) {
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
            {"collapses", level.collapses},
        });
    }
    return levels;
}

Json FaultsJson(const SetAnalysis& analysis) {
    Json faults = Json::object();
    Json overvoltage = Json::array();
    Json collapse = Json::array();
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
        if (fault.collapses) {
            collapse.push_back(name);
        }
    }
    faults["overvoltage"] = overvoltage;
    faults["collapse"] = collapse;
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
            {"meets_spec", pair.meetsSpec},
            {"spec_margin", pair.specMargin},
        });
    }
    return {{"series", std::string(SeriesName(analysis.settings.series))}, {"pairs", pairs}};
}

// Each quantity's share by its key, in the order the JSON has always given them.
Json SharesJson(const ToleranceLevel& level) {
    Json shares = Json::object();
    for (ToleranceQuantity quantity :
         {ToleranceQuantity::R1, ToleranceQuantity::R2, ToleranceQuantity::R3,
          ToleranceQuantity::Vref, ToleranceQuantity::Level, ToleranceQuantity::Vf,
          ToleranceQuantity::FbCurrent}) {
        shares[std::string(QuantityKey(quantity))] = level.shares[Index(quantity)];
    }
    return shares;
}

Json ToleranceJson(const SetAnalysis& analysis, const AnalysisSettings& settings, bool diode) {
    Json levels = Json::array();
    for (const ToleranceLevel& level : analysis.tolerance) {
        levels.push_back({
            {"pin_v", level.pinV},
            {"min", level.min},
            {"max", level.max},
            {"rss", level.rss},
            {"shares", SharesJson(level)},
            {"overlaps_next", level.overlapsNext},
            {"diode_may_block", level.diodeMayBlock},
        });
    }
    // The settings the bands are for, by their keys: each term's, and the temperature range.
    Json json = Json::object();
    for (const SettingRow& row : SettingRows()) {
        const bool term = std::any_of(std::begin(ErrorTerms), std::end(ErrorTerms),
                                      [&](const ErrorTerm& t) { return t.setting == row.number; });
        if (row.number != nullptr && (term || row.number == &AnalysisSettings::tempMinC ||
                                      row.number == &AnalysisSettings::tempMaxC)) {
            json[std::string(row.key)] =
                row.diodeOnly && !diode ? Json(nullptr) : Json(settings.*row.number);
        }
    }
    json["levels"] = levels;
    json["overlap"] = analysis.bandsOverlap;
    return json;
}

Json SpecJson(const SetAnalysis& analysis, double pct) {
    Json levels = Json::array();
    for (const SpecLevel& level : analysis.spec) {
        levels.push_back({
            {"pin_v", level.pinV},
            {"target", level.target},
            {"low", level.low},
            {"high", level.high},
            {"meets", level.meets},
            {"margin", level.margin},
        });
    }
    return {{"pct", pct}, {"levels", levels}};
}

// The design's inputs and targets with the resistors of the set analysed.
Json DesignJson(const AnalysisDesign& design, const Circuit& circuit) {
    return {
        {"r1", circuit.r1},
        {"r2", circuit.r2},
        {"r3", circuit.r3},
        {"vref", circuit.vref},
        {"vf", OptionalNumber(circuit.vf)},
        {"target_vo_max", OptionalNumber(design.targetVoMax)},
        {"target_vo_min", OptionalNumber(design.targetVoMin)},
    };
}

// The members every analysed set has, the design's and the fitted pair's alike; `preferred`
// goes between the faults and the tolerance bands when given.
Json SetJson(const SetAnalysis& set, const DesignAnalysis& analysis, Json design,
             const Json* preferred) {
    Json json = {
        {"design", std::move(design)}, {"levels", LevelsJson(set)}, {"span", set.span},
        {"p_r1_max", set.pR1Max},      {"p_r2_max", set.pR2Max},    {"faults", FaultsJson(set)},
    };
    if (preferred) {
        json["preferred"] = *preferred;
    }
    json["tolerance"] = ToleranceJson(set, analysis.settings, analysis.design.circuit.diode());
    json["spec"] = SpecJson(set, analysis.settings.specPct);
    return json;
}

Json FittedJson(const DesignAnalysis& analysis) {
    if (!analysis.fitted) {
        return nullptr;
    }
    const FittedAnalysis& f = *analysis.fitted;
    Json json =
        SetJson(f.set, analysis, DesignJson(analysis.design, analysis.shownCircuit()), nullptr);
    json["vo_change"] = f.voChange;
    json["r1"] = f.r1;
    json["r3"] = f.r3;
    json["r2"] = OptionalNumber(f.r2);
    json["pair"] = f.pairRank ? Json(*f.pairRank) : Json(nullptr);
    return json;
}

} // namespace

Json AnalysisJson(const DesignAnalysis& analysis) {
    const Circuit& circuit = analysis.design.circuit;
    const Json preferred = PreferredJson(analysis);
    Json json = SetJson(analysis.set, analysis, DesignJson(analysis.design, circuit), &preferred);
    json["fitted"] = FittedJson(analysis);
    json["settings"] = SettingsJson(analysis.settings);
    json["synthesis"] = analysis.synthesis ? SynthesisJson(*analysis.synthesis) : Json(nullptr);
    json["yield"] = analysis.yield ? YieldJson(*analysis.yield) : Json(nullptr);
    return json;
}

} // namespace analysis_report
