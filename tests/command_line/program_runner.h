// Running the real orvalex-kep program as a child process, for the tests of the command line.
#pragma once

#include <string>
#include <vector>

namespace program_runner {

struct Ran {
    int status = -1; // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

// Runs the program with the arguments and the environment with `env` ("NAME=value") added,
// stdin from the file `input` (none: the test's own).
Ran RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
               const std::string& input = {});

// Runs a script with /bin/sh, the program's path in $KEP and the arguments as "$@": for a child
// that needs its limits or signals set up first.
Ran RunShell(const std::string& script, const std::vector<std::string>& args);

// The words of a command line, split at blanks.
std::vector<std::string> Words(const std::string& line);

} // namespace program_runner
