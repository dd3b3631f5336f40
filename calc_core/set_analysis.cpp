// The analysis of one resistor set.
#include "calc_core/set_analysis.h"

namespace calc_core {

SetAnalysis AnalyseSet(const Circuit& c, const AnalysisSettings& s) {
    SetAnalysis a;
    const std::vector<double> pinLevels = PinLevels(c);
    for (double pinV : pinLevels) {
        a.levels.push_back(AnalyseLevel(c, pinV));
    }
    double highestVo = a.levels.front().vo;
    a.pR1Max = 0;
    for (const LevelAnalysis& level : a.levels) {
        highestVo = Highest(highestVo, level.vo);
        a.pR1Max = Highest(a.pR1Max, level.iR1 * level.iR1 * c.r1);
    }
    a.span = a.levels.front().vo - a.levels.back().vo;
    a.pR2Max = c.vref * c.vref / c.r2;
    a.faults = AnalyseFaults(c, s.pinVoltage, highestVo);

    for (double pinV : pinLevels) {
        a.tolerance.push_back(AnalyseTolerance(c, pinV, s));
    }
    for (std::size_t i = 0; i + 1 < a.tolerance.size(); ++i) {
        a.tolerance[i].overlapsNext = BandsMeet(a.tolerance[i], a.tolerance[i + 1]);
        a.bandsOverlap = a.bandsOverlap || a.tolerance[i].overlapsNext;
    }
    return a;
}

void CheckSpec(SetAnalysis& set, const std::vector<double>& targets, double specPct) {
    for (std::size_t i = 0; i < set.tolerance.size(); ++i) {
        set.spec.push_back(JudgeSpec(set.tolerance[i], targets[i], specPct));
    }
}

} // namespace calc_core
