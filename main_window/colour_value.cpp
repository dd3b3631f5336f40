// Background colours as the toolkit's colour values, with text that reads on them.
#include "main_window/colour_value.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>

namespace main_window {
namespace {

// The window's own grounds are white and red; both read best with the text colour of a light
// theme, whatever the desktop's theme makes of the other controls.
constexpr QColor LightThemeText(0, 0, 0); // black

// Relative luminance of an sRGB colour, as contrast ratios are defined on it.
double Luminance(const QColor& colour) {
    const auto linear = [](float c) {
        return c <= 0.04045f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A label or a text box shows the ground it is given, but a button's face is drawn by its
// style, and some desktop styles draw faces of their own that ignore the palette's colour.
QColor DrawnFace(const QPushButton* button, const QPalette& palette) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.palette = palette;
    option.state |= QStyle::State_Raised;
    QImage face(option.rect.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    face.fill(palette.color(QPalette::Window));
    QPainter painter(&face);
    button->style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, button);
    painter.end();
    return face.pixelColor(face.rect().center());
}

// Sets the palette with the text colour that reads on the ground it gives the control.
void SetWithReadableText(QWidget* control, QPalette palette) {
    QColor text = LightThemeText;
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        const QColor face = DrawnFace(button, palette);
        const QColor themeText = QApplication::palette(button).color(QPalette::ButtonText);
        if (Contrast(themeText, face) > Contrast(text, face)) {
            text = themeText;
        }
    }
    palette.setColor(control->foregroundRole(), text);
    control->setPalette(palette);
}

// Chooses a button's text colour again whenever its style or palette changes, since either
// may change the face. Setting the same colour again changes nothing, so this ends.
class ButtonFaceWatch : public QObject {
  public:
    explicit ButtonFaceWatch(QPushButton* button) : QObject(button) {
        setObjectName(Name);
        button->installEventFilter(this);
    }
    static constexpr QLatin1StringView Name{"ButtonFaceWatch"};

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange) {
            auto* button = static_cast<QWidget*>(watched);
            SetWithReadableText(button, button->palette());
        }
        return false;
    }
};

} // namespace

QColor ToQColor(std::uint32_t colourValue) {
    return QColor(int(colourValue & 0xFF), int((colourValue >> 8) & 0xFF),
                  int((colourValue >> 16) & 0xFF));
}

std::uint32_t ToColourValue(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

// The toolkit's roles are the base and text of a text box, the window and window text of a
// label, the face and text of a button. Roles set on a control survive the desktop's palette
// and style changes; the roles left unset keep following them.
void SetBackColor(QWidget* control, std::uint32_t colourValue) {
    QPalette palette = control->palette();
    palette.setColor(control->backgroundRole(), ToQColor(colourValue));
    SetWithReadableText(control, palette);
    if (qobject_cast<QLabel*>(control)) {
        control->setAutoFillBackground(true);
    }
    auto* button = qobject_cast<QPushButton*>(control);
    if (button && !button->findChild<QObject*>(ButtonFaceWatch::Name, Qt::FindDirectChildrenOnly)) {
        new ButtonFaceWatch(button); // owned by the button
    }
}

std::uint32_t BackColor(const QWidget* control) {
    return ToColourValue(control->palette().color(control->backgroundRole()));
}

} // namespace main_window
