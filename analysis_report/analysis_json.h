// The analysis as numbers for machines: one JSON object of the design, its levels, fault
// states, preferred pairs and tolerance bands, with the same member names wherever it is written.
#pragma once

#include "calc_core/design_analysis.h"

#include <nlohmann/json.hpp>

namespace analysis_report {

using Json = nlohmann::ordered_json; // members in the order written

Json AnalysisJson(const calc_core::DesignAnalysis& analysis);

} // namespace analysis_report
