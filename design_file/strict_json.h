// Parsing a file's JSON strictly: nesting within a limit, no repeated member, finite numbers,
// and every fault placed by its line and column.
#pragma once

#include "analysis_report/analysis_json.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace design_file {

struct StrictParse {
    std::optional<analysis_report::Json> document;
    // Without a document: where and what, as "line 3, column 12 is not valid JSON (...)".
    std::string fault;
};

// The whole text as one JSON value. Refuses text that is not JSON (NaN and Infinity included),
// nesting deeper than maxDepth objects and arrays, an object that gives a member twice, and
// numbers beyond the range of doubles. Time and memory grow with the text's length alone.
StrictParse ParseStrictJson(std::string_view text, std::size_t maxDepth);

} // namespace design_file
