// The settings' table and the fit's fields as JSON, from which the page makes its inputs.
#pragma once

#include <nlohmann/json.hpp>

namespace web_page {

// {"settings": [field, ...], "fit": {"rank": field, "typed": [field, field, field]}, "extension"}:
// every setting in the table's order, the fit's preferred pair by rank and its typed R1, R3 and
// R2, and the design file's extension. A field is {"kind", "id", "key", "label", "unit",
// "plus_minus", "help", "diode_only", "default"}, with "lowest", "highest" and "decimals" for a
// number and an optional number (which also says whether it is a "resistance"), "lowest" and
// "highest" as decimal text for a whole number, "choices" for a choice; the default is a number,
// null, a whole number's decimal text, a choice's name or a list's text.
nlohmann::ordered_json DescribeResponse();

} // namespace web_page
