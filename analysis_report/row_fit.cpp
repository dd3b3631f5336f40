// The settings a row's fit brings, and whether it is the one analysed.
#include "analysis_report/row_fit.h"

#include <algorithm>

namespace analysis_report {

calc_core::AnalysisSettings FittedSettings(const RowFit& row,
                                           const calc_core::AnalysisSettings& settings) {
    return row.grade ? calc_core::GradeSettings(settings, *row.grade) : settings;
}

bool IsFitted(const RowFit& row, const std::optional<calc_core::FitChoice>& fit,
              const calc_core::AnalysisSettings& settings) {
    if (!fit || !calc_core::SameFit(row.fit, *fit)) {
        return false;
    }
    const calc_core::AnalysisSettings fitted = FittedSettings(row, settings);
    const auto columns = calc_core::GradeColumns();
    return std::all_of(columns.begin(), columns.end(), [&](const calc_core::GradeColumn& c) {
        return !c.setting || fitted.*c.setting == settings.*c.setting;
    });
}

} // namespace analysis_report
