// The analysis settings as a JSON object by the table's keys: numbers as numbers, a choice by its
// name; written, and read back by the page's requests and the design file.
#pragma once

#include "analysis_report/json_reader.h"
#include "calc_core/analysis_settings.h"

#include <nlohmann/json.hpp>

namespace analysis_report {

nlohmann::ordered_json SettingsJson(const calc_core::AnalysisSettings& settings);

// A part grade as an object: its series, each figure it gives by its column's key, and its name.
nlohmann::ordered_json GradeJson(const calc_core::PartGrade& grade);

// The settings the reader's object gives, by the keys of their table, each absent one at its
// default. Only the types and a choice's name are judged here; the core judges the values. After
// a fault the reader has failed and the settings are the defaults' with what was read.
calc_core::AnalysisSettings ReadSettingsJson(JsonReader& reader);

} // namespace analysis_report
