// The design analysis as a report of formatted cells and notes.
#include "analysis_report/analysis_report.h"

#include "analysis_report/number_format.h"
#include "calc_core/preferred_values.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>

namespace analysis_report {
namespace {

using calc_core::DesignAnalysis;
using calc_core::SetAnalysis;

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
    "R1", "R2", "R3", "Vref", "pin level", "feedback pin current", "Vf"};

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

// The R1 and R3 whose figures a section gives.
std::string SubjectOf(const DesignAnalysis& a, const Writer& w) {
    if (!a.fitted) {
        return "As designed: R1 " + w.Ohms(a.design.circuit.r1) + ", R3 " +
               w.Ohms(a.design.circuit.r3);
    }
    const calc_core::FittedAnalysis& f = *a.fitted;
    return "As fitted: R1 " + w.Ohms(f.r1) + ", R3 " + w.Ohms(f.r3) +
           (f.pairRank ? ", preferred pair " + std::to_string(*f.pairRank) : ", as typed");
}

Note CollapseNote(const std::string& where, double vo, const Writer& w) {
    return {where + " the formula gives " + w.Volts(vo) +
                ": the converter cannot regulate below 0 V, and its output collapses.",
            true};
}

Section LevelsSection(const DesignAnalysis& a, const Writer& w) {
    const bool diode = a.design.circuit.diode();
    const SetAnalysis& set = a.shown();
    const bool fitted = a.fitted.has_value();
    Section section;
    section.name = "Levels";
    section.subject = SubjectOf(a, w);
    section.header = {"Pin level"};
    if (fitted) {
        section.header.insert(section.header.end(), {"Designed Vo", "Fitted Vo", "Difference"});
    } else {
        section.header.push_back("Vo");
    }
    const int voColumn = fitted ? 2 : 1;
    if (diode) {
        section.header.insert(section.header.end(), {"Diode", "Vo by the tabs' formula"});
    }
    section.header.insert(section.header.end(), {"I(R1)", "I(R2)", "I(R3)"});
    for (std::size_t i = 0; i < set.levels.size(); ++i) {
        const calc_core::LevelAnalysis& level = set.levels[i];
        if (level.collapses) {
            section.flagged.emplace_back(int(section.rows.size()), voColumn);
        }
        std::vector<std::string> row = {w.Volts(level.pinV)};
        if (fitted) {
            row.insert(row.end(), {w.Volts(a.set.levels[i].vo), w.Volts(level.vo),
                                   w.Volts(a.fitted->voChange[i])});
        } else {
            row.push_back(w.Volts(level.vo));
        }
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
    if (fitted) {
        notes.push_back({"Designed Vo: the output of the design's R1 and R3; the difference is "
                         "the fitted output minus the designed one."});
    }
    notes.push_back({"Span, Vo at " + w.Volts(set.levels.front().pinV) + " minus Vo at " +
                     w.Volts(set.levels.back().pinV) + ": " + w.Volts(set.span)});
    notes.push_back(
        {"Highest power in R1: " + w.Watts(set.pR1Max) + "; in R2: " + w.Watts(set.pR2Max)});
    notes.push_back({"Currents: I(R1) from the output into the node, I(R2) from the node to "
                     "ground, I(R3) from the node towards the pin."});
    for (const calc_core::LevelAnalysis& level : set.levels) {
        if (level.collapses) {
            notes.push_back(CollapseNote("At " + w.Volts(level.pinV), level.vo, w));
        }
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
    const SetAnalysis& set = a.shown();
    Section section;
    section.name = "Pin faults";
    section.subject = SubjectOf(a, w);
    section.header = {"Pin", "Pin voltage", "Vo", "Against the normal levels"};
    for (const calc_core::FaultAnalysis& fault : set.faults) {
        if (fault.overvoltage) {
            section.flagged.emplace_back(int(section.rows.size()), 3);
        }
        if (fault.collapses) {
            section.flagged.emplace_back(int(section.rows.size()), 2);
        }
        section.rows.push_back({std::string(FaultStateName(fault.state)),
                                fault.pinV ? w.Volts(*fault.pinV) : "not driven", w.Volts(fault.vo),
                                fault.overvoltage ? "overvoltage risk"
                                : fault.collapses ? "below 0 V: collapses"
                                                  : "not higher"});
    }
    const auto highest =
        std::max_element(set.levels.begin(), set.levels.end(),
                         [](const calc_core::LevelAnalysis& x, const calc_core::LevelAnalysis& y) {
                             return x.vo < y.vo;
                         });
    section.notes.push_back({"Highest output at the normal levels: " + w.Volts(highest->vo) +
                             ", with the pin at " + w.Volts(highest->pinV) + "."});
    if (std::any_of(set.faults.begin(), set.faults.end(),
                    [](const calc_core::FaultAnalysis& f) { return f.overvoltage; })) {
        section.notes.push_back({"A pin state marked \"overvoltage risk\" drives the output above "
                                 "its highest normal level.",
                                 true});
    }
    for (const calc_core::FaultAnalysis& fault : set.faults) {
        if (fault.collapses) {
            std::string where = std::string(FaultStateName(fault.state));
            where[0] = char(std::tolower(static_cast<unsigned char>(where[0])));
            section.notes.push_back(CollapseNote("With the pin " + where, fault.vo, w));
        }
    }
    return section;
}

Section PreferredSection(const DesignAnalysis& a, bool checkTargets, const Writer& w) {
    Section section;
    section.name = std::string(PreferredSectionName);
    section.header = {"Rank", "R1", "R3"};
    for (const calc_core::LevelAnalysis& level : a.set.levels) {
        section.header.push_back("Vo at " + w.Volts(level.pinV));
    }
    section.header.insert(section.header.end(),
                          {"Vo_max error", "Vo_min error", "Worst error", "Meets spec"});
    for (std::size_t i = 0; i < a.preferred.size(); ++i) {
        const calc_core::PreferredPair& pair = a.preferred[i];
        std::vector<std::string> row = {std::to_string(i + 1), w.Ohms(pair.r1), w.Ohms(pair.r3)};
        for (double vo : pair.levels) {
            row.push_back(w.Volts(vo));
        }
        row.insert(row.end(), {w.Volts(pair.errorVoMax), w.Volts(pair.errorVoMin),
                               w.Volts(pair.worstError), pair.meetsSpec ? "yes" : "no"});
        section.rows.push_back(std::move(row));
    }
    const std::string targets =
        (checkTargets ? "the set's own outputs, " : "Vo_max ") +
        w.Volts(a.design.targetVoMax.value_or(NAN)) + " at " + w.Volts(a.set.levels.front().pinV) +
        " and " + (checkTargets ? "" : "Vo_min ") + w.Volts(a.design.targetVoMin.value_or(NAN)) +
        " at " + w.Volts(a.set.levels.back().pinV);
    section.notes.push_back(
        {"Pairs of " + std::string(calc_core::SeriesName(a.settings.series)) +
         " values from 1 \u03a9 to 10 M\u03a9 with R2 = " + w.Ohms(a.design.circuit.r2) +
         ", ranked by the worst error against " + targets +
         "; ties go to the smaller sum of both errors, then the smaller R1, then the smaller R3."});
    std::string meeting;
    for (std::size_t i = 0; i < a.preferred.size(); ++i) {
        if (a.preferred[i].meetsSpec) {
            meeting += (meeting.empty() ? "" : ", ") + std::to_string(i + 1);
        }
    }
    const std::string spec = std::string(PlusMinus) + w.Setting(a.settings.specPct) + " % spec";
    section.notes.push_back(
        meeting.empty()
            ? Note{"None of the pairs meets the " + spec +
                       " at every level with its own worst-case bands.",
                   true}
            : Note{"Pairs that meet the " + spec +
                   " at every level with their own worst-case bands: " + meeting + "."});
    return section;
}

Section ToleranceSection(const DesignAnalysis& a, const Writer& w) {
    const bool diode = a.design.circuit.diode();
    const SetAnalysis& set = a.shown();
    Section section;
    section.name = "Tolerances";
    section.subject = SubjectOf(a, w);
    // One column a level, so that the bands of neighbouring levels stand side by side.
    section.header = {"Pin level"};
    std::vector<std::string> vo = {"Vo"};
    std::vector<std::string> min = {"Worst-case min"};
    std::vector<std::string> max = {"Worst-case max"};
    std::vector<std::string> rss = {"RSS"};
    for (std::size_t i = 0; i < set.tolerance.size() && i < set.levels.size(); ++i) {
        const calc_core::ToleranceLevel& t = set.tolerance[i];
        section.header.push_back(w.Volts(t.pinV));
        vo.push_back(w.Volts(set.levels[i].vo));
        min.push_back(w.Volts(t.min));
        max.push_back(w.Volts(t.max));
        rss.push_back(std::string(PlusMinus) + w.Volts(t.rss));
    }
    section.rows = {vo, min, max, rss};
    // Vf is the last quantity, and varies with the diode only.
    const std::size_t quantities = diode ? QuantityNames.size() : QuantityNames.size() - 1;
    for (std::size_t q = 0; q < quantities; ++q) {
        std::vector<std::string> row = {"Share of " + std::string(QuantityNames[q])};
        for (const calc_core::ToleranceLevel& t : set.tolerance) {
            row.push_back(w.Share(t.shares[q]));
        }
        section.rows.push_back(std::move(row));
    }
    const calc_core::AnalysisSettings& s = a.settings;
    const std::string pm(PlusMinus);
    std::string box = "R1, R2 and R3 " + pm + w.Setting(s.resistorTolerancePct) + " % and " + pm +
                      w.Setting(s.resistorTcrPpm) + " ppm/\u00b0C, Vref " + pm +
                      w.Setting(s.vrefTolerancePct) + " % and " + pm + w.Setting(s.vrefDriftPpm) +
                      " ppm/\u00b0C, the pin level " + pm + w.Setting(s.levelAccuracyMv) +
                      " mV, the feedback pin current " + pm + w.Setting(s.fbCurrentNa) + " nA";
    if (diode) {
        box +=
            ", Vf " + pm + w.Volts(s.vfSpreadV) + " and " + w.Setting(s.vfTempcoMv) + " mV/\u00b0C";
    }
    section.notes.push_back(
        {"Worst case over every corner of " + box + ", from " + w.Setting(s.tempMinC) +
         " \u00b0C to " + w.Setting(s.tempMaxC) +
         " \u00b0C; each part drifts with its own sign, and the nominal values are at 25 "
         "\u00b0C. The feedback pin current adds I_FB \u00d7 R1 to the output. RSS: each "
         "quantity's half swing, added in quadrature; the shares are of its sum of squares."});
    for (std::size_t i = 0; i + 1 < set.tolerance.size(); ++i) {
        if (set.tolerance[i].overlapsNext) {
            section.notes.push_back({"The worst-case bands at " + w.Volts(set.tolerance[i].pinV) +
                                         " and " + w.Volts(set.tolerance[i + 1].pinV) +
                                         " overlap: their output steps can no longer be told "
                                         "apart.",
                                     true});
        }
    }
    if (!set.bandsOverlap) {
        section.notes.push_back({"The worst-case bands of neighbouring levels are apart."});
    }
    for (std::size_t i = 0; i < set.tolerance.size() && i < set.levels.size(); ++i) {
        const calc_core::ToleranceLevel& t = set.tolerance[i];
        if (set.levels[i].diodeConducts && t.diodeMayBlock) {
            section.notes.push_back({"At " + w.Volts(t.pinV) +
                                         " the diode conducts at 25 \u00b0C but blocks at some "
                                         "corner of the box: there R3 carries no current.",
                                     true});
        } else if (!set.levels[i].diodeConducts && t.diodeMayConduct) {
            section.notes.push_back({"At " + w.Volts(t.pinV) +
                                     " the diode blocks at 25 \u00b0C but conducts at some corner "
                                     "of the box."});
        }
    }
    return section;
}

Section SpecSection(const DesignAnalysis& a, bool checkTargets, const Writer& w) {
    const SetAnalysis& set = a.shown();
    Section section;
    section.name = "Output spec";
    section.subject = SubjectOf(a, w);
    section.header = {"Pin level", "Target", "Spec band", "Worst-case band", "Meets", "Margin"};
    for (std::size_t i = 0; i < set.spec.size() && i < set.tolerance.size(); ++i) {
        const calc_core::SpecLevel& spec = set.spec[i];
        const calc_core::ToleranceLevel& band = set.tolerance[i];
        if (!spec.meets) {
            const int row = int(section.rows.size());
            section.flagged.insert(section.flagged.end(), {{row, 4}, {row, 5}});
        }
        section.rows.push_back({w.Volts(spec.pinV), w.Volts(spec.target),
                                w.Volts(spec.low) + " to " + w.Volts(spec.high),
                                w.Volts(band.min) + " to " + w.Volts(band.max),
                                spec.meets ? "yes" : "no", w.Volts(spec.margin)});
    }
    const std::string targets =
        checkTargets ? "the set's own outputs"
                     : "Vo_max at " + w.Volts(set.spec.front().pinV) + ", Vo_min at " +
                           w.Volts(set.spec.back().pinV) +
                           (set.spec.size() > 2 ? ", and between them the designed output" : "");
    section.notes.push_back({"Each level's worst-case band, temperature and the feedback pin "
                             "current included, against its target " +
                             std::string(PlusMinus) + w.Setting(a.settings.specPct) +
                             " %. Targets: " + targets +
                             ". Margin: the smallest distance from the band to the spec's edge, "
                             "negative when the band leaves it."});
    for (const calc_core::SpecLevel& spec : set.spec) {
        if (!spec.meets) {
            section.notes.push_back({"At " + w.Volts(spec.pinV) +
                                         " the worst-case band leaves the spec by " +
                                         w.Volts(-spec.margin) + ".",
                                     true});
        }
    }
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
    if (!a || a->set.levels.empty()) {
        report.reason = outcome.reason.empty() ? "The design cannot be analysed." : outcome.reason;
        return report;
    }
    report.sections = {LevelsSection(*a, w), FaultsSection(*a, w),
                       PreferredSection(*a, checkTargets, w), ToleranceSection(*a, w),
                       SpecSection(*a, checkTargets, w)};
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
