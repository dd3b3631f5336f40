// What the plot of an analysis draws, as numbers: the output against the pin voltage, and each
// pin level with its worst-case band. Every front end maps these to its own pixels.
#pragma once

#include "calc_core/design_analysis.h"

#include <utility>
#include <vector>

namespace analysis_report {

struct PlotMark {
    double pinV = 0;
    double vo = 0;
    double min = 0; // the worst-case band
    double max = 0;
};

struct PlotData {
    std::vector<std::pair<double, double>> curve; // (pin voltage, Vo), from x.first to x.second
    std::vector<PlotMark> marks;                  // one a pin level
    std::pair<double, double> x{0, 0};            // the axes' ranges; y with a margin
    std::pair<double, double> y{0, 0};
    bool drawable = false; // false when the values cannot be placed on a screen
};

// Samples the circuit's output from 0 V to the pin voltage of the settings, widened to take in
// every level.
PlotData MakePlotData(const calc_core::DesignAnalysis& analysis);

} // namespace analysis_report
