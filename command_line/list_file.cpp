// Reading a list's file whole, refusing one too large before reading it.
#include "command_line/list_file.h"

#include "command_line/system_text.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace command_line {

std::optional<std::string> ReadListFile(std::string_view argument, std::string& error) {
    const std::filesystem::path path = PathOfArgument(argument);
    std::error_code fault;
    const auto size = std::filesystem::file_size(path, fault);
    if (fault) {
        error = "cannot be read: " + fault.message();
        return std::nullopt;
    }
    if (size > MaxListFileBytes) {
        error =
            "is larger than " + std::to_string(MaxListFileBytes >> 20) + " MiB, which no list is";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        error = "cannot be read";
        return std::nullopt;
    }
    return text;
}

} // namespace command_line
