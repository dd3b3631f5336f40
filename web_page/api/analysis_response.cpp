// Writing the analysis report, its plain text, the plot's numbers and the analysis JSON.
#include "web_page/api/analysis_response.h"

#include "analysis_report/analysis_json.h"
#include "analysis_report/analysis_report.h"
#include "analysis_report/plot_data.h"
#include "analysis_report/report_html.h"
#include "web_page/api/protocol_keys.h"

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
        notes.push_back({{keys::Text, note.text}, {keys::Warning, note.warning}});
    }
    return {{keys::Name, section.name},
            {keys::Subject, section.subject},
            {keys::Header, section.header},
            {keys::Rows, section.rows},
            {keys::Flagged, std::move(flagged)},
            {keys::Notes, std::move(notes)},
            {keys::Fittable, section.name == PreferredSectionName}};
}

Json ReportJson(const Report& report) {
    Json sections = Json::array();
    for (const Section& section : report.sections) {
        sections.push_back(SectionJson(section));
    }
    return {{keys::Heading, report.heading},
            {keys::Design, SectionJson(report.design)},
            {keys::Settings, SectionJson(report.settings)},
            {keys::Reason, report.reason},
            {keys::Sections, std::move(sections)}};
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
        marks.push_back({{keys::PinV, mark.pinV},
                         {keys::Vo, mark.vo},
                         {keys::Min, mark.min},
                         {keys::Max, mark.max},
                         {keys::SpecLow, mark.specLow},
                         {keys::SpecHigh, mark.specHigh},
                         {keys::MeetsSpec, mark.meetsSpec}});
    }
    const auto ticks = [](const std::vector<std::pair<double, std::string>>& values) {
        Json list = Json::array();
        for (const auto& [value, label] : values) {
            list.push_back({value, label});
        }
        return list;
    };
    return {{keys::Curve, std::move(curve)},
            {keys::Marks, std::move(marks)},
            {keys::X, Pair(plot.x)},
            {keys::Y, Pair(plot.y)},
            {keys::XTicks, ticks(plot.xTicks)},
            {keys::YTicks, ticks(plot.yTicks)},
            {keys::Description, plot.description}};
}

// The pair the analysis is of: the fitted one when there is one, else the design's own.
Json AnalysedPair(const calc_core::DesignAnalysis& analysis) {
    const auto& fitted = analysis.fitted;
    return {{calc_core::FitR1Field.key, fitted ? fitted->r1 : analysis.design.circuit.r1},
            {calc_core::FitR3Field.key, fitted ? fitted->r3 : analysis.design.circuit.r3}};
}

} // namespace

Json AnalysisResponse(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                      const calc_core::AnalysisSettings& settings,
                      const std::optional<calc_core::FitChoice>& fit,
                      std::string_view decimalSeparator) {
    const calc_core::AnalysisOutcome outcome = calc_core::AnalyseDesign(design, settings, fit);
    const Report report = MakeReport(tab, design, settings, outcome, decimalSeparator);
    Json response = {{keys::Recorded, true},
                     {keys::Report, ReportJson(report)},
                     {keys::Text, ReportText(report)},
                     {keys::Plot, nullptr},
                     {keys::Json, nullptr},
                     {keys::Analysed, nullptr}};
    if (outcome.analysis) {
        response[keys::Plot] = PlotJson(MakePlotData(*outcome.analysis, decimalSeparator));
        response[keys::Json] = AnalysisJson(*outcome.analysis);
        response[keys::Analysed] = AnalysedPair(*outcome.analysis);
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
        return {{keys::Recorded, true},
                {keys::Html, analysis_report::ReportHtml(report, nullptr, document)}};
    }
    const PlotData plot = MakePlotData(*outcome.analysis, separator);
    return {{keys::Recorded, true},
            {keys::Html, analysis_report::ReportHtml(report, &plot, document)}};
}

} // namespace web_page
