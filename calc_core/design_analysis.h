// What a resistor set really gives: the output and currents at each pin level with the diode's
// conduction, the pin's fault states, the best preferred-value pairs, and the tolerance bands.
#pragma once

#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"
#include "calc_core/preferred_values.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace calc_core {

// The network: R1 output to node, R2 node to ground, R3 node to the KEP pin, optionally
// through a diode of forward voltage vf. Ohms and volts.
struct Circuit {
    double r1 = 0;
    double r2 = 0;
    double r3 = 0;
    double vref = 0;
    std::optional<double> vf; // present: the diode is fitted

    bool diode() const { return vf.has_value(); }
};

// The output with the far end of R3 at pinV. With the diode, R3 carries current only while
// Vref - (Vf + pinV) > 0; otherwise the output is the R1/R2 divider's alone.
double CircuitOutput(const Circuit& circuit, double pinV);

// The pin levels of the circuit's choice, as the Check tab uses them: 0.14, 0.7 and 1.25 V
// without the diode, 0.14 and 0.7 V with it.
std::vector<double> PinLevels(const Circuit& circuit);

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

struct AnalysisSettings {
    ESeries series = ESeries::E96;
    double resistorTolerancePct = 1; // each of R1, R2, R3, from 0 to below 100
    double vrefTolerancePct = 1;     // from 0 to below 100
    double levelAccuracyMv = 10;     // every pin level, plus or minus; 0 or more
    double vfSpreadV = 0.05;         // the diode's Vf, plus or minus; 0 or more; used with it only
    double pinVoltage = 3.3;         // the pin driven to a voltage of the user's choosing
};

struct LevelAnalysis {
    double pinV = 0;
    double vo = 0;             // the circuit's output (CircuitOutput)
    double voFormula = 0;      // the tabs' formula, whose R3 term also goes negative with the diode
    double iR1 = 0;            // amperes, from the output into the node
    double iR2 = 0;            // from the node to ground
    double iR3 = 0;            // from the node towards the pin; 0 while the diode blocks
    bool diodeConducts = true; // always true without the diode
};

enum class FaultState { PinAtZero, PinOpen, PinAtUserVoltage };

struct FaultAnalysis {
    FaultState state = FaultState::PinAtZero;
    std::optional<double> pinV; // absent for the open pin
    double vo = 0;
    bool overvoltage = false; // above the highest output of the normal levels
};

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
};

enum class ToleranceQuantity { R1, R2, R3, Vref, Level, Vf };
inline constexpr int ToleranceQuantityCount = 6;

struct ToleranceLevel {
    double pinV = 0;
    double min = 0; // worst case over every corner of the tolerance box
    double max = 0;
    double rss = 0; // root-sum-square of each quantity's half swing
    // Each quantity's share of the sum of squares, indexed by ToleranceQuantity; they add up
    // to 1 unless nothing varies (then all are 0). Vf's is 0 without the diode.
    std::array<double, ToleranceQuantityCount> shares{};
};

struct DesignAnalysis {
    AnalysisDesign design; // with both targets filled in
    AnalysisSettings settings;
    std::vector<LevelAnalysis> levels; // in the order of PinLevels
    double span = 0;                   // output at 0.14 V minus output at the highest level
    double pR1Max = 0;                 // watts, the highest over the levels
    double pR2Max = 0;
    std::vector<FaultAnalysis> faults;     // PinAtZero, PinOpen, PinAtUserVoltage
    std::vector<PreferredPair> preferred;  // the best PreferredPairCount, best first
    std::vector<ToleranceLevel> tolerance; // in the order of the levels
    bool bandsOverlap = false;             // the worst-case bands of two neighbouring levels meet
};

struct AnalysisOutcome {
    std::optional<DesignAnalysis> analysis;
    std::string reason; // without an analysis: one sentence that says why
};

// The first setting the analysis cannot work with, judged in the order of AnalysisSettings, as
// a sentence; empty when all are in range.
std::string SettingsRefusal(const AnalysisSettings& settings);

// Analyses the design, or says in one sentence why it cannot: a resistance, Vref or Vf that is
// not a finite number above 0, a target or setting outside its range, or results beyond the
// range of doubles. The inputs are judged in the order R1, R2, R3, Vref, Vf, the targets, then
// the settings in the order of AnalysisSettings; every setting is judged, Vf's spread also
// without the diode. Results never hold a NaN, an infinity or a negative zero.
AnalysisOutcome AnalyseDesign(const AnalysisDesign& design, const AnalysisSettings& settings);

} // namespace calc_core
