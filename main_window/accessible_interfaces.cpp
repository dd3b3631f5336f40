// Accessibility interfaces for result labels, picture boxes and the diode groups.
#include "main_window/accessible_interfaces.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>

namespace main_window {
namespace {

// The toolkit may already have made an interface for the object (it does so as soon as an
// accessibility client listens); drop it, so that the registry hands out this one from now on.
// The registry owns the interface and deletes it with its object.
void Register(QAccessibleInterface* iface) {
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(iface->object())) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
    }
    QAccessible::registerAccessibleInterface(iface);
}

class ResultLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ResultLabelAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? label()->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    // The text interface: the shown result, its mouse selection, no caret.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && label()->hasSelectedText()) {
            *start = label()->selectionStart();
            *end = *start + int(label()->selectedText().size());
        }
    }
    int selectionCount() const override { return label()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { label()->setSelection(0, 0); }
    void setSelection(int index, int start, int end) override {
        if (index == 0) {
            label()->setSelection(start, end - start);
        }
    }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return start > end ? QString() : label()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(label()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
};

class PictureAccessible : public QAccessibleWidget {
  public:
    explicit PictureAccessible(QWidget* box) : QAccessibleWidget(box, QAccessible::Graphic) {}
};

// A group that no widget stands for: its object is a plain QObject on the tab page.
class DiodeGroupAccessible : public QAccessibleObject {
  public:
    DiodeGroupAccessible(QObject* anchor, QLabel* caption, QRadioButton* yes, QRadioButton* no)
        : QAccessibleObject(anchor), m_caption(caption), m_buttons{yes, no} {}

    bool isValid() const override {
        return QAccessibleObject::isValid() && m_caption && m_buttons[0] && m_buttons[1];
    }
    QWindow* window() const override { return Page()->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(Page());
    }
    int childCount() const override { return 2; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 || index == 1 ? QAccessible::queryAccessibleInterface(m_buttons[index])
                                        : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < 2; ++i) {
            if (child && child->object() == m_buttons[i]) {
                return i;
            }
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        for (QRadioButton* button : m_buttons) {
            if (button->hasFocus()) {
                return QAccessible::queryAccessibleInterface(button);
            }
        }
        return nullptr;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        if (!(match & QAccessible::Label)) {
            return {};
        }
        return {{QAccessible::queryAccessibleInterface(m_caption), QAccessible::Label}};
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? m_caption->text() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Grouping; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !Page()->isVisible();
        return state;
    }
    QRect rect() const override { return child(0)->rect().united(child(1)->rect()); }

  private:
    QWidget* Page() const { return m_buttons[0]->parentWidget(); }

    QPointer<QLabel> m_caption;
    QPointer<QRadioButton> m_buttons[2];
};

class DiodeButtonAccessible : public QAccessibleWidget {
  public:
    DiodeButtonAccessible(QRadioButton* button, QObject* group)
        : QAccessibleWidget(button, QAccessible::RadioButton), m_group(group) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_group);
    }
    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? button()->text() : text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    QRadioButton* button() const { return static_cast<QRadioButton*>(widget()); }

    QPointer<QObject> m_group;
};

// The tab page lists the group where its two buttons would stand.
class DiodePageAccessible : public QAccessibleWidget {
  public:
    DiodePageAccessible(QWidget* page, QAccessible::Role role, QObject* group, QRadioButton* yes,
                        QRadioButton* no)
        : QAccessibleWidget(page, role), m_group(group), m_yes(yes), m_no(no) {}

    int childCount() const override { return int(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QObjectList children = Children();
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? int(Children().indexOf(child->object())) : -1;
    }

  private:
    QObjectList Children() const {
        QObjectList children;
        for (QObject* object : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(object);
            if (!w || w->isWindow() || object == m_no) {
                continue;
            }
            children << (object == m_yes ? m_group.data() : object);
        }
        return children;
    }

    QPointer<QObject> m_group;
    QPointer<QRadioButton> m_yes;
    QPointer<QRadioButton> m_no;
};

} // namespace

void UseResultLabelAccessible(QLabel* label) {
    Register(new ResultLabelAccessible(label));
}

void UsePictureAccessible(QWidget* box) {
    Register(new PictureAccessible(box));
}

void UseDiodeGroupAccessible(QLabel* caption, QRadioButton* yes, QRadioButton* no) {
    QWidget* page = yes->parentWidget();
    auto* group = new QObject(page);
    group->setObjectName(caption->objectName() + QStringLiteral(" group"));
    const QAccessible::Role pageRole = QAccessible::queryAccessibleInterface(page)->role();
    Register(new DiodeGroupAccessible(group, caption, yes, no));
    Register(new DiodeButtonAccessible(yes, group));
    Register(new DiodeButtonAccessible(no, group));
    Register(new DiodePageAccessible(page, pageRole, group, yes, no));
}

} // namespace main_window
