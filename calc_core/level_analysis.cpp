// Levels with the diode's conduction, and the pin's fault states.
#include "calc_core/level_analysis.h"

namespace calc_core {

LevelAnalysis AnalyseLevel(const Circuit& c, double pinV) {
    LevelAnalysis level;
    level.pinV = pinV;
    level.vo = CircuitOutput(c, pinV);
    // The tabs' formula lets the diode's R3 term go negative; without the diode both agree.
    level.voFormula =
        c.diode() ? DividerOutput(c) + (c.vref - (*c.vf + pinV)) * (c.r1 / c.r3) : level.vo;
    const double t = R3Voltage(c, pinV);
    level.iR2 = c.vref / c.r2;
    level.iR3 = t / c.r3;
    level.iR1 = (level.vo - c.vref) / c.r1;
    level.diodeConducts = !c.diode() || t > 0;
    level.collapses = level.vo < 0;
    return level;
}

std::vector<FaultAnalysis> AnalyseFaults(const Circuit& c, double pinVoltage, double highestVo) {
    std::vector<FaultAnalysis> faults = {
        {FaultState::PinAtZero, 0.0, CircuitOutput(c, 0.0)},
        {FaultState::PinOpen, std::nullopt, DividerOutput(c)},
        {FaultState::PinAtUserVoltage, pinVoltage, CircuitOutput(c, pinVoltage)},
    };
    for (FaultAnalysis& fault : faults) {
        fault.overvoltage = fault.vo > highestVo;
        fault.collapses = fault.vo < 0;
    }
    return faults;
}

} // namespace calc_core
