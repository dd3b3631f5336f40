// The analysis as one self-contained HTML document for reading, saving and printing: every section
// with its table and notes, the warnings at its head, the plot and the yield's histograms as
// inline SVG, the user's note, the program's version and the date. The only writer of the report
// as HTML: every front end's document comes from here.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/plot_data.h"
#include "analysis_report/report_document.h"
#include "analysis_report/svg_writer.h"

#include <string>
#include <vector>

namespace analysis_report {

// The document; `plot` may be null (no analysis, or nothing to plot). Every text is escaped, so
// that nothing of the user's or the report's becomes markup.
std::string ReportHtml(const Report& report, const PlotData* plot, const ReportDocument& document);

// The document of an analysis as every front end writes it: the report with the plot and the
// yield's histograms of the outcome's analysis, when there is one, in the document's decimal
// separator; the same design, settings and document give the same bytes everywhere.
std::string AnalysisHtml(const Report& report, const calc_core::AnalysisOutcome& outcome,
                         ReportDocument document);

// The figures of the document in its order, as SVG in the given colours: the plot when it can be
// drawn, then each histogram that can.
std::vector<std::string> ReportFigures(const PlotData* plot, const ReportDocument& document,
                                       const SvgPalette& colours);

// The source of the figure's <img> when the document has figures as images: "figure-1.svg".
std::string FigureName(std::size_t index);

} // namespace analysis_report
