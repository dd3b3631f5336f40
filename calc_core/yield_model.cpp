// One board's draws and outputs, and a chunk of boards tallied.
#include "calc_core/yield_model.h"

#include "calc_core/output_spec.h"
#include "calc_core/portable_random.h"

#include <algorithm>
#include <span>

namespace calc_core {
namespace {

// The draws of one board that stay with it at every temperature.
struct BoardDraw {
    std::array<double, 3> resistorDeviation{}; // tolerance * u
    std::array<double, 3> resistorTcr{};       // per °C
    double vrefDeviation = 0;
    double vrefDrift = 0;
    std::array<double, YieldMaxLevels> level{}; // the pin's level, volts
    double vf = 0;                              // at 25 °C
    double fbCurrent = 0;
};

// Fills `units` with the tolerances' unit deviations u, one draw each.
void DrawUnits(PortableRandom& random, YieldDistribution distribution, std::span<double> units) {
    if (distribution == YieldDistribution::Uniform) {
        for (double& u : units) {
            u = random.Uniform();
        }
        return;
    }
    random.Normals(units, 3);
    for (double& u : units) {
        u /= 3;
    }
}

// Always in this order, so that a seed gives the same boards everywhere: the tolerances' units of
// R1, R2, R3, Vref, each level and Vf with the diode, together (the normal ones are drawn side by
// side); then uniformly R1's, R2's and R3's TCR, Vref's drift and the feedback pin's current.
BoardDraw DrawBoard(const YieldModel& m, PortableRandom& random) {
    const std::size_t levelCount = m.levels.size();
    std::array<double, 4 + YieldMaxLevels + 1> units{};
    DrawUnits(random, m.distribution, std::span(units).first(4 + levelCount + (m.vf ? 1 : 0)));
    BoardDraw b;
    for (std::size_t i = 0; i < 3; ++i) {
        b.resistorDeviation[i] = m.resistorTolerance * units[i];
    }
    b.vrefDeviation = m.vrefTolerance * units[3];
    for (std::size_t j = 0; j < levelCount; ++j) {
        b.level[j] = m.levels[j].pinV + m.levelAccuracy * units[4 + j];
    }
    if (m.vf) {
        b.vf = *m.vf + m.vfSpread * units[4 + levelCount];
    }
    for (std::size_t i = 0; i < 3; ++i) {
        b.resistorTcr[i] = m.resistorTcr * random.Uniform();
    }
    b.vrefDrift = m.vrefDrift * random.Uniform();
    b.fbCurrent = m.fbCurrent * random.Uniform();
    return b;
}

// The board's circuit at T = 25 °C + dT: each term added as the tolerance box adds it, so that
// no board leaves the box.
Circuit CircuitAtOffset(const YieldModel& m, const BoardDraw& b, double dT) {
    Circuit c;
    c.r1 = m.resistors[0] * (1 + (b.resistorDeviation[0] + b.resistorTcr[0] * dT));
    c.r2 = m.resistors[1] * (1 + (b.resistorDeviation[1] + b.resistorTcr[1] * dT));
    c.r3 = m.resistors[2] * (1 + (b.resistorDeviation[2] + b.resistorTcr[2] * dT));
    c.vref = m.vref * (1 + (b.vrefDeviation + b.vrefDrift * dT));
    if (m.vf) {
        c.vf = b.vf + m.vfTempco * dT;
    }
    return c;
}

void AddBoard(const YieldModel& m, const BoardDraw& b, YieldTally& tally) {
    const std::size_t levelCount = m.levels.size();
    std::array<bool, YieldMaxLevels> passes{true, true, true};
    for (double dT : m.temperatureOffsets) {
        std::array<double, YieldMaxLevels> outputs{};
        OutputsWithFbCurrent(CircuitAtOffset(m, b, dT), std::span(b.level).first(levelCount),
                             b.fbCurrent, outputs);
        for (std::size_t j = 0; j < levelCount; ++j) {
            const YieldLevelPlan& plan = m.levels[j];
            const double vo = outputs[j];
            passes[j] = passes[j] && vo >= plan.specLow && vo <= plan.specHigh;
            tally.levels[j].Add(vo, plan.scale);
        }
    }
    bool all = true;
    for (std::size_t j = 0; j < levelCount; ++j) {
        tally.levels[j].passingBoards += passes[j] ? 1 : 0;
        all = all && passes[j];
    }
    tally.passing += all ? 1 : 0;
    ++tally.boards;
}

} // namespace

YieldModel ModelOf(const Circuit& c, const AnalysisSettings& s, const std::vector<double>& targets,
                   YieldDistribution distribution) {
    YieldModel m;
    m.resistors = {c.r1, c.r2, c.r3};
    m.vref = c.vref;
    m.vf = c.vf;
    // The same expressions as the tolerance box's, so that the board's terms stay within it.
    m.resistorTolerance = s.resistorTolerancePct / 100;
    m.resistorTcr = s.resistorTcrPpm * 1e-6;
    m.vrefTolerance = s.vrefTolerancePct / 100;
    m.vrefDrift = s.vrefDriftPpm * 1e-6;
    m.levelAccuracy = s.levelAccuracyMv / 1000;
    m.vfSpread = s.vfSpreadV;
    m.vfTempco = s.vfTempcoMv / 1000;
    m.fbCurrent = s.fbCurrentNa * 1e-9;
    const double middle = std::clamp(NominalTemperatureC, s.tempMinC, s.tempMaxC);
    m.temperatures = {s.tempMinC, middle, s.tempMaxC};
    for (std::size_t i = 0; i < 3; ++i) {
        m.temperatureOffsets[i] = m.temperatures[i] - NominalTemperatureC;
    }
    const std::vector<double> pins = PinLevels(c);
    for (std::size_t j = 0; j < pins.size(); ++j) {
        YieldLevelPlan plan;
        plan.pinV = pins[j];
        plan.target = targets.at(j);
        plan.band = WorstCase(ToleranceBoxAt(c, pins[j], s));
        const SpecLevel spec = JudgeSpec(plan.band, plan.target, s.specPct);
        plan.specLow = spec.low;
        plan.specHigh = spec.high;
        plan.scale.reference = plan.band.min + (plan.band.max - plan.band.min) / 2;
        plan.scale.binLow = plan.band.min;
        plan.scale.binWidth = (plan.band.max - plan.band.min) / double(HistogramBins);
        plan.scale.binsPerUnit = plan.scale.binWidth > 0 ? 1 / plan.scale.binWidth : 0;
        m.levels.push_back(plan);
    }
    m.distribution = distribution;
    return m;
}

void MergeYieldTally(YieldTally& into, const YieldTally& later) {
    into.boards += later.boards;
    into.passing += later.passing;
    for (std::size_t j = 0; j < YieldMaxLevels; ++j) {
        MergeTally(into.levels[j], later.levels[j]);
    }
}

YieldTally SimulateChunk(const YieldModel& model, std::uint64_t seed, std::uint64_t chunk,
                         std::uint64_t boards) {
    PortableRandom random(StreamOf(seed, chunk));
    YieldTally tally;
    for (std::uint64_t i = 0; i < boards; ++i) {
        AddBoard(model, DrawBoard(model, random), tally);
    }
    return tally;
}

} // namespace calc_core
