// Whole-process start-up: exec to first painted frame of the calculator against the bare program.
//
// Usage: process_start_bench [runs [yardstick program]]. Each run forks and execs the program with
// the first-frame probe preloaded (first_frame_probe.cpp), offscreen unless QT_QPA_PLATFORM says
// otherwise. The clock starts just before fork() and stops at the time the probe reports, so
// loading and linking the libraries, the toolkit's set-up and building the window are all counted.
// The two programs run in turns, the first of each pair alternating, so both see the same load.
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int DefaultRuns = 41;
constexpr int MaxRuns = 10000;
constexpr int FrameTimeoutMs = 20000;

struct Run {
    double wallMs;
    double cpuMs; // user and system time of the whole process, all its threads
};

std::int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double Ms(const timeval& t) {
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) * 1e-3;
}

// The child's environment: ours, with the probe preloaded and told where to report.
std::vector<std::string> ChildEnvironment(int reportFd) {
    std::vector<std::string> env;
    std::string preload = PROBE_LIBRARY;
    bool platformSet = false;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        if (text.starts_with("LD_PRELOAD=")) {
            preload += ':';
            preload += text.substr(std::strlen("LD_PRELOAD="));
        } else if (!text.starts_with("FIRST_FRAME_FD=")) {
            platformSet = platformSet || text.starts_with("QT_QPA_PLATFORM=");
            env.emplace_back(text);
        }
    }
    if (!platformSet) {
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
    }
    env.push_back("LD_PRELOAD=" + preload);
    env.push_back("FIRST_FRAME_FD=" + std::to_string(reportFd));
    return env;
}

// Why a start showed no frame: it timed out, or the program ended first.
void ReportNoFrame(const char* program, bool ready, int status) {
    if (!ready) {
        std::fprintf(stderr, "%s showed no frame within %d s\n", program, FrameTimeoutMs / 1000);
    } else if (WIFEXITED(status)) {
        std::fprintf(stderr, "%s ended with status %d before its first frame\n", program,
                     WEXITSTATUS(status));
    } else {
        std::fprintf(stderr, "%s was ended by signal %d before its first frame\n", program,
                     WTERMSIG(status));
    }
    std::fprintf(stderr, "Run it alone to see its messages.\n");
}

// One start of the program, up to its first frame; nothing if it never showed one.
std::optional<Run> StartOnce(const char* program) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        std::perror("pipe2");
        return std::nullopt;
    }
    const std::vector<std::string> env = ChildEnvironment(fds[1]);
    std::vector<char*> envp;
    envp.reserve(env.size() + 1);
    for (const std::string& entry : env) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    char* const argv[] = {const_cast<char*>(program), nullptr};

    const std::int64_t start = MonotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only the report end is handed down; the program's messages would cost terminal time.
        fcntl(fds[1], F_SETFD, 0);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execve(program, argv, envp.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        std::perror("fork");
        close(fds[0]);
        return std::nullopt;
    }

    std::int64_t frame = 0;
    pollfd report{fds[0], POLLIN, 0};
    const bool ready = poll(&report, 1, FrameTimeoutMs) == 1;
    const bool reported = ready && read(fds[0], &frame, sizeof frame) == sizeof frame;
    close(fds[0]);
    if (!reported) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!reported) {
        ReportNoFrame(program, ready, status);
        return std::nullopt;
    }
    return Run{double(frame - start) * 1e-6, Ms(usage.ru_utime) + Ms(usage.ru_stime)};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    double wallMs;
    double cpuMs;
    double fastestMs;
};

Figures Summarise(const std::vector<Run>& runs) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Run& run : runs) {
        wall.push_back(run.wallMs);
        cpu.push_back(run.cpuMs);
    }
    return {Median(wall), Median(cpu), *std::min_element(wall.begin(), wall.end())};
}

std::string_view FileName(std::string_view path) {
    return path.substr(path.find_last_of('/') + 1);
}

void Print(std::string_view program, const Figures& f) {
    const std::string name(FileName(program));
    std::printf("%-12s median %7.2f ms (CPU %7.2f ms), fastest %7.2f ms\n", name.c_str(), f.wallMs,
                f.cpuMs, f.fastestMs);
}

// Each program started `runs` times, the two in turns; nothing when a start fails. A first start
// of each reads the files from disk; it is left out of the figures.
std::optional<std::array<std::vector<Run>, 2>>
StartInTurns(const std::array<const char*, 2>& programs, int runs) {
    for (const char* program : programs) {
        if (!StartOnce(program)) {
            return std::nullopt;
        }
    }
    std::array<std::vector<Run>, 2> results;
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2;
            const std::optional<Run> run = StartOnce(programs[which]);
            if (!run) {
                return std::nullopt;
            }
            results[which].push_back(*run);
        }
    }
    return results;
}

} // namespace

int main(int argc, char* argv[]) {
    int runs = DefaultRuns;
    const bool runsOk =
        argc < 2 ||
        (std::from_chars(argv[1], argv[1] + std::strlen(argv[1]), runs).ec == std::errc() &&
         runs >= 1 && runs <= MaxRuns);
    if (!runsOk || argc == 3 || argc > 4) {
        std::fprintf(stderr,
                     "usage: %s [runs [yardstick program]]\n"
                     "  runs: 1 to %d starts of each program, %d by default\n"
                     "  yardstick, program: %s and %s unless given\n",
                     argv[0], MaxRuns, DefaultRuns, BARE_PROGRAM, FORM_PROGRAM);
        return 2;
    }
    // Another pair, such as two builds of the calculator, can be compared the same way.
    const std::array<const char*, 2> programs = {argc == 4 ? argv[2] : BARE_PROGRAM,
                                                 argc == 4 ? argv[3] : FORM_PROGRAM};
    for (const char* program : programs) {
        if (access(program, X_OK) != 0) {
            std::fprintf(stderr, "cannot run %s: %s\n", program, std::strerror(errno));
            return 1;
        }
    }

    const std::optional<std::array<std::vector<Run>, 2>> results = StartInTurns(programs, runs);
    if (!results) {
        return 1;
    }
    const Figures yardstick = Summarise((*results)[0]);
    const Figures measured = Summarise((*results)[1]);
    std::printf("Exec to first painted frame, %d runs each:\n", runs);
    Print(programs[0], yardstick);
    Print(programs[1], measured);
    std::printf("ratio %s / %s: %.3f (CPU %.3f)\n", std::string(FileName(programs[1])).c_str(),
                std::string(FileName(programs[0])).c_str(), measured.wallMs / yardstick.wallMs,
                measured.cpuMs / yardstick.cpuMs);
    return 0;
}
