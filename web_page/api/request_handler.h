// The page's one interface to the core: a request as JSON text in, the response as JSON text out.
#pragma once

#include "analysis_report/analysis_report.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_analysis.h"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace web_page {

// Keeps what the desktop window keeps between presses: the Check tab's last levels and the
// design each of the Calc and Check tabs last computed, with the results its press showed. Every
// request is answered with one JSON object; a request that cannot be read gets {"error": "..."} and
// changes nothing.
class RequestHandler {
  public:
    std::string HandleRequest(std::string_view json);

  private:
    using Json = nlohmann::ordered_json;

    // The response to a request of each op; the reader's fault, if any, replaces it.
    Json Press(const Json& request, std::string& error);
    Json Analyse(const Json& request, std::string& error);
    Json ReportHtml(const Json& request, std::string& error);
    // The settings' table and the fit's fields, for a front end to make its inputs from.
    Json Describe(const Json& request, std::string& error);

    calc_core::CheckResults m_checkResults;
    // By tab, Calc then Check; absent until the tab's first press that computed a design.
    std::array<std::optional<calc_core::AnalysisDesign>, 2> m_designs;
    // The results of the press that recorded each design, the first section of its document.
    std::array<std::optional<analysis_report::Section>, 2> m_results;
};

} // namespace web_page
