// Writing a design file: the members in their order, numbers exact, a final newline.
#pragma once

#include "design_file/design_file.h"

#include <string>

namespace design_file {

// The file's text. Numbers are written as the shortest text that reads back as the same double;
// they must be finite, as every front end reads them.
std::string DesignText(const Design& design);

} // namespace design_file
