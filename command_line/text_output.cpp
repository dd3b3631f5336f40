// Writing a press and its analysis as text for a terminal.
#include "command_line/text_output.h"

#include "analysis_report/analysis_report.h"
#include "analysis_report/press_section.h"
#include "command_line/text_table.h"

#include <string>
#include <vector>

namespace command_line {
namespace {

void WritePress(const PressReport& report, std::ostream& out) {
    out << calc_core::TabName(report.tab) << ", diode " << (report.diode ? "Yes" : "No") << '\n';
    TextTable texts;
    for (const ResultText& text : report.texts) {
        texts.AddRow({std::string(text.name), text.text});
    }
    texts.Write(out);
    if (!report.flagged.empty()) {
        out << "  " << analysis_report::RedElementNote(report.flagged) << '\n';
    }
}

// A section as the window shows it: its name, what it is for, the table with aligned columns, then
// its notes.
void WriteSection(const analysis_report::Section& section, std::ostream& out) {
    out << '\n' << section.name << '\n';
    if (!section.subject.empty()) {
        out << "  " << section.subject << '\n';
    }
    TextTable table;
    table.AddRow(section.header);
    for (const std::vector<std::string>& row : section.rows) {
        table.AddRow(row);
    }
    table.Write(out);
    for (const analysis_report::Note& note : section.notes) {
        out << (note.warning ? "  Warning: " : "  ") << note.text << '\n';
    }
}

} // namespace

void WriteText(const PressReport& report, std::ostream& out) {
    if (IsGateMessage(report.message)) {
        return;
    }
    WritePress(report, out);
    if (!report.design) {
        out << "\nNo analysis: " << report.analysis.reason << '\n';
        return;
    }
    const analysis_report::Report analysis = analysis_report::MakeReport(
        report.tab, *report.design, report.settings, report.analysis, ".");
    out << '\n' << analysis.heading << '\n';
    WriteSection(analysis.design, out);
    WriteSection(analysis.settings, out);
    if (!analysis.reason.empty()) {
        out << "\nNo analysis: " << analysis.reason << '\n';
        return;
    }
    for (const analysis_report::Section& section : analysis.sections) {
        WriteSection(section, out);
    }
}

} // namespace command_line
