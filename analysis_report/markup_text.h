// Text put into HTML and SVG: every character that could start markup written as a reference.
#pragma once

#include <string>
#include <string_view>

namespace analysis_report {

// &, <, >, " and ' as character references, so that no text of the user's or the report's can
// open an element or leave an attribute's value; everything else as it is.
std::string EscapeMarkup(std::string_view text);

} // namespace analysis_report
