// The yield estimate's histograms, one a level, as every document and front end draws them.
#pragma once

#include "analysis_report/report_document.h"
#include "calc_core/design_analysis.h"

#include <string_view>
#include <vector>

namespace analysis_report {

// Each level's histogram over every board at the three temperatures, with its spec band; none
// without a yield estimate. The titles write the pin level with the given separator.
std::vector<Histogram> YieldHistograms(const calc_core::DesignAnalysis& analysis,
                                       std::string_view separator);

} // namespace analysis_report
