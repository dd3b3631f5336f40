// Running an analysis's yield estimates chunk by chunk.
#include "web_page/api/yield_job.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace web_page {

YieldJob::YieldJob(calc_core::DesignAnalysis analysis) : m_analysis(std::move(analysis)) {
    for (const calc_core::YieldInput& input : calc_core::YieldInputs(m_analysis)) {
        if (calc_core::YieldRefusal(input).empty()) {
            m_runs.emplace_back(calc_core::YieldRun(input));
        } else if (m_runs.empty()) {
            throw std::invalid_argument(calc_core::YieldRefusal(input));
        } else {
            m_runs.emplace_back();
        }
    }
    PassFinishedRuns();
}

void YieldJob::PassFinishedRuns() {
    while (m_current < m_runs.size() && (!m_runs[m_current] || m_runs[m_current]->Done())) {
        ++m_current;
    }
}

std::uint64_t YieldJob::Boards() const {
    std::uint64_t boards = 0;
    for (const auto& run : m_runs) {
        boards += run ? run->Boards() : 0;
    }
    return boards;
}

std::uint64_t YieldJob::BoardsDone() const {
    std::uint64_t done = 0;
    for (const auto& run : m_runs) {
        done += run ? run->BoardsDone() : 0;
    }
    return done;
}

bool YieldJob::Done() const {
    return m_current == m_runs.size();
}

void YieldJob::RunChunks(std::size_t chunks) {
    chunks = std::max<std::size_t>(chunks, 1);
    while (chunks > 0 && !Done()) {
        calc_core::YieldRun& run = *m_runs[m_current];
        const std::size_t first = run.ChunksDone();
        const std::size_t last = std::min(run.ChunkCount(), first + chunks);
        run.RunChunks(first, last);
        chunks -= last - first;
        PassFinishedRuns();
    }
}

std::vector<std::optional<calc_core::YieldEstimate>> YieldJob::Estimates() const {
    if (!Done()) {
        throw std::logic_error("the yield job has chunks left to run");
    }
    std::vector<std::optional<calc_core::YieldEstimate>> estimates;
    for (const auto& run : m_runs) {
        estimates.push_back(run ? std::optional(run->Finish()) : std::nullopt);
    }
    return estimates;
}

calc_core::DesignAnalysis YieldJob::Finish() const {
    calc_core::DesignAnalysis analysis = m_analysis;
    calc_core::SetYields(analysis, Estimates());
    return analysis;
}

} // namespace web_page
