// The window icon, drawn from its SVG emblem.
#include "main_window/application_icon.h"

namespace main_window {

// The toolkit's SVG icon engine draws only the sizes the desktop asks for, each sharp.
QIcon ApplicationIcon() {
    return QIcon(QStringLiteral(":/pictures/icon.svg"));
}

} // namespace main_window
