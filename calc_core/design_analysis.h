// What a resistor set really gives: the output and currents at each pin level with the diode's
// conduction, the pin's fault states, the best preferred-value pairs, the tolerance bands over
// temperature and the output spec, for the design and for the pair actually fitted.
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

// The temperature at which every value is nominal, and the range an operating range must lie in.
inline constexpr double NominalTemperatureC = 25;
inline constexpr double LowestTemperatureC = -273.15;
inline constexpr double HighestTemperatureC = 500;
// The diode's Vf tempco, plus or minus, in mV/°C: well beyond any diode's.
inline constexpr double VfTempcoLimitMv = 100;

struct AnalysisSettings {
    ESeries series = ESeries::E96;
    double resistorTolerancePct = 1; // each of R1, R2, R3, from 0 to below 100
    double vrefTolerancePct = 1;     // from 0 to below 100
    double levelAccuracyMv = 10;     // every pin level, plus or minus; 0 or more
    double vfSpreadV = 0.05;         // the diode's Vf, plus or minus; 0 or more; used with it only
    double pinVoltage = 3.3;         // the pin driven to a voltage of the user's choosing
    // The operating range, each end from LowestTemperatureC to HighestTemperatureC.
    double tempMinC = -40;
    double tempMaxC = 85;
    // Drifts, plus or minus, each 0 or more; with its tolerance a part's swing over the range
    // stays below 100 %. Vref's is 0 by default: datasheets usually give its tolerance over
    // temperature already.
    double resistorTcrPpm = 100; // per °C, each resistor
    double vrefDriftPpm = 0;     // per °C
    double vfTempcoMv = -2; // per °C, signed, within VfTempcoLimitMv; used with the diode only
    double fbCurrentNa = 0; // into or out of the feedback pin, plus or minus; 0 or more
    double specPct = 5;     // the output spec, plus or minus % of each level's target
};

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

enum class FaultState { PinAtZero, PinOpen, PinAtUserVoltage };

struct FaultAnalysis {
    FaultState state = FaultState::PinAtZero;
    std::optional<double> pinV; // absent for the open pin
    double vo = 0;
    bool overvoltage = false; // above the highest output of the normal levels
    bool collapses = false;   // vo is below 0 V: the converter cannot regulate there
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
    bool meetsSpec = false;     // its own worst-case band meets the spec at every level
    double specMargin = 0;      // the smallest spec margin over the levels (SpecLevel)
};

// The quantities of the tolerance box. Vf stays last, so that the others are the first
// ToleranceQuantityCount - 1 without the diode.
enum class ToleranceQuantity { R1, R2, R3, Vref, Level, FbCurrent, Vf };
inline constexpr int ToleranceQuantityCount = 7;

// The box: R1, R2 and R3 each within R * (1 +- (tolerance + TCR * dT)) and Vref within
// Vref * (1 +- (tolerance + drift * dT)), where dT is the larger distance of T_min and T_max from
// NominalTemperatureC; the pin level within its accuracy; the feedback pin's current within
// +- I_FB; and Vf from the lowest to the highest of Vf +- spread + tempco * (T - 25 °C) over the
// range. Every part drifts with its own sign. The output is monotonic in each quantity alone, so
// its extremes sit at corners of the box.
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

// What one resistor set gives; the design and a fitted pair are each analysed so.
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

// The pair actually fitted: one of the preferred pairs by its rank (1 is the best), or R1 and R3
// as typed, in ohms.
struct FitChoice {
    std::optional<int> pairRank;
    double r1 = 0; // used without a rank
    double r3 = 0;

    static FitChoice Pair(int rank) { return {rank, 0, 0}; }
    static FitChoice Typed(double r1, double r3) { return {std::nullopt, r1, r3}; }
};

struct FittedAnalysis : SetAnalysis {
    double r1 = 0;
    double r3 = 0;
    std::optional<int> pairRank;  // absent when R1 and R3 were typed
    std::vector<double> voChange; // per level: the fitted output minus the designed one
};

struct DesignAnalysis : SetAnalysis {
    AnalysisDesign design; // with both targets filled in
    AnalysisSettings settings;
    std::vector<PreferredPair> preferred; // the best PreferredPairCount, best first
    std::optional<FittedAnalysis> fitted; // present when a pair to fit was given
};

struct AnalysisOutcome {
    std::optional<DesignAnalysis> analysis;
    std::string reason; // without an analysis: one sentence that says why
};

// The first setting the analysis cannot work with, judged in the order of AnalysisSettings, as
// a sentence; empty when all are in range.
std::string SettingsRefusal(const AnalysisSettings& settings);

// Why the pair to fit cannot be analysed, as a sentence: a rank outside 1 to PreferredPairCount,
// or a typed R1 or R3 that is not a finite number above 0; empty when it can.
std::string FitRefusal(const std::optional<FitChoice>& fit);

// Analyses the design, and the fitted pair when one is given, or says in one sentence why it
// cannot: a resistance, Vref or Vf that is not a finite number above 0, a target or setting
// outside its range, a pair to fit that is not among the preferred pairs or whose R1 or R3 is not
// a finite number above 0, or results beyond the range of doubles. The inputs are judged in the
// order R1, R2, R3, Vref, Vf, the targets, the settings in the order of AnalysisSettings, then the
// fit; every setting is judged, Vf's spread and tempco also without the diode. Nominal values are
// those at NominalTemperatureC with no current into the feedback pin. Results never hold a NaN,
// an infinity or a negative zero.
AnalysisOutcome AnalyseDesign(const AnalysisDesign& design, const AnalysisSettings& settings,
                              const std::optional<FitChoice>& fit = std::nullopt);

} // namespace calc_core
