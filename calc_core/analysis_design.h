// What the design analysis analyses: a resistor set with the outputs it was designed for, as a
// Calc or Check press wrote it.
#pragma once

#include "calc_core/check_calculation.h"
#include "calc_core/circuit.h"
#include "calc_core/design_calculation.h"

#include <optional>
#include <string>
#include <string_view>

namespace calc_core {

struct AnalysisDesign {
    Circuit circuit;
    // The output wanted at 0.14 V and at the highest level; absent, the circuit's own outputs
    // there stand in (the Check tab has no targets of its own).
    std::optional<double> targetVoMax;
    std::optional<double> targetVoMin;
};

// The design a Calc press wrote: its inputs with their targets, and R1 and R3 as it showed
// them in whole ohms.
AnalysisDesign DesignOfCalc(const DesignInputs& inputs, double r1Shown, double r3Shown);

// The resistor set of a Check run, whose own outputs stand in for the targets.
AnalysisDesign DesignOfCheck(const CheckInputs& inputs);

// The design a Calc press wrote, with R1 and R3 read back from the texts it showed, whether or
// not its check flagged something; absent when it wrote no R1 and R3 (it ended at the input
// check, or its arithmetic gave none).
std::optional<AnalysisDesign> DesignOfPress(const CalcPressOutcome& press);

// The resistor set of a Check press that computed; absent when it ended with a message.
std::optional<AnalysisDesign> DesignOfPress(const CheckOutcome& press);

// Why a resistance or voltage that must be a finite number above 0 is not one, naming it; empty
// when it is.
std::string PositiveRefusal(double value, std::string_view name, std::string_view unit);

// The first of R1, R2, R3, Vref, Vf and the targets that the analysis cannot work with, as a
// sentence; empty when none.
std::string DesignRefusal(const AnalysisDesign& design);

} // namespace calc_core
