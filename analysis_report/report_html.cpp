// Writing the analysis as an HTML document.
#include "analysis_report/report_html.h"

#include "analysis_report/histogram_svg.h"
#include "analysis_report/markup_text.h"
#include "analysis_report/plot_svg.h"
#include "analysis_report/report_style.h"
#include "analysis_report/yield_histograms.h"
#include "orvalex/version.h"

#include <algorithm>
#include <cctype>

namespace analysis_report {
namespace {

constexpr std::string_view PlotCaption =
    "The line is Vo as the pin voltage goes from 0 V to the pin voltage of the settings; each pin "
    "level is marked by its output (dot) and its worst-case band (bar and shaded strip). Beside "
    "each level, its output spec: hollow while the worst case stays inside, hatched when it does "
    "not.";
constexpr std::string_view HistogramsCaption =
    "Each bar counts the outputs that fell into its bin; bars outside the level's output spec are "
    "hatched, and the dashed lines are the spec's edges.";

struct Figure {
    std::string svg;
    std::string title;
    std::string description; // the text of an image's alt
    bool plot = false;
    int width = 0;
    int height = 0;
};

std::vector<Figure> Figures(const PlotData* plot, const ReportDocument& document,
                            const SvgPalette& colours) {
    std::vector<Figure> figures;
    if (plot) {
        if (std::string svg = PlotSvg(*plot, colours); !svg.empty()) {
            figures.push_back(
                {std::move(svg), "Plot", plot->description, true, PlotSvgWidth, PlotSvgHeight});
        }
    }
    for (const Histogram& histogram : document.histograms) {
        std::string svg = HistogramSvg(histogram, document.decimalSeparator, colours);
        if (!svg.empty()) {
            figures.push_back({std::move(svg), histogram.title, histogram.title, false,
                               HistogramSvgWidth, HistogramSvgHeight});
        }
    }
    return figures;
}

// A section as the document shows it, with the id its warnings link to.
struct Shown {
    const Section* section;
    std::string id;
};

// "section-" and the name's letters and digits, lower case, the rest as single hyphens; a
// number after it when another section took it already.
std::string SectionId(std::string_view name, const std::vector<Shown>& taken) {
    std::string slug;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte)) {
            slug += char(std::tolower(byte));
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') {
        slug.pop_back();
    }
    const std::string id = slug.empty() ? "section" : "section-" + slug;
    const auto used = [&taken](const std::string& candidate) {
        return std::any_of(taken.begin(), taken.end(),
                           [&candidate](const Shown& s) { return s.id == candidate; });
    };
    std::string unique = id;
    for (int n = 2; used(unique); ++n) {
        unique = id + '-' + std::to_string(n);
    }
    return unique;
}

// The press's results, the design, the settings and the analysis's sections, those there are.
std::vector<Shown> ShownSections(const Report& report, const ReportDocument& document) {
    std::vector<const Section*> sections;
    if (document.press) {
        sections.push_back(&*document.press);
    }
    sections.insert(sections.end(), {&report.design, &report.settings});
    for (const Section& section : report.sections) {
        sections.push_back(&section);
    }
    std::vector<Shown> shown;
    for (const Section* section : sections) {
        if (!section->name.empty()) {
            shown.push_back({section, SectionId(section->name, shown)});
        }
    }
    return shown;
}

void AppendHead(std::string& html, const Report& report, const ReportDocument& document) {
    html +=
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta name=\"generator\" content=\"" +
        EscapeMarkup(std::string(orvalex::ProgramName) + ' ' + std::string(orvalex::Version)) +
        "\">\n<title>" + EscapeMarkup(report.heading) + "</title>\n<style>" +
        ReportStyle(document.richTextPrint ? StyleTarget::RichTextPrint : StyleTarget::Browser) +
        "</style>\n</head>\n<body>\n";
}

void AppendMasthead(std::string& html, const Report& report, const ReportDocument& document) {
    std::string made =
        "Made with " + std::string(orvalex::ProgramName) + ' ' + std::string(orvalex::Version);
    if (!document.date.empty()) {
        made += " on " + document.date;
    }
    html += "<header>\n<h1>" + EscapeMarkup(report.heading) + "</h1>\n<p class=\"made\">" +
            EscapeMarkup(made) + ".</p>\n";
    if (!document.designFile.empty()) {
        html +=
            "<p class=\"design-file\">Design file: " + EscapeMarkup(document.designFile) + "</p>\n";
    }
    html += "</header>\n";
    if (!document.note.empty()) {
        html += "<section class=\"user-note\" id=\"note\">\n<h2>Note</h2>\n<p>" +
                EscapeMarkup(document.note) + "</p>\n</section>\n";
    }
}

// Every warning of every section, each linked to its section.
void AppendWarnings(std::string& html, const std::vector<Shown>& shown) {
    std::string items;
    for (const Shown& s : shown) {
        for (const Note& note : s.section->notes) {
            if (note.warning) {
                items += "<li><a href=\"#" + s.id + "\">" + EscapeMarkup(note.text) + "</a></li>\n";
            }
        }
    }
    if (!items.empty()) {
        html += "<section class=\"warnings\" id=\"warnings\">\n<h2>\u26a0\ufe0e Warnings</h2>\n"
                "<ul>\n" +
                items + "</ul>\n</section>\n";
    }
}

// A heading cell may wrap to fit the page, but never between a number and its unit.
std::string HeaderCell(std::string_view text) {
    std::string cell;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool afterDigit = i > 0 && std::isdigit(static_cast<unsigned char>(text[i - 1]));
        cell += text[i] == ' ' && afterDigit ? "&nbsp;" : EscapeMarkup(text.substr(i, 1));
    }
    return cell;
}

void AppendTable(std::string& html, const Section& section, const ReportDocument& document) {
    html += document.richTextPrint
                ? "<div class=\"table-wrap\"><table cellpadding=\"3\">\n<thead><tr>"
                : "<div class=\"table-wrap\"><table>\n<thead><tr>";
    for (std::size_t c = 0; c < section.header.size(); ++c) {
        const std::string& cell = section.header[c];
        // A heading of one word cannot wrap; saying so keeps Qt's rich text from breaking it.
        const bool word = cell.find(' ') == std::string::npos;
        const char* classes = c == 0 ? (word ? " class=\"name word\"" : " class=\"name\"")
                                     : (word ? " class=\"word\"" : "");
        html += std::string("<th scope=\"col\"") + classes + '>' + HeaderCell(cell) + "</th>";
    }
    html += "</tr></thead>\n<tbody>\n";
    for (std::size_t r = 0; r < section.rows.size(); ++r) {
        html += "<tr>";
        for (std::size_t c = 0; c < section.rows[r].size(); ++c) {
            const std::string text = EscapeMarkup(section.rows[r][c]);
            const bool flagged =
                std::find(section.flagged.begin(), section.flagged.end(),
                          std::pair<int, int>(int(r), int(c))) != section.flagged.end();
            // Marked by a sign and bold type as well as by colour.
            html += flagged
                        ? "<td class=\"flagged\"><strong>\u26a0\ufe0e " + text + "</strong></td>"
                    : c == 0 ? "<td class=\"name\">" + text + "</td>"
                             : "<td>" + text + "</td>";
        }
        html += "</tr>\n";
    }
    html += "</tbody>\n</table></div>\n";
}

void AppendSection(std::string& html, const Shown& shown, const ReportDocument& document) {
    const Section& section = *shown.section;
    html += "<section class=\"report-section\" id=\"" + shown.id + "\">\n<h2>" +
            EscapeMarkup(section.name) + "</h2>\n";
    if (!section.subject.empty()) {
        html += "<p class=\"subject\">" + EscapeMarkup(section.subject) + "</p>\n";
    }
    AppendTable(html, section, document);
    for (const Note& note : section.notes) {
        html += note.warning ? "<p class=\"note warning\"><strong>Warning:</strong> " +
                                   EscapeMarkup(note.text) + "</p>\n"
                             : "<p class=\"note\">" + EscapeMarkup(note.text) + "</p>\n";
    }
    html += "</section>\n";
}

// A figure inline, or as the image the caller supplies under its name. A figure is a division
// with a caption paragraph, which renderers without HTML5's figure element lay out as well.
std::string FigureBody(const Figure& figure, std::size_t index, const ReportDocument& document) {
    if (!document.richTextPrint) {
        return figure.svg + '\n';
    }
    return "<img src=\"" + FigureName(index) + "\" width=\"" + std::to_string(figure.width) +
           "\" height=\"" + std::to_string(figure.height) + "\" alt=\"" +
           EscapeMarkup(figure.description) + "\">\n";
}

void AppendFigures(std::string& html, const std::vector<Figure>& figures,
                   const ReportDocument& document) {
    bool histogramsOpen = false;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const Figure& figure = figures[i];
        if (figure.plot) {
            html +=
                "<section class=\"figures\" id=\"plot\">\n<h2>Plot</h2>\n<div class=\"figure\">\n" +
                FigureBody(figure, i, document) + "<p class=\"caption\">" +
                EscapeMarkup(PlotCaption) + "</p>\n</div>\n</section>\n";
            continue;
        }
        if (!histogramsOpen) {
            html += "<section class=\"figures\" id=\"histograms\">\n<h2>Histograms</h2>\n<p>" +
                    EscapeMarkup(HistogramsCaption) + "</p>\n";
            histogramsOpen = true;
        }
        html += "<div class=\"figure\">\n<p class=\"caption\">" + EscapeMarkup(figure.title) +
                "</p>\n" + FigureBody(figure, i, document) + "</div>\n";
    }
    if (histogramsOpen) {
        html += "</section>\n";
    }
}

} // namespace

std::string ReportHtml(const Report& report, const PlotData* plot, const ReportDocument& document) {
    const std::vector<Shown> shown = ShownSections(report, document);
    std::string html;
    AppendHead(html, report, document);
    AppendMasthead(html, report, document);
    AppendWarnings(html, shown);
    for (const Shown& s : shown) {
        AppendSection(html, s, document);
    }
    if (!report.reason.empty()) {
        html += "<p class=\"reason\">No analysis: " + EscapeMarkup(report.reason) + "</p>\n";
    }
    AppendFigures(html, Figures(plot, document, ScreenColours), document);
    html += "</body>\n</html>\n";
    return html;
}

std::vector<std::string> ReportFigures(const PlotData* plot, const ReportDocument& document,
                                       const SvgPalette& colours) {
    std::vector<std::string> svgs;
    for (Figure& figure : Figures(plot, document, colours)) {
        svgs.push_back(std::move(figure.svg));
    }
    return svgs;
}

std::string FigureName(std::size_t index) {
    return "figure-" + std::to_string(index + 1) + ".svg";
}

std::string AnalysisHtml(const Report& report, const calc_core::AnalysisOutcome& outcome,
                         ReportDocument document) {
    if (!outcome.analysis) {
        return ReportHtml(report, nullptr, document);
    }
    document.histograms = YieldHistograms(*outcome.analysis, document.decimalSeparator);
    const PlotData plot = MakePlotData(*outcome.analysis, document.decimalSeparator);
    return ReportHtml(report, &plot, document);
}

} // namespace analysis_report
