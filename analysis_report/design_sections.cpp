// The report's sections of the design as analysed and of the analysis settings.
#include "analysis_report/report_sections.h"

#include "analysis_report/term_text.h"

#include "calc_core/preferred_values.h"

#include <string>

namespace analysis_report {

Section DesignSection(const calc_core::AnalysisDesign& design, bool checkTargets, const Writer& w) {
    const calc_core::Circuit& c = design.circuit;
    Section section;
    section.name = "Design";
    section.header = {"Quantity", "Value"};
    section.rows = {{"R1", w.Ohms(c.r1)},
                    {"R2", w.Ohms(c.r2)},
                    {"R3", w.Ohms(c.r3)},
                    {"Vref", w.Volts(c.vref)},
                    {"Diode", c.vf ? "Vf " + w.Volts(*c.vf) : std::string("none")}};
    const std::string own = checkTargets ? " (the set's own)" : "";
    if (design.targetVoMax) {
        section.rows.push_back({"Vo_max target", w.Volts(*design.targetVoMax) + own});
    }
    if (design.targetVoMin) {
        section.rows.push_back({"Vo_min target", w.Volts(*design.targetVoMin) + own});
    }
    return section;
}

// The settings of the analysis group as the table lists them; those of the diode only with one.
Section SettingsSection(const calc_core::AnalysisSettings& s, bool diode, const Writer& w) {
    Section section;
    section.name = "Settings";
    section.header = {"Setting", "Value"};
    for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
        if (row.group != calc_core::SettingGroup::Analysis || (row.diodeOnly && !diode)) {
            continue;
        }
        section.rows.push_back(
            {std::string(row.label), row.kind == calc_core::SettingKind::Number
                                         ? SettingValueText(row, s.*row.number, w)
                                         : calc_core::SettingText(row, s)});
    }
    return section;
}

} // namespace analysis_report
