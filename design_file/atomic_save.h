// Saving a file so that it is either the new text whole or the old file untouched.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace design_file {

// Writes the text to a new file in the target's folder, flushes it to the disk, then renames it
// over the target; a file that was there keeps its permissions. Returns "" on success, else why
// it failed, as words that follow "cannot be saved: " ("No such file or directory"); then the
// target is as it was and no temporary file is left.
std::string SaveAtomically(const std::filesystem::path& target, std::string_view text);

} // namespace design_file
