// Writing the synthesis and the yield estimate as JSON.
#include "analysis_report/synthesis_json.h"

#include "analysis_report/settings_json.h"

#include "calc_core/analysis_settings.h"

#include <string>

namespace analysis_report {
namespace {

using Json = nlohmann::ordered_json;
using namespace calc_core;

std::string_view StatusName(GradeStatus status) {
    switch (status) {
    case GradeStatus::Searched:
        return "searched";
    case GradeStatus::NoPartsList:
        return "no_parts_list";
    case GradeStatus::NoR2InRange:
        return "no_r2_in_range";
    case GradeStatus::NoR2Value:
        return "no_r2_value";
    case GradeStatus::Refused:
        return "refused";
    case GradeStatus::OverRating:
        return "over_rating";
    }
    return {};
}

Json BuildJson(const Build& build) {
    return {{"r1", build.r1}, {"r2", build.r2}, {"r3", build.r3}};
}

// The criterion's verdict on a build: whether it meets it, the figure that decided, the boards.
Json VerdictJson(const calc_core::CriterionVerdict& v) {
    const auto optional = [](const std::optional<double>& value) {
        return value ? Json(*value) : Json(nullptr);
    };
    return {{"meets", v.meets},
            {"margin", v.margin},
            {"ppm_high", optional(v.ppmHigh)},
            {"ppm_low", optional(v.ppmLow)},
            {"cpk", optional(v.cpk)},
            {"boards", v.boards}};
}

// What a build's parts dissipate at their nominal values [W], and the divider's current [A].
Json PowerJson(const calc_core::BuildPower& power) {
    return {{"r1_w", power.watts[0]},
            {"r2_w", power.watts[1]},
            {"r3_w", power.watts[2]},
            {"highest", "r" + std::to_string(power.highest + 1)},
            {"current_a", power.dividerCurrentA}};
}

Json MixedJson(const calc_core::MixedBuild& m) {
    return {{"grades", m.grades},
            {"r1", m.r1},
            {"r2", m.r2},
            {"r3", m.r3},
            {"price", m.price},
            {"power", PowerJson(m.power)},
            {"criterion", VerdictJson(m.verdict)}};
}

Json GradeJson(const GradeSynthesis& g) {
    const bool searched = g.status == GradeStatus::Searched;
    Json json = analysis_report::GradeJson(g.grade);
    json["status"] = std::string(StatusName(g.status));
    json["meets"] = g.meets();
    json["margin"] = searched ? Json(g.best.margin) : Json(nullptr);
    json["tightest_spec_pct"] = searched ? Json(g.tightestSpecPct) : Json(nullptr);
    json["yield"] = g.yield ? Json(*g.yield) : Json(nullptr);
    json["build"] = searched ? BuildJson(g.best) : Json(nullptr);
    json["power"] = searched ? PowerJson(g.power) : Json(nullptr);
    json["criterion"] = searched ? VerdictJson(g.verdict) : Json(nullptr);
    return json;
}

Json LimitJson(const SpecLimit& limit) {
    Json fixed = Json::array();
    for (const FixedSwing& swing : limit.fixed) {
        fixed.push_back({{"quantity", std::string(QuantityKey(swing.quantity))},
                         {"half_swing", swing.halfSwingV},
                         {"pct_of_target", swing.pctOfTarget},
                         {"share", swing.share}});
    }
    return {{"grade", limit.grade},     {"build", BuildJson(limit.build)},
            {"pin_v", limit.pinV},      {"target", limit.target},
            {"margin", limit.margin},   {"tightest_spec_pct", limit.tightestSpecPct},
            {"fixed", std::move(fixed)}};
}

} // namespace

std::string_view QuantityKey(ToleranceQuantity quantity) {
    switch (quantity) {
    case ToleranceQuantity::R1:
        return "r1";
    case ToleranceQuantity::R2:
        return "r2";
    case ToleranceQuantity::R3:
        return "r3";
    case ToleranceQuantity::Vref:
        return "vref";
    case ToleranceQuantity::Level:
        return "level";
    case ToleranceQuantity::FbCurrent:
        return "fb_current";
    case ToleranceQuantity::Vf:
        return "vf";
    }
    return {};
}

Json SynthesisJson(const Synthesis& synthesis) {
    Json grades = Json::array();
    for (const GradeSynthesis& grade : synthesis.grades) {
        grades.push_back(GradeJson(grade));
    }
    Json builds = Json::array();
    for (const Build& build : synthesis.builds) {
        Json json = BuildJson(build);
        json["margin"] = build.margin;
        builds.push_back(std::move(json));
    }
    return {{"grades", std::move(grades)},
            {"chosen", synthesis.chosen ? Json(*synthesis.chosen) : Json(nullptr)},
            {"builds", std::move(builds)},
            {"limit", synthesis.limit ? LimitJson(*synthesis.limit) : Json(nullptr)},
            {"mixed", synthesis.mixed ? MixedJson(*synthesis.mixed) : Json(nullptr)}};
}

Json YieldJson(const YieldEstimate& estimate) {
    Json levels = Json::array();
    for (const YieldLevel& level : estimate.levels) {
        levels.push_back({{"pin_v", level.pinV},
                          {"mean", level.mean},
                          {"sigma", level.sigma},
                          {"cpk", level.cpk ? Json(*level.cpk) : Json(nullptr)},
                          {"pass", level.passShare},
                          {"bin_low", level.binLow},
                          {"bin_width", level.binWidth},
                          {"bins", level.bins}});
    }
    const SettingRow& distribution = *FindSetting("distribution");
    return {{"boards", estimate.boards},
            {"seed", estimate.settings.seed},
            {"distribution",
             std::string(distribution.choices[std::size_t(estimate.settings.distribution)])},
            {"pass", estimate.yield},
            {"low95", estimate.interval.low},
            {"high95", estimate.interval.high},
            {"ppm_fail", estimate.ppmFail},
            {"temperatures", estimate.temperatures},
            {"passing", estimate.passing},
            {"levels", std::move(levels)}};
}

} // namespace analysis_report
