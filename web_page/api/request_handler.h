// The page's one interface to the core: a request as JSON text in, the response as JSON text out.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/press_record.h"
#include "analysis_report/report_document.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_analysis.h"
#include "web_page/api/yield_job.h"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace web_page {

// Keeps what the desktop window keeps between presses: the Check tab's last levels and the
// design each of the Calc and Check tabs last computed, with the results its press showed. Every
// request is answered with one JSON object; a request that cannot be read gets {"error": "..."} and
// changes nothing. An analysis that asks for the yield is answered step by step: at most one such
// job of the analysis and one of its document are under way, and a newer one takes its kind's
// place. Each keeps the design it found, so other requests may come between its steps.
class RequestHandler {
  public:
    // Stepped: the yield's estimates run a few chunks a yield_step, as the page's worker asks.
    // AllAtOnce: they run within the request on every core, as the command line runs them; the
    // differential test holds the page's steps to that.
    enum class YieldSteps { Stepped, AllAtOnce };

    // The chunks of boards a yield_step runs unless it says otherwise: some 0.1 s in the page.
    static constexpr std::size_t StepChunks = 4;

    explicit RequestHandler(YieldSteps steps = YieldSteps::Stepped);

    std::string HandleRequest(std::string_view json);

  private:
    using Json = nlohmann::ordered_json;

    // What an analysis and its document are asked for with.
    struct AnalysisAsk {
        std::size_t tab = 0;
        std::string decimal;
        calc_core::AnalysisSettings settings;
        std::optional<calc_core::FitChoice> fit;
        bool synthesis = false;
        bool yield = false;
    };

    // An analysis, or its document, whose yield runs step by step; it keeps the design as the
    // request found it, whatever is pressed meanwhile.
    struct Job {
        std::uint64_t id = 0;
        AnalysisAsk ask;
        calc_core::AnalysisDesign design;
        std::optional<analysis_report::ReportDocument> document; // for report_html
        std::string key;                                         // of FinishedYields
        YieldJob yield;
    };

    // The estimates of the last yield finished, by what they were asked with, so that the
    // document of the analysis shown needs no second run.
    struct FinishedYields {
        std::string key;
        std::vector<std::optional<calc_core::YieldEstimate>> estimates;
    };

    // The response to a request of each op; the reader's fault, if any, replaces it.
    Json Press(const Json& request, std::string& error);
    Json Analyse(const Json& request, std::string& error);
    Json ReportHtml(const Json& request, std::string& error);
    Json YieldStep(const Json& request, std::string& error);
    Json ReadSetting(const Json& request, std::string& error);
    Json SaveDesign(const Json& request, std::string& error);
    Json OpenDesign(const Json& request, std::string& error);
    // The settings' table and the fit's fields, for a front end to make its inputs from.
    Json Describe(const Json& request, std::string& error);

    // The analysis or document asked for; a yield to run step by step starts a job and answers
    // with its first progress.
    Json AnalysisOrJob(const AnalysisAsk& ask,
                       std::optional<analysis_report::ReportDocument> document);
    static Json JobProgress(const Job& job);
    std::string YieldKey(const AnalysisAsk& ask) const;

    YieldSteps m_steps;
    calc_core::CheckResults m_checkResults;
    analysis_report::PressRecord m_record;
    // The analysis's job, and the document's.
    std::array<std::optional<Job>, 2> m_jobs;
    std::uint64_t m_jobsStarted = 0;
    std::optional<FinishedYields> m_finished;
};

} // namespace web_page
