// The design analysis: levels with the diode's conduction, fault states, the preferred-value
// search, the tolerance bands over temperature, the output spec, and the fitted pair.
#include "calc_core/design_analysis.h"

#include "calc_core/number_text.h"
#include "calc_core/pin_levels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace calc_core {
namespace {

// The output of the R1/R2 divider alone, evaluated as the Check tab evaluates it.
double DividerOutput(const Circuit& c) {
    return ((c.r1 + c.r2) / c.r2) * c.vref;
}

// The voltage that drives current from the node through R3 (and the diode) towards the pin.
double R3Voltage(const Circuit& c, double pinV) {
    if (!c.diode()) {
        return c.vref - pinV;
    }
    return std::max(0.0, c.vref - (*c.vf + pinV));
}

// The output with a current iFb into the feedback pin. While the converter regulates, the node
// sits at Vref, and the current coming in through R1 leaves through R2, through R3 towards the
// pin, and into the pin:
//     (Vo - Vref) / R1 = Vref / R2 + I(R3) + iFb,
// so Vo = Vref + R1 * (Vref / R2 + I(R3)) + iFb * R1, the output without the current plus
// iFb * R1; a current out of the pin lowers it by as much. The diode's conduction depends on the
// node's voltage alone, so the current does not change it.
double OutputWithFbCurrent(const Circuit& c, double pinV, double iFb) {
    return CircuitOutput(c, pinV) + iFb * c.r1;
}

// std::min and std::max pass over a NaN in one of their arguments; these keep it, so that the
// check of the results refuses it.
double Lowest(double a, double b) {
    return std::isnan(a) || a < b ? a : b;
}
double Highest(double a, double b) {
    return std::isnan(a) || a > b ? a : b;
}

// How far the operating range reaches from the nominal temperature, either way.
double TemperatureSwing(const AnalysisSettings& s) {
    return std::max(std::fabs(s.tempMinC - NominalTemperatureC),
                    std::fabs(s.tempMaxC - NominalTemperatureC));
}

// ---- Refusals ------------------------------------------------------------------------------

// Why a resistance or voltage that must be a finite number above 0 is not one; empty when it is.
std::string NotPositive(double value, std::string_view name, std::string_view unit) {
    if (!std::isfinite(value)) {
        return std::string(name) + " must be a finite number to analyse the design.";
    }
    if (!(value > 0)) {
        return std::string(name) + " must be above 0 " + std::string(unit) +
               " to analyse the design.";
    }
    return {};
}

// The first input or setting the analysis cannot work with, as a sentence; empty when none.
std::string Refusal(const AnalysisDesign& d, const AnalysisSettings& s) {
    const Circuit& c = d.circuit;
    for (const auto& [value, name, unit] :
         {std::tuple{c.r1, "R1", "\u03A9"}, std::tuple{c.r2, "R2", "\u03A9"},
          std::tuple{c.r3, "R3", "\u03A9"}, std::tuple{c.vref, "Vref", "V"}}) {
        if (std::string reason = NotPositive(value, name, unit); !reason.empty()) {
            return reason;
        }
    }
    if (c.vf) {
        if (std::string reason = NotPositive(*c.vf, "The diode's Vf", "V"); !reason.empty()) {
            return reason;
        }
    }
    if (d.targetVoMax && !std::isfinite(*d.targetVoMax)) {
        return "The target Vo_max must be a finite number to analyse the design.";
    }
    if (d.targetVoMin && !std::isfinite(*d.targetVoMin)) {
        return "The target Vo_min must be a finite number to analyse the design.";
    }
    return SettingsRefusal(s);
}

} // namespace

std::string SettingsRefusal(const AnalysisSettings& s) {
    const auto isPercent = [](double pct) { return pct >= 0 && pct < 100; };
    if (!isPercent(s.resistorTolerancePct)) {
        return "The resistor tolerance must be from 0 % to below 100 % to analyse the design.";
    }
    if (!isPercent(s.vrefTolerancePct)) {
        return "The Vref tolerance must be from 0 % to below 100 % to analyse the design.";
    }
    if (!(s.levelAccuracyMv >= 0) || !std::isfinite(s.levelAccuracyMv)) {
        return "The pin level accuracy must be a finite number of 0 mV or more to analyse the "
               "design.";
    }
    if (!(s.vfSpreadV >= 0) || !std::isfinite(s.vfSpreadV)) {
        return "The Vf spread must be a finite number of 0 V or more to analyse the design.";
    }
    if (!std::isfinite(s.pinVoltage)) {
        return "The pin voltage must be a finite number to analyse the design.";
    }
    const auto isTemperature = [](double t) {
        return t >= LowestTemperatureC && t <= HighestTemperatureC;
    };
    if (!isTemperature(s.tempMinC)) {
        return "The lowest operating temperature must be from -273.15 \u00B0C to 500 \u00B0C to "
               "analyse the design.";
    }
    if (!isTemperature(s.tempMaxC)) {
        return "The highest operating temperature must be from -273.15 \u00B0C to 500 \u00B0C to "
               "analyse the design.";
    }
    if (s.tempMinC > s.tempMaxC) {
        return "The lowest operating temperature must not be above the highest to analyse the "
               "design.";
    }
    // A part that could swing by 100 % or more over the range would reach 0 or below.
    const double dT = TemperatureSwing(s);
    if (!(s.resistorTcrPpm >= 0) || !std::isfinite(s.resistorTcrPpm)) {
        return "The resistor TCR must be a finite number of 0 ppm/\u00B0C or more to analyse the "
               "design.";
    }
    if (!(s.resistorTolerancePct / 100 + s.resistorTcrPpm * 1e-6 * dT < 1)) {
        return "The resistor tolerance with the TCR over the operating range must stay below "
               "100 % to analyse the design.";
    }
    if (!(s.vrefDriftPpm >= 0) || !std::isfinite(s.vrefDriftPpm)) {
        return "The Vref drift must be a finite number of 0 ppm/\u00B0C or more to analyse the "
               "design.";
    }
    if (!(s.vrefTolerancePct / 100 + s.vrefDriftPpm * 1e-6 * dT < 1)) {
        return "The Vref tolerance with the drift over the operating range must stay below 100 % "
               "to analyse the design.";
    }
    if (!(std::fabs(s.vfTempcoMv) <= VfTempcoLimitMv)) {
        return "The Vf tempco must be from -100 mV/\u00B0C to 100 mV/\u00B0C to analyse the "
               "design.";
    }
    if (!(s.fbCurrentNa >= 0) || !std::isfinite(s.fbCurrentNa)) {
        return "The feedback pin current must be a finite number of 0 nA or more to analyse the "
               "design.";
    }
    if (!(s.specPct > 0 && s.specPct < 100)) {
        return "The output spec must be above 0 % and below 100 % to analyse the design.";
    }
    return {};
}

std::string FitRefusal(const std::optional<FitChoice>& fit) {
    if (!fit) {
        return {};
    }
    if (fit->pairRank) {
        if (*fit->pairRank < 1 || *fit->pairRank > PreferredPairCount) {
            return "The pair to fit must be one of the preferred pairs, 1 to " +
                   std::to_string(PreferredPairCount) + ", to analyse the design.";
        }
        return {};
    }
    if (std::string reason = NotPositive(fit->r1, "The fitted R1", "\u03A9"); !reason.empty()) {
        return reason;
    }
    return NotPositive(fit->r3, "The fitted R3", "\u03A9");
}

namespace {

// ---- Levels and fault states ---------------------------------------------------------------

LevelAnalysis AnalyseLevel(const Circuit& c, double pinV) {
    LevelAnalysis level;
    level.pinV = pinV;
    level.vo = CircuitOutput(c, pinV);
    // The tabs' formula lets the diode's R3 term go negative; without the diode both agree.
    level.voFormula =
        c.diode() ? DividerOutput(c) + (c.vref - (*c.vf + pinV)) * (c.r1 / c.r3) : level.vo;
    const double t = R3Voltage(c, pinV);
    level.iR2 = c.vref / c.r2;
    level.iR3 = t / c.r3;
    level.iR1 = (level.vo - c.vref) / c.r1;
    level.diodeConducts = !c.diode() || t > 0;
    level.collapses = level.vo < 0;
    return level;
}

std::vector<FaultAnalysis> AnalyseFaults(const Circuit& c, double pinVoltage, double highestVo) {
    std::vector<FaultAnalysis> faults = {
        {FaultState::PinAtZero, 0.0, CircuitOutput(c, 0.0)},
        {FaultState::PinOpen, std::nullopt, DividerOutput(c)},
        {FaultState::PinAtUserVoltage, pinVoltage, CircuitOutput(c, pinVoltage)},
    };
    for (FaultAnalysis& fault : faults) {
        fault.overvoltage = fault.vo > highestVo;
        fault.collapses = fault.vo < 0;
    }
    return faults;
}

// ---- Preferred values ----------------------------------------------------------------------

struct Ranked {
    double worst = 0;
    double sum = 0;
    double errorVoMax = 0;
    double errorVoMin = 0;
    double r1 = 0;
    double r3 = 0;
};

bool RanksBefore(const Ranked& a, const Ranked& b) {
    return std::tie(a.worst, a.sum, a.r1, a.r3) < std::tie(b.worst, b.sum, b.r1, b.r3);
}

// The best pairs offered so far, best first.
class Podium {
  public:
    void Offer(const Ranked& pair) {
        std::size_t pos = count_;
        if (count_ < places_.size()) {
            ++count_;
        } else if (RanksBefore(pair, places_.back())) {
            pos = places_.size() - 1;
        } else {
            return;
        }
        for (; pos > 0 && RanksBefore(pair, places_[pos - 1]); --pos) {
            places_[pos] = places_[pos - 1];
        }
        places_[pos] = pair;
    }

    std::span<const Ranked> Places() const { return std::span(places_).first(count_); }

  private:
    std::array<Ranked, PreferredPairCount> places_{};
    std::size_t count_ = 0;
};

// Grid values taken on each side of a critical R3: the best three lie within two places of the
// grid's best, which is next to a critical point; one more allows for the rounding of the point.
constexpr std::ptrdiff_t CriticalReach = 4;

// The best pairs of the series for R2, Vref and Vf as given.
//
// For a fixed R1 both errors are |linear| in x = 1/R3, so the worst and the sum are convex in x
// and the ranking is unimodal along the sorted R3 values. Between the critical points (the zero of
// each error, and where they are equal or opposite) both are linear, so the ranking is monotone
// there; the best R3 values of that R1 therefore sit beside a critical point or at an end of the
// series (where every R3 ties, the smallest win).
std::vector<PreferredPair> BestPairs(const Circuit& c, const std::vector<double>& pinLevels,
                                     double targetVoMax, double targetVoMin, ESeries series) {
    const std::vector<double> values = SeriesValues(series);
    const auto n = static_cast<std::ptrdiff_t>(values.size());
    const double tMax = R3Voltage(c, pinLevels.front());
    const double tMin = R3Voltage(c, pinLevels.back());
    Podium podium;
    // Index ranges [first, end) of the R3 values worth ranking for one R1.
    std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> ranges;
    ranges.reserve(6);
    for (double r1 : values) {
        Circuit trial = c;
        trial.r1 = r1;
        const double g = DividerOutput(trial);
        const double dMax = g - targetVoMax;
        const double dMin = g - targetVoMin;
        ranges.assign({{0, PreferredPairCount}, {n - PreferredPairCount, n}});
        for (double critical :
             {-(r1 * tMax) / dMax, -(r1 * tMin) / dMin, (r1 * (tMax - tMin)) / (dMin - dMax),
              -(r1 * (tMax + tMin)) / (dMax + dMin)}) {
            if (critical > 0 && std::isfinite(critical)) {
                const auto pos =
                    std::lower_bound(values.begin(), values.end(), critical) - values.begin();
                ranges.emplace_back(pos - CriticalReach, pos + CriticalReach);
            }
        }
        std::sort(ranges.begin(), ranges.end());
        std::ptrdiff_t next = 0; // each R3 is ranked once, however the ranges overlap
        for (const auto& [first, end] : ranges) {
            for (std::ptrdiff_t j = std::max(first, next); j < std::min(end, n); ++j) {
                const double r3 = values[static_cast<std::size_t>(j)];
                // CircuitOutput written out with the divider shared across R3.
                const double k = r1 / r3;
                const double eMax = std::fabs((g + k * tMax) - targetVoMax);
                const double eMin = std::fabs((g + k * tMin) - targetVoMin);
                podium.Offer({Highest(eMax, eMin), eMax + eMin, eMax, eMin, r1, r3});
            }
            next = std::max(next, end);
        }
    }

    std::vector<PreferredPair> pairs;
    for (const Ranked& ranked : podium.Places()) {
        PreferredPair pair;
        pair.r1 = ranked.r1;
        pair.r3 = ranked.r3;
        Circuit chosen = c;
        chosen.r1 = ranked.r1;
        chosen.r3 = ranked.r3;
        for (double pinV : pinLevels) {
            pair.levels.push_back(CircuitOutput(chosen, pinV));
        }
        pair.errorVoMax = ranked.errorVoMax;
        pair.errorVoMin = ranked.errorVoMin;
        pair.worstError = ranked.worst;
        pair.sumError = ranked.sum;
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

// ---- Tolerances ----------------------------------------------------------------------------

// The quantities' values at one point of the tolerance box, indexed by ToleranceQuantity.
using TolerancePoint = std::array<double, ToleranceQuantityCount>;

constexpr std::size_t Index(ToleranceQuantity q) {
    return static_cast<std::size_t>(q);
}

// The box of one level, as ToleranceLevel describes it.
struct ToleranceBox {
    TolerancePoint nominal{};
    TolerancePoint low{};
    TolerancePoint high{};
    std::size_t varying = 0; // the first quantities that move: Vf only with the diode
    bool diode = false;
};

ToleranceBox BoxOf(const Circuit& c, double pinV, const AnalysisSettings& s) {
    const double dT = TemperatureSwing(s);
    const double rSwing = s.resistorTolerancePct / 100 + s.resistorTcrPpm * 1e-6 * dT;
    const double vrefSwing = s.vrefTolerancePct / 100 + s.vrefDriftPpm * 1e-6 * dT;
    const double levelTol = s.levelAccuracyMv / 1000;
    const double iFb = s.fbCurrentNa * 1e-9;
    const double vf = c.vf.value_or(0);
    double vfLow = vf;
    double vfHigh = vf;
    if (c.diode()) {
        // Linear in T, so the ends of the range hold the extremes; a range that leaves out the
        // nominal temperature may leave out the nominal Vf too.
        const double cold = s.vfTempcoMv / 1000 * (s.tempMinC - NominalTemperatureC);
        const double hot = s.vfTempcoMv / 1000 * (s.tempMaxC - NominalTemperatureC);
        vfLow = vf - s.vfSpreadV + std::min(cold, hot);
        vfHigh = vf + s.vfSpreadV + std::max(cold, hot);
    }
    ToleranceBox box;
    box.nominal = {c.r1, c.r2, c.r3, c.vref, pinV, 0, vf};
    box.low = {c.r1 * (1 - rSwing),
               c.r2 * (1 - rSwing),
               c.r3 * (1 - rSwing),
               c.vref * (1 - vrefSwing),
               pinV - levelTol,
               -iFb,
               vfLow};
    box.high = {c.r1 * (1 + rSwing),
                c.r2 * (1 + rSwing),
                c.r3 * (1 + rSwing),
                c.vref * (1 + vrefSwing),
                pinV + levelTol,
                iFb,
                vfHigh};
    static_assert(Index(ToleranceQuantity::Vf) == ToleranceQuantityCount - 1);
    box.varying = c.diode() ? ToleranceQuantityCount : Index(ToleranceQuantity::Vf);
    box.diode = c.diode();
    return box;
}

Circuit CircuitAt(const TolerancePoint& p, bool diode) {
    using enum ToleranceQuantity;
    Circuit c{p[Index(R1)], p[Index(R2)], p[Index(R3)], p[Index(Vref)], std::nullopt};
    if (diode) {
        c.vf = p[Index(Vf)];
    }
    return c;
}

double OutputAt(const TolerancePoint& p, bool diode) {
    using enum ToleranceQuantity;
    return OutputWithFbCurrent(CircuitAt(p, diode), p[Index(Level)], p[Index(FbCurrent)]);
}

// The extremes over every corner of the box, and whether the diode blocks or conducts at some.
// The output is linear in R1 and in the current, and monotonic in each other quantity alone, so
// the extremes are at corners; which corners depends on the rest (R3 raises the output while
// Vref is below the pin level and lowers it above, and R1 turns with the current's sign).
ToleranceLevel WorstCase(const ToleranceBox& box) {
    using enum ToleranceQuantity;
    ToleranceLevel band;
    band.pinV = box.nominal[Index(Level)];
    band.diodeMayConduct = !box.diode;
    for (unsigned corner = 0; corner < (1u << box.varying); ++corner) {
        TolerancePoint p = box.nominal;
        for (std::size_t q = 0; q < box.varying; ++q) {
            p[q] = (corner >> q) & 1u ? box.high[q] : box.low[q];
        }
        const Circuit c = CircuitAt(p, box.diode);
        const double vo = OutputWithFbCurrent(c, p[Index(Level)], p[Index(FbCurrent)]);
        band.min = corner == 0 ? vo : Lowest(band.min, vo);
        band.max = corner == 0 ? vo : Highest(band.max, vo);
        if (box.diode) {
            const bool conducts = R3Voltage(c, p[Index(Level)]) > 0;
            band.diodeMayConduct = band.diodeMayConduct || conducts;
            band.diodeMayBlock = band.diodeMayBlock || !conducts;
        }
    }
    return band;
}

ToleranceLevel AnalyseTolerance(const Circuit& c, double pinV, const AnalysisSettings& s) {
    const ToleranceBox box = BoxOf(c, pinV, s);
    ToleranceLevel band = WorstCase(box);

    // Half swings, scaled by the largest before squaring so that no square under- or overflows.
    std::array<double, ToleranceQuantityCount> half{};
    for (std::size_t q = 0; q < box.varying; ++q) {
        TolerancePoint up = box.nominal;
        TolerancePoint down = box.nominal;
        up[q] = box.high[q];
        down[q] = box.low[q];
        half[q] = std::fabs(OutputAt(up, box.diode) - OutputAt(down, box.diode)) / 2;
    }
    double scale = 0;
    for (double h : half) {
        scale = Highest(scale, h);
    }
    if (scale == 0) {
        return band; // nothing varies: no spread, and no shares
    }
    double total = 0;
    for (double& h : half) {
        h = (h / scale) * (h / scale);
        total += h;
    }
    band.rss = scale * std::sqrt(total);
    for (std::size_t q = 0; q < half.size(); ++q) {
        band.shares[q] = half[q] / total;
    }
    return band;
}

bool BandsMeet(const ToleranceLevel& a, const ToleranceLevel& b) {
    return a.min <= b.max && b.min <= a.max;
}

// ---- The output spec -----------------------------------------------------------------------

SpecLevel SpecOf(const ToleranceLevel& band, double target, double pct) {
    SpecLevel spec;
    spec.pinV = band.pinV;
    spec.target = target;
    const double half = std::fabs(target) * (pct / 100);
    spec.low = target - half;
    spec.high = target + half;
    spec.meets = band.min >= spec.low && band.max <= spec.high;
    spec.margin = Lowest(band.min - spec.low, spec.high - band.max);
    return spec;
}

// Each level's target, as SpecLevel says: the design's own outputs between the two ends.
std::vector<double> SpecTargets(const DesignAnalysis& a) {
    std::vector<double> targets;
    for (const LevelAnalysis& level : a.levels) {
        targets.push_back(level.vo);
    }
    targets.front() = *a.design.targetVoMax;
    targets.back() = *a.design.targetVoMin;
    return targets;
}

// Whether each pair's own worst-case bands meet the spec, and by how much.
void JudgePairs(std::vector<PreferredPair>& pairs, const Circuit& design,
                const std::vector<double>& targets, const AnalysisSettings& s) {
    const std::vector<double> pinLevels = PinLevels(design);
    for (PreferredPair& pair : pairs) {
        Circuit c = design;
        c.r1 = pair.r1;
        c.r3 = pair.r3;
        for (std::size_t i = 0; i < pinLevels.size(); ++i) {
            const SpecLevel spec =
                SpecOf(WorstCase(BoxOf(c, pinLevels[i], s)), targets[i], s.specPct);
            pair.specMargin = i == 0 ? spec.margin : Lowest(pair.specMargin, spec.margin);
            pair.meetsSpec = (i == 0 || pair.meetsSpec) && spec.meets;
        }
    }
}

// ---- One resistor set ----------------------------------------------------------------------

// Everything but the spec, which needs the design's targets.
SetAnalysis AnalyseSet(const Circuit& c, const AnalysisSettings& s) {
    SetAnalysis a;
    const std::vector<double> pinLevels = PinLevels(c);
    for (double pinV : pinLevels) {
        a.levels.push_back(AnalyseLevel(c, pinV));
    }
    double highestVo = a.levels.front().vo;
    a.pR1Max = 0;
    for (const LevelAnalysis& level : a.levels) {
        highestVo = Highest(highestVo, level.vo);
        a.pR1Max = Highest(a.pR1Max, level.iR1 * level.iR1 * c.r1);
    }
    a.span = a.levels.front().vo - a.levels.back().vo;
    a.pR2Max = c.vref * c.vref / c.r2;
    a.faults = AnalyseFaults(c, s.pinVoltage, highestVo);

    for (double pinV : pinLevels) {
        a.tolerance.push_back(AnalyseTolerance(c, pinV, s));
    }
    for (std::size_t i = 0; i + 1 < a.tolerance.size(); ++i) {
        a.tolerance[i].overlapsNext = BandsMeet(a.tolerance[i], a.tolerance[i + 1]);
        a.bandsOverlap = a.bandsOverlap || a.tolerance[i].overlapsNext;
    }
    return a;
}

void CheckSpec(SetAnalysis& a, const std::vector<double>& targets, double pct) {
    for (std::size_t i = 0; i < a.tolerance.size(); ++i) {
        a.spec.push_back(SpecOf(a.tolerance[i], targets[i], pct));
    }
}

// ---- Results -------------------------------------------------------------------------------

// Makes a negative zero a plain one; true when the value is finite.
bool Settle(double& value) {
    value += 0.0;
    return std::isfinite(value);
}

template <typename... Values> bool Settle(double& first, Values&... rest) {
    const bool finite = Settle(first);
    return Settle(rest...) && finite; // every value settled, whatever the first gave
}

// Whether each group of a set's results is finite, after settling them.
struct SettledSet {
    bool voltages = true;
    bool formula = true;
    bool currents = true;
    bool span = true;
    bool pR1 = true;
    bool pR2 = true;
    bool faults = true;
    bool bands = true;
    bool spec = true;

    bool All() const {
        return voltages && formula && currents && span && pR1 && pR2 && faults && bands && spec;
    }
};

SettledSet SettleSet(SetAnalysis& a) {
    SettledSet settled;
    for (LevelAnalysis& level : a.levels) {
        settled.voltages = Settle(level.pinV, level.vo) && settled.voltages;
        settled.formula = Settle(level.voFormula) && settled.formula;
        settled.currents = Settle(level.iR1, level.iR2, level.iR3) && settled.currents;
    }
    settled.span = Settle(a.span);
    settled.pR1 = Settle(a.pR1Max);
    settled.pR2 = Settle(a.pR2Max);
    for (FaultAnalysis& fault : a.faults) {
        settled.faults = Settle(fault.vo) && settled.faults;
    }
    for (ToleranceLevel& band : a.tolerance) {
        settled.bands = Settle(band.min, band.max, band.rss) && settled.bands;
        for (double& share : band.shares) {
            settled.bands = Settle(share) && settled.bands;
        }
    }
    for (SpecLevel& spec : a.spec) {
        settled.spec = Settle(spec.target, spec.low, spec.high, spec.margin) && settled.spec;
    }
    return settled;
}

// The first group of results that is not finite, as a sentence; empty when all are.
std::string SettleResults(DesignAnalysis& a) {
    const SettledSet set = SettleSet(a);
    bool targets = Settle(*a.design.targetVoMax, *a.design.targetVoMin);
    bool pairs = a.preferred.size() == std::size_t{PreferredPairCount};
    for (PreferredPair& pair : a.preferred) {
        for (double& vo : pair.levels) {
            pairs = Settle(vo) && pairs;
        }
        pairs = Settle(pair.errorVoMax, pair.errorVoMin, pair.worstError, pair.sumError,
                       pair.specMargin) &&
                pairs;
    }
    bool fitted = true;
    if (a.fitted) {
        fitted = SettleSet(*a.fitted).All();
        for (double& change : a.fitted->voChange) {
            fitted = Settle(change) && fitted;
        }
    }
    const std::pair<bool, std::string_view> groups[] = {
        {set.voltages, "The output voltages at the pin levels are"},
        {targets, "The targets are"},
        {set.formula, "The output voltages by the tabs' formula are"},
        {set.currents, "The currents at the pin levels are"},
        {set.span, "The span of the output is"},
        {set.pR1, "The power in R1 is"},
        {set.pR2, "The power in R2 is"},
        {set.faults, "The outputs in the fault states are"},
        {pairs, "The errors of the preferred-value pairs are"},
        {set.bands, "The tolerance bands are"},
        {set.spec, "The spec's edges and margins are"},
        {fitted, "The results for the fitted pair are"},
    };
    for (const auto& [finite, subject] : groups) {
        if (!finite) {
            return std::string(subject) +
                   " beyond the range of numbers, so the design cannot be analysed.";
        }
    }
    return {};
}

} // namespace

double CircuitOutput(const Circuit& circuit, double pinV) {
    return DividerOutput(circuit) + (circuit.r1 / circuit.r3) * R3Voltage(circuit, pinV);
}

std::vector<double> PinLevels(const Circuit& circuit) {
    if (circuit.diode()) {
        return {LevelLow, LevelMid};
    }
    return {LevelLow, LevelMid, LevelHigh};
}

AnalysisDesign DesignOfCalc(const DesignInputs& inputs, double r1Shown, double r3Shown) {
    AnalysisDesign design;
    design.circuit = {r1Shown, inputs.r2, r3Shown, inputs.vref, std::nullopt};
    if (inputs.choice == DiodeChoice::Yes) {
        design.circuit.vf = inputs.vf;
    }
    design.targetVoMax = inputs.voMax;
    design.targetVoMin = inputs.voMin;
    return design;
}

AnalysisDesign DesignOfCheck(const CheckInputs& inputs) {
    AnalysisDesign design;
    design.circuit = {inputs.r1, inputs.r2, inputs.r3, inputs.vref, std::nullopt};
    if (inputs.choice == DiodeChoice::Yes) {
        design.circuit.vf = inputs.vf;
    }
    return design;
}

std::optional<AnalysisDesign> DesignOfPress(const CalcPressOutcome& press) {
    const DesignOutcome& result = press.result;
    if (!press.inputs || !result.r1Text || !result.r3Text) {
        return std::nullopt;
    }
    return DesignOfCalc(*press.inputs, ReadWholeText(*result.r1Text),
                        ReadWholeText(*result.r3Text));
}

std::optional<AnalysisDesign> DesignOfPress(const CheckOutcome& press) {
    if (!press.inputs) {
        return std::nullopt;
    }
    return DesignOfCheck(*press.inputs);
}

AnalysisOutcome AnalyseDesign(const AnalysisDesign& design, const AnalysisSettings& settings,
                              const std::optional<FitChoice>& fit) {
    AnalysisOutcome outcome;
    outcome.reason = Refusal(design, settings);
    if (outcome.reason.empty()) {
        outcome.reason = FitRefusal(fit);
    }
    if (!outcome.reason.empty()) {
        return outcome;
    }
    const Circuit& c = design.circuit;
    DesignAnalysis a;
    static_cast<SetAnalysis&>(a) = AnalyseSet(c, settings);
    a.design = design;
    a.settings = settings;

    // Without targets of its own the set is compared with itself.
    a.design.targetVoMax = design.targetVoMax.value_or(a.levels.front().vo);
    a.design.targetVoMin = design.targetVoMin.value_or(a.levels.back().vo);
    const std::vector<double> targets = SpecTargets(a);
    CheckSpec(a, targets, settings.specPct);
    a.preferred =
        BestPairs(c, PinLevels(c), *a.design.targetVoMax, *a.design.targetVoMin, settings.series);
    JudgePairs(a.preferred, c, targets, settings);

    if (fit) {
        Circuit fitted = c;
        if (fit->pairRank) {
            const auto rank = static_cast<std::size_t>(*fit->pairRank);
            if (rank > a.preferred.size()) {
                outcome.reason = FitRefusal(FitChoice::Pair(0));
                return outcome;
            }
            const PreferredPair& pair = a.preferred[rank - 1];
            fitted.r1 = pair.r1;
            fitted.r3 = pair.r3;
        } else {
            fitted.r1 = fit->r1;
            fitted.r3 = fit->r3;
        }
        FittedAnalysis f;
        static_cast<SetAnalysis&>(f) = AnalyseSet(fitted, settings);
        CheckSpec(f, targets, settings.specPct);
        f.r1 = fitted.r1;
        f.r3 = fitted.r3;
        f.pairRank = fit->pairRank;
        for (std::size_t i = 0; i < f.levels.size(); ++i) {
            f.voChange.push_back(f.levels[i].vo - a.levels[i].vo);
        }
        a.fitted = std::move(f);
    }

    outcome.reason = SettleResults(a);
    if (outcome.reason.empty()) {
        outcome.analysis = std::move(a);
    }
    return outcome;
}

} // namespace calc_core
