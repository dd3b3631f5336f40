// Reading a list's file, a pipe or standard input, never more than one byte past the limit.
#include "command_line/list_file.h"

#include "calc_core/list_text.h"
#include "command_line/system_text.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

namespace command_line {
namespace {

// Up to MaxListBytes + 1 bytes of the stream: a pipe has no size to ask for beforehand.
std::optional<std::string> ReadLimited(std::istream& in, std::string& error) {
    std::string text(calc_core::MaxListBytes + 1, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(in.gcount()));
    if (in.bad()) {
        error = "cannot be read";
        return std::nullopt;
    }
    if (text.size() > calc_core::MaxListBytes) {
        error = "is larger than " + std::to_string(calc_core::MaxListBytes >> 20) +
                " MiB, which no list is";
        return std::nullopt;
    }
    return text;
}

} // namespace

std::optional<std::string> ReadListFile(std::string_view argument, std::string& error) {
    if (argument == "-") {
        return ReadLimited(std::cin, error);
    }
    const std::filesystem::path path = PathOfArgument(argument);
    std::error_code fault;
    if (std::filesystem::is_directory(path, fault)) {
        error = "cannot be read: it is a folder";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot be read: " + std::generic_category().message(errno);
        return std::nullopt;
    }
    return ReadLimited(file, error);
}

} // namespace command_line
