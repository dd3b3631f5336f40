// The analysis settings as a JSON object by the table's keys: numbers as numbers, a choice by its
// name.
#pragma once

#include "calc_core/analysis_settings.h"

#include <nlohmann/json.hpp>

namespace analysis_report {

nlohmann::ordered_json SettingsJson(const calc_core::AnalysisSettings& settings);

} // namespace analysis_report
