// What a resistor set really gives: the output and currents at each pin level with the diode's
// conduction, the pin's fault states, the best preferred-value pairs, the tolerance bands over
// temperature and the output spec, for the design and for the pair actually fitted.
#pragma once

#include "calc_core/analysis_design.h"
#include "calc_core/analysis_settings.h"
#include "calc_core/preferred_pairs.h"
#include "calc_core/set_analysis.h"
#include "calc_core/synthesis.h"
#include "calc_core/yield_estimate.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

// The pair actually fitted: one of the preferred pairs by its rank (1 is the best), or R1 and R3
// as typed, in ohms, with an R2 of its own for a build whose R2 was free.
struct FitChoice {
    std::optional<int> pairRank;
    double r1 = 0; // used without a rank
    double r3 = 0;
    std::optional<double> r2; // absent: the design's

    static FitChoice Pair(int rank) { return {rank, 0, 0, std::nullopt}; }
    static FitChoice Typed(double r1, double r3, std::optional<double> r2 = std::nullopt) {
        return {std::nullopt, r1, r3, r2};
    }
};

// Whether two fits choose the same pair: the same rank, or the same R1, R3 and R2.
bool SameFit(const FitChoice& a, const FitChoice& b);

// The fit's fields as every front end takes them: a preferred pair's rank, or R1 and R3 typed in
// ohms within the limits of a box.
struct FitField {
    std::string_view id;   // the control's name in the window and the page
    std::string_view key;  // the member of the JSON's and the requests' "fit"
    std::string_view flag; // the command line's
    std::string_view label;
    double lowest = 0;
    double highest = 0;
    int decimals = 0;
};
inline constexpr FitField FitPairField = {
    "FitPair", "pair", "--fit-pair", "Preferred pair", 1, PreferredPairCount, 0};
inline constexpr FitField FitR1Field = {"FitR1", "r1", "--fit-r1", "Fitted R1", 0.001, 1e9, 3};
inline constexpr FitField FitR3Field = {"FitR3", "r3", "--fit-r3", "Fitted R3", 0.001, 1e9, 3};
inline constexpr FitField FitR2Field = {"FitR2", "r2", "--fit-r2", "Fitted R2", 0.001, 1e9, 3};

struct FittedAnalysis {
    SetAnalysis set;
    double r1 = 0;
    double r3 = 0;
    std::optional<double> r2;     // present when the fit has an R2 of its own
    std::optional<int> pairRank;  // absent when R1 and R3 were typed
    std::vector<double> voChange; // per level: the fitted output minus the designed one
};

struct DesignAnalysis {
    AnalysisDesign design; // with both targets filled in
    AnalysisSettings settings;
    SetAnalysis set;                      // the design's own R1 and R3
    std::vector<PreferredPair> preferred; // the best PreferredPairCount, best first
    std::optional<FittedAnalysis> fitted; // present when a pair to fit was given
    std::optional<Synthesis> synthesis;   // present when asked for
    std::optional<YieldEstimate> yield;   // of the shown set, when asked for

    // The set the report's pages show: the fitted pair's when there is one.
    const SetAnalysis& shown() const { return fitted ? fitted->set : set; }
    // Its circuit: the design's, with the fitted R1, R3 and R2.
    Circuit shownCircuit() const;
    // Each level's target, in the order of PinLevels (SpecLevel says which).
    std::vector<double> targets() const;
};

// What the analysis computes besides the design and the fit, which takes longer.
struct AnalysisAsks {
    bool synthesis = false; // which part grade meets the spec (Synthesise)
    bool yield = false;     // the shown set's yield, and with the synthesis each grade's best's
    unsigned threads = 0;   // for the yield: 0 is one per core
    YieldProgress progress; // for the yield; told the boards of all estimates together
};

struct AnalysisOutcome {
    std::optional<DesignAnalysis> analysis;
    std::string reason; // without an analysis: one sentence that says why
};

// Why the pair to fit cannot be analysed, as a sentence: a rank outside 1 to PreferredPairCount,
// or a typed R1 or R3 that is not a finite number above 0; empty when it can.
std::string FitRefusal(const std::optional<FitChoice>& fit);

// Analyses the design, and the fitted pair when one is given, or says in one sentence why it
// cannot: a resistance, Vref or Vf that is not a finite number above 0, a target or setting
// outside its range, a pair to fit that is not among the preferred pairs or whose R1 or R3 is not
// a finite number above 0, or results beyond the range of doubles. The inputs are judged in the
// order R1, R2, R3, Vref, Vf, the targets, the settings in the order of their table, then the
// fit; every setting is judged, Vf's spread and tempco also without the diode. Nominal values are
// those at NominalTemperatureC with no current into the feedback pin. Results never hold a NaN,
// an infinity or a negative zero. As asked, it also searches the part grades and estimates the
// yields; a yield estimate stopped by its progress leaves no analysis, and says so.
AnalysisOutcome AnalyseDesign(const AnalysisDesign& design, const AnalysisSettings& settings,
                              const std::optional<FitChoice>& fit = std::nullopt,
                              const AnalysisAsks& asks = {});

// The estimate's input for the set an analysis shows, with its settings and targets.
YieldInput YieldInputOf(const DesignAnalysis& analysis);
YieldInput YieldInputOf(const DesignAnalysis& analysis, const YieldSettings& yield);

// The estimates an analysis asked for the yield makes, in order: the shown set's, then with the
// synthesis each searched grade's best build's, with the grade's tolerance and TCR. Run all at
// once by AnalyseDesign, or step by step by a caller of YieldRun.
std::vector<YieldInput> YieldInputs(const DesignAnalysis& analysis);

// Puts the estimates of YieldInputs, in their order and as many, into the analysis: the first as
// its yield, the others as their grades' yields; an absent one (refused) leaves its grade none.
void SetYields(DesignAnalysis& analysis, std::vector<std::optional<YieldEstimate>> estimates);

} // namespace calc_core
