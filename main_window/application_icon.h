// The window icon, drawn from its SVG emblem.
#pragma once

#include <QIcon>

namespace main_window {

// The emblem at whatever size and density the desktop asks for.
QIcon ApplicationIcon();

} // namespace main_window
