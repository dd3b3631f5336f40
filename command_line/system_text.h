// The program's text at the system's edge: its arguments and its output, UTF-8 on every system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace command_line {

// The arguments that follow the program's name, in UTF-8. Windows hands a program its
// arguments in the ANSI code page, which has no Ω; they are read again from the wide command
// line. Elsewhere they are the bytes as given.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// A path given as an argument, in UTF-8, as the system names the file.
std::filesystem::path PathOfArgument(std::string_view utf8);

// While it lives, stdout and stderr carry the report's UTF-8 bytes unchanged, "\n" included. On
// Windows, a console among them shows UTF-8 until the program ends, when it gets its own code
// page back. Elsewhere it does nothing.
class Utf8Output {
  public:
    Utf8Output();
    // Gives the console its code page back on Windows; empty elsewhere.
    ~Utf8Output(); // NOLINT(performance-trivially-destructible)
    Utf8Output(const Utf8Output&) = delete;
    Utf8Output& operator=(const Utf8Output&) = delete;

  private:
    [[maybe_unused]] unsigned consoleCodePage_ =
        0; // the console's own, to give back; 0: none was changed
};

} // namespace command_line
