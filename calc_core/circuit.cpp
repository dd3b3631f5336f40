// The network's output at a pin level, with and without the diode and the feedback pin's current.
#include "calc_core/circuit.h"

#include "calc_core/pin_levels.h"

#include <algorithm>

namespace calc_core {
namespace {

// CircuitOutput from its divider and R1 / R3, with the current's term added last.
double OutputFromTerms(const Circuit& c, double divider, double r1OverR3, double pinV, double iFb) {
    return divider + r1OverR3 * R3Voltage(c, pinV) + iFb * c.r1;
}

} // namespace

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
    return OutputFromTerms(c, DividerOutput(c), c.r1 / c.r3, pinV, iFb);
}

void OutputsWithFbCurrent(const Circuit& c, std::span<const double> pinV, double iFb,
                          std::span<double> outputs) {
    const double divider = DividerOutput(c);
    const double r1OverR3 = c.r1 / c.r3;
    for (std::size_t i = 0; i < pinV.size(); ++i) {
        outputs[i] = OutputFromTerms(c, divider, r1OverR3, pinV[i], iFb);
    }
}

std::vector<double> PinLevels(const Circuit& circuit) {
    if (circuit.diode()) {
        return {LevelLow, LevelMid};
    }
    return {LevelLow, LevelMid, LevelHigh};
}

} // namespace calc_core
