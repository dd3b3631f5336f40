// Answering the page's requests: parsing, the ops, and the state a window keeps between presses.
#include "web_page/api/request_handler.h"

#include "calc_core/design_tab.h"
#include "calc_core/preferred_values.h"
#include "web_page/api/analysis_response.h"
#include "web_page/api/press_response.h"
#include "web_page/api/request_reader.h"

#include <cmath>
#include <exception>

namespace web_page {
namespace {

using namespace calc_core;

// The settings a request may give, by the keys of their table. The core judges the values; here
// only their types and a choice's name.
std::optional<AnalysisSettings> ReadSettings(const Json& object, std::string& error) {
    RequestReader reader(object, "settings");
    std::vector<std::string_view> keys;
    for (const SettingRow& row : SettingRows()) {
        keys.push_back(row.key);
    }
    reader.AllowOnly(keys);
    AnalysisSettings settings;
    for (const SettingRow& row : SettingRows()) {
        if (row.kind == SettingKind::Choice) {
            const auto name = reader.String(row.key, row.choices[row.choiceOf(settings)]);
            const auto choice = name ? ChoiceIndex(row, *name) : std::nullopt;
            if (choice) {
                row.choose(settings, *choice);
            } else if (name) {
                reader.Fail("\"" + std::string(row.key) + "\" must be one of " +
                            ChoiceList(row, ", "));
            }
        } else if (const auto value = reader.OptionalNumber(row.key)) {
            settings.*row.number = *value;
        }
    }
    if (reader.failed()) {
        error = reader.error();
        return std::nullopt;
    }
    return settings;
}

// The pair to fit: {"pair": rank} or {"r1": ohms, "r3": ohms}. Only the shape is judged here; a
// rank or resistance out of range is the core's to refuse, in the report's reason, as the
// window's own fields would show it.
std::optional<FitChoice> ReadFit(const Json& object, std::string& error) {
    RequestReader reader(object, "fit");
    reader.AllowOnly({FitPairField.key, FitR1Field.key, FitR3Field.key});
    const bool pair = !reader.failed() && object.contains(FitPairField.key);
    const auto rank = reader.OptionalNumber(FitPairField.key);
    const auto r1 = reader.OptionalNumber(FitR1Field.key);
    const auto r3 = reader.OptionalNumber(FitR3Field.key);
    if (!reader.failed()) {
        if (pair ? (r1 || r3) : (!r1 || !r3)) {
            reader.Fail("the fit must be {\"pair\": rank} or {\"r1\": ohms, \"r3\": ohms}");
        } else if (pair && !(*rank == std::floor(*rank) && std::abs(*rank) <= 1e9)) {
            reader.Fail("\"pair\" must be a whole number");
        }
    }
    if (reader.failed()) {
        error = reader.error();
        return std::nullopt;
    }
    return pair ? FitChoice::Pair(int(*rank)) : FitChoice::Typed(*r1, *r3);
}

Json ErrorResponse(const std::string& text) {
    return {{"error", text}};
}

// Never throws: text that is not UTF-8 is replaced rather than refused.
std::string Dump(const Json& response) {
    return response.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace

std::string RequestHandler::HandleRequest(std::string_view json) {
    try {
        const Json request = Json::parse(json, nullptr, false);
        if (request.is_discarded()) {
            return Dump(ErrorResponse("the request is not valid JSON"));
        }
        std::string error;
        RequestReader reader(request, "request");
        const auto op = reader.Word("op", {"press", "analyse"});
        if (reader.failed()) {
            return Dump(ErrorResponse(reader.error()));
        }
        const Json response = *op == 0 ? Press(request, error) : Analyse(request, error);
        return Dump(error.empty() ? response : ErrorResponse(error));
    } catch (const std::exception& fault) {
        // Only running out of memory gets here; the state is as the last whole press left it.
        return Dump(ErrorResponse(std::string("the request failed: ") + fault.what()));
    }
}

RequestHandler::Json RequestHandler::Press(const Json& request, std::string& error) {
    RequestReader reader(request, "request");
    reader.AllowOnly({"op", "tab", "yes", "no", "texts", "decimal", "group"});
    const auto tab = reader.Word("tab", {TabKey(Tab::Calc), TabKey(Tab::Check)});
    const auto yes = reader.Bool("yes");
    const auto no = reader.Bool("no");
    const auto texts = reader.Strings("texts", TabInputTexts{}.size());
    const NumberLocale defaults;
    const auto decimal = reader.String("decimal", defaults.decimalSeparator);
    const auto group = reader.String("group", defaults.groupSeparator);
    if (reader.failed()) {
        error = reader.error();
        return nullptr;
    }
    TabInputTexts fields;
    std::copy(texts->begin(), texts->end(), fields.begin());
    const NumberLocale locale{*decimal, *group};

    if (Tab(*tab) == Tab::Calc) {
        const CalcPressOutcome press = CalcPress(*yes, *no, fields, locale);
        auto design = DesignOfPress(press);
        const bool recorded = design.has_value();
        if (recorded) {
            m_designs[std::size_t(Tab::Calc)] = design;
        }
        return CalcPressResponse(press, recorded);
    }
    const CheckOutcome press = CheckPress(*yes, *no, fields, locale, m_checkResults);
    auto design = DesignOfPress(press);
    const bool recorded = design.has_value();
    if (recorded) {
        m_designs[std::size_t(Tab::Check)] = design;
    }
    return CheckPressResponse(press, recorded);
}

RequestHandler::Json RequestHandler::Analyse(const Json& request, std::string& error) {
    RequestReader reader(request, "request");
    reader.AllowOnly({"op", "tab", "decimal", "settings", "fit"});
    const auto tab = reader.Word("tab", {TabKey(Tab::Calc), TabKey(Tab::Check)});
    const auto decimal = reader.String("decimal", NumberLocale{}.decimalSeparator);
    const auto settingsObject = reader.OptionalObject("settings");
    const bool fitted = !reader.failed() && request.contains("fit");
    const auto fitObject = reader.OptionalObject("fit");
    if (reader.failed()) {
        error = reader.error();
        return nullptr;
    }
    const auto settings = ReadSettings(*settingsObject, error);
    if (!settings) {
        return nullptr;
    }
    std::optional<FitChoice> fit;
    if (fitted && !(fit = ReadFit(*fitObject, error))) {
        return nullptr;
    }
    const auto& design = m_designs[*tab];
    if (!design) {
        return {{"recorded", false}};
    }
    return AnalysisResponse(Tab(*tab), *design, *settings, fit, *decimal);
}

} // namespace web_page
