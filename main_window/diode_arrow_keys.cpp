// Arrow keys within a tab's pair of diode buttons.
#include "main_window/diode_arrow_keys.h"

#include <QKeyEvent>
#include <QRadioButton>

namespace main_window {

DiodeArrowKeys::DiodeArrowKeys(QRadioButton* yes, QRadioButton* no)
    : QObject(yes), m_yes(yes), m_no(no) {
    yes->installEventFilter(this);
    no->installEventFilter(this);
}

bool DiodeArrowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) {
        return false;
    }
    QRadioButton* target = nullptr;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        target = m_yes;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        target = m_no;
        break;
    default:
        return false;
    }
    auto* from = static_cast<QRadioButton*>(watched);
    if (target != from) {
        const bool selectionMoves = from->isChecked();
        target->setFocus(target == m_yes ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        if (selectionMoves) {
            target->click();
        }
    }
    return true;
}

} // namespace main_window
