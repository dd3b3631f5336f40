// The report's sections of the design as analysed and of the analysis settings.
#include "analysis_report/report_sections.h"

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

Section SettingsSection(const calc_core::AnalysisSettings& s, bool diode, const Writer& w) {
    Section section;
    section.name = "Settings";
    section.header = {"Setting", "Value"};
    const auto plusMinus = [](const std::string& text) { return std::string(PlusMinus) + text; };
    section.rows = {{"Series", std::string(calc_core::SeriesName(s.series))},
                    {"Resistor tolerance", plusMinus(w.Setting(s.resistorTolerancePct) + " %")},
                    {"Vref tolerance", plusMinus(w.Setting(s.vrefTolerancePct) + " %")},
                    {"Pin level accuracy", plusMinus(w.Setting(s.levelAccuracyMv) + " mV")}};
    if (diode) {
        section.rows.push_back({"Vf spread", plusMinus(w.Volts(s.vfSpreadV))});
    }
    section.rows.push_back({"Pin voltage", w.Volts(s.pinVoltage)});
    section.rows.push_back({"Operating temperature", w.Setting(s.tempMinC) + " \u00b0C to " +
                                                         w.Setting(s.tempMaxC) + " \u00b0C"});
    section.rows.push_back(
        {"Resistor TCR", plusMinus(w.Setting(s.resistorTcrPpm) + " ppm/\u00b0C")});
    section.rows.push_back({"Vref drift", plusMinus(w.Setting(s.vrefDriftPpm) + " ppm/\u00b0C")});
    if (diode) {
        section.rows.push_back({"Vf tempco", w.Setting(s.vfTempcoMv) + " mV/\u00b0C"});
    }
    section.rows.push_back({"Feedback pin current", plusMinus(w.Setting(s.fbCurrentNa) + " nA")});
    section.rows.push_back(
        {"Output spec", plusMinus(w.Setting(s.specPct) + " % of each level's target")});
    return section;
}

} // namespace analysis_report
