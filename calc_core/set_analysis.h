// What one resistor set gives: its levels, powers, fault states, tolerance bands and spec.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/level_analysis.h"
#include "calc_core/output_spec.h"
#include "calc_core/tolerance_box.h"

#include <vector>

namespace calc_core {

// The design and a fitted pair are each analysed so.
struct SetAnalysis {
    std::vector<LevelAnalysis> levels; // in the order of PinLevels
    double span = 0;                   // output at 0.14 V minus output at the highest level
    double pR1Max = 0;                 // watts, the highest over the levels
    double pR2Max = 0;
    std::vector<FaultAnalysis> faults;     // PinAtZero, PinOpen, PinAtUserVoltage
    std::vector<ToleranceLevel> tolerance; // in the order of the levels
    bool bandsOverlap = false;             // the bands of some two neighbouring levels meet
    std::vector<SpecLevel> spec;           // in the order of the levels
};

// Everything but the spec, which needs the design's targets.
SetAnalysis AnalyseSet(const Circuit& circuit, const AnalysisSettings& settings);

// Judges each level's band against its target.
void CheckSpec(SetAnalysis& set, const std::vector<double>& targets, double specPct);

} // namespace calc_core
