// The output and currents at each pin level, and the output in the pin's fault states.
#pragma once

#include "calc_core/circuit.h"

#include <optional>
#include <vector>

namespace calc_core {

struct LevelAnalysis {
    double pinV = 0;
    double vo = 0;             // the circuit's output (CircuitOutput)
    double voFormula = 0;      // the tabs' formula, whose R3 term also goes negative with the diode
    double iR1 = 0;            // amperes, from the output into the node
    double iR2 = 0;            // from the node to ground
    double iR3 = 0;            // from the node towards the pin; 0 while the diode blocks
    bool diodeConducts = true; // always true without the diode
    bool collapses = false;    // vo is below 0 V: the converter cannot regulate there
};

LevelAnalysis AnalyseLevel(const Circuit& circuit, double pinV);

enum class FaultState { PinAtZero, PinOpen, PinAtUserVoltage };

struct FaultAnalysis {
    FaultState state = FaultState::PinAtZero;
    std::optional<double> pinV; // absent for the open pin
    double vo = 0;
    bool overvoltage = false; // above the highest output of the normal levels
    bool collapses = false;   // vo is below 0 V: the converter cannot regulate there
};

// The pin at 0 V, open, and at the user's voltage, each against the highest normal output.
std::vector<FaultAnalysis> AnalyseFaults(const Circuit& circuit, double pinVoltage,
                                         double highestVo);

} // namespace calc_core
