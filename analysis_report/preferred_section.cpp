// The report's section of the ranked pairs of preferred R1 and R3.
#include "analysis_report/buy_section.h"
#include "analysis_report/report_sections.h"

#include "calc_core/preferred_values.h"

#include <cmath>
#include <string>
#include <vector>

namespace analysis_report {
namespace {

using calc_core::DesignAnalysis;

std::vector<std::string> PairRow(std::size_t rank, const calc_core::PreferredPair& pair,
                                 const Writer& w) {
    std::vector<std::string> row = {std::to_string(rank), w.Ohms(pair.r1), w.Ohms(pair.r3)};
    for (double vo : pair.levels) {
        row.push_back(w.Volts(vo));
    }
    row.insert(row.end(), {w.Volts(pair.errorVoMax), w.Volts(pair.errorVoMin),
                           w.Volts(pair.worstError), pair.meetsSpec ? "yes" : "no"});
    return row;
}

// Where the pairs come from, what they are ranked against and how ties are broken.
Note RankingNote(const DesignAnalysis& a, bool checkTargets, const Writer& w) {
    const std::string targets =
        (checkTargets ? "the set's own outputs, " : "Vo_max ") +
        w.Volts(a.design.targetVoMax.value_or(NAN)) + " at " + w.Volts(a.set.levels.front().pinV) +
        " and " + (checkTargets ? "" : "Vo_min ") + w.Volts(a.design.targetVoMin.value_or(NAN)) +
        " at " + w.Volts(a.set.levels.back().pinV);
    const std::string values = a.settings.series == calc_core::ESeries::Parts
                                   ? "the parts list's values"
                                   : std::string(calc_core::SeriesName(a.settings.series)) +
                                         " values from " + calc_core::SeriesRangeText();
    return {
        "Pairs of " + values + " with R2 = " + w.Ohms(a.design.circuit.r2) +
        ", ranked by the worst error against " + targets +
        "; ties go to the smaller sum of both errors, then the smaller R1, then the smaller R3."};
}

// What Parts to buy says, for a spec the pairs miss with the settings' resistors: the grade that
// meets it with its own tolerance and TCR, or that none does; nothing without the synthesis.
std::string WhereAGradeMeets(const DesignAnalysis& a, const Writer& w) {
    if (!a.synthesis) {
        return {};
    }
    const auto& chosen = a.synthesis->chosen;
    if (!chosen && a.synthesis->mixed) {
        return " No grade meets it for all three parts, but a grade for each part does: see " +
               std::string(BuySectionName) + ".";
    }
    if (!chosen) {
        return " No grade of " + std::string(PartsSectionName) + " meets it either: see " +
               std::string(PartsSectionName) + " and " + std::string(BuildsSectionName) +
               " for the one that comes nearest.";
    }
    return " Grade " + std::to_string(*chosen + 1) + " of " + std::string(PartsSectionName) + ", " +
           GradeText(a.synthesis->grades[*chosen].grade, w) + ", meets it: see " +
           std::string(PartsSectionName) + " and " + std::string(BuildsSectionName) + ".";
}

// The ranks of the pairs that meet the spec, or a warning that none does.
Note MeetingNote(const DesignAnalysis& a, const Writer& w) {
    std::string meeting;
    for (std::size_t i = 0; i < a.preferred.size(); ++i) {
        if (a.preferred[i].meetsSpec) {
            meeting += (meeting.empty() ? "" : ", ") + std::to_string(i + 1);
        }
    }
    const std::string spec = std::string(PlusMinus) + w.Setting(a.settings.specPct) + " % spec";
    if (meeting.empty()) {
        return {"None of the pairs meets the " + spec +
                    " at every level with its own worst-case bands, judged with the settings' " +
                    "resistors, " + ResistorGradeText(a.settings, w) + "." + WhereAGradeMeets(a, w),
                true};
    }
    return {"Pairs that meet the " + spec +
            " at every level with their own worst-case bands: " + meeting + "."};
}

} // namespace

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
        section.rows.push_back(PairRow(i + 1, a.preferred[i], w));
        section.fits.emplace_back(RowFit{calc_core::FitChoice::Pair(int(i + 1))});
    }
    section.notes = {RankingNote(a, checkTargets, w), MeetingNote(a, w)};
    return section;
}

} // namespace analysis_report
