// The search for the best pairs of preferred values for R1 and R3, against the design's targets.
#pragma once

#include "calc_core/circuit.h"

#include <span>
#include <vector>

namespace calc_core {

// How many of the best preferred-value pairs the analysis gives.
inline constexpr int PreferredPairCount = 3;

struct PreferredPair {
    double r1 = 0;
    double r3 = 0;
    std::vector<double> levels; // the circuit's output at each pin level
    double errorVoMax = 0;      // |output at 0.14 V - target Vo_max|
    double errorVoMin = 0;      // |output at the highest level - target Vo_min|
    double worstError = 0;      // the larger of the two; the pairs are ranked by it
    double sumError = 0;        // then by this, then by the smaller R1, then the smaller R3
    bool meetsSpec = false;     // its own worst-case band meets the spec at every level
    double specMargin = 0;      // the smallest spec margin over the levels (SpecLevel)
};

// The best PreferredPairCount pairs of the values (ascending) for R1 and R3, with R2, Vref and Vf
// as in the circuit, best first; not judged against the spec.
std::vector<PreferredPair> BestPairs(const Circuit& circuit, const std::vector<double>& pinLevels,
                                     double targetVoMax, double targetVoMin,
                                     std::span<const double> values);

} // namespace calc_core
