// An analysis whose yield estimates run step by step, a few chunks of boards a step, so that the
// page's worker can show progress and take a cancel or a newer request between steps. Finished,
// it holds the same bits as AnalyseDesign's estimates run all at once.
#pragma once

#include "calc_core/design_analysis.h"
#include "calc_core/yield_estimate.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace web_page {

class YieldJob {
  public:
    // Starts the estimates of calc_core::YieldInputs; the shown set's must be one the estimate
    // takes (YieldRefusal says nothing), as AnalyseDesign requires before it estimates.
    explicit YieldJob(calc_core::DesignAnalysis analysis);

    // The boards of every estimate that runs, and those simulated so far.
    std::uint64_t Boards() const;
    std::uint64_t BoardsDone() const;
    bool Done() const;

    // Runs up to `chunks` more chunks, in order; at least one while any is left.
    void RunChunks(std::size_t chunks);

    // Once Done: the analysis with its yields.
    calc_core::DesignAnalysis Finish() const;

    // Once Done: the estimates in the order of YieldInputs; absent for a refused one.
    std::vector<std::optional<calc_core::YieldEstimate>> Estimates() const;

  private:
    // Moves m_current past the refused runs and those done.
    void PassFinishedRuns();

    calc_core::DesignAnalysis m_analysis;
    std::vector<std::optional<calc_core::YieldRun>> m_runs; // absent: refused
    std::size_t m_current = 0;                              // the first run not done
};

} // namespace web_page
