// Writing a press and its analysis as one JSON object with nlohmann/json.
#include "command_line/json_output.h"

#include "analysis_report/analysis_json.h"

#include <nlohmann/json.hpp>

#include <string>

namespace command_line {
namespace {

using namespace calc_core;
using analysis_report::Json;

Json PressJson(const PressReport& report) {
    Json texts = Json::object();
    for (const ResultText& text : report.texts) {
        texts[std::string(text.name)] = text.text;
    }
    return {
        {"tab", std::string(TabKey(report.tab))},
        {"diode", report.diode},
        {"message", report.message == PressMessage::None
                        ? Json(nullptr)
                        : Json(std::string(MessageText(report.message)))},
        {"texts", texts},
        {"flagged", report.flagged.empty() ? Json(nullptr) : Json(std::string(report.flagged))},
    };
}

} // namespace

void WriteJson(const PressReport& report, std::ostream& out) {
    Json document = {{"press", PressJson(report)}};
    if (report.analysis.analysis) {
        document["analysis"] = analysis_report::AnalysisJson(*report.analysis.analysis);
    } else {
        document["analysis"] = nullptr;
        document["reason"] = report.analysis.reason;
    }
    // Invalid UTF-8 cannot come from the core's texts; should it ever, it is replaced, not thrown.
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

} // namespace command_line
