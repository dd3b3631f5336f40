// A diode option button whose Up and Down keys move like Left and Right.
#include "main_window/diode_button.h"

#include <QKeyEvent>

namespace main_window {

void DiodeButton::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    const int key = event->key();
    if (plain && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        QKeyEvent sideways(event->type(), key == Qt::Key_Up ? Qt::Key_Left : Qt::Key_Right,
                           event->modifiers());
        QRadioButton::keyPressEvent(&sideways);
        event->setAccepted(sideways.isAccepted());
        return;
    }
    QRadioButton::keyPressEvent(event);
}

} // namespace main_window
