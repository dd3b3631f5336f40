// One board's draws and outputs, and a chunk of boards tallied.
#include "calc_core/yield_model.h"

#include "calc_core/output_spec.h"
#include "calc_core/portable_random.h"

#include <algorithm>
#include <span>

namespace calc_core {
namespace {

// The units of a group: at most one for each term of each slot.
constexpr std::size_t YieldMaxUnits = YieldSlotCount * YieldMaxSlotTerms;

// The terms of one board, by slot and place: the drawn deviations, and the sizes of the terms
// that are not drawn.
using BoardTerms = std::array<std::array<double, YieldMaxSlotTerms>, YieldSlotCount>;

// Fills `units` with the unit deviations u of a Distribution group, one draw each. Uniform: in
// (-1, 1). Normal: z / 3, z drawn again while |z| > 3.
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

// Always the groups in the model's order, so that a seed gives the same boards everywhere.
BoardTerms DrawBoard(const YieldModel& m, PortableRandom& random) {
    BoardTerms b{};
    for (std::size_t slot = 0; slot < YieldSlotCount; ++slot) {
        b[slot] = m.boardSlots[slot].fixed;
    }
    std::array<double, YieldMaxUnits> units{};
    for (const YieldDrawGroup& group : m.groups) {
        const std::span<double> drawn = std::span(units).first(group.units);
        if (group.kind == TermDraw::Distribution) {
            DrawUnits(random, m.distribution, drawn);
        } else {
            for (double& u : drawn) {
                u = random.Uniform();
            }
        }
        std::size_t unit = 0;
        for (std::size_t d = 0; d < group.draws.size(); ++d) {
            const YieldDraw& draw = group.draws[d];
            unit += d > 0 && !draw.sharesPrevious ? 1 : 0;
            b[draw.slot][draw.place] = draw.size * drawn[unit];
        }
    }
    return b;
}

// A quantity's value at T = 25 °C + dT: each term added as the tolerance box adds it, so that no
// board leaves the box.
double SlotValue(const YieldSlot& slot, const std::array<double, YieldMaxSlotTerms>& terms,
                 double dT) {
    const auto term = [&](std::size_t i) { return slot.perDegree[i] ? terms[i] * dT : terms[i]; };
    if (slot.relative) {
        double sum = slot.terms > 0 ? term(0) : 0;
        for (std::size_t i = 1; i < slot.terms; ++i) {
            sum = sum + term(i);
        }
        return slot.nominal * (1 + sum);
    }
    double value = slot.nominal;
    for (std::size_t i = 0; i < slot.terms; ++i) {
        value = value + term(i);
    }
    return value;
}

Circuit CircuitAtOffset(const YieldModel& m, const BoardTerms& b, double dT) {
    using enum ToleranceQuantity;
    const auto value = [&](ToleranceQuantity q) {
        return SlotValue(m.boardSlots[Index(q)], b[Index(q)], dT);
    };
    Circuit c{value(R1), value(R2), value(R3), value(Vref), std::nullopt};
    if (m.diode) {
        c.vf = value(Vf);
    }
    return c;
}

void AddBoard(const YieldModel& m, const BoardTerms& b, YieldTally& tally) {
    const std::size_t levelCount = m.levels.size();
    std::array<bool, YieldMaxLevels> passes{true, true, true};
    const std::size_t current = Index(ToleranceQuantity::FbCurrent);
    for (double dT : m.temperatureOffsets) {
        std::array<double, YieldMaxLevels> pins{};
        for (std::size_t j = 0; j < levelCount; ++j) {
            pins[j] = SlotValue(m.boardSlots[LevelSlot(j)], b[LevelSlot(j)], dT);
        }
        std::array<double, YieldMaxLevels> outputs{};
        OutputsWithFbCurrent(CircuitAtOffset(m, b, dT), std::span(pins).first(levelCount),
                             SlotValue(m.boardSlots[current], b[current], dT), outputs);
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

// The slots a term moves for this model: each pin level for the level's term.
std::vector<std::pair<std::size_t, ToleranceQuantity>> SlotsOf(const ErrorTerm& term,
                                                               std::size_t levelCount) {
    std::vector<std::pair<std::size_t, ToleranceQuantity>> slots;
    for (std::size_t q = 0; q < ToleranceQuantityCount; ++q) {
        const auto quantity = ToleranceQuantity(q);
        if (!Moves(term.moves, quantity)) {
            continue;
        }
        if (quantity == ToleranceQuantity::Level) {
            for (std::size_t j = 0; j < levelCount; ++j) {
                slots.emplace_back(LevelSlot(j), quantity);
            }
        } else {
            slots.emplace_back(q, quantity);
        }
    }
    return slots;
}

// The group a term's draws join: the first model's by its kind, a quiet term's its own.
YieldDrawGroup& GroupOf(YieldModel& m, const ErrorTerm& term) {
    if (!term.quietWhenZero) {
        return m.groups[term.draw == TermDraw::Distribution ? 0 : 1];
    }
    m.groups.push_back({term.draw, {}, 0});
    return m.groups.back();
}

// Each term that takes part, in its slots, and its draws in its group.
void AddTerms(YieldModel& m, const TermSizes& sizes) {
    m.groups = {{TermDraw::Distribution, {}, 0}, {TermDraw::Uniform, {}, 0}};
    for (std::size_t t = 0; t < ErrorTermCount; ++t) {
        const ErrorTerm& term = ErrorTerms[t];
        if (!TermApplies(term, m.diode) || !TermActive(t, sizes)) {
            continue;
        }
        YieldDrawGroup* group = term.draw == TermDraw::None ? nullptr : &GroupOf(m, term);
        bool first = true;
        for (const auto& [index, quantity] : SlotsOf(term, m.levels.size())) {
            YieldSlot& slot = m.boardSlots[index];
            const std::size_t place = slot.terms++;
            slot.relative = term.scale == TermScale::Relative;
            slot.perDegree[place] = term.temperature != TermTemperature::None;
            if (group == nullptr) {
                slot.fixed[place] = sizes.At(t, quantity);
                continue;
            }
            const bool shares = !first && term.sharing == TermSharing::Shared;
            group->draws.push_back({index, place, sizes.At(t, quantity), shares});
            group->units += shares ? 0 : 1;
            first = false;
        }
    }
}

YieldLevelPlan PlanOf(const Circuit& c, double pinV, double target, const AnalysisSettings& s,
                      const TermSizes& sizes) {
    YieldLevelPlan plan;
    plan.pinV = pinV;
    plan.target = target;
    plan.band = WorstCase(ToleranceBoxAt(c, pinV, s, sizes));
    const SpecLevel spec = JudgeSpec(plan.band, plan.target, s.specPct);
    plan.specLow = spec.low;
    plan.specHigh = spec.high;
    plan.scale.reference = plan.band.min + (plan.band.max - plan.band.min) / 2;
    plan.scale.binLow = plan.band.min;
    plan.scale.binWidth = (plan.band.max - plan.band.min) / double(HistogramBins);
    plan.scale.binsPerUnit = plan.scale.binWidth > 0 ? 1 / plan.scale.binWidth : 0;
    return plan;
}

} // namespace

YieldModel ModelOf(const Circuit& c, const AnalysisSettings& s, const std::vector<double>& targets,
                   YieldDistribution distribution) {
    return ModelOf(c, s, targets, distribution, SizesOf(s));
}

YieldModel ModelOf(const Circuit& c, const AnalysisSettings& s, const std::vector<double>& targets,
                   YieldDistribution distribution, const TermSizes& sizes) {
    using enum ToleranceQuantity;
    YieldModel m;
    m.diode = c.diode();
    const std::vector<double> pins = PinLevels(c);
    for (std::size_t j = 0; j < pins.size(); ++j) {
        m.levels.push_back(PlanOf(c, pins[j], targets.at(j), s, sizes));
        m.boardSlots[LevelSlot(j)].nominal = pins[j];
    }
    for (const auto& [q, value] : {std::pair{R1, c.r1}, std::pair{R2, c.r2}, std::pair{R3, c.r3},
                                   std::pair{Vref, c.vref}, std::pair{Vf, c.vf.value_or(0)}}) {
        m.boardSlots[Index(q)].nominal = value;
    }
    AddTerms(m, sizes);
    const double middle = std::clamp(NominalTemperatureC, s.tempMinC, s.tempMaxC);
    m.temperatures = {s.tempMinC, middle, s.tempMaxC};
    for (std::size_t i = 0; i < 3; ++i) {
        m.temperatureOffsets[i] = m.temperatures[i] - NominalTemperatureC;
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
