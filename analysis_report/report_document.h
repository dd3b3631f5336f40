// What a document of the analysis holds beside the report and its plot: the press's results, the
// design file and the user's note, the date and the yield's histograms. Every front end fills it
// alike, so that the same design, settings and date give the same bytes.
#pragma once

#include "analysis_report/analysis_report.h"

#include <optional>
#include <string>
#include <vector>

namespace analysis_report {

// How often the output fell into each of equal bins at one pin level, with the level's spec band.
struct Histogram {
    std::string title;          // what was counted: "Vo at 0.140 V"
    double binLow = 0;          // the first bin's lower edge [V]
    double binWidth = 0;        // [V]
    std::vector<double> counts; // one a bin, from binLow up
    double specLow = 0;         // the level's spec band [V]
    double specHigh = 0;
};

struct ReportDocument {
    std::string date;             // given by the caller, so that the bytes can be made again
    std::string note;             // the user's note on the design; empty for none
    std::string designFile;       // the name of the design file it is of; empty for none
    std::optional<Section> press; // the results the press showed: the document's first section
    std::vector<Histogram> histograms;
    std::string decimalSeparator = "."; // of the histograms' axes, as the report's numbers
    // For the window's print through Qt's rich text, which knows neither inline SVG nor @media and
    // pads table cells by the table's attribute: the print style as the only style, and each
    // figure an <img> whose source is FigureName(i), for which the caller supplies the picture
    // of ReportFigures()[i].
    bool richTextPrint = false;
};

} // namespace analysis_report
