// The subject line of the sections that give figures of one R1 and R3.
#include "analysis_report/report_sections.h"

#include <string>

namespace analysis_report {
namespace {

// Whether the typed fit is the build, R2 included: the design's when the fit has none of its own.
bool IsBuild(const calc_core::FittedAnalysis& f, const calc_core::Build& build, double designR2) {
    return f.r1 == build.r1 && f.r3 == build.r3 && f.r2.value_or(designR2) == build.r2;
}

// Where a typed fit came from: a build of Parts to buy or Best builds whose grade's tolerance and
// TCR the settings hold, as selecting its row fits it; else the user typed it.
std::string TypedOrigin(const calc_core::DesignAnalysis& a, const calc_core::FittedAnalysis& f) {
    if (!a.synthesis) {
        return "as typed";
    }
    const calc_core::Synthesis& synthesis = *a.synthesis;
    const double r2 = a.design.circuit.r2;
    const auto holdsGrade = [&a](const calc_core::PartGrade& grade) {
        return grade.tolerancePct == a.settings.resistorTolerancePct &&
               grade.tcrPpm == a.settings.resistorTcrPpm;
    };
    for (std::size_t g = 0; g < synthesis.grades.size(); ++g) {
        const calc_core::GradeSynthesis& grade = synthesis.grades[g];
        if (grade.status == calc_core::GradeStatus::Searched && holdsGrade(grade.grade) &&
            IsBuild(f, grade.best, r2)) {
            return "grade " + std::to_string(g + 1) + "'s best build";
        }
    }
    const auto shown =
        synthesis.chosen ? synthesis.chosen
                         : (synthesis.limit ? std::optional(synthesis.limit->grade) : std::nullopt);
    for (std::size_t i = 0; shown && i < synthesis.builds.size(); ++i) {
        if (holdsGrade(synthesis.grades[*shown].grade) && IsBuild(f, synthesis.builds[i], r2)) {
            return "grade " + std::to_string(*shown + 1) + "'s build " + std::to_string(i + 1);
        }
    }
    return "as typed";
}

} // namespace

std::string SubjectOf(const calc_core::DesignAnalysis& a, const Writer& w) {
    if (!a.fitted) {
        return "As designed: R1 " + w.Ohms(a.design.circuit.r1) + ", R3 " +
               w.Ohms(a.design.circuit.r3);
    }
    const calc_core::FittedAnalysis& f = *a.fitted;
    return "As fitted: R1 " + w.Ohms(f.r1) + (f.r2 ? ", R2 " + w.Ohms(*f.r2) : "") + ", R3 " +
           w.Ohms(f.r3) + ", " +
           (f.pairRank ? "preferred pair " + std::to_string(*f.pairRank) : TypedOrigin(a, f));
}

} // namespace analysis_report
