// The plot of an analysis as numbers.
#include "analysis_report/plot_data.h"

#include "analysis_report/number_format.h"

#include <algorithm>
#include <cmath>

namespace analysis_report {
namespace {

constexpr int Samples = 400;
constexpr int MostXTicks = 8;
constexpr int MostYTicks = 7;

std::vector<std::pair<double, std::string>> Labelled(double lo, double hi, int most,
                                                     std::string_view separator) {
    const AxisTicks ticks = NiceTicks(lo, hi, most);
    std::vector<std::pair<double, std::string>> labelled;
    for (double value : ticks.values) {
        labelled.emplace_back(value, FormatFixed(value, ticks.decimals, separator));
    }
    return labelled;
}

} // namespace

AxisTicks NiceTicks(double lo, double hi, int most) {
    AxisTicks ticks;
    const double rough = (hi - lo) / std::max(most - 1, 1);
    if (!(rough > 0) || !std::isfinite(rough)) {
        return ticks;
    }
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (power * factor >= rough) {
            step = power * factor;
            break;
        }
    }
    ticks.decimals = std::max(0, -int(std::floor(std::log10(step) + 1e-9)));
    // Counted, since far from 0 adding 1 to a huge multiple may leave it unchanged.
    const double first = std::ceil(lo / step);
    for (int i = 0; i <= most && (first + i) * step <= hi + step * 1e-9; ++i) {
        // Whole multiples of the step, so that a tick never reads "-0" or 0.30000000000000004.
        const double k = first + i;
        ticks.values.push_back(k == 0 ? 0.0 : k * step);
    }
    return ticks;
}

PlotData MakePlotData(const calc_core::DesignAnalysis& analysis, std::string_view separator) {
    PlotData plot;
    calc_core::Circuit circuit = analysis.design.circuit;
    const calc_core::SetAnalysis* set = &analysis.shown();
    if (analysis.fitted) {
        circuit.r1 = analysis.fitted->r1;
        circuit.r3 = analysis.fitted->r3;
    }
    double x0 = std::min(0.0, analysis.settings.pinVoltage);
    double x1 = std::max(0.0, analysis.settings.pinVoltage);
    for (const calc_core::LevelAnalysis& level : set->levels) {
        x0 = std::min(x0, level.pinV);
        x1 = std::max(x1, level.pinV);
    }
    for (int i = 0; i <= Samples; ++i) {
        const double pinV = x0 + (x1 - x0) * i / Samples;
        plot.curve.emplace_back(pinV, calc_core::CircuitOutput(circuit, pinV));
    }
    double y0 = plot.curve.front().second;
    double y1 = y0;
    for (const auto& point : plot.curve) {
        y0 = std::min(y0, point.second);
        y1 = std::max(y1, point.second);
    }
    for (std::size_t i = 0; i < set->levels.size() && i < set->tolerance.size(); ++i) {
        const calc_core::ToleranceLevel& band = set->tolerance[i];
        PlotMark mark{set->levels[i].pinV, set->levels[i].vo, band.min, band.max};
        if (i < set->spec.size()) {
            mark.specLow = set->spec[i].low;
            mark.specHigh = set->spec[i].high;
            mark.meetsSpec = set->spec[i].meets;
        } else {
            mark.specLow = mark.specHigh = mark.vo;
        }
        plot.marks.push_back(mark);
        y0 = std::min({y0, band.min, mark.specLow});
        y1 = std::max({y1, band.max, mark.specHigh});
    }
    const double pad = y1 > y0 ? (y1 - y0) * 0.05 : 1.0;
    plot.x = {x0, x1};
    plot.y = {y0 - pad, y1 + pad};
    // Outputs near the double range's end cannot be placed on a screen.
    plot.drawable = std::isfinite(x1 - x0) && x1 - x0 > 0 &&
                    std::isfinite(plot.y.second - plot.y.first) && plot.y.second - plot.y.first > 0;
    if (plot.drawable) {
        plot.xTicks = Labelled(plot.x.first, plot.x.second, MostXTicks, separator);
        plot.yTicks = Labelled(plot.y.first, plot.y.second, MostYTicks, separator);
    }

    const auto volts = [separator](double v) { return FormatVolts(v, separator); };
    plot.description = analysis.fitted ? "As fitted, R1 " + FormatOhms(circuit.r1, separator) +
                                             " and R3 " + FormatOhms(circuit.r3, separator) + ": "
                                       : std::string();
    plot.description += "Vo from " + volts(plot.curve.front().second) + " at " + volts(x0) +
                        " to " + volts(plot.curve.back().second) + " at " + volts(x1) + ".";
    for (const PlotMark& mark : plot.marks) {
        plot.description += " At " + volts(mark.pinV) + ": " + volts(mark.vo) + ", worst case " +
                            volts(mark.min) + " to " + volts(mark.max) + ", spec " +
                            volts(mark.specLow) + " to " + volts(mark.specHigh) +
                            (mark.meetsSpec ? "." : ", outside the spec.");
    }
    return plot;
}

} // namespace analysis_report
