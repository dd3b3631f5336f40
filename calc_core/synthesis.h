// The synthesis: which part grade to buy, and which values of it, so that the worst-case bands
// of the design meet the output spec; and when no grade does, what stands in the way.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/mixed_synthesis.h"
#include "calc_core/part_grades.h"
#include "calc_core/tolerance_box.h"
#include "calc_core/yield_statistics.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace calc_core {

// How many of the chosen grade's best builds the synthesis gives.
inline constexpr std::size_t SynthesisBuildCount = 3;

// R2 chosen from the grade's values from min to max ohms, both included.
struct R2Range {
    double min = 0;
    double max = 0;
};

// A build and how its worst-case bands stand against the spec, as JudgeSetAgainstSpec says.
struct Build {
    double r1 = 0;
    double r2 = 0;
    double r3 = 0;
    double margin = 0;  // volts, the smallest over the levels; negative when it fails
    bool meets = false; // every level's band within its target +- the spec
};

enum class GradeStatus {
    Searched,
    NoPartsList, // a grade of the parts list, given none: not searched
    NoR2InRange, // with R2 free, none of the grade's values lies in the range
    NoR2Value,   // a catalogue's grade without a line at R2 as designed
    Refused,     // the grade's tolerance with its TCR over the range reaches 100 %
    OverRating,  // every build dissipates more than the grade's rating somewhere
};

struct GradeSynthesis {
    PartGrade grade;
    GradeStatus status = GradeStatus::Searched;
    std::string refusal;        // Refused: the sentence of SettingsRefusal with the grade's figures
    Build best;                 // the largest margin; ties go to the smaller R1, then R3, then R2
    double tightestSpecPct = 0; // the smallest spec that some build of the grade meets
    // Passing boards over boards, with its 95 % interval and the failures per million: filled by
    // the yield estimate, when asked.
    std::optional<double> yield;
    ShareInterval yieldInterval;
    double yieldPpmFail = 0;
    BuildPower power;         // the best build's
    CriterionVerdict verdict; // the best build's, by the settings' criterion

    bool meets() const { return status == GradeStatus::Searched && verdict.meets; }
};

// One quantity that no resistor changes, at the worst level of the explained build.
struct FixedSwing {
    ToleranceQuantity quantity = ToleranceQuantity::Vref;
    double halfSwingV = 0;  // its own half swing of the output, the others nominal (HalfSwings)
    double pctOfTarget = 0; // that as % of |target|
    double share = 0;       // its share of the sum of every quantity's squared half swing
};

// Why no grade meets the spec, in numbers: the best build of the grade that comes nearest (the
// tightest spec; the cheaper grade on a tie) at its worst level, and what moves the output there
// whatever the resistors.
struct SpecLimit {
    std::size_t grade = 0; // index into the grades
    Build build;
    std::size_t level = 0; // in the order of PinLevels
    double pinV = 0;
    double target = 0;
    double margin = 0;             // that level's
    std::vector<FixedSwing> fixed; // Vref, the pin level, Vf (with the diode), I_FB
    double tightestSpecPct = 0;    // the grade's
};

struct Synthesis {
    std::vector<GradeSynthesis> grades; // one per grade, in the order given
    std::optional<std::size_t> chosen;  // the first grade that meets the spec
    // The chosen grade's best SynthesisBuildCount, best first; fewer when it has fewer builds.
    // Without a chosen grade, those of the grade that comes nearest (limit->grade).
    std::vector<Build> builds;
    std::optional<SpecLimit> limit; // when no grade meets the spec
    // With prices and mixing, the cheapest build with a grade for each resistor (CheapestMix) at
    // no more than the chosen grade's price for all three; absent without a chosen grade, unless
    // the grades are a catalogue's.
    std::optional<MixedBuild> mixed;
    // The assignments the mix would try (MixAssignments); past MaxMixAssignments none is tried.
    std::size_t mixAssignments = 0;
};

// Searches each grade for its best build: R1 and R3 from the grade's values (the series from
// LowestSeriesOhms to HighestSeriesOhms, or the parts), R2 as designed or, with r2Free, any of
// those values within the range, each within the grade's power rating. Each build is judged by
// its worst-case bands, the tolerance box of the settings with the grade's figures for every
// resistor, against one target per pin level (those of SpecLevel; std::invalid_argument for
// another count) +- settings.specPct; a grade meets the settings' criterion by its best build
// (JudgeBuild). With prices and settings.mixGrades it also finds the cheapest mix.
// The design and the settings must be ones the analysis accepts (DesignRefusal and SettingsRefusal
// say nothing), the targets finite and not 0; the parts may come in any order;
// a grade of the parts list with no parts is skipped with its status. Exact: the best builds and
// the tightest spec are those over every build, up to rounding in the last places.
Synthesis Synthesise(const Circuit& design, const std::vector<double>& targets,
                     const AnalysisSettings& settings, std::span<const PartGrade> grades,
                     std::span<const double> parts, std::optional<R2Range> r2Free);

} // namespace calc_core
