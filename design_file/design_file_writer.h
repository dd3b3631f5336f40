// Writing a design file: the members in their order, numbers exact, a final newline.
#pragma once

#include "design_file/design_file.h"

#include <string>
#include <string_view>

namespace design_file {

// The file's text. Numbers are written as the shortest text that reads back as the same double;
// they must be finite, as every front end reads them.
std::string DesignText(const Design& design);

// Why the text cannot be saved as a design file: it is larger than MaxFileBytes, which the reader
// refuses (a parts list of many thousand values); words that follow "cannot be saved: ". Empty
// when it can.
std::string OversizeRefusal(std::string_view text);

} // namespace design_file
