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

// The circuit whose output the plot shows: the design's, or with the fitted R1 and R3.
calc_core::Circuit ShownCircuit(const calc_core::DesignAnalysis& analysis) {
    calc_core::Circuit circuit = analysis.design.circuit;
    if (analysis.fitted) {
        circuit.r1 = analysis.fitted->r1;
        circuit.r3 = analysis.fitted->r3;
    }
    return circuit;
}

// From 0 V to the pin voltage of the settings, widened to take in every level.
std::pair<double, double> PinRange(double pinVoltage, const calc_core::SetAnalysis& set) {
    double x0 = std::min(0.0, pinVoltage);
    double x1 = std::max(0.0, pinVoltage);
    for (const calc_core::LevelAnalysis& level : set.levels) {
        x0 = std::min(x0, level.pinV);
        x1 = std::max(x1, level.pinV);
    }
    return {x0, x1};
}

std::vector<std::pair<double, double>> SampleCurve(const calc_core::Circuit& circuit,
                                                   std::pair<double, double> x) {
    const auto [x0, x1] = x;
    std::vector<std::pair<double, double>> curve;
    for (int i = 0; i <= Samples; ++i) {
        const double pinV = x0 + (x1 - x0) * i / Samples;
        curve.emplace_back(pinV, calc_core::CircuitOutput(circuit, pinV));
    }
    return curve;
}

// Each level with its worst-case band, and its spec's band where the spec covers it.
std::vector<PlotMark> Marks(const calc_core::SetAnalysis& set) {
    std::vector<PlotMark> marks;
    for (std::size_t i = 0; i < set.levels.size() && i < set.tolerance.size(); ++i) {
        const calc_core::ToleranceLevel& band = set.tolerance[i];
        PlotMark mark{set.levels[i].pinV, set.levels[i].vo, band.min, band.max};
        if (i < set.spec.size()) {
            mark.specLow = set.spec[i].low;
            mark.specHigh = set.spec[i].high;
            mark.meetsSpec = set.spec[i].meets;
        } else {
            mark.specLow = mark.specHigh = mark.vo;
        }
        marks.push_back(mark);
    }
    return marks;
}

// The lowest and highest output of the curve, the bands and the spec's bands.
std::pair<double, double> OutputRange(const std::vector<std::pair<double, double>>& curve,
                                      const std::vector<PlotMark>& marks) {
    double y0 = curve.front().second;
    double y1 = y0;
    for (const auto& point : curve) {
        y0 = std::min(y0, point.second);
        y1 = std::max(y1, point.second);
    }
    for (const PlotMark& mark : marks) {
        y0 = std::min({y0, mark.min, mark.specLow});
        y1 = std::max({y1, mark.max, mark.specHigh});
    }
    return {y0, y1};
}

std::string Description(const PlotData& plot, const calc_core::DesignAnalysis& analysis,
                        std::string_view separator) {
    const auto volts = [separator](double v) { return FormatVolts(v, separator); };
    std::string description =
        analysis.fitted ? "As fitted, R1 " + FormatOhms(analysis.fitted->r1, separator) +
                              " and R3 " + FormatOhms(analysis.fitted->r3, separator) + ": "
                        : std::string();
    description += "Vo from " + volts(plot.curve.front().second) + " at " + volts(plot.x.first) +
                   " to " + volts(plot.curve.back().second) + " at " + volts(plot.x.second) + ".";
    for (const PlotMark& mark : plot.marks) {
        description += " At " + volts(mark.pinV) + ": " + volts(mark.vo) + ", worst case " +
                       volts(mark.min) + " to " + volts(mark.max) + ", spec " +
                       volts(mark.specLow) + " to " + volts(mark.specHigh) +
                       (mark.meetsSpec ? "." : ", outside the spec.");
    }
    return description;
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
    const calc_core::SetAnalysis& set = analysis.shown();
    plot.x = PinRange(analysis.settings.pinVoltage, set);
    plot.curve = SampleCurve(ShownCircuit(analysis), plot.x);
    plot.marks = Marks(set);
    const auto [y0, y1] = OutputRange(plot.curve, plot.marks);
    const double pad = y1 > y0 ? (y1 - y0) * 0.05 : 1.0;
    plot.y = {y0 - pad, y1 + pad};
    const auto [x0, x1] = plot.x;
    // Outputs near the double range's end cannot be placed on a screen.
    plot.drawable = std::isfinite(x1 - x0) && x1 - x0 > 0 &&
                    std::isfinite(plot.y.second - plot.y.first) && plot.y.second - plot.y.first > 0;
    if (plot.drawable) {
        plot.xTicks = Labelled(plot.x.first, plot.x.second, MostXTicks, separator);
        plot.yTicks = Labelled(plot.y.first, plot.y.second, MostYTicks, separator);
    }
    plot.description = Description(plot, analysis, separator);
    return plot;
}

} // namespace analysis_report
