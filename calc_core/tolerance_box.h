// The tolerance box of a resistor set at one pin level: every quantity within its tolerance and
// drift over the operating range, and the output's worst case and root-sum-square spread in it.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/error_terms.h"

#include <array>
#include <cstddef>

namespace calc_core {

// The quantities' values at one point of the box, indexed by ToleranceQuantity.
using TolerancePoint = std::array<double, ToleranceQuantityCount>;

// The box: each quantity over the range its terms give (RangeOf): R1, R2 and R3 each within
// R * (1 +- (tolerance + TCR * dT + life drift)) and Vref within Vref * (1 +- (tolerance + drift *
// dT)), where dT is the larger distance of T_min and T_max from NominalTemperatureC; the pin level
// within its accuracy; the feedback pin's current within +- I_FB; and Vf from the lowest to the
// highest of Vf +- spread + tempco * (T - 25 °C) over the range. Every part drifts with its own
// sign. The output is monotonic in each quantity alone, so its extremes sit at corners of the box.
struct ToleranceBox {
    TolerancePoint nominal{};
    TolerancePoint low{};
    TolerancePoint high{};
    std::size_t varying = 0; // the first quantities that move: Vf only with the diode
    bool diode = false;
};

ToleranceBox ToleranceBoxAt(const Circuit& circuit, double pinV, const AnalysisSettings& settings);
// The same with the terms' sizes given, such as a build's with a grade for each resistor.
ToleranceBox ToleranceBoxAt(const Circuit& circuit, double pinV, const AnalysisSettings& settings,
                            const TermSizes& sizes);

// The circuit and the output at one point of the box.
Circuit CircuitAt(const TolerancePoint& point, bool diode);
double OutputAt(const TolerancePoint& point, bool diode);

struct ToleranceLevel {
    double pinV = 0;
    double min = 0; // worst case over every corner of the tolerance box
    double max = 0;
    double rss = 0; // root-sum-square of each quantity's half swing
    // Each quantity's share of the sum of squares, indexed by ToleranceQuantity; they add up
    // to 1 unless nothing varies (then all are 0). Vf's is 0 without the diode.
    std::array<double, ToleranceQuantityCount> shares{};
    bool overlapsNext = false;   // this band and the next level's meet; false for the last
    bool diodeMayBlock = false;  // with the diode: it blocks at some corner of the box
    bool diodeMayConduct = true; // it conducts at some corner; always true without the diode
};

// The extremes over every corner of the box, and whether the diode blocks or conducts at some;
// no spread or shares.
ToleranceLevel WorstCase(const ToleranceBox& box);

// Each varying quantity's half swing of the output, the others nominal.
std::array<double, ToleranceQuantityCount> HalfSwings(const ToleranceBox& box);

// The worst case with the spread and each quantity's share of it.
ToleranceLevel AnalyseTolerance(const Circuit& circuit, double pinV,
                                const AnalysisSettings& settings);

bool BandsMeet(const ToleranceLevel& a, const ToleranceLevel& b);

} // namespace calc_core
