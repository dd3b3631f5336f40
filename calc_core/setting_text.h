// A setting's value read from the text a user typed or gave: the one reading every front end
// calls, the window's boxes, the page's fields and the command line's flags and columns alike.
#pragma once

#include "calc_core/analysis_settings.h"

#include <string>
#include <string_view>

namespace calc_core {

// How a blank text reads: as the row's default where that is no list at all, as a box left empty
// on a form does, or as the row reads it, as a file given with no entry (which a list refuses).
enum class BlankText { Default, AsGiven };

// Reads the text into the row's member of the settings, blanks around it passed over: a number
// (a resistance where the row says so), a whole number of decimal digits alone, a choice by its
// name without regard to case, an optional number that an empty text leaves absent, and a list
// one entry a line as its row reads it. What is wrong is one sentence that names the row's own
// limits or names ("'1e5' is not a whole number from 1000 to 10000000"), without a final stop
// but for a list's sentence of its line; the settings are then as they were. Empty when read.
// Whether the value lies within the row's limits is RowRefusal's to say.
std::string ReadSettingText(const SettingRow& row, std::string_view text,
                            AnalysisSettings& settings, BlankText blank = BlankText::AsGiven);

} // namespace calc_core
