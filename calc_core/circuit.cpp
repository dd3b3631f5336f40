// The network's output at a pin level, with and without the diode and the feedback pin's current.
#include "calc_core/circuit.h"

#include "calc_core/pin_levels.h"

#include <algorithm>

namespace calc_core {

double DividerOutput(const Circuit& c) {
    return ((c.r1 + c.r2) / c.r2) * c.vref;
}

double R3Voltage(const Circuit& c, double pinV) {
    if (!c.diode()) {
        return c.vref - pinV;
    }
    return std::max(0.0, c.vref - (*c.vf + pinV));
}

double CircuitOutput(const Circuit& circuit, double pinV) {
    return DividerOutput(circuit) + (circuit.r1 / circuit.r3) * R3Voltage(circuit, pinV);
}

// While the converter regulates, the node sits at Vref, and the current coming in through R1
// leaves through R2, through R3 towards the pin, and into the pin:
//     (Vo - Vref) / R1 = Vref / R2 + I(R3) + iFb,
// so Vo = Vref + R1 * (Vref / R2 + I(R3)) + iFb * R1, the output without the current plus
// iFb * R1; a current out of the pin lowers it by as much. The diode's conduction depends on the
// node's voltage alone, so the current does not change it.
double OutputWithFbCurrent(const Circuit& c, double pinV, double iFb) {
    return OutputWithFbCurrent(c, OutputTermsOf(c), pinV, iFb);
}

OutputTerms OutputTermsOf(const Circuit& c) {
    return {DividerOutput(c), c.r1 / c.r3};
}

// CircuitOutput's sum with the current's term added last.
double OutputWithFbCurrent(const Circuit& c, const OutputTerms& terms, double pinV, double iFb) {
    return terms.divider + terms.r1OverR3 * R3Voltage(c, pinV) + iFb * c.r1;
}

std::vector<double> PinLevels(const Circuit& circuit) {
    if (circuit.diode()) {
        return {LevelLow, LevelMid};
    }
    return {LevelLow, LevelMid, LevelHigh};
}

} // namespace calc_core
