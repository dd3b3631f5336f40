// The About box: what the program is and does, its version and its licence.
#pragma once

class QWidget;

namespace main_window {

// Opens the box over the parent without blocking it; the box deletes itself when closed.
void ShowAbout(QWidget* parent);

} // namespace main_window
