// What the plot of an analysis draws, as numbers and labels: the output against the pin voltage,
// each pin level with its worst-case band, and round ticks on both axes. Every front end only
// maps these to its own pixels.
#pragma once

#include "calc_core/design_analysis.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace analysis_report {

struct PlotMark {
    double pinV = 0;
    double vo = 0;
    double min = 0; // the worst-case band
    double max = 0;
};

// Tick values of an axis from lo to hi: multiples of 1, 2 or 5 times a power of ten, at most
// `most` of them, with the number of decimals they need.
struct AxisTicks {
    std::vector<double> values;
    int decimals = 0;
};
AxisTicks NiceTicks(double lo, double hi, int most);

struct PlotData {
    std::vector<std::pair<double, double>> curve; // (pin voltage, Vo), left to right
    std::vector<PlotMark> marks;                  // one a pin level
    std::pair<double, double> x{0, 0};            // the axes' ranges; y with a margin
    std::pair<double, double> y{0, 0};
    bool drawable = false; // false when the values cannot be placed on a screen
    // Round ticks with their labels in the user's notation.
    std::vector<std::pair<double, std::string>> xTicks;
    std::vector<std::pair<double, std::string>> yTicks;
    std::string description; // the plot in words, for screen readers
};

// Samples the circuit's output from 0 V to the pin voltage of the settings, widened to take in
// every level; labels use the given decimal separator.
PlotData MakePlotData(const calc_core::DesignAnalysis& analysis, std::string_view separator);

} // namespace analysis_report
