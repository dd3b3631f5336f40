// The window icon, drawn from its SVG emblem.
#pragma once

#include <QIcon>

namespace main_window {

// The emblem rendered at the usual icon sizes, so every screen density gets a sharp one.
QIcon ApplicationIcon();

} // namespace main_window
