// The batch's throughput: the same rails on one thread and on every core, in turns, and the
// ratio of the two. Usage: batch_bench [rows [runs]]; 2000 rows and 5 runs of each by default.
#include "command_line/batch_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

// Calc rows around the worked example, every one a different design, so that no two rows cost
// the same by chance.
std::string Rails(int rows) {
    std::string rails = "name,r2,vref,vo_max,vo_min\n";
    for (int i = 0; i < rows; ++i) {
        rails += "rail " + std::to_string(i) + "," + std::to_string(10000 + i % 97) + ",2.5," +
                 std::to_string(40 + i % 13) + "," + std::to_string(30 - i % 11) + "\n";
    }
    return rails;
}

// The process's CPU time, every thread, user and system.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// The whole batch's times; its output's size keeps the work from being left out.
Timing TimeBatch(const std::string& rails, unsigned threads, std::size_t& bytes) {
    command_line::BatchRequest batch;
    batch.threads = threads;
    std::istringstream in(rails);
    std::ostringstream out;
    std::ostringstream err;
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const int status = command_line::RunBatchStream(batch, in, "bench", out, err);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (status > 1) {
        std::fprintf(stderr, "batch failed: %s", err.str().c_str());
        std::exit(1);
    }
    bytes = out.str().size();
    return {took.count(), CpuSeconds() - cpuStart};
}

double Median(const std::vector<Timing>& timings, double Timing::*member) {
    std::vector<double> values;
    values.reserve(timings.size());
    for (const Timing& timing : timings) {
        values.push_back(timing.*member);
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::string rails = Rails(rows);
    std::vector<Timing> one;
    std::vector<Timing> all;
    std::size_t bytesOne = 0;
    std::size_t bytesAll = 0;
    TimeBatch(rails, cores, bytesAll); // unmeasured: warms the caches and the allocator
    for (int run = 0; run < runs; ++run) {
        // In turns, the first of each pair alternating, so that a change of load hits both.
        if (run % 2 == 0) {
            one.push_back(TimeBatch(rails, 1, bytesOne));
            all.push_back(TimeBatch(rails, cores, bytesAll));
        } else {
            all.push_back(TimeBatch(rails, cores, bytesAll));
            one.push_back(TimeBatch(rails, 1, bytesOne));
        }
    }
    if (bytesOne != bytesAll) {
        std::fprintf(stderr, "the outputs differ in size\n");
        return 1;
    }
    const double rateOne = rows / Median(one, &Timing::wall);
    const double rateAll = rows / Median(all, &Timing::wall);
    // The CPU time tells what the threads cost besides the rows: on a busy machine the wall
    // clock's ratio falls, while the CPU time's should stay near 1.
    std::printf("rows %d, runs %d of each, medians\n", rows, runs);
    std::printf("1 thread:   %.3f s wall, %.3f s CPU, %.0f rows/s\n", Median(one, &Timing::wall),
                Median(one, &Timing::cpu), rateOne);
    std::printf("%u threads: %.3f s wall, %.3f s CPU, %.0f rows/s\n", cores,
                Median(all, &Timing::wall), Median(all, &Timing::cpu), rateAll);
    std::printf("throughput ratio %.2f (%.2f x %u threads); CPU time ratio %.2f\n",
                rateAll / rateOne, rateAll / rateOne / cores, cores,
                Median(all, &Timing::cpu) / Median(one, &Timing::cpu));
    return 0;
}
