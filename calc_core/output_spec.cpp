// Judging worst-case bands against the output spec.
#include "calc_core/output_spec.h"

#include <cmath>

namespace calc_core {

SpecLevel JudgeSpec(const ToleranceLevel& band, double target, double pct) {
    SpecLevel spec;
    spec.pinV = band.pinV;
    spec.target = target;
    const double half = std::fabs(target) * (pct / 100);
    spec.low = target - half;
    spec.high = target + half;
    spec.meets = band.min >= spec.low && band.max <= spec.high;
    spec.margin = Lowest(band.min - spec.low, spec.high - band.max);
    return spec;
}

SpecVerdict JudgeSetAgainstSpec(const Circuit& circuit, const std::vector<double>& targets,
                                const AnalysisSettings& s) {
    const std::vector<double> pinLevels = PinLevels(circuit);
    SpecVerdict verdict;
    for (std::size_t i = 0; i < pinLevels.size(); ++i) {
        const SpecLevel spec =
            JudgeSpec(WorstCase(ToleranceBoxAt(circuit, pinLevels[i], s)), targets[i], s.specPct);
        // Every level counts: a set that fails at its first level fails, whatever the last says.
        verdict.margin = i == 0 ? spec.margin : Lowest(verdict.margin, spec.margin);
        verdict.meets = (i == 0 || verdict.meets) && spec.meets;
    }
    return verdict;
}

double SpecNeededPct(const ToleranceLevel& band, double target) {
    return Highest(target - band.min, band.max - target) / std::fabs(target) * 100;
}

double SmallestSpecMet(const Circuit& circuit, const std::vector<double>& targets,
                       const AnalysisSettings& s) {
    const std::vector<double> pinLevels = PinLevels(circuit);
    double needed = 0;
    for (std::size_t i = 0; i < pinLevels.size(); ++i) {
        needed = Highest(
            needed, SpecNeededPct(WorstCase(ToleranceBoxAt(circuit, pinLevels[i], s)), targets[i]));
    }
    return needed;
}

} // namespace calc_core
