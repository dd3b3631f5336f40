// The user's own parts list: the resistances at hand, which a part grade may build from instead
// of a preferred-value series.
#pragma once

#include "calc_core/list_text.h"

#include <string_view>

namespace calc_core {

// One resistance a line, in any form the command line reads (4k7, 10k, 2M2, 470R, 4R7, 1e3,
// 4700), each from LowestSeriesOhms to HighestSeriesOhms; entries as ForEachEntry passes them.
// The values come ascending without repeats. The first bad line refuses the whole list with one
// sentence that names its number, and so does a list without a value.
ListRead<double> ReadPartsList(std::string_view text);

} // namespace calc_core
