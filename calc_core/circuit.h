// The feedback network and its output: R1 from the output to the node, R2 from the node to
// ground, R3 from the node to the KEP pin, optionally through a diode.
#pragma once

#include <cmath>
#include <optional>
#include <span>
#include <vector>

namespace calc_core {

// Ohms and volts.
struct Circuit {
    double r1 = 0;
    double r2 = 0;
    double r3 = 0;
    double vref = 0;
    std::optional<double> vf; // present: the diode is fitted

    bool diode() const { return vf.has_value(); }
};

// The output of the R1/R2 divider alone, evaluated as the Check tab evaluates it.
double DividerOutput(const Circuit& circuit);

// The voltage that drives current from the node through R3 (and the diode) towards the pin.
// With the diode it is never below 0: the diode blocks.
double R3Voltage(const Circuit& circuit, double pinV);

// The output with the far end of R3 at pinV. With the diode, R3 carries current only while
// Vref - (Vf + pinV) > 0; otherwise the output is the R1/R2 divider's alone.
double CircuitOutput(const Circuit& circuit, double pinV);

// The output with a current iFb into the feedback pin (see the derivation in circuit.cpp).
double OutputWithFbCurrent(const Circuit& circuit, double pinV, double iFb);

// The outputs at several pin levels of one circuit, each exactly OutputWithFbCurrent's, sharing
// the divisions; `outputs` holds as many as `pinV`.
void OutputsWithFbCurrent(const Circuit& circuit, std::span<const double> pinV, double iFb,
                          std::span<double> outputs);

// The pin levels of the circuit's choice, as the Check tab uses them: 0.14, 0.7 and 1.25 V
// without the diode, 0.14 and 0.7 V with it.
std::vector<double> PinLevels(const Circuit& circuit);

// std::min and std::max pass over a NaN in one of their arguments; these keep it, so that the
// check of the results refuses it.
inline double Lowest(double a, double b) {
    return std::isnan(a) || a < b ? a : b;
}
inline double Highest(double a, double b) {
    return std::isnan(a) || a > b ? a : b;
}

} // namespace calc_core
