// Fitting a row of the report, alike in every front end: the settings it brings, and whether it
// is the pair or build analysed.
#pragma once

#include "analysis_report/analysis_report.h"
#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"

#include <optional>

namespace analysis_report {

// The settings with the row's grade's figures in place of the resistors'; as they are for a
// preferred pair.
calc_core::AnalysisSettings FittedSettings(const RowFit& row,
                                           const calc_core::AnalysisSettings& settings);

// Whether the row is what the fit and settings analyse: the same pair or build, and its grade's
// figures already in the settings.
bool IsFitted(const RowFit& row, const std::optional<calc_core::FitChoice>& fit,
              const calc_core::AnalysisSettings& settings);

} // namespace analysis_report
