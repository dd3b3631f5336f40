// The subject line of the sections that give figures of one R1 and R3.
#include "analysis_report/report_sections.h"

#include <string>

namespace analysis_report {

std::string SubjectOf(const calc_core::DesignAnalysis& a, const Writer& w) {
    if (!a.fitted) {
        return "As designed: R1 " + w.Ohms(a.design.circuit.r1) + ", R3 " +
               w.Ohms(a.design.circuit.r3);
    }
    const calc_core::FittedAnalysis& f = *a.fitted;
    return "As fitted: R1 " + w.Ohms(f.r1) + (f.r2 ? ", R2 " + w.Ohms(*f.r2) : "") + ", R3 " +
           w.Ohms(f.r3) +
           (f.pairRank ? ", preferred pair " + std::to_string(*f.pairRank) : ", as typed");
}

} // namespace analysis_report
