// The analysis as CSV for spreadsheets: a table for the document (its report, program, date, note)
// and one for each section, each its name on a line, its header and its rows, a blank line
// between them. RFC 4180: fields apart by commas, lines ended by CR LF, a field quoted when it
// holds a comma, a quote or a line break. UTF-8 without a byte-order mark. The numbers are the
// report's texts as they are; make the report with "." as its separator for CSV.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/report_document.h"

#include <string>
#include <string_view>

namespace analysis_report {

std::string ReportCsv(const Report& report, const ReportDocument& document);

// One field. A text that a spreadsheet would run as a formula (one that starts with =, +, -, @,
// a tab or a CR) gets a single quote in front, which spreadsheets show as text; a negative
// quantity as the report writes it ("-4.943 kΩ", "-40 °C to 85 °C": a digit after the sign and
// then only letters, digits, blanks, '.', ',', '%' and characters beyond ASCII) stays as it is.
std::string CsvField(std::string_view text);

// One section's table alone, its header and rows, each cell made harmless as CsvField makes it:
// the bill of materials as a spreadsheet opens it.
std::string SectionCsv(const Section& section);

} // namespace analysis_report
