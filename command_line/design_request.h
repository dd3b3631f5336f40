// A request and a design file: the request a saved design makes, and the design a request saves.
#pragma once

#include "command_line/arguments.h"
#include "design_file/design_file.h"

#include <optional>
#include <string>

namespace command_line {

// The press and analysis the design describes: its numbers as the plain texts of the flags.
Request RequestOfDesign(const design_file::Design& design);

// The design the request describes; nullopt with the error when a box it needs is empty.
std::optional<design_file::Design> DesignOfRequest(const Request& request, std::string& error);

// Saves the request's design to its savePath atomically; "" on success, else the error line
// (without the program's name).
std::string SaveRequestedDesign(const Request& request);

} // namespace command_line
