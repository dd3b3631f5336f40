// The design analysis: levels with the diode's conduction, fault states, the preferred-value
// search and the tolerance bands.
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

// std::min and std::max pass over a NaN in one of their arguments; these keep it, so that the
// check of the results refuses it.
double Lowest(double a, double b) {
    return std::isnan(a) || a < b ? a : b;
}
double Highest(double a, double b) {
    return std::isnan(a) || a > b ? a : b;
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
    return {};
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
    return level;
}

std::vector<FaultAnalysis> AnalyseFaults(const Circuit& c, double pinVoltage, double highestVo) {
    std::vector<FaultAnalysis> faults = {
        {FaultState::PinAtZero, 0.0, CircuitOutput(c, 0.0), false},
        {FaultState::PinOpen, std::nullopt, DividerOutput(c), false},
        {FaultState::PinAtUserVoltage, pinVoltage, CircuitOutput(c, pinVoltage), false},
    };
    for (FaultAnalysis& fault : faults) {
        fault.overvoltage = fault.vo > highestVo;
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

double OutputAt(const TolerancePoint& p, bool diode) {
    using enum ToleranceQuantity;
    Circuit c{p[Index(R1)], p[Index(R2)], p[Index(R3)], p[Index(Vref)], std::nullopt};
    if (diode) {
        c.vf = p[Index(Vf)];
    }
    return CircuitOutput(c, p[Index(Level)]);
}

ToleranceLevel AnalyseTolerance(const Circuit& c, double pinV, const AnalysisSettings& s) {
    using enum ToleranceQuantity;
    const double rTol = s.resistorTolerancePct / 100;
    const double vrefTol = s.vrefTolerancePct / 100;
    const double levelTol = s.levelAccuracyMv / 1000;
    const double vf = c.vf.value_or(0);
    const double vfTol = c.diode() ? s.vfSpreadV : 0;
    const TolerancePoint nominal = {c.r1, c.r2, c.r3, c.vref, pinV, vf};
    const TolerancePoint low = {c.r1 * (1 - rTol),      c.r2 * (1 - rTol), c.r3 * (1 - rTol),
                                c.vref * (1 - vrefTol), pinV - levelTol,   vf - vfTol};
    const TolerancePoint high = {c.r1 * (1 + rTol),      c.r2 * (1 + rTol), c.r3 * (1 + rTol),
                                 c.vref * (1 + vrefTol), pinV + levelTol,   vf + vfTol};
    // Vf is the last quantity, so without the diode it simply stays nominal.
    const std::size_t varying = c.diode() ? ToleranceQuantityCount : Index(Vf);

    ToleranceLevel band;
    band.pinV = pinV;
    // Vo is monotonic in each quantity, so its extremes over the box sit at corners.
    band.min = OutputAt(nominal, c.diode());
    band.max = band.min;
    for (unsigned corner = 0; corner < (1u << varying); ++corner) {
        TolerancePoint p = nominal;
        for (std::size_t q = 0; q < varying; ++q) {
            p[q] = (corner >> q) & 1u ? high[q] : low[q];
        }
        const double vo = OutputAt(p, c.diode());
        band.min = Lowest(band.min, vo);
        band.max = Highest(band.max, vo);
    }

    // Half swings, scaled by the largest before squaring so that no square under- or overflows.
    std::array<double, ToleranceQuantityCount> half{};
    for (std::size_t q = 0; q < varying; ++q) {
        TolerancePoint up = nominal;
        TolerancePoint down = nominal;
        up[q] = high[q];
        down[q] = low[q];
        half[q] = std::fabs(OutputAt(up, c.diode()) - OutputAt(down, c.diode())) / 2;
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

// The first group of results that is not finite, as a sentence; empty when all are.
std::string SettleResults(DesignAnalysis& a) {
    bool voltages = true;
    bool formula = true;
    bool currents = true;
    for (LevelAnalysis& level : a.levels) {
        voltages = Settle(level.pinV, level.vo) && voltages;
        formula = Settle(level.voFormula) && formula;
        currents = Settle(level.iR1, level.iR2, level.iR3) && currents;
    }
    bool targets = Settle(*a.design.targetVoMax, *a.design.targetVoMin);
    bool faults = true;
    for (FaultAnalysis& fault : a.faults) {
        faults = Settle(fault.vo) && faults;
    }
    bool pairs = a.preferred.size() == std::size_t{PreferredPairCount};
    for (PreferredPair& pair : a.preferred) {
        for (double& vo : pair.levels) {
            pairs = Settle(vo) && pairs;
        }
        pairs = Settle(pair.errorVoMax, pair.errorVoMin, pair.worstError, pair.sumError) && pairs;
    }
    bool bands = true;
    for (ToleranceLevel& band : a.tolerance) {
        bands = Settle(band.min, band.max, band.rss) && bands;
        for (double& share : band.shares) {
            bands = Settle(share) && bands;
        }
    }
    const std::pair<bool, std::string_view> groups[] = {
        {voltages, "The output voltages at the pin levels are"},
        {targets, "The targets are"},
        {formula, "The output voltages by the tabs' formula are"},
        {currents, "The currents at the pin levels are"},
        {Settle(a.span), "The span of the output is"},
        {Settle(a.pR1Max), "The power in R1 is"},
        {Settle(a.pR2Max), "The power in R2 is"},
        {faults, "The outputs in the fault states are"},
        {pairs, "The errors of the preferred-value pairs are"},
        {bands, "The tolerance bands are"},
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

AnalysisOutcome AnalyseDesign(const AnalysisDesign& design, const AnalysisSettings& settings) {
    AnalysisOutcome outcome;
    outcome.reason = Refusal(design, settings);
    if (!outcome.reason.empty()) {
        return outcome;
    }
    const Circuit& c = design.circuit;
    DesignAnalysis a;
    a.design = design;
    a.settings = settings;

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
    a.faults = AnalyseFaults(c, settings.pinVoltage, highestVo);

    // Without targets of its own the set is compared with itself.
    a.design.targetVoMax = design.targetVoMax.value_or(a.levels.front().vo);
    a.design.targetVoMin = design.targetVoMin.value_or(a.levels.back().vo);
    a.preferred =
        BestPairs(c, pinLevels, *a.design.targetVoMax, *a.design.targetVoMin, settings.series);

    for (double pinV : pinLevels) {
        a.tolerance.push_back(AnalyseTolerance(c, pinV, settings));
    }
    for (std::size_t i = 0; i + 1 < a.tolerance.size(); ++i) {
        a.bandsOverlap = a.bandsOverlap || BandsMeet(a.tolerance[i], a.tolerance[i + 1]);
    }

    outcome.reason = SettleResults(a);
    if (outcome.reason.empty()) {
        outcome.analysis = std::move(a);
    }
    return outcome;
}

} // namespace calc_core
