// The report's section of the worst-case and RSS bands and the shares of what makes them up.
#include "analysis_report/report_sections.h"

#include "analysis_report/term_text.h"

#include "calc_core/tolerance_box.h"

#include <array>
#include <string>
#include <vector>

namespace analysis_report {
namespace {

using calc_core::SetAnalysis;

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
    const std::size_t quantities =
        diode ? calc_core::ToleranceQuantityCount : calc_core::ToleranceQuantityCount - 1;
    for (std::size_t q = 0; q < quantities; ++q) {
        std::vector<std::string> row = {
            "Share of " + std::string(calc_core::QuantityName(calc_core::ToleranceQuantity(q)))};
        for (const calc_core::ToleranceLevel& t : set.tolerance) {
            row.push_back(w.Share(t.shares[q]));
        }
        section.rows.push_back(std::move(row));
    }
}

// What the bands take in: the terms of each quantity, over the temperature range.
Note BoxNote(const calc_core::AnalysisSettings& s, bool diode, const Writer& w) {
    std::vector<std::string> groups;
    for (const calc_core::QuantitySet group : TermGroups()) {
        if (diode || !calc_core::Moves(group, calc_core::ToleranceQuantity::Vf)) {
            groups.push_back(GroupText(group) + " " + TermsText(group, s, w, false));
        }
    }
    std::string box;
    for (const std::string& group : groups) {
        box += (box.empty() ? "" : ", ") + group;
    }
    return {"Worst case over every corner of " + box + ", from " + w.Setting(s.tempMinC) +
            " \u00b0C to " + w.Setting(s.tempMaxC) +
            " \u00b0C; each part drifts with its own sign, and the nominal values are at " +
            w.Setting(calc_core::NominalTemperatureC) +
            " \u00b0C. The feedback pin current adds I_FB \u00d7 R1 to the output. RSS: each "
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
