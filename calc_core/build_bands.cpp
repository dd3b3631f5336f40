// The bands of the builds from four corners per edge, and the bounds from their edges with the
// resistors at their values.
#include "calc_core/build_bands.h"

#include "calc_core/line_envelope.h"
#include "calc_core/tolerance_box.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace calc_core {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// The rounding allowed for between a bound and the bands, relative to the outputs' size: the
// bounds and the bands round differently, each by a few units in the last place.
constexpr double RelativeSlack = 1e-9;

} // namespace

BuildBands::BuildBands(const Circuit& design, std::span<const double> targets,
                       const AnalysisSettings& settings)
    : BuildBands(design, targets, settings, SizesOf(settings)) {}

BuildBands::BuildBands(const Circuit& design, std::span<const double> targets,
                       const AnalysisSettings& settings, const TermSizes& sizes) {
    using Q = ToleranceQuantity;
    const std::vector<double> pinLevels = PinLevels(design);
    if (targets.size() != pinLevels.size() || pinLevels.size() > levels_.size()) {
        throw std::invalid_argument("one target per pin level");
    }
    for (const Q q : {Q::R1, Q::R2, Q::R3}) {
        const double swing = RelativeSwing(q, sizes, settings);
        resistorLow_[Index(q)] = 1 - swing;
        resistorHigh_[Index(q)] = 1 + swing;
    }
    double largestTarget = 0;
    for (std::size_t i = 0; i < pinLevels.size(); ++i) {
        // The box of the quantities that are no resistors; those do not depend on R1, R2, R3.
        const ToleranceBox box = ToleranceBoxAt(design, pinLevels[i], settings, sizes);
        Circuit top = design;
        top.vref = box.high[Index(Q::Vref)];
        Circuit bottom = design;
        bottom.vref = box.low[Index(Q::Vref)];
        if (design.diode()) {
            top.vf = box.low[Index(Q::Vf)];
            bottom.vf = box.high[Index(Q::Vf)];
        }
        topVref_ = top.vref;
        bottomVref_ = bottom.vref;
        topCurrent_ = box.high[Index(Q::FbCurrent)];
        bottomCurrent_ = box.low[Index(Q::FbCurrent)];

        Level& level = levels_[i];
        level.target = targets[i];
        const double half = std::fabs(targets[i]) * (settings.specPct / 100);
        level.low = targets[i] - half;
        level.high = targets[i] + half;
        level.inverseTarget = 1 / std::fabs(targets[i]);
        level.topDrive = R3Voltage(top, box.low[Index(Q::Level)]);
        level.bottomDrive = R3Voltage(bottom, box.high[Index(Q::Level)]);
        largestTarget = std::max(largestTarget, std::fabs(targets[i]));
    }
    levelCount_ = pinLevels.size();
    marginSlack_ = RelativeSlack * (1 + largestTarget);
}

BuildBands::Divider BuildBands::DividerOf(double r1, double r2) const {
    Divider d;
    d.r1 = {r1 * resistorLow_[0], r1 * resistorHigh_[0]};
    const double r2Top = r2 * resistorLow_[1];
    const double r2Bottom = r2 * resistorHigh_[1];
    for (std::size_t a = 0; a < 2; ++a) {
        // As DividerOutput and OutputWithFbCurrent write them.
        d.top[a] = ((d.r1[a] + r2Top) / r2Top) * topVref_;
        d.bottom[a] = ((d.r1[a] + r2Bottom) / r2Bottom) * bottomVref_;
        d.topCurrent[a] = topCurrent_ * d.r1[a];
        d.bottomCurrent[a] = bottomCurrent_ * d.r1[a];
    }
    return d;
}

BuildStanding BuildBands::Standing(const Divider& d, double r3) const {
    const std::array<double, 2> r3Corners = {r3 * resistorLow_[2], r3 * resistorHigh_[2]};
    std::array<std::array<double, 2>, 2> ratio{}; // R1 / R3 by R1's corner and R3's
    for (std::size_t a = 0; a < 2; ++a) {
        for (std::size_t b = 0; b < 2; ++b) {
            ratio[a][b] = d.r1[a] / r3Corners[b];
        }
    }
    BuildStanding standing{Infinity, 0};
    for (const Level& level : Levels()) {
        double top = -Infinity;
        double bottom = Infinity;
        for (std::size_t a = 0; a < 2; ++a) {
            for (std::size_t b = 0; b < 2; ++b) {
                top = std::max(top, (d.top[a] + ratio[a][b] * level.topDrive) + d.topCurrent[a]);
                bottom = std::min(bottom, (d.bottom[a] + ratio[a][b] * level.bottomDrive) +
                                              d.bottomCurrent[a]);
            }
        }
        standing.margin = std::min({standing.margin, bottom - level.low, level.high - top});
        standing.specNeeded =
            std::max({standing.specNeeded, (level.target - bottom) * level.inverseTarget,
                      (top - level.target) * level.inverseTarget});
    }
    return standing;
}

// The edges' outputs with R1 and R2 at their values and no R3 term: corners of the box too.
std::array<double, 2> BuildBands::NominalDividers(double r1, double r2) const {
    return {((r1 + r2) / r2) * bottomVref_ + bottomCurrent_ * r1,
            ((r1 + r2) / r2) * topVref_ + topCurrent_ * r1};
}

// With x = 1 / R3 and the resistors at their values, each edge's output is divider + R1 * drive
// * x at each level, a line in x; the band reaches beyond both, so the level's margin is at
// most the smaller of their distances from the spec's edges.
double BuildBands::MarginBound(double r1, double r2, double r3Low, double r3High) const {
    const auto [bottom, top] = NominalDividers(r1, r2);
    std::array<Line, 6> lines{};
    std::size_t count = 0;
    for (const Level& level : Levels()) {
        lines[count++] = {bottom - level.low, r1 * level.bottomDrive};
        lines[count++] = {level.high - top, -(r1 * level.topDrive)};
    }
    return HighestOfLowerEnvelope(std::span(lines).first(count), 1 / r3High, 1 / r3Low);
}

// Likewise the spec needed at a level is at least the farther of the two lines from the target;
// the lowest of the largest over the levels is the highest of the lowest negated.
double BuildBands::SpecNeededBound(double r1, double r2, double r3Low, double r3High) const {
    const auto [bottom, top] = NominalDividers(r1, r2);
    std::array<Line, 6> lines{};
    std::size_t count = 0;
    for (const Level& level : Levels()) {
        const double weight = level.inverseTarget;
        lines[count++] = {(bottom - level.target) * weight, r1 * level.bottomDrive * weight};
        lines[count++] = {(level.target - top) * weight, -(r1 * level.topDrive * weight)};
    }
    return -HighestOfLowerEnvelope(std::span(lines).first(count), 1 / r3High, 1 / r3Low);
}

} // namespace calc_core
