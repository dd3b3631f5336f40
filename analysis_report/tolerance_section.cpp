// The report's section of the worst-case and RSS bands and the shares of what makes them up.
#include "analysis_report/report_sections.h"

#include "calc_core/tolerance_box.h"

#include <array>
#include <string>
#include <vector>

namespace analysis_report {
namespace {

using calc_core::SetAnalysis;

// The names under which the report shows the tolerance box's quantities.
constexpr std::array<std::string_view, calc_core::ToleranceQuantityCount> QuantityNames = {
    "R1", "R2", "R3", "Vref", "pin level", "feedback pin current", "Vf"};

// One column a level, so that the bands of neighbouring levels stand side by side.
void AddBandRows(Section& section, const SetAnalysis& set, const Writer& w) {
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
}

void AddShareRows(Section& section, const SetAnalysis& set, bool diode, const Writer& w) {
    // Vf is the last quantity, and varies with the diode only.
    const std::size_t quantities = diode ? QuantityNames.size() : QuantityNames.size() - 1;
    for (std::size_t q = 0; q < quantities; ++q) {
        std::vector<std::string> row = {"Share of " + std::string(QuantityNames[q])};
        for (const calc_core::ToleranceLevel& t : set.tolerance) {
            row.push_back(w.Share(t.shares[q]));
        }
        section.rows.push_back(std::move(row));
    }
}

// What the bands take in: the box of tolerances and drifts, over the temperature range.
Note BoxNote(const calc_core::AnalysisSettings& s, bool diode, const Writer& w) {
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
    return {"Worst case over every corner of " + box + ", from " + w.Setting(s.tempMinC) +
            " \u00b0C to " + w.Setting(s.tempMaxC) +
            " \u00b0C; each part drifts with its own sign, and the nominal values are at 25 "
            "\u00b0C. The feedback pin current adds I_FB \u00d7 R1 to the output. RSS: each "
            "quantity's half swing, added in quadrature; the shares are of its sum of squares."};
}

// Whether neighbouring bands overlap.
void AddOverlapNotes(std::vector<Note>& notes, const SetAnalysis& set, const Writer& w) {
    for (std::size_t i = 0; i + 1 < set.tolerance.size(); ++i) {
        if (set.tolerance[i].overlapsNext) {
            notes.push_back({"The worst-case bands at " + w.Volts(set.tolerance[i].pinV) + " and " +
                                 w.Volts(set.tolerance[i + 1].pinV) +
                                 " overlap: their output steps can no longer be told apart.",
                             true});
        }
    }
    if (!set.bandsOverlap) {
        notes.push_back({"The worst-case bands of neighbouring levels are apart."});
    }
}

// Levels where some corner of the box turns the diode the other way than at 25 °C.
void AddDiodeNotes(std::vector<Note>& notes, const SetAnalysis& set, const Writer& w) {
    for (std::size_t i = 0; i < set.tolerance.size() && i < set.levels.size(); ++i) {
        const calc_core::ToleranceLevel& t = set.tolerance[i];
        if (set.levels[i].diodeConducts && t.diodeMayBlock) {
            notes.push_back({"At " + w.Volts(t.pinV) +
                                 " the diode conducts at 25 \u00b0C but blocks at some corner of "
                                 "the box: there R3 carries no current.",
                             true});
        } else if (!set.levels[i].diodeConducts && t.diodeMayConduct) {
            notes.push_back({"At " + w.Volts(t.pinV) +
                             " the diode blocks at 25 \u00b0C but conducts at some corner of the "
                             "box."});
        }
    }
}

} // namespace

Section ToleranceSection(const calc_core::DesignAnalysis& a, const Writer& w) {
    const bool diode = a.design.circuit.diode();
    const SetAnalysis& set = a.shown();
    Section section;
    section.name = "Tolerances";
    section.subject = SubjectOf(a, w);
    AddBandRows(section, set, w);
    AddShareRows(section, set, diode, w);
    section.notes.push_back(BoxNote(a.settings, diode, w));
    AddOverlapNotes(section.notes, set, w);
    AddDiodeNotes(section.notes, set, w);
    return section;
}

} // namespace analysis_report
