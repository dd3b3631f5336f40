// The analysis of a recorded design as the page shows it: the report, its text, the plot, the JSON;
// and the analysis as an HTML document.
#pragma once

#include "analysis_report/report_document.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"

#include <nlohmann/json.hpp>

#include <string_view>

namespace web_page {

// {"recorded": true, "report", "text", "plot", "json", "analysed"} of the outcome; the yield's
// section holds its histograms.
nlohmann::ordered_json AnalysisResponse(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                                        const calc_core::AnalysisSettings& settings,
                                        const std::optional<calc_core::FitChoice>& fit,
                                        const calc_core::AnalysisOutcome& outcome,
                                        std::string_view decimalSeparator);

// {"recorded": true, "html": the analysis as the HTML document every front end writes}, with the
// yield's histograms when it was estimated.
nlohmann::ordered_json ReportHtmlResponse(calc_core::Tab tab,
                                          const calc_core::AnalysisDesign& design,
                                          const calc_core::AnalysisSettings& settings,
                                          const calc_core::AnalysisOutcome& outcome,
                                          analysis_report::ReportDocument document);

} // namespace web_page
