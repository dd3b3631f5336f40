// The report's section of each level's worst-case band against the output spec.
#include "analysis_report/report_sections.h"

#include <string>

namespace analysis_report {
namespace {

using calc_core::SetAnalysis;

// What the bands are held against: the targets and the spec's half width.
Note SpecNote(const calc_core::DesignAnalysis& a, bool checkTargets, const Writer& w) {
    const SetAnalysis& set = a.shown();
    const std::string targets =
        checkTargets ? "the set's own outputs"
                     : "Vo_max at " + w.Volts(set.spec.front().pinV) + ", Vo_min at " +
                           w.Volts(set.spec.back().pinV) +
                           (set.spec.size() > 2 ? ", and between them the designed output" : "");
    return {"Each level's worst-case band, temperature and the feedback pin current included, "
            "against its target " +
            std::string(PlusMinus) + w.Setting(a.settings.specPct) + " %. Targets: " + targets +
            ". Margin: the smallest distance from the band to the spec's edge, negative when the "
            "band leaves it."};
}

} // namespace

Section SpecSection(const calc_core::DesignAnalysis& a, bool checkTargets, const Writer& w) {
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
    section.notes.push_back(SpecNote(a, checkTargets, w));
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

} // namespace analysis_report
