// The analysis window's report as a file or on paper: which document a file name asks for, the
// file written whole or not at all, and the HTML document printed with its figures.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

#include <QMarginsF>

class QPrinter;

namespace analysis_window {

enum class DocumentKind { Html, Csv };

// The save dialog's filters, HTML first; the kind of each by its position.
inline constexpr const char* HtmlFilter = "HTML document (*.html *.htm)";
inline constexpr const char* CsvFilter = "CSV tables (*.csv)";

// The kind a file's suffix asks for (.html, .htm or .csv, in any case), or nothing.
std::optional<DocumentKind> DocumentKindOf(const QString& path);

// The path as chosen in the save dialog: with the chosen filter's suffix added when it has
// neither suffix.
QString PathWithSuffix(const QString& path, const QString& chosenFilter);

// The paper's margins the print dialog starts from, those of the HTML document's @page [mm].
inline const QMarginsF PrintMargins(12, 14, 12, 16);

// Writes the bytes through a QSaveFile, so that a failed write leaves any old file as it was.
bool WriteDocumentFile(const QString& path, const std::string& bytes);

// Prints the HTML document, whose figures are images named by analysis_report::FigureName, with
// the figures drawn from their SVG, on the printer's paper within its margins.
void PrintDocument(QPrinter& printer, const std::string& html,
                   const std::vector<std::string>& figures);

} // namespace analysis_window
