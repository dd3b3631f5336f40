// The settings' table and the fit's fields as JSON, from which the page makes its inputs.
#pragma once

#include <nlohmann/json.hpp>

namespace web_page {

// {"settings": [field, ...], "fit": {"rank": field, "typed": [field, field]}}: every setting in
// the table's order, then the fit's preferred pair by rank and its typed R1 and R3. A field is
// {"kind", "id", "key", "label", "unit", "plus_minus", "help", "diode_only", "default"}, with
// "lowest", "highest" and "decimals" for a number and "choices" for a choice, whose default is
// its name.
nlohmann::ordered_json DescribeResponse();

} // namespace web_page
