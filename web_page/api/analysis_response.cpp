// Writing the analysis report, its plain text, the plot's numbers and the analysis JSON.
#include "web_page/api/analysis_response.h"

#include "analysis_report/analysis_json.h"
#include "analysis_report/analysis_report.h"
#include "analysis_report/buy_section.h"
#include "analysis_report/fit_json.h"
#include "analysis_report/histogram_plot.h"
#include "analysis_report/plot_data.h"
#include "analysis_report/report_html.h"
#include "analysis_report/row_fit.h"
#include "analysis_report/yield_histograms.h"
#include "calc_core/setting_notices.h"
#include "web_page/api/protocol_keys.h"

#include <utility>

namespace web_page {
namespace {

using namespace analysis_report;
using Json = nlohmann::ordered_json;

// What the page analyses: its fit and settings, by which a row is the one fitted or not.
struct Analysed {
    const std::optional<calc_core::FitChoice>& fit;
    const calc_core::AnalysisSettings& settings;
};

// A row's fit with the settings its grade brings, by their keys, for the page to put into its
// boxes, and whether it is the one analysed.
Json RowFitJson(const std::optional<RowFit>& row, const Analysed& analysed) {
    if (!row) {
        return nullptr;
    }
    const calc_core::AnalysisSettings fitted = FittedSettings(*row, analysed.settings);
    Json settings = Json::object();
    for (const calc_core::GradeColumn& column : calc_core::GradeColumns()) {
        if (row->grade && column.setting && column.get(*row->grade)) {
            settings[calc_core::SettingOf(column.setting).key] = fitted.*column.setting;
        }
    }
    return {{keys::Fit, FitJson(row->fit)},
            {keys::Settings, std::move(settings)},
            {keys::Fitted, IsFitted(*row, analysed.fit, analysed.settings)}};
}

Json SectionJson(const Section& section, const Analysed& analysed) {
    Json flagged = Json::array();
    for (const auto& [row, column] : section.flagged) {
        flagged.push_back({row, column});
    }
    Json notes = Json::array();
    for (const Note& note : section.notes) {
        notes.push_back({{keys::Text, note.text}, {keys::Warning, note.warning}});
    }
    Json fits = Json::array();
    for (const std::optional<RowFit>& fit : section.fits) {
        fits.push_back(RowFitJson(fit, analysed));
    }
    return {{keys::Name, section.name},
            {keys::Subject, section.subject},
            {keys::Header, section.header},
            {keys::Rows, section.rows},
            {keys::Flagged, std::move(flagged)},
            {keys::Notes, std::move(notes)},
            {keys::Fittable, !section.fits.empty()},
            {keys::Fits, std::move(fits)}};
}

Json Pair(const std::pair<double, double>& pair) {
    return {pair.first, pair.second};
}

Json Ticks(const std::vector<std::pair<double, std::string>>& values) {
    Json list = Json::array();
    for (const auto& [value, label] : values) {
        list.push_back({value, label});
    }
    return list;
}

// Each level's histogram as numbers to draw; null without a yield estimate, and a histogram
// that cannot be drawn is left out.
Json HistogramsJson(const calc_core::DesignAnalysis& analysis, std::string_view separator) {
    if (!analysis.yield) {
        return nullptr;
    }
    Json list = Json::array();
    for (const Histogram& histogram : YieldHistograms(analysis, separator)) {
        const HistogramPlot plot = MakeHistogramPlot(histogram, separator);
        if (plot.drawable) {
            list.push_back({{keys::Title, histogram.title},
                            {keys::BinLow, histogram.binLow},
                            {keys::BinWidth, histogram.binWidth},
                            {keys::Counts, histogram.counts},
                            {keys::Inside, plot.inside},
                            {keys::SpecLow, histogram.specLow},
                            {keys::SpecHigh, histogram.specHigh},
                            {keys::X, Pair(plot.x)},
                            {keys::Y, Pair(plot.y)},
                            {keys::XTicks, Ticks(plot.xTicks)},
                            {keys::YTicks, Ticks(plot.yTicks)},
                            {keys::Description, plot.description}});
        }
    }
    return list;
}

// The histograms go with the yield's section, after its notes.
Json ReportJson(const Report& report, const Analysed& analysed, Json histograms) {
    Json sections = Json::array();
    for (const Section& section : report.sections) {
        sections.push_back(SectionJson(section, analysed));
        if (section.name == YieldSectionName && !histograms.is_null()) {
            sections.back()[keys::Histograms] = std::exchange(histograms, Json());
        }
    }
    return {{keys::Heading, report.heading},
            {keys::Design, SectionJson(report.design, analysed)},
            {keys::Settings, SectionJson(report.settings, analysed)},
            {keys::Reason, report.reason},
            {keys::Sections, std::move(sections)}};
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
    return {{keys::Curve, std::move(curve)},
            {keys::Marks, std::move(marks)},
            {keys::X, Pair(plot.x)},
            {keys::Y, Pair(plot.y)},
            {keys::XTicks, Ticks(plot.xTicks)},
            {keys::YTicks, Ticks(plot.yTicks)},
            {keys::Description, plot.description}};
}

// The pair the analysis is of: the fitted one when there is one, else the design's own; with
// the fit's own R2 when it has one.
Json AnalysedPair(const calc_core::DesignAnalysis& analysis) {
    const auto& fitted = analysis.fitted;
    Json pair = {{calc_core::FitR1Field.key, fitted ? fitted->r1 : analysis.design.circuit.r1},
                 {calc_core::FitR3Field.key, fitted ? fitted->r3 : analysis.design.circuit.r3}};
    if (fitted && fitted->r2) {
        pair[calc_core::FitR2Field.key] = *fitted->r2;
    }
    return pair;
}

} // namespace

Json AnalysisResponse(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                      const calc_core::AnalysisSettings& settings,
                      const std::optional<calc_core::FitChoice>& fit,
                      const calc_core::AnalysisOutcome& outcome,
                      std::string_view decimalSeparator) {
    const Report report = MakeReport(tab, design, settings, outcome, decimalSeparator);
    const auto& analysis = outcome.analysis;
    Json response = {{keys::Recorded, true},
                     {keys::Report,
                      ReportJson(report, {fit, settings},
                                 analysis ? HistogramsJson(*analysis, decimalSeparator) : nullptr)},
                     {keys::Text, ReportText(report)},
                     {keys::Plot, nullptr},
                     {keys::Json, nullptr},
                     {keys::Analysed, nullptr},
                     {keys::BomCsv, nullptr},
                     {keys::Notices, Json::object()}};
    if (const std::optional<std::string> bom = BomCsv(report)) {
        response[keys::BomCsv] = *bom;
    }
    for (const calc_core::SettingNotice& notice : calc_core::SettingNotices(settings)) {
        response[keys::Notices][std::string(notice.row->key)] = notice.text;
    }
    if (analysis) {
        response[keys::Plot] = PlotJson(MakePlotData(*analysis, decimalSeparator));
        response[keys::Json] = AnalysisJson(*analysis);
        response[keys::Analysed] = AnalysedPair(*analysis);
    }
    return response;
}

Json ReportHtmlResponse(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                        const calc_core::AnalysisSettings& settings,
                        const calc_core::AnalysisOutcome& outcome, ReportDocument document) {
    const Report report = MakeReport(tab, design, settings, outcome, document.decimalSeparator);
    return {{keys::Recorded, true},
            {keys::Html, analysis_report::AnalysisHtml(report, outcome, std::move(document))}};
}

} // namespace web_page
