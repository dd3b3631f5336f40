// The yield's runs: each a std::thread that analyses with a progress callback, which answers Stop
// once the run is stopped; its progress and result come back to the window's thread queued.
#include "analysis_window/yield_runner.h"

#include <QMetaObject>

#include <algorithm>
#include <exception>

namespace analysis_window {

YieldRunner::YieldRunner(QObject* parent) : QObject(parent) {}

YieldRunner::~YieldRunner() {
    for (const auto& run : m_runs) {
        run->stop = true;
    }
    for (const auto& run : m_runs) {
        run->thread.join();
    }
}

void YieldRunner::start(const calc_core::AnalysisDesign& design,
                        const calc_core::AnalysisSettings& settings,
                        const std::optional<calc_core::FitChoice>& fit) {
    stop();
    auto run = std::make_unique<Run>();
    run->id = ++m_latest;
    Run* raw = run.get();
    calc_core::AnalysisAsks asks;
    asks.synthesis = true;
    asks.yield = true;
    // Told on the run's thread after each round of chunks; the window hears it queued.
    asks.progress = [this, raw](std::uint64_t done, std::uint64_t boards) {
        if (raw->stop) {
            return calc_core::YieldStep::Stop;
        }
        QMetaObject::invokeMethod(
            this,
            [this, id = raw->id, done, boards] {
                if (id == m_latest && running()) {
                    emit progressed(done, boards);
                }
            },
            Qt::QueuedConnection);
        return calc_core::YieldStep::Continue;
    };
    raw->thread = std::thread([this, raw, design, settings, fit, asks] {
        calc_core::AnalysisOutcome outcome;
        try {
            outcome = calc_core::AnalyseDesign(design, settings, fit, asks);
        } catch (const std::exception& fault) {
            outcome.reason = fault.what();
        }
        raw->done = true;
        QMetaObject::invokeMethod(
            this, [this, raw, outcome = std::move(outcome)] { end(raw, outcome); },
            Qt::QueuedConnection);
    });
    m_runs.push_back(std::move(run));
}

void YieldRunner::stop() {
    for (const auto& run : m_runs) {
        run->stop = true;
    }
}

bool YieldRunner::running() const {
    return std::any_of(m_runs.begin(), m_runs.end(), [this](const auto& run) {
        return run->id == m_latest && !run->stop && !run->done;
    });
}

// On the window's thread: the run's thread has ended; its result is told when it is the latest
// and was not stopped.
void YieldRunner::end(Run* run, const calc_core::AnalysisOutcome& outcome) {
    run->thread.join();
    const bool told = run->id == m_latest && !run->stop;
    std::erase_if(m_runs, [run](const auto& each) { return each.get() == run; });
    if (told) {
        emit finished(outcome);
    }
}

} // namespace analysis_window
