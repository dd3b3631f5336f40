// Writing the analysis as CSV.
#include "analysis_report/report_csv.h"

#include "orvalex/version.h"

#include <algorithm>
#include <cctype>

namespace analysis_report {
namespace {

constexpr std::string_view LineEnd = "\r\n";

bool IsReportQuantity(std::string_view text) {
    if (text.size() < 2 || text[0] != '-' || !std::isdigit(static_cast<unsigned char>(text[1]))) {
        return false;
    }
    return std::all_of(text.begin() + 1, text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || std::isalnum(byte) || c == ' ' || c == '.' || c == ',' || c == '%';
    });
}

bool RunsAsFormula(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos) {
        return false;
    }
    return !IsReportQuantity(text);
}

void AppendLine(std::string& csv, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        csv += (i ? "," : "") + CsvField(cells[i]);
    }
    csv += LineEnd;
}

void AppendTable(std::string& csv, const Section& section) {
    if (!csv.empty()) {
        csv += LineEnd;
    }
    AppendLine(csv, {section.name});
    AppendLine(csv, section.header);
    for (const auto& row : section.rows) {
        AppendLine(csv, row);
    }
}

// What the document is: the report's heading, its maker, date, design file and note, and why
// there is no analysis when there is none.
Section DocumentSection(const Report& report, const ReportDocument& document) {
    Section section;
    section.name = "Document";
    section.header = {"Item", "Value"};
    section.rows = {
        {"Report", report.heading},
        {"Program", std::string(orvalex::ProgramName) + ' ' + std::string(orvalex::Version)}};
    if (!document.date.empty()) {
        section.rows.push_back({"Date", document.date});
    }
    if (!document.designFile.empty()) {
        section.rows.push_back({"Design file", document.designFile});
    }
    if (!document.note.empty()) {
        section.rows.push_back({"Note", document.note});
    }
    if (!report.reason.empty()) {
        section.rows.push_back({"No analysis", report.reason});
    }
    return section;
}

} // namespace

std::string CsvField(std::string_view text) {
    std::string field = RunsAsFormula(text) ? "'" + std::string(text) : std::string(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + '"';
}

std::string SectionCsv(const Section& section) {
    std::string csv;
    AppendLine(csv, section.header);
    for (const auto& row : section.rows) {
        AppendLine(csv, row);
    }
    return csv;
}

std::string ReportCsv(const Report& report, const ReportDocument& document) {
    std::string csv;
    AppendTable(csv, DocumentSection(report, document));
    if (document.press) {
        AppendTable(csv, *document.press);
    }
    for (const Section* section : {&report.design, &report.settings}) {
        if (!section->name.empty()) {
            AppendTable(csv, *section);
        }
    }
    for (const Section& section : report.sections) {
        AppendTable(csv, section);
    }
    return csv;
}

} // namespace analysis_report
