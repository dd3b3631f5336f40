// Writing a press and its analysis as an HTML or CSV document.
#include "command_line/document_output.h"

#include "analysis_report/report_csv.h"
#include "analysis_report/report_html.h"

namespace command_line {

void WriteDocument(const PressReport& report, OutputFormat format, const std::string& date,
                   const Request& request, std::ostream& out) {
    if (IsGateMessage(report.message)) {
        return;
    }
    // As the text: the flags' notation, "." and no groups.
    const std::string separator = ".";
    const analysis_report::Report analysis =
        report.design ? analysis_report::MakeReport(report.tab, *report.design, report.settings,
                                                    report.analysis, separator)
                      : analysis_report::ReportWithoutDesign(report.tab, report.analysis.reason);
    analysis_report::ReportDocument document;
    document.note = request.note;
    document.designFile = request.designFile;
    document.date = date;
    document.press = report.results;
    if (format == OutputFormat::Csv) {
        out << analysis_report::ReportCsv(analysis, document);
        return;
    }
    out << analysis_report::AnalysisHtml(analysis, report.analysis, document);
}

} // namespace command_line
