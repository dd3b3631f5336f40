// Answering the page's requests: parsing, the ops, and the state a window keeps between presses.
#include "web_page/api/request_handler.h"

#include "analysis_report/fit_json.h"
#include "analysis_report/json_reader.h"
#include "analysis_report/press_section.h"
#include "analysis_report/settings_json.h"
#include "calc_core/design_tab.h"
#include "calc_core/preferred_values.h"
#include "web_page/api/analysis_response.h"
#include "web_page/api/describe_response.h"
#include "web_page/api/press_response.h"
#include "web_page/api/protocol_keys.h"

#include <cmath>
#include <exception>

namespace web_page {
namespace {

using namespace calc_core;
using analysis_report::Json;
using analysis_report::JsonReader;

// The settings a request may give, by the keys of their table. The core judges the values; here
// only their types and a choice's name.
std::optional<AnalysisSettings> ReadSettings(const Json& object, std::string& error) {
    JsonReader reader(object, std::string(keys::Settings));
    const AnalysisSettings settings = analysis_report::ReadSettingsJson(reader);
    if (reader.failed()) {
        error = reader.error();
        return std::nullopt;
    }
    return settings;
}

// The pair to fit. Only the shape is judged here; a rank or resistance out of range is the core's
// to refuse, in the report's reason, as the window's own fields would show it.
std::optional<FitChoice> ReadFit(const Json& object, std::string& error) {
    JsonReader reader(object, std::string(keys::Fit));
    const auto fit = analysis_report::ReadFitJson(reader);
    if (reader.failed()) {
        error = reader.error();
    }
    return fit;
}

// What an analysis and its document are asked for with.
struct AnalysisRequest {
    std::size_t tab = 0;
    std::string decimal;
    AnalysisSettings settings;
    std::optional<FitChoice> fit;
};

// The tab, separator, settings and fit of a request whose members the reader has allowed.
std::optional<AnalysisRequest> ReadAnalysisRequest(JsonReader& reader, const Json& request,
                                                   std::string& error) {
    const auto tab = reader.Word(keys::Tab, {TabKey(Tab::Calc), TabKey(Tab::Check)});
    const auto decimal = reader.String(keys::Decimal, NumberLocale{}.decimalSeparator);
    const auto settingsObject = reader.OptionalObject(keys::Settings);
    const bool fitted = !reader.failed() && request.contains(keys::Fit);
    const auto fitObject = reader.OptionalObject(keys::Fit);
    if (reader.failed()) {
        error = reader.error();
        return std::nullopt;
    }
    AnalysisRequest analysis{*tab, *decimal, {}, std::nullopt};
    const auto settings = ReadSettings(*settingsObject, error);
    if (!settings || (fitted && !(analysis.fit = ReadFit(*fitObject, error)))) {
        return std::nullopt;
    }
    analysis.settings = *settings;
    return analysis;
}

Json ErrorResponse(const std::string& text) {
    return {{keys::Error, text}};
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
        JsonReader reader(request, "request");
        const auto op = reader.Word(
            keys::Op, {keys::OpPress, keys::OpAnalyse, keys::OpDescribe, keys::OpReportHtml});
        if (reader.failed()) {
            return Dump(ErrorResponse(reader.error()));
        }
        const Json response = *op == 0   ? Press(request, error)
                              : *op == 1 ? Analyse(request, error)
                              : *op == 2 ? Describe(request, error)
                                         : ReportHtml(request, error);
        return Dump(error.empty() ? response : ErrorResponse(error));
    } catch (const std::exception& fault) {
        // Only running out of memory gets here; the state is as the last whole press left it.
        return Dump(ErrorResponse(std::string("the request failed: ") + fault.what()));
    }
}

RequestHandler::Json RequestHandler::Press(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly(
        {keys::Op, keys::Tab, keys::Yes, keys::No, keys::Texts, keys::Decimal, keys::Group});
    const auto tab = reader.Word(keys::Tab, {TabKey(Tab::Calc), TabKey(Tab::Check)});
    const auto yes = reader.Bool(keys::Yes);
    const auto no = reader.Bool(keys::No);
    const auto texts = reader.Strings(keys::Texts, TabInputTexts{}.size());
    const NumberLocale defaults;
    const auto decimal = reader.String(keys::Decimal, defaults.decimalSeparator);
    const auto group = reader.String(keys::Group, defaults.groupSeparator);
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
            m_designs[std::size_t(Tab::Calc)] = std::move(design);
            m_results[std::size_t(Tab::Calc)] = analysis_report::PressSection(press);
        }
        return CalcPressResponse(press, recorded);
    }
    const CheckOutcome press = CheckPress(*yes, *no, fields, locale, m_checkResults);
    auto design = DesignOfPress(press);
    const bool recorded = design.has_value();
    if (recorded) {
        m_designs[std::size_t(Tab::Check)] = std::move(design);
        m_results[std::size_t(Tab::Check)] = analysis_report::PressSection(press);
    }
    return CheckPressResponse(press, recorded);
}

RequestHandler::Json RequestHandler::Analyse(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op, keys::Tab, keys::Decimal, keys::Settings, keys::Fit});
    const auto analysis = ReadAnalysisRequest(reader, request, error);
    if (!analysis) {
        return nullptr;
    }
    const auto& design = m_designs[analysis->tab];
    if (!design) {
        return {{keys::Recorded, false}};
    }
    return AnalysisResponse(Tab(analysis->tab), *design, analysis->settings, analysis->fit,
                            analysis->decimal);
}

RequestHandler::Json RequestHandler::ReportHtml(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly(
        {keys::Op, keys::Tab, keys::Decimal, keys::Settings, keys::Fit, keys::Date, keys::Note});
    analysis_report::ReportDocument document;
    const auto date = reader.String(keys::Date);
    const auto note = reader.String(keys::Note, "");
    const auto analysis = ReadAnalysisRequest(reader, request, error);
    if (!analysis) {
        return nullptr;
    }
    const auto& design = m_designs[analysis->tab];
    if (!design) {
        return {{keys::Recorded, false}};
    }
    document.date = *date;
    document.note = *note;
    document.press = m_results[analysis->tab];
    document.decimalSeparator = analysis->decimal;
    return ReportHtmlResponse(Tab(analysis->tab), *design, analysis->settings, analysis->fit,
                              document);
}

RequestHandler::Json RequestHandler::Describe(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op});
    if (reader.failed()) {
        error = reader.error();
        return nullptr;
    }
    return DescribeResponse();
}

} // namespace web_page
