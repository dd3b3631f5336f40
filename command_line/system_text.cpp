// UTF-8 arguments and output on Windows; on other systems the bytes pass as they are.
#include "command_line/system_text.h"

#ifdef _WIN32
#include <windows.h> // before the other Windows headers, which lean on it

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#endif

namespace command_line {

#ifdef _WIN32

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back(); // the terminating zero
    return bytes;
}

bool IsConsole(DWORD stdHandle) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(stdHandle), &mode) != 0;
}

} // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(Utf8(wide[i]));
    }
    LocalFree(wide);
    return args;
}

Utf8Output::Utf8Output() {
    // Text mode would turn each "\n" into "\r\n"; the output is the same bytes as elsewhere.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The C library writes an unbuffered console a byte at a time, and the console cannot show
    // a character whose bytes come apart; the report is written whole. Anything on stderr
    // flushes it first, as std::cerr is tied to std::cout, so the order stays as written.
    if (IsConsole(STD_OUTPUT_HANDLE)) {
        std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    }
    if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
        const UINT own = GetConsoleOutputCP();
        if (own != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
            consoleCodePage_ = own;
        }
    }
}

Utf8Output::~Utf8Output() {
    if (consoleCodePage_ != 0) {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        SetConsoleOutputCP(consoleCodePage_);
    }
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

Utf8Output::Utf8Output() = default;
Utf8Output::~Utf8Output() = default;

#endif

std::filesystem::path PathOfArgument(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace command_line
