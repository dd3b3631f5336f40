// Reading a design file strictly: every fault refused with one sentence that names the file and
// the place, and nothing read is trusted before all of it is judged.
#pragma once

#include "design_file/design_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace design_file {

struct DesignRead {
    std::optional<Design> design;
    // Without a design: "<file> cannot be opened: <place> <what is wrong>."
    std::string error;
};

// The design in a file's text; fileName names the file in the error. Refuses text longer than
// MaxFileBytes, text that is not strict JSON (see ParseStrictJson), another format, a newer
// version, unknown or missing members, members of the wrong type, settings the analysis cannot
// take (the core's own sentence) and a pair to fit it refuses. Absent settings are the defaults.
DesignRead ReadDesign(std::string_view text, std::string_view fileName);

// The same for the file at path; a file larger than MaxFileBytes is refused before it is read.
DesignRead ReadDesignFile(const std::filesystem::path& path, std::string_view fileName);

} // namespace design_file
