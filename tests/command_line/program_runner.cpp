// Spawning the program with its output captured in temporary files.
#include "program_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

namespace program_runner {
namespace {

std::string ReadAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    std::fclose(file);
    return text;
}

Ran Spawn(const std::vector<std::string>& command, const std::vector<std::string>& env,
          const std::string& input) {
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    envp.reserve(env.size());
    for (const std::string& entry : env) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    for (char** entry = environ; *entry != nullptr; ++entry) {
        envp.push_back(*entry); // the first of two equal names wins
    }
    envp.push_back(nullptr);

    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fileno(out), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fileno(err), STDERR_FILENO);
    if (!input.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
    }
    pid_t pid = 0;
    Ran ran;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        ran.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    }
    posix_spawn_file_actions_destroy(&actions);
    ran.out = ReadAll(out);
    ran.err = ReadAll(err);
    return ran;
}

} // namespace

Ran RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
               const std::string& input) {
    std::vector<std::string> command{ORVALEX_KEP_PROGRAM};
    command.insert(command.end(), args.begin(), args.end());
    return Spawn(command, env, input);
}

Ran RunShell(const std::string& script, const std::vector<std::string>& args) {
    std::vector<std::string> command{"/bin/sh", "-c", script, "sh"};
    command.insert(command.end(), args.begin(), args.end());
    return Spawn(command, {std::string("KEP=") + ORVALEX_KEP_PROGRAM}, {});
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

} // namespace program_runner
