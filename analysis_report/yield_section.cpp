// The report's section of the yield estimate: how many boards pass, and each level's spread.
#include "analysis_report/report_sections.h"

#include "calc_core/yield_estimate.h"

#include <string>
#include <vector>

namespace analysis_report {
namespace {

using calc_core::DesignAnalysis;
using calc_core::YieldEstimate;

std::string Percent(double share, const Writer& w) {
    return YieldText(share, w.Separator());
}

std::vector<std::string> LevelRow(const calc_core::YieldLevel& level, const Writer& w) {
    return {w.Volts(level.pinV),
            w.Volts(level.target),
            w.Volts(level.specLow) + " to " + w.Volts(level.specHigh),
            w.Volts(level.mean),
            FormatPrefixed(level.sigma, "V", 4, w.Separator()),
            level.cpk ? FormatFixed(*level.cpk, 2, w.Separator()) : std::string("\u2014"),
            Percent(level.passShare, w)};
}

Note YieldNote(const YieldEstimate& y, const Writer& w) {
    std::string temperatures;
    for (std::size_t i = 0; i < y.temperatures.size(); ++i) {
        temperatures += (i == 0                           ? ""
                         : i + 1 == y.temperatures.size() ? " and "
                                                          : ", ") +
                        w.Setting(y.temperatures[i]) + " \u00b0C";
    }
    return {"Yield " + Percent(y.yield, w) + ": " + std::to_string(y.passing) + " of " +
                std::to_string(y.boards) + " boards pass at every level at " + temperatures +
                " (95 % interval " + Percent(y.interval.low, w) + " to " +
                Percent(y.interval.high, w) + "), " + FormatFixed(y.ppmFail, 0, w.Separator()) +
                " failures per million.",
            y.passing < y.boards};
}

Note ModelNote(const YieldEstimate& y) {
    const bool normal = y.settings.distribution == calc_core::YieldDistribution::Normal;
    return {std::string("Each board draws every part once, ") +
            (normal ? "normal with its tolerance at 3 \u03c3 (drawn again outside it)"
                    : "uniform within its tolerance") +
            ", and each TCR, drift and the feedback pin current uniform within theirs; seed " +
            std::to_string(y.settings.seed) +
            ". Mean, \u03c3 and Cpk are over every board at the three temperatures; Cpk is "
            "against the level's spec band, and passing counts the boards whose level stays "
            "within it at all three."};
}

} // namespace

Section YieldSection(const DesignAnalysis& a, const Writer& w) {
    const YieldEstimate& y = *a.yield;
    Section section;
    section.name = std::string(YieldSectionName);
    section.subject = SubjectOf(a, w);
    section.header = {"Pin level", "Target", "Spec band", "Mean", "\u03c3", "Cpk", "Passing"};
    for (const calc_core::YieldLevel& level : y.levels) {
        if (level.passingBoards < y.boards) {
            section.flagged.emplace_back(int(section.rows.size()), 6);
        }
        section.rows.push_back(LevelRow(level, w));
    }
    section.notes = {YieldNote(y, w), ModelNote(y)};
    return section;
}

} // namespace analysis_report
