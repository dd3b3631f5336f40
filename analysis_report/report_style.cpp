// The report document's style sheet. The figures carry their screen colours as attributes; the
// print rules override them by class. Qt's rich text reads the properties it knows and leaves the
// rest, so every rule says what it means in plain properties.
#include "analysis_report/report_style.h"

#include <string_view>

namespace analysis_report {
namespace {

constexpr std::string_view ScreenRules = R"CSS(
body { margin: 1.5rem auto; max-width: 62rem; padding: 0 1rem; color: #1a1a1a;
  background-color: #ffffff; font-family: "Liberation Sans", Arial, Helvetica, sans-serif;
  font-size: 10.5pt; }
h1 { font-size: 1.45em; margin: 0 0 0.2em; }
h2 { font-size: 1.15em; margin: 1.1em 0 0.3em; break-after: avoid; page-break-after: avoid; }
.made { margin: 0 0 0.8em; color: #4d4d4d; }
section { break-inside: avoid; page-break-inside: avoid; }
.subject { margin: 0 0 0.3em; font-style: italic; }
.table-wrap { overflow-x: auto; max-width: 100%; }
table { border-collapse: collapse; font-variant-numeric: tabular-nums; }
tr { break-inside: avoid; page-break-inside: avoid; }
thead { display: table-header-group; }
th, td { border: 1px solid #767676; text-align: right; }
td { white-space: nowrap; }
th { background-color: #f1f1f1; vertical-align: bottom; }
th.name, td.name { text-align: left; }
th.word { white-space: nowrap; }
td.flagged { font-weight: bold; background-color: #fff1b8; outline: 2px solid #8a3c00;
  outline-offset: -2px; }
.note { margin: 0.3em 0; max-width: 48rem; }
.note.warning { color: #8a3c00; border-left: 4px solid #8a3c00; padding-left: 0.5em; }
.reason { font-weight: bold; color: #8a3c00; }
.warnings { margin: 0.8em 0; padding: 0.4em 0.8em; border: 3px solid #8a3c00;
  background-color: #fff1b8; color: #000000; }
.warnings h2 { margin: 0 0 0.2em; font-size: 1.05em; }
.warnings ul { margin: 0; padding-left: 1.25em; font-weight: bold; }
.warnings a { color: #000000; }
.user-note p { margin: 0; white-space: pre-wrap; overflow-wrap: anywhere; max-width: 48rem;
  padding: 0.4em 0.7em; border: 1px solid #767676; }
.figure { margin: 0.6em 0; break-inside: avoid; page-break-inside: avoid; }
.figure svg { display: block; width: 100%; max-width: 44rem; height: auto; }
.caption { margin: 0.3em 0; font-size: 0.92em; color: #4d4d4d; max-width: 48rem; }
@page { size: auto; margin: 14mm 12mm 16mm; }
)CSS";

// What browsers lay out well and Qt's rich text not: its tables take the cells' padding from the
// table's cellpadding attribute, and its lines need no more height.
constexpr std::string_view BrowserRules = R"CSS(
body { line-height: 1.35; }
th, td { padding: 0.15em 0.45em; }
)CSS";

// Qt's rich text keeps no heading with what follows it: each figure's section starts a page.
constexpr std::string_view RichTextRules = R"CSS(
.figures h2 { page-break-before: always; }
)CSS";

constexpr std::string_view PrintRules = R"CSS(
body { margin: 0; max-width: none; padding: 0; color: #000000; font-size: 9.5pt; }
.made, .caption { color: #000000; }
table { font-size: 0.95em; }
.table-wrap { overflow: visible; }
th { background-color: #ffffff; }
td.flagged { background-color: #ffffff; outline: none; border: 2px solid #000000; }
.warnings { background-color: #ffffff; border-color: #000000; }
.note.warning, .reason { color: #000000; border-color: #000000; }
a { color: #000000; text-decoration: none; }
.figure svg { max-width: 100%; }
svg .label { fill: #000000; }
svg .axis, svg .bar, svg .spec, svg .spec-edge, svg .hatch, svg .bin { stroke: #000000; }
svg .grid { stroke: #808080; }
svg .curve { stroke: #000000; }
svg .band { fill: #000000; fill-opacity: 0.12; }
svg .dot { fill: #000000; }
svg .bin { fill: #000000; fill-opacity: 0.3; }
svg .bin.outside { fill: none; }
)CSS";

} // namespace

std::string ReportStyle(StyleTarget target) {
    std::string style(ScreenRules);
    if (target == StyleTarget::Browser) {
        return style + std::string(BrowserRules) + "@media print {" + std::string(PrintRules) +
               "}\n";
    }
    return style + std::string(PrintRules) + std::string(RichTextRules);
}

} // namespace analysis_report
