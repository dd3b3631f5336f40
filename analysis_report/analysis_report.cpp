// The design analysis as a report of formatted cells and notes: the sections in their order, and
// finding and copying what they hold.
#include "analysis_report/analysis_report.h"

#include "analysis_report/buy_section.h"
#include "analysis_report/report_sections.h"
#include "calc_core/setting_notices.h"

#include <algorithm>
#include <string>

namespace analysis_report {
namespace {

using calc_core::DesignAnalysis;

void AppendSection(std::string& text, const Section& section) {
    const auto appendCells = [&text](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            text += (i ? "\t" : "") + cells[i];
        }
        text += '\n';
    };
    text += section.name + '\n';
    if (!section.subject.empty()) {
        text += section.subject + '\n';
    }
    appendCells(section.header);
    for (const auto& row : section.rows) {
        appendCells(row);
    }
    for (const Note& note : section.notes) {
        text += note.text + '\n';
    }
}

} // namespace

Report MakeReport(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                  const calc_core::AnalysisSettings& settings,
                  const calc_core::AnalysisOutcome& outcome, std::string_view decimalSeparator) {
    const Writer w(decimalSeparator);
    const bool checkTargets = tab == calc_core::Tab::Check;
    Report report = ReportWithoutDesign(tab, {});
    const DesignAnalysis* a = outcome.analysis ? &*outcome.analysis : nullptr;
    report.design = DesignSection(a ? a->design : design, checkTargets, w);
    report.settings = SettingsSection(settings, design.circuit.diode(), w);
    for (const calc_core::SettingNotice& notice : calc_core::SettingNotices(settings)) {
        report.settings.notes.push_back({notice.text});
    }
    if (!a || a->set.levels.empty()) {
        report.reason = outcome.reason.empty() ? "The design cannot be analysed." : outcome.reason;
        return report;
    }
    report.sections = {LevelsSection(*a, w), FaultsSection(*a, w),
                       PreferredSection(*a, checkTargets, w), ToleranceSection(*a, w),
                       SpecSection(*a, checkTargets, w)};
    if (a->synthesis) {
        report.sections.push_back(PartsSection(*a, w));
        if (const std::optional<BuildToBuy> build = ToBuy(*a)) {
            report.sections.push_back(BuySection(*a, *build, w));
            report.sections.push_back(BomSection(*a, *build));
        }
        if (!a->synthesis->builds.empty()) {
            report.sections.push_back(BuildsSection(*a, w));
        }
    }
    if (a->yield) {
        report.sections.push_back(YieldSection(*a, w));
    }
    return report;
}

Report ReportWithoutDesign(calc_core::Tab tab, std::string reason) {
    Report report;
    report.heading =
        "Design analysis of the " + std::string(calc_core::TabName(tab)) + " tab's last CAL";
    report.reason = std::move(reason);
    return report;
}

const std::string* FindCell(const Section& section, std::string_view row, std::string_view column) {
    const auto col = std::find(section.header.begin(), section.header.end(), column);
    if (col == section.header.end()) {
        return nullptr;
    }
    const auto c = static_cast<std::size_t>(col - section.header.begin());
    for (const auto& cells : section.rows) {
        if (!cells.empty() && cells.front() == row && c < cells.size()) {
            return &cells[c];
        }
    }
    return nullptr;
}

const Section* FindSection(const Report& report, std::string_view name) {
    for (const Section* section : {&report.design, &report.settings}) {
        if (section->name == name) {
            return section;
        }
    }
    for (const Section& section : report.sections) {
        if (section.name == name) {
            return &section;
        }
    }
    return nullptr;
}

std::string ReportText(const Report& report) {
    std::string text = report.heading + "\n\n";
    AppendSection(text, report.design);
    text += '\n';
    AppendSection(text, report.settings);
    if (!report.reason.empty()) {
        return text + '\n' + report.reason + '\n';
    }
    for (const Section& section : report.sections) {
        text += '\n';
        AppendSection(text, section);
    }
    return text;
}

} // namespace analysis_report
