// The design analysis as a report of formatted cells and notes.
#include "analysis_report/analysis_report.h"

#include "analysis_report/number_format.h"
#include "calc_core/preferred_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace analysis_report {
namespace {

using calc_core::DesignAnalysis;

constexpr std::string_view PlusMinus = "\u00b1 ";

// The names under which the report shows the pin's states and the tolerance box's quantities.
std::string_view FaultStateName(calc_core::FaultState state) {
    switch (state) {
    case calc_core::FaultState::PinAtZero:
        return "At 0 V";
    case calc_core::FaultState::PinOpen:
        return "Open";
    case calc_core::FaultState::PinAtUserVoltage:
        return "At the set voltage";
    }
    return {};
}

constexpr std::array<std::string_view, calc_core::ToleranceQuantityCount> QuantityNames = {
    "R1", "R2", "R3", "Vref", "pin level", "Vf"};

// Writes numbers with one separator; every cell of the report goes through one of these.
class Writer {
  public:
    explicit Writer(std::string_view separator) : separator_(separator) {}

    std::string Volts(double v) const { return FormatVolts(v, separator_); }
    std::string Ohms(double r) const { return FormatOhms(r, separator_); }
    std::string Amps(double i) const { return FormatPrefixed(i, "A", 4, separator_); }
    std::string Watts(double p) const { return FormatPrefixed(p, "W", 4, separator_); }
    std::string Share(double s) const { return FormatShare(s, separator_); }
    std::string Setting(double s) const { return FormatSetting(s, separator_); }

  private:
    std::string separator_;
};

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
    return section;
}

Section LevelsSection(const DesignAnalysis& a, const Writer& w) {
    const bool diode = a.design.circuit.diode();
    Section section;
    section.name = "Levels";
    section.header = {"Pin level", "Vo"};
    if (diode) {
        section.header.insert(section.header.end(), {"Diode", "Vo by the tabs' formula"});
    }
    section.header.insert(section.header.end(), {"I(R1)", "I(R2)", "I(R3)"});
    for (const calc_core::LevelAnalysis& level : a.levels) {
        std::vector<std::string> row = {w.Volts(level.pinV), w.Volts(level.vo)};
        if (diode) {
            if (!level.diodeConducts) {
                section.flagged.emplace_back(int(section.rows.size()), int(row.size()));
            }
            row.push_back(level.diodeConducts ? "conducts" : "blocks");
            row.push_back(w.Volts(level.voFormula));
        }
        row.insert(row.end(), {w.Amps(level.iR1), w.Amps(level.iR2), w.Amps(level.iR3)});
        section.rows.push_back(std::move(row));
    }

    auto& notes = section.notes;
    notes.push_back({"Span, Vo at " + w.Volts(a.levels.front().pinV) + " minus Vo at " +
                     w.Volts(a.levels.back().pinV) + ": " + w.Volts(a.span)});
    notes.push_back(
        {"Highest power in R1: " + w.Watts(a.pR1Max) + "; in R2: " + w.Watts(a.pR2Max)});
    notes.push_back({"Currents: I(R1) from the output into the node, I(R2) from the node to "
                     "ground, I(R3) from the node towards the pin."});
    for (const calc_core::LevelAnalysis& level : a.levels) {
        if (!level.diodeConducts) {
            notes.push_back({"At " + w.Volts(level.pinV) +
                                 " the diode blocks, as Vf plus the pin level is not below Vref: "
                                 "no current flows through R3, and the output sits at " +
                                 w.Volts(level.vo) + ", not at the " + w.Volts(level.voFormula) +
                                 " of the Calc and Check tabs' formula.",
                             true});
        }
    }
    return section;
}

Section FaultsSection(const DesignAnalysis& a, const Writer& w) {
    Section section;
    section.name = "Pin faults";
    section.header = {"Pin", "Pin voltage", "Vo", "Against the normal levels"};
    for (const calc_core::FaultAnalysis& fault : a.faults) {
        if (fault.overvoltage) {
            section.flagged.emplace_back(int(section.rows.size()), 3);
        }
        section.rows.push_back({std::string(FaultStateName(fault.state)),
                                fault.pinV ? w.Volts(*fault.pinV) : "not driven", w.Volts(fault.vo),
                                fault.overvoltage ? "overvoltage risk" : "not higher"});
    }
    const auto highest =
        std::max_element(a.levels.begin(), a.levels.end(),
                         [](const calc_core::LevelAnalysis& x, const calc_core::LevelAnalysis& y) {
                             return x.vo < y.vo;
                         });
    section.notes.push_back({"Highest output at the normal levels: " + w.Volts(highest->vo) +
                             ", with the pin at " + w.Volts(highest->pinV) + "."});
    if (std::any_of(a.faults.begin(), a.faults.end(),
                    [](const calc_core::FaultAnalysis& f) { return f.overvoltage; })) {
        section.notes.push_back({"A pin state marked \"overvoltage risk\" drives the output above "
                                 "its highest normal level.",
                                 true});
    }
    return section;
}

Section PreferredSection(const DesignAnalysis& a, bool checkTargets, const Writer& w) {
    Section section;
    section.name = "Preferred values";
    section.header = {"Rank", "R1", "R3"};
    for (const calc_core::LevelAnalysis& level : a.levels) {
        section.header.push_back("Vo at " + w.Volts(level.pinV));
    }
    section.header.insert(section.header.end(), {"Vo_max error", "Vo_min error", "Worst error"});
    for (std::size_t i = 0; i < a.preferred.size(); ++i) {
        const calc_core::PreferredPair& pair = a.preferred[i];
        std::vector<std::string> row = {std::to_string(i + 1), w.Ohms(pair.r1), w.Ohms(pair.r3)};
        for (double vo : pair.levels) {
            row.push_back(w.Volts(vo));
        }
        row.insert(row.end(),
                   {w.Volts(pair.errorVoMax), w.Volts(pair.errorVoMin), w.Volts(pair.worstError)});
        section.rows.push_back(std::move(row));
    }
    const std::string targets =
        (checkTargets ? "the set's own outputs, " : "Vo_max ") +
        w.Volts(a.design.targetVoMax.value_or(NAN)) + " at " + w.Volts(a.levels.front().pinV) +
        " and " + (checkTargets ? "" : "Vo_min ") + w.Volts(a.design.targetVoMin.value_or(NAN)) +
        " at " + w.Volts(a.levels.back().pinV);
    section.notes.push_back(
        {"Pairs of " + std::string(calc_core::SeriesName(a.settings.series)) +
         " values from 1 \u03a9 to 10 M\u03a9 with R2 = " + w.Ohms(a.design.circuit.r2) +
         ", ranked by the worst error against " + targets +
         "; ties go to the smaller sum of both errors, then the smaller R1, then the smaller R3."});
    return section;
}

Section ToleranceSection(const DesignAnalysis& a, const Writer& w) {
    const bool diode = a.design.circuit.diode();
    Section section;
    section.name = "Tolerances";
    // One column a level, so that the bands of neighbouring levels stand side by side.
    section.header = {"Pin level"};
    std::vector<std::string> vo = {"Vo"};
    std::vector<std::string> min = {"Worst-case min"};
    std::vector<std::string> max = {"Worst-case max"};
    std::vector<std::string> rss = {"RSS"};
    for (std::size_t i = 0; i < a.tolerance.size() && i < a.levels.size(); ++i) {
        const calc_core::ToleranceLevel& t = a.tolerance[i];
        section.header.push_back(w.Volts(t.pinV));
        vo.push_back(w.Volts(a.levels[i].vo));
        min.push_back(w.Volts(t.min));
        max.push_back(w.Volts(t.max));
        rss.push_back(std::string(PlusMinus) + w.Volts(t.rss));
    }
    section.rows = {vo, min, max, rss};
    // Vf is the last quantity, and varies with the diode only.
    const std::size_t quantities = diode ? QuantityNames.size() : QuantityNames.size() - 1;
    for (std::size_t q = 0; q < quantities; ++q) {
        std::vector<std::string> row = {"Share of " + std::string(QuantityNames[q])};
        for (const calc_core::ToleranceLevel& t : a.tolerance) {
            row.push_back(w.Share(t.shares[q]));
        }
        section.rows.push_back(std::move(row));
    }
    const calc_core::AnalysisSettings& s = a.settings;
    std::string box = "R1, R2 and R3 " + std::string(PlusMinus) +
                      w.Setting(s.resistorTolerancePct) + " %, Vref " + std::string(PlusMinus) +
                      w.Setting(s.vrefTolerancePct) + " %, the pin level " +
                      std::string(PlusMinus) + w.Setting(s.levelAccuracyMv) + " mV";
    if (diode) {
        box += ", Vf " + std::string(PlusMinus) + w.Volts(s.vfSpreadV);
    }
    section.notes.push_back({"Worst case over every corner of " + box +
                             ". RSS: each quantity's half swing, added in quadrature; the shares "
                             "are of its sum of squares."});
    section.notes.push_back(
        a.bandsOverlap ? Note{"The worst-case bands of neighbouring levels overlap: their output "
                              "steps can no longer be told apart.",
                              true}
                       : Note{"The worst-case bands of neighbouring levels are apart."});
    return section;
}

void AppendSection(std::string& text, const Section& section) {
    const auto appendCells = [&text](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            text += (i ? "\t" : "") + cells[i];
        }
        text += '\n';
    };
    text += section.name + '\n';
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
    Report report;
    report.heading =
        "Design analysis of the " + std::string(calc_core::TabName(tab)) + " tab's last CAL";
    const DesignAnalysis* a = outcome.analysis ? &*outcome.analysis : nullptr;
    report.design = DesignSection(a ? a->design : design, checkTargets, w);
    report.settings = SettingsSection(settings, design.circuit.diode(), w);
    if (!a || a->levels.empty()) {
        report.reason = outcome.reason.empty() ? "The design cannot be analysed." : outcome.reason;
        return report;
    }
    report.sections = {LevelsSection(*a, w), FaultsSection(*a, w),
                       PreferredSection(*a, checkTargets, w), ToleranceSection(*a, w)};
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
