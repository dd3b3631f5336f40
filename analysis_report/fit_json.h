// The pair to fit as JSON: {"pair": rank} or {"r1": ohms, "r3": ohms}; written, and read by the
// page's requests and the design file.
#pragma once

#include "analysis_report/json_reader.h"
#include "calc_core/design_analysis.h"

#include <optional>

namespace analysis_report {

// The fit as an object of the fields' keys, or null for none.
Json FitJson(const std::optional<calc_core::FitChoice>& fit);

// The fit the reader's object gives. Only its shape is judged here, and that a rank is whole; a
// rank or resistance out of range is the core's to refuse (FitRefusal). Nothing after a fault.
std::optional<calc_core::FitChoice> ReadFitJson(JsonReader& reader);

} // namespace analysis_report
