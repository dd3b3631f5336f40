// The output spec: each level's worst-case band against its target plus or minus the spec.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/tolerance_box.h"

#include <vector>

namespace calc_core {

// One level's worst-case band against the output spec.
struct SpecLevel {
    double pinV = 0;
    // Targets: on a Calc design Vo_max at 0.14 V and Vo_min at the highest level, and between them
    // the designed circuit's own output (no target was asked for there); on a Check set its own
    // outputs. A fitted pair is held to the design's targets.
    double target = 0;
    double low = 0; // the spec's edges: target -+ spec % of |target|
    double high = 0;
    bool meets = false; // the worst-case band lies within low..high, an edge included
    double margin = 0;  // volts from the band to the nearer edge; negative when it fails
};

SpecLevel JudgeSpec(const ToleranceLevel& band, double target, double specPct);

// Whether a resistor set's worst-case bands meet the spec at every level, and the smallest
// margin over the levels.
struct SpecVerdict {
    bool meets = false;
    double margin = 0;
};
SpecVerdict JudgeSetAgainstSpec(const Circuit& circuit, const std::vector<double>& targets,
                                const AnalysisSettings& settings);

// The smallest spec, in %, that a band meets: its farther distance from the target over |target|.
double SpecNeededPct(const ToleranceLevel& band, double target);

// The smallest spec, in %, that the set's worst-case bands meet at every level.
double SmallestSpecMet(const Circuit& circuit, const std::vector<double>& targets,
                       const AnalysisSettings& settings);

} // namespace calc_core
