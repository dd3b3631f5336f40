// Writing the settings' table and the fit's fields for a front end to make its inputs from.
#include "web_page/api/describe_response.h"

#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "calc_core/diode_layouts.h"
#include "design_file/design_file.h"
#include "web_page/api/protocol_keys.h"

namespace web_page {
namespace {

using namespace calc_core;
using Json = nlohmann::ordered_json;

std::string_view KindKey(SettingKind kind) {
    switch (kind) {
    case SettingKind::Number:
        return keys::KindNumber;
    case SettingKind::OptionalNumber:
        return keys::KindOptionalNumber;
    case SettingKind::Whole:
        return keys::KindWhole;
    case SettingKind::Choice:
        return keys::KindChoice;
    case SettingKind::List:
        return keys::KindList;
    case SettingKind::Flag:
        return keys::KindFlag;
    }
    return {};
}

// What each kind adds: a number's limits and decimals, a whole number's limits as decimal text
// (beyond JavaScript's exact numbers), a choice's names, a list's text.
void AddKindMembers(Json& field, const SettingRow& row) {
    switch (row.kind) {
    case SettingKind::Choice:
        field[keys::Default] = row.choices[DefaultChoice(row)];
        field[keys::Choices] = row.choices;
        return;
    case SettingKind::Whole:
        field[keys::Default] = std::to_string(DefaultWhole(row));
        field[keys::Lowest] = std::to_string(row.lowestWhole);
        field[keys::Highest] = std::to_string(row.highestWhole);
        return;
    case SettingKind::List:
        field[keys::Default] = DefaultListText(row);
        return;
    case SettingKind::Flag:
        field[keys::Default] = AnalysisSettings{}.*row.onOff;
        return;
    case SettingKind::OptionalNumber:
        field[keys::Default] = nullptr;
        field[keys::Resistance] = row.resistance;
        break;
    case SettingKind::Number:
        field[keys::Default] = DefaultNumber(row);
        break;
    }
    field[keys::Lowest] = row.lowest;
    field[keys::Highest] = row.highest;
    field[keys::Decimals] = row.decimals;
}

Json SettingJson(const SettingRow& row) {
    Json field = {{keys::Kind, KindKey(row.kind)},
                  {keys::Id, row.id},
                  {keys::Key, row.key},
                  {keys::Label, row.label},
                  {keys::Unit, row.unit.symbol},
                  {keys::PlusMinus, row.plusMinus},
                  {keys::Help, HelpText(row)},
                  {keys::DiodeOnly, row.diodeOnly}};
    AddKindMembers(field, row);
    return field;
}

// A field of the fit: the rank, or a typed resistance in ohms; with no default, since it starts
// from the pair analysed. R2 may be left empty: the design's.
Json FitFieldJson(const FitField& fit, std::string_view unit) {
    const bool optional = &fit == &FitR2Field;
    Json field = {{keys::Kind, optional ? keys::KindOptionalNumber : keys::KindNumber},
                  {keys::Id, fit.id},
                  {keys::Key, fit.key},
                  {keys::Label, fit.label},
                  {keys::Unit, unit},
                  {keys::PlusMinus, false},
                  {keys::Help, ""},
                  {keys::DiodeOnly, false},
                  {keys::Default, nullptr},
                  {keys::Lowest, fit.lowest},
                  {keys::Highest, fit.highest},
                  {keys::Decimals, fit.decimals}};
    if (optional) {
        field[keys::Resistance] = false;
    }
    return field;
}

// Each tab's diode layout, and the rows a Calc press sets by its choice.
Json LayoutsJson() {
    Json layouts = Json::object();
    for (const calc_core::Tab tab : {calc_core::Tab::Calc, calc_core::Tab::Check}) {
        Json rows = Json::array();
        for (const calc_core::DiodeLayoutRow& row : calc_core::DiodeLayout(tab)) {
            rows.push_back({row.control, row.withDiode, row.withoutDiode});
        }
        layouts[std::string(calc_core::TabKey(tab))] = std::move(rows);
    }
    return layouts;
}

Json PressLayoutsJson() {
    Json layouts = Json::object();
    for (const auto& [key, choice] : {std::pair{keys::LayoutYes, calc_core::DiodeChoice::Yes},
                                      std::pair{keys::LayoutNo, calc_core::DiodeChoice::No}}) {
        Json rows = Json::array();
        for (const calc_core::PressLayoutRow& row :
             calc_core::PressLayout(calc_core::Tab::Calc, choice)) {
            rows.push_back({row.control, row.shown});
        }
        layouts[std::string(key)] = std::move(rows);
    }
    return layouts;
}

} // namespace

Json DescribeResponse() {
    Json settings = Json::array();
    for (const SettingRow& row : SettingRows()) {
        settings.push_back(SettingJson(row));
    }
    const Json typed = {FitFieldJson(FitR1Field, "\u03a9"), FitFieldJson(FitR3Field, "\u03a9"),
                        FitFieldJson(FitR2Field, "\u03a9")};
    return {{keys::Settings, std::move(settings)},
            {keys::Fit, {{keys::Rank, FitFieldJson(FitPairField, "")}, {keys::Typed, typed}}},
            {keys::Extension, design_file::Extension},
            {keys::Layouts, LayoutsJson()},
            {keys::PressLayouts, PressLayoutsJson()},
            {keys::DesignFileBytes, design_file::MaxFileBytes}};
}

} // namespace web_page
