// Writing the analysis report, its plain text, the plot's numbers and the analysis JSON.
#include "web_page/api/analysis_response.h"

#include "analysis_report/analysis_json.h"
#include "analysis_report/analysis_report.h"
#include "analysis_report/plot_data.h"
#include "analysis_report/report_html.h"

namespace web_page {
namespace {

using namespace analysis_report;
using Json = nlohmann::ordered_json;

Json SectionJson(const Section& section) {
    Json flagged = Json::array();
    for (const auto& [row, column] : section.flagged) {
        flagged.push_back({row, column});
    }
    Json notes = Json::array();
    for (const Note& note : section.notes) {
        notes.push_back({{"text", note.text}, {"warning", note.warning}});
    }
    return {{"name", section.name}, {"subject", section.subject},    {"header", section.header},
            {"rows", section.rows}, {"flagged", std::move(flagged)}, {"notes", std::move(notes)}};
}

Json ReportJson(const Report& report) {
    Json sections = Json::array();
    for (const Section& section : report.sections) {
        sections.push_back(SectionJson(section));
    }
    return {{"heading", report.heading},
            {"design", SectionJson(report.design)},
            {"settings", SectionJson(report.settings)},
            {"reason", report.reason},
            {"sections", std::move(sections)}};
}

Json Pair(const std::pair<double, double>& pair) {
    return {pair.first, pair.second};
}

// Null when the values cannot be placed on a screen: the page then draws no plot.
Json PlotJson(const PlotData& plot) {
    if (!plot.drawable) {
        return nullptr;
    }
    Json curve = Json::array();
    for (const auto& point : plot.curve) {
        curve.push_back(Pair(point));
    }
    Json marks = Json::array();
    for (const PlotMark& mark : plot.marks) {
        marks.push_back({{"pin_v", mark.pinV},
                         {"vo", mark.vo},
                         {"min", mark.min},
                         {"max", mark.max},
                         {"spec_low", mark.specLow},
                         {"spec_high", mark.specHigh},
                         {"meets_spec", mark.meetsSpec}});
    }
    const auto ticks = [](const std::vector<std::pair<double, std::string>>& values) {
        Json list = Json::array();
        for (const auto& [value, label] : values) {
            list.push_back({value, label});
        }
        return list;
    };
    return {{"curve", std::move(curve)},
            {"marks", std::move(marks)},
            {"x", Pair(plot.x)},
            {"y", Pair(plot.y)},
            {"x_ticks", ticks(plot.xTicks)},
            {"y_ticks", ticks(plot.yTicks)},
            {"description", plot.description}};
}

} // namespace

Json AnalysisResponse(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                      const calc_core::AnalysisSettings& settings,
                      const std::optional<calc_core::FitChoice>& fit,
                      std::string_view decimalSeparator) {
    const calc_core::AnalysisOutcome outcome = calc_core::AnalyseDesign(design, settings, fit);
    const Report report = MakeReport(tab, design, settings, outcome, decimalSeparator);
    Json response = {{"recorded", true},
                     {"report", ReportJson(report)},
                     {"text", ReportText(report)},
                     {"plot", nullptr},
                     {"json", nullptr}};
    if (outcome.analysis) {
        response["plot"] = PlotJson(MakePlotData(*outcome.analysis, decimalSeparator));
        response["json"] = AnalysisJson(*outcome.analysis);
    }
    return response;
}

Json ReportHtmlResponse(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                        const calc_core::AnalysisSettings& settings,
                        const std::optional<calc_core::FitChoice>& fit,
                        const ReportDocument& document) {
    const calc_core::AnalysisOutcome outcome = calc_core::AnalyseDesign(design, settings, fit);
    const std::string& separator = document.decimalSeparator;
    const Report report = MakeReport(tab, design, settings, outcome, separator);
    if (!outcome.analysis) {
        return {{"recorded", true},
                {"html", analysis_report::ReportHtml(report, nullptr, document)}};
    }
    const PlotData plot = MakePlotData(*outcome.analysis, separator);
    return {{"recorded", true}, {"html", analysis_report::ReportHtml(report, &plot, document)}};
}

} // namespace web_page
