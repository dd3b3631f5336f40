// The four fonts of the window, with close substitutes where Arial or Arial Black is missing.
#pragma once

#include "main_window/control_table.h"

#include <QFont>

namespace main_window {

QFont FontFor(FontRole role);

} // namespace main_window
