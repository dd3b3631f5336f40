// Background colours as the toolkit's colour values.
#include "main_window/colour_value.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace main_window {
namespace {

QPalette::ColorRole BackgroundRole(const QWidget* control) {
    if (qobject_cast<const QLineEdit*>(control)) {
        return QPalette::Base;
    }
    if (qobject_cast<const QAbstractButton*>(control)) {
        return QPalette::Button;
    }
    return QPalette::Window;
}

} // namespace

QColor ToQColor(std::uint32_t colourValue) {
    return QColor(colourValue & 0xFF, (colourValue >> 8) & 0xFF, (colourValue >> 16) & 0xFF);
}

std::uint32_t ToColourValue(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

void SetBackColor(QWidget* control, std::uint32_t colourValue) {
    QPalette palette = control->palette();
    palette.setColor(BackgroundRole(control), ToQColor(colourValue));
    control->setPalette(palette);
    if (qobject_cast<QLabel*>(control)) {
        control->setAutoFillBackground(true);
    }
}

std::uint32_t BackColor(const QWidget* control) {
    return ToColourValue(control->palette().color(BackgroundRole(control)));
}

} // namespace main_window
