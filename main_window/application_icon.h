// The window icon: the emblem as stored by the build, drawn from its SVG file at other sizes.
#pragma once

#include <QIcon>

namespace main_window {

// The emblem at whatever size and density the desktop asks for, each sharp.
QIcon ApplicationIcon();

} // namespace main_window
