// The analysis with the yield estimate, run on a thread of its own so that the window stays
// responsive: its progress told as it goes, stopped on request, and superseded by a newer run,
// whose result alone is told.
#pragma once

#include "calc_core/design_analysis.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace analysis_window {

class YieldRunner : public QObject {
    Q_OBJECT

  public:
    explicit YieldRunner(QObject* parent = nullptr);
    // Stops every run and waits for its thread.
    ~YieldRunner() override;
    YieldRunner(const YieldRunner&) = delete;
    YieldRunner& operator=(const YieldRunner&) = delete;
    YieldRunner(YieldRunner&&) = delete;
    YieldRunner& operator=(YieldRunner&&) = delete;

    // Analyses the design with the synthesis and the yield; the run before, if any, is stopped
    // and its result never told.
    void start(const calc_core::AnalysisDesign& design, const calc_core::AnalysisSettings& settings,
               const std::optional<calc_core::FitChoice>& fit);
    // Stops the latest run, whose result is then never told.
    void stop();

    // Whether the latest run is still going and not stopped.
    bool running() const;
    // The threads not yet joined, the stopped ones still ending included.
    std::size_t threads() const { return m_runs.size(); }

  signals:
    // The boards estimated so far of all the run's estimates together, and of all of them.
    void progressed(std::uint64_t boardsDone, std::uint64_t boards);
    // The latest run's analysis, or why there is none.
    void finished(const calc_core::AnalysisOutcome& outcome);

  private:
    struct Run {
        unsigned id = 0;
        std::atomic<bool> stop{false};
        std::atomic<bool> done{false};
        std::thread thread;
    };

    void end(Run* run, const calc_core::AnalysisOutcome& outcome);

    std::vector<std::unique_ptr<Run>> m_runs; // started, not yet joined
    unsigned m_latest = 0;
};

} // namespace analysis_window
