// The worst-case bands of many builds of one design and part grade, each edge from four corners
// of the tolerance box instead of all of them, and the bounds that the edges with the resistors
// at their values set on every build of one R1 and R2.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/circuit.h"
#include "calc_core/error_terms.h"

#include <array>
#include <cstddef>
#include <span>

namespace calc_core {

// How a build stands against the targets at its worst level.
struct BuildStanding {
    double margin = 0;     // the smallest spec margin over the levels, in volts (SpecLevel)
    double specNeeded = 0; // the largest over the levels of max(target - min, max - target) /
                           // |target|: the smallest spec it meets, as a fraction
};

// The output rises with Vref and I_FB and falls with the pin level, Vf and R2 whatever the other
// quantities are, so a band's top has Vref high, the level low, Vf low, I_FB high and R2 low, and
// its bottom the opposite ends; each edge is then the extreme of the four corners of R1 and R3.
// Every corner's output is the expression OutputWithFbCurrent evaluates, so the edges are those
// of WorstCase.
class BuildBands {
  public:
    // The design's Vref, Vf and pin levels, one target per level, and the settings with the
    // grade's terms; or the terms' sizes given, such as those of a grade for each resistor.
    BuildBands(const Circuit& design, std::span<const double> targets,
               const AnalysisSettings& settings);
    BuildBands(const Circuit& design, std::span<const double> targets,
               const AnalysisSettings& settings, const TermSizes& sizes);

    // What the builds with one R1 and R2 share: R1's corners and each edge's divider and current
    // terms at them.
    struct Divider {
        std::array<double, 2> r1{};
        std::array<double, 2> top{}; // the divider's output at the top edge, by R1's corner
        std::array<double, 2> bottom{};
        std::array<double, 2> topCurrent{}; // I_FB * R1 at the top edge, by R1's corner
        std::array<double, 2> bottomCurrent{};
    };
    Divider DividerOf(double r1, double r2) const;

    BuildStanding Standing(const Divider& divider, double r3) const;

    // Every build of this R1 and R2 with R3 from r3Low to r3High has a margin no higher and a
    // spec needed no lower, up to the rounding allowed for by the slacks: its band holds the
    // outputs of its edges with the resistors at their values, which are corners of its box too.
    double MarginBound(double r1, double r2, double r3Low, double r3High) const;
    double SpecNeededBound(double r1, double r2, double r3Low, double r3High) const;
    double MarginSlack() const { return marginSlack_; }
    static constexpr double SpecNeededSlack = 1e-9;

  private:
    struct Level {
        double target = 0;
        double low = 0; // the spec's edges, as JudgeSpec sets them
        double high = 0;
        double inverseTarget = 0; // 1 / |target|
        double topDrive = 0;      // the voltage across R3 (R3Voltage) at the top edge
        double bottomDrive = 0;
    };
    std::span<const Level> Levels() const { return std::span(levels_).first(levelCount_); }
    std::array<double, 2> NominalDividers(double r1, double r2) const; // bottom, top

    std::array<Level, 3> levels_{};
    std::size_t levelCount_ = 0;
    // 1 - and 1 + each resistor's swing, R1, R2 and R3.
    std::array<double, 3> resistorLow_{1, 1, 1};
    std::array<double, 3> resistorHigh_{1, 1, 1};
    double topVref_ = 0;
    double bottomVref_ = 0;
    double topCurrent_ = 0; // I_FB
    double bottomCurrent_ = 0;
    double marginSlack_ = 0;
};

} // namespace calc_core
