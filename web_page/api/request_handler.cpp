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
#include "web_page/api/design_file_response.h"
#include "web_page/api/press_response.h"
#include "web_page/api/protocol_keys.h"
#include "web_page/api/read_setting_response.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <utility>

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

// The tab, separator, settings, fit and asks of a request whose members the reader has allowed.
template <typename Ask>
std::optional<Ask> ReadAnalysisAsk(JsonReader& reader, const Json& request, std::string& error) {
    const auto tab = reader.Word(keys::Tab, {TabKey(Tab::Calc), TabKey(Tab::Check)});
    const auto decimal = reader.String(keys::Decimal, NumberLocale{}.decimalSeparator);
    const auto settingsObject = reader.OptionalObject(keys::Settings);
    const bool fitted = !reader.failed() && request.contains(keys::Fit);
    const auto fitObject = reader.OptionalObject(keys::Fit);
    const auto synthesis = reader.Bool(keys::Synthesis, false);
    const auto yield = reader.Bool(keys::Yield, false);
    if (reader.failed()) {
        error = reader.error();
        return std::nullopt;
    }
    Ask ask{*tab, *decimal, {}, std::nullopt, *synthesis, *yield};
    const auto settings = ReadSettings(*settingsObject, error);
    if (!settings || (fitted && !(ask.fit = ReadFit(*fitObject, error)))) {
        return std::nullopt;
    }
    ask.settings = *settings;
    return ask;
}

// On every core when the yield runs all at once.
AnalysisAsks Asks(bool synthesis, bool yield = false) {
    AnalysisAsks asks;
    asks.synthesis = synthesis;
    asks.yield = yield;
    return asks;
}

Json ErrorResponse(const std::string& text) {
    return {{keys::Error, text}};
}

// Never throws: text that is not UTF-8 is replaced rather than refused.
std::string Dump(const Json& response) {
    return response.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// What a press and a saved design both hold: the tab, its option buttons, its boxes' texts and
// how numbers are written.
struct PressFields {
    Tab tab = Tab::Calc;
    bool yes = false;
    bool no = false;
    TabInputTexts texts{};
    NumberLocale locale;
};

// The press's members; nothing when one is wrong, the reader holding why.
std::optional<PressFields> ReadPressFields(JsonReader& reader) {
    const auto tab = reader.Word(keys::Tab, {TabKey(Tab::Calc), TabKey(Tab::Check)});
    const auto yes = reader.Bool(keys::Yes);
    const auto no = reader.Bool(keys::No);
    const auto texts = reader.Strings(keys::Texts, TabInputTexts{}.size());
    const NumberLocale defaults;
    const auto decimal = reader.String(keys::Decimal, defaults.decimalSeparator);
    const auto group = reader.String(keys::Group, defaults.groupSeparator);
    if (reader.failed()) {
        return std::nullopt;
    }
    PressFields fields{Tab(*tab), *yes, *no, {}, {*decimal, *group}};
    std::copy(texts->begin(), texts->end(), fields.texts.begin());
    return fields;
}

} // namespace

RequestHandler::RequestHandler(YieldSteps steps) : m_steps(steps) {}

std::string RequestHandler::HandleRequest(std::string_view json) {
    try {
        const Json request = Json::parse(json, nullptr, false);
        if (request.is_discarded()) {
            return Dump(ErrorResponse("the request is not valid JSON"));
        }
        std::string error;
        JsonReader reader(request, "request");
        const auto op =
            reader.Word(keys::Op, {keys::OpPress, keys::OpAnalyse, keys::OpDescribe,
                                   keys::OpReportHtml, keys::OpYieldStep, keys::OpReadSetting,
                                   keys::OpSaveDesign, keys::OpOpenDesign});
        if (reader.failed()) {
            return Dump(ErrorResponse(reader.error()));
        }
        using Op = Json (RequestHandler::*)(const Json&, std::string&);
        static constexpr Op ops[] = {&RequestHandler::Press,      &RequestHandler::Analyse,
                                     &RequestHandler::Describe,   &RequestHandler::ReportHtml,
                                     &RequestHandler::YieldStep,  &RequestHandler::ReadSetting,
                                     &RequestHandler::SaveDesign, &RequestHandler::OpenDesign};
        const Json response = (this->*ops[*op])(request, error);
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
    const std::optional<PressFields> fields = ReadPressFields(reader);
    if (!fields) {
        error = reader.error();
        return nullptr;
    }
    const auto& [tab, yes, no, texts, locale] = *fields;
    if (tab == Tab::Calc) {
        const CalcPressOutcome press = CalcPress(yes, no, texts, locale);
        return CalcPressResponse(press, m_record.Record(press));
    }
    const CheckOutcome press = CheckPress(yes, no, texts, locale, m_checkResults);
    return CheckPressResponse(press, m_record.Record(press));
}

RequestHandler::Json RequestHandler::Analyse(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op, keys::Tab, keys::Decimal, keys::Settings, keys::Fit,
                      keys::Synthesis, keys::Yield});
    const auto ask = ReadAnalysisAsk<AnalysisAsk>(reader, request, error);
    return ask ? AnalysisOrJob(*ask, std::nullopt) : nullptr;
}

RequestHandler::Json RequestHandler::ReportHtml(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op, keys::Tab, keys::Decimal, keys::Settings, keys::Fit,
                      keys::Synthesis, keys::Yield, keys::Date, keys::Note, keys::FileName});
    analysis_report::ReportDocument document;
    const auto date = reader.String(keys::Date);
    const auto note = reader.String(keys::Note, "");
    const auto fileName = reader.String(keys::FileName, "");
    const auto ask = ReadAnalysisAsk<AnalysisAsk>(reader, request, error);
    if (!ask) {
        return nullptr;
    }
    document.date = *date;
    document.note = *note;
    document.designFile = *fileName;
    document.press = m_record.results(Tab(ask->tab));
    document.decimalSeparator = ask->decimal;
    return AnalysisOrJob(*ask, std::move(document));
}

std::string RequestHandler::YieldKey(const AnalysisAsk& ask) const {
    return std::to_string(ask.tab) + " " + std::to_string(m_record.recordings(Tab(ask.tab))) + " " +
           (ask.synthesis ? "synthesis " : "") +
           analysis_report::SettingsJson(ask.settings).dump() + " " +
           analysis_report::FitJson(ask.fit).dump();
}

RequestHandler::Json
RequestHandler::AnalysisOrJob(const AnalysisAsk& ask,
                              std::optional<analysis_report::ReportDocument> document) {
    const auto& design = m_record.design(Tab(ask.tab));
    if (!design) {
        return {{keys::Recorded, false}};
    }
    AnalysisOutcome outcome = AnalyseDesign(*design, ask.settings, ask.fit, Asks(ask.synthesis));
    if (ask.yield && outcome.analysis) {
        std::string key = YieldKey(ask);
        if (std::string reason = YieldRefusal(YieldInputOf(*outcome.analysis)); !reason.empty()) {
            outcome = {std::nullopt, std::move(reason)};
        } else if (m_finished && m_finished->key == key) {
            SetYields(*outcome.analysis, m_finished->estimates);
        } else if (m_steps == YieldSteps::AllAtOnce) {
            outcome = AnalyseDesign(*design, ask.settings, ask.fit, Asks(ask.synthesis, true));
        } else {
            auto& slot = m_jobs[document ? 1 : 0];
            slot.emplace(Job{++m_jobsStarted, ask, *design, std::move(document), std::move(key),
                             YieldJob(std::move(*outcome.analysis))});
            return JobProgress(*slot);
        }
    }
    const Tab tab = Tab(ask.tab);
    return document ? ReportHtmlResponse(tab, *design, ask.settings, outcome, std::move(*document))
                    : AnalysisResponse(tab, *design, ask.settings, ask.fit, outcome, ask.decimal);
}

RequestHandler::Json RequestHandler::JobProgress(const Job& job) {
    return {{keys::Progress,
             {{keys::BoardsDone, job.yield.BoardsDone()}, {keys::Boards, job.yield.Boards()}}},
            {keys::Next, {{keys::Op, keys::OpYieldStep}, {keys::Job, job.id}}}};
}

RequestHandler::Json RequestHandler::YieldStep(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op, keys::Job, keys::Chunks});
    const auto id = reader.Number(keys::Job);
    const double chunks = reader.OptionalNumber(keys::Chunks).value_or(double(StepChunks));
    if (!reader.failed() && !(chunks >= 1 && chunks <= 1e6 && chunks == std::floor(chunks))) {
        reader.WrongType(keys::Chunks, "a whole number from 1 to 1000000");
    }
    auto* slot = std::find_if(m_jobs.begin(), m_jobs.end(), [&](const std::optional<Job>& job) {
        return !reader.failed() && job && double(job->id) == *id;
    });
    if (!reader.failed() && slot == m_jobs.end()) {
        reader.Fail("the yield estimate " + request[keys::Job].dump() + " is no longer under way");
    }
    if (reader.failed()) {
        error = reader.error();
        return nullptr;
    }
    (*slot)->yield.RunChunks(std::size_t(chunks));
    if (!(*slot)->yield.Done()) {
        return JobProgress(**slot);
    }
    Job job = std::move(**slot);
    slot->reset();
    m_finished = FinishedYields{job.key, job.yield.Estimates()};
    AnalysisOutcome outcome;
    outcome.analysis = job.yield.Finish();
    const Tab tab = Tab(job.ask.tab);
    return job.document ? ReportHtmlResponse(tab, job.design, job.ask.settings, outcome,
                                             std::move(*job.document))
                        : AnalysisResponse(tab, job.design, job.ask.settings, job.ask.fit, outcome,
                                           job.ask.decimal);
}

RequestHandler::Json RequestHandler::ReadSetting(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op, keys::Key, keys::Text});
    const auto key = reader.String(keys::Key);
    const auto text = reader.String(keys::Text);
    const SettingRow* row = reader.failed() ? nullptr : FindSetting(*key);
    if (!reader.failed() && !row) {
        reader.WrongType(keys::Key, "the key of a setting");
    }
    if (reader.failed() || !row) {
        error = reader.error();
        return nullptr;
    }
    return ReadSettingResponse(*row, *text);
}

RequestHandler::Json RequestHandler::SaveDesign(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op, keys::Tab, keys::Yes, keys::No, keys::Texts, keys::Decimal,
                      keys::Group, keys::Settings, keys::Fit, keys::Yield, keys::Note});
    const std::optional<PressFields> fields = ReadPressFields(reader);
    const auto note = reader.String(keys::Note, "");
    const auto yield = reader.Bool(keys::Yield, false);
    const auto settingsObject = reader.OptionalObject(keys::Settings);
    const bool fitted = !reader.failed() && request.contains(keys::Fit);
    const auto fitObject = reader.OptionalObject(keys::Fit);
    if (reader.failed()) {
        error = reader.error();
        return nullptr;
    }
    SavedTab saved{.tab = fields->tab,
                   .yes = fields->yes,
                   .no = fields->no,
                   .texts = fields->texts,
                   .locale = fields->locale,
                   .yieldEstimated = *yield,
                   .note = *note};
    const auto settings = ReadSettings(*settingsObject, error);
    if (!settings || (fitted && !(saved.fit = ReadFit(*fitObject, error)))) {
        return nullptr;
    }
    saved.settings = *settings;
    return SaveDesignResponse(saved);
}

RequestHandler::Json RequestHandler::OpenDesign(const Json& request, std::string& error) {
    JsonReader reader(request, "request");
    reader.AllowOnly({keys::Op, keys::File, keys::FileName, keys::Decimal});
    const auto file = reader.String(keys::File);
    const auto name = reader.String(keys::FileName);
    const auto decimal = reader.String(keys::Decimal, NumberLocale{}.decimalSeparator);
    if (reader.failed()) {
        error = reader.error();
        return nullptr;
    }
    return OpenDesignResponse(*file, *name, *decimal);
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
