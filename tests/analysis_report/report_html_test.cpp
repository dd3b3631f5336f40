// The report's documents: the HTML's structure, its warnings linked to their sections, flagged
// cells, text that stays text; the CSV's bytes; the press's results as a section.
#include "analysis_report/press_section.h"
#include "analysis_report/report_csv.h"
#include "analysis_report/report_html.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"
#include "orvalex/version.h"

#include <gtest/gtest.h>

#include <string>

namespace analysis_report {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A small report: the design, the settings and two sections of the same name, one with a
// flagged cell and a warning.
Report SmallReport() {
    Report report;
    report.heading = "Design analysis of the Calc tab's last CAL";
    report.design = {"Design", "", {"Quantity", "Value"}, {{"R1", "1 k\u03a9"}}, {}, {}};
    report.settings = {"Settings", "", {"Setting", "Value"}, {{"Series", "E96"}}, {}, {}};
    report.sections = {
        {"Pin faults",
         "As designed: R1 1 k\u03a9",
         {"Pin", "Vo at 0.140 V"},
         {{"At 0 V", "41.261 V"}, {"Open", "18.739 V"}},
         {{0, 1}},
         {{"Highest output: 40.000 V."}, {"A pin state drives the output up.", true}}},
        {"Pin faults", "", {"Pin", "Vo"}, {{"Open", "1 V"}}, {}, {{"Again.", true}}},
    };
    return report;
}

std::string Made() {
    return "Made with " + std::string(orvalex::ProgramName) + ' ' + std::string(orvalex::Version);
}

TEST(ReportHtml, SectionsWarningsAndFlags) {
    ReportDocument document;
    document.date = "2025-12-31";
    const std::string html = ReportHtml(SmallReport(), nullptr, document);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
    EXPECT_TRUE(Has(html, "<title>Design analysis of the Calc tab&#39;s last CAL</title>"));
    EXPECT_TRUE(Has(html, Made() + " on 2025-12-31.</p>"));
    EXPECT_EQ(Count(html, "<section class=\"report-section\""), 4u);
    // Each warning at the head links to its own section, even when two share a name.
    EXPECT_TRUE(Has(html, "<li><a href=\"#section-pin-faults\">A pin state drives the output "
                          "up.</a></li>\n<li><a href=\"#section-pin-faults-2\">Again.</a></li>"));
    EXPECT_TRUE(Has(html, "<section class=\"report-section\" id=\"section-pin-faults-2\">"));
    EXPECT_TRUE(Has(html, "<p class=\"subject\">As designed: R1 1 k\u03a9</p>"));
    // The flagged cell by a sign and bold type, the warning by its word, as well as by colour.
    EXPECT_TRUE(Has(html, "<td class=\"flagged\"><strong>\u26a0\ufe0e 41.261 V</strong></td>"));
    EXPECT_EQ(Count(html, "class=\"flagged\""), 1u);
    EXPECT_TRUE(Has(html, "<p class=\"note warning\"><strong>Warning:</strong> Again.</p>"));
    // A heading wraps only between words, never between a number and its unit.
    EXPECT_TRUE(Has(html, "<th scope=\"col\">Vo at 0.140&nbsp;V</th>"));
    // Self-contained: nothing fetched, nothing run.
    for (const char* outside : {"<script", "<link", "src=\"http", "@import", "url("}) {
        EXPECT_FALSE(Has(html, outside)) << outside;
    }
}

TEST(ReportHtml, UserTextStaysText) {
    Report report = SmallReport();
    report.sections[0].rows[1][0] = "<img src=x onerror=alert(1)>";
    report.sections[0].name = "Rails \"5V\" & <3V3>";
    ReportDocument document;
    document.note = "<script>alert('note')</script>\nsecond line";
    document.date = "<b>today</b>";
    const std::string html = ReportHtml(report, nullptr, document);
    EXPECT_FALSE(Has(html, "<script"));
    EXPECT_FALSE(Has(html, "<img"));
    EXPECT_FALSE(Has(html, "<b>"));
    EXPECT_TRUE(
        Has(html, "<p>&lt;script&gt;alert(&#39;note&#39;)&lt;/script&gt;\nsecond line</p>"));
    EXPECT_TRUE(Has(html, "<td class=\"name\">&lt;img src=x onerror=alert(1)&gt;</td>"));
    EXPECT_TRUE(Has(html, "<h2>Rails &quot;5V&quot; &amp; &lt;3V3&gt;</h2>"));
    EXPECT_TRUE(Has(html, "id=\"section-rails-5v-3v3\""));
    EXPECT_TRUE(Has(html, " on &lt;b&gt;today&lt;/b&gt;."));
}

TEST(ReportHtml, FiguresInlineOrAsImages) {
    PlotData plot;
    plot.curve = {{0, 1}, {1, 0}};
    plot.x = {0, 1};
    plot.y = {0, 1};
    plot.drawable = true;
    plot.description = "a <plot>";
    ReportDocument document;
    document.histograms = {{"Vo at 0.140 V", 39, 0.1, {1, 2}, 38, 42},
                           {"cannot be drawn", 0, 0, {}, 0, 0},
                           {"Vo at 1.250 V", 29, 0.1, {3}, 28.5, 31.5}};
    const std::string inline_ = ReportHtml(SmallReport(), &plot, document);
    EXPECT_EQ(Count(inline_, "<svg "), 3u);
    EXPECT_TRUE(Has(inline_, "<section class=\"figures\" id=\"plot\">"));
    EXPECT_TRUE(Has(inline_, "<section class=\"figures\" id=\"histograms\">"));
    EXPECT_TRUE(Has(inline_, "@media print"));

    document.richTextPrint = true;
    const std::string images = ReportHtml(SmallReport(), &plot, document);
    EXPECT_EQ(Count(images, "<svg"), 0u);
    EXPECT_TRUE(Has(images, "<img src=\"figure-1.svg\" width=\"640\" height=\"358\" "
                            "alt=\"a &lt;plot&gt;\">"));
    EXPECT_TRUE(Has(images, "<img src=\"figure-3.svg\" width=\"640\" height=\"240\""));
    EXPECT_FALSE(Has(images, "@media"));
    EXPECT_EQ(ReportFigures(&plot, document, PrintColours).size(), 3u);
    EXPECT_EQ(ReportFigures(nullptr, document, PrintColours).size(), 2u);
}

TEST(ReportCsv, TablesForSpreadsheets) {
    Report report = SmallReport();
    report.sections.pop_back();
    ReportDocument document;
    document.date = "2025-12-31";
    document.note = "=cmd|' /C calc'!A0";
    const std::string program =
        std::string(orvalex::ProgramName) + ' ' + std::string(orvalex::Version);
    EXPECT_EQ(ReportCsv(report, document),
              "Document\r\nItem,Value\r\nReport,Design analysis of the Calc tab's last CAL\r\n"
              "Program," +
                  program +
                  "\r\nDate,2025-12-31\r\nNote,'=cmd|' /C calc'!A0\r\n"
                  "\r\nDesign\r\nQuantity,Value\r\nR1,1 k\u03a9\r\n"
                  "\r\nSettings\r\nSetting,Value\r\nSeries,E96\r\n"
                  "\r\nPin faults\r\nPin,Vo at 0.140 V\r\nAt 0 V,41.261 V\r\nOpen,18.739 V\r\n");
    // Without an analysis the document says why, and the tables there are follow.
    const std::string refused =
        ReportCsv(ReportWithoutDesign(calc_core::Tab::Check, "No, \"R3\" < 0."), {});
    EXPECT_EQ(refused, "Document\r\nItem,Value\r\n"
                       "Report,Design analysis of the Check tab's last CAL\r\n"
                       "Program," +
                           program + "\r\nNo analysis,\"No, \"\"R3\"\" < 0.\"\r\n");
}

// The press's results as the tabs show them, with the element a failed check marks red; the
// texts are those of the calculator's worked examples.
TEST(PressSection, ResultsAsTheTabShowsThem) {
    const calc_core::NumberLocale locale;
    const struct {
        const char* name;
        Section section;
        std::vector<std::vector<std::string>> rows;
        std::vector<std::pair<int, int>> flagged;
        std::vector<std::string> warnings;
    } rows[] = {
        {"CalcNoDiode",
         PressSection(calc_core::CalcPress(false, true, {"10000", "2.5", "40", "30", ""}, locale)),
         {{"R1", "64955"}, {"R3", "7210"}, {"Vo_mid", "35"}},
         {},
         {}},
        {"CalcVoMidRed",
         PressSection(
             calc_core::CalcPress(false, true, {"100", "2.0", "101.2", "40.2", ""}, locale)),
         {{"R1", "151"}, {"R3", "3"}, {"Vo_mid", "66"}},
         {{2, 1}},
         {"The press ended with \"Cal Error! Please check circuit!\".",
          "Vo_mid is marked red: it misses its target by 3 V or more."}},
        // Vo_max is a box, not a result: only the note says it is red.
        {"CalcVoMaxRed",
         PressSection(calc_core::CalcPress(false, true, {"10000", "2.5", "40", "2", ""}, locale)),
         {{"R1", "173171"}, {"R3", "-4943"}, {"Vo_mid", "-17"}},
         {},
         {"The press ended with \"Cal Error! Please check circuit!\".",
          "Vo_max is marked red: it misses its target by 3 V or more."}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.section.name, PressSectionName);
        EXPECT_EQ(row.section.rows, row.rows);
        EXPECT_EQ(row.section.flagged, row.flagged);
        std::vector<std::string> warnings;
        for (const Note& note : row.section.notes) {
            EXPECT_TRUE(note.warning);
            warnings.push_back(note.text);
        }
        EXPECT_EQ(warnings, row.warnings);
    }
    calc_core::CheckResults results;
    const Section check = PressSection(
        calc_core::CheckPress(true, false, {"470", "10", "100", "1.2", "0.6"}, locale, results));
    EXPECT_EQ(check.rows,
              (std::vector<std::vector<std::string>>{{"Vo_max", "60"}, {"Vo_min", "57"}}));
}

} // namespace
} // namespace analysis_report
