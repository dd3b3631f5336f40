// Writing the settings' table and the fit's fields for a front end to make its inputs from.
#include "web_page/api/describe_response.h"

#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "web_page/api/protocol_keys.h"

namespace web_page {
namespace {

using namespace calc_core;
using Json = nlohmann::ordered_json;

Json SettingJson(const SettingRow& row) {
    Json field = {
        {keys::Kind, row.kind == SettingKind::Choice ? keys::KindChoice : keys::KindNumber},
        {keys::Id, row.id},
        {keys::Key, row.key},
        {keys::Label, row.label},
        {keys::Unit, row.unit},
        {keys::PlusMinus, row.plusMinus},
        {keys::Help, HelpText(row)},
        {keys::DiodeOnly, row.diodeOnly}};
    if (row.kind == SettingKind::Choice) {
        field[keys::Default] = row.choices[DefaultChoice(row)];
        field[keys::Choices] = row.choices;
        return field;
    }
    field[keys::Default] = DefaultNumber(row);
    field[keys::Lowest] = row.lowest;
    field[keys::Highest] = row.highest;
    field[keys::Decimals] = row.decimals;
    return field;
}

// A field of the fit: the rank, or a typed resistance in ohms; with no default, since it starts
// from the pair analysed.
Json FitFieldJson(const FitField& fit, std::string_view unit) {
    return {{keys::Kind, keys::KindNumber},
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
}

} // namespace

Json DescribeResponse() {
    Json settings = Json::array();
    for (const SettingRow& row : SettingRows()) {
        settings.push_back(SettingJson(row));
    }
    const Json typed = {FitFieldJson(FitR1Field, "\u03a9"), FitFieldJson(FitR3Field, "\u03a9")};
    return {{keys::Settings, std::move(settings)},
            {keys::Fit, {{keys::Rank, FitFieldJson(FitPairField, "")}, {keys::Typed, typed}}}};
}

} // namespace web_page
