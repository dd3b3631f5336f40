// The two tabs that compute a design: Calc designs R1 and R3, Check verifies a chosen set.
#pragma once

#include <string_view>

namespace calc_core {

enum class Tab { Calc, Check };

// "Calc" or "Check", as the tabs are captioned.
constexpr std::string_view TabName(Tab tab) {
    return tab == Tab::Calc ? "Calc" : "Check";
}

// "calc" or "check", as the JSON of the command line and the page names the tab.
constexpr std::string_view TabKey(Tab tab) {
    return tab == Tab::Calc ? "calc" : "check";
}

} // namespace calc_core
