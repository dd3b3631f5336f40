// The style sheet of the report's HTML document, written into its head.
#pragma once

#include <string>

namespace analysis_report {

// Who lays the document out: a browser, which takes the print rules in @media print, or Qt's rich
// text, which only prints it, knows no media queries and takes them as they are.
enum class StyleTarget { Browser, RichTextPrint };

// Black on white, on screen and on A4 or Letter: rows and figures kept whole across pages, the
// figures as wide as the page, and in print every colour turned to black or grey.
std::string ReportStyle(StyleTarget target);

} // namespace analysis_report
