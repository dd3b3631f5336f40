// Background colours as the toolkit's colour values (red in the low byte).
#pragma once

#include <QColor>
#include <cstdint>

class QWidget;

namespace main_window {

QColor ToQColor(std::uint32_t colourValue);
std::uint32_t ToColourValue(const QColor& colour);

// The background a user sees: the base of a text box, the window of a label, a button's face.
// The control's text turns black to read on it, or, on a button whose style draws a face of its
// own, whichever of black and the desktop's button text reads better on that face.
void SetBackColor(QWidget* control, std::uint32_t colourValue);
std::uint32_t BackColor(const QWidget* control);

} // namespace main_window
