// Builds the form's controls from the control table.
#include "main_window/form_builder.h"

#include "analysis_window/qt_text.h"
#include "main_window/accessible_interfaces.h"
#include "main_window/colour_value.h"
#include "main_window/control_accessibility.h"
#include "main_window/control_fonts.h"
#include "main_window/diode_button.h"
#include "main_window/picture_box.h"
#include "main_window/tab_control.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <vector>

namespace main_window {

using analysis_window::ToQString;
namespace {

QRect PixelRect(const ControlRow& row) {
    return {ToPixels(row.left), ToPixels(row.top), ToPixels(row.width), ToPixels(row.height)};
}

QWidget* CreateControl(const ControlRow& row, QWidget* parent) {
    const QString caption = ToQString(row.caption);
    switch (row.type) {
    case ControlType::Frame:
        return new QGroupBox(caption, parent);
    case ControlType::Label: {
        auto* label = new QLabel(caption, parent);
        if (row.traits & ValueLabel) {
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
            // A result can be copied with the mouse; the focus order stays as it is.
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        } else {
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        return label;
    }
    case ControlType::TextBox: {
        // Made on its own and put in place once its font is set (see BuildControls): a text box
        // lays out its text in the font it is made with, and its frame's font is not its own.
        auto* box = new QLineEdit;
        if (row.traits & RightAligned) {
            box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        return box;
    }
    case ControlType::CommandButton:
        return new QPushButton(caption, parent);
    case ControlType::OptionButton: {
        auto* button = new DiodeButton(caption, parent);
        button->setChecked(row.traits & Selected);
        return button;
    }
    case ControlType::PictureBox:
        return new PictureBox(ToQString(row.picture), parent);
    case ControlType::TabControl:
        break;
    }
    return nullptr;
}

TabControl* CreateTabControl(const ControlRow& row, QWidget* form) {
    auto* tabs =
        new TabControl(int(std::size(TabCaptions)), ToPixels(TabStripHeight), PixelRect(row), form);
    tabs->setFont(FontFor(row.font));
    for (std::size_t i = 0; i < std::size(TabCaptions); ++i) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("SSTab1 tab %1").arg(i));
        tabs->addTab(page, ToQString(TabCaptions[i]));
    }
    tabs->setCurrentIndex(InitialTab);
    return tabs;
}

// An auto-size label grows to its caption should the substitute font run wider. It is fitted
// when first shown: the window opens on a tab without captions, and measuring them before the
// first frame would load their font for nothing.
class AutoSizeFit : public QObject {
  public:
    explicit AutoSizeFit(QWidget* label) : QObject(label) { label->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* label = static_cast<QWidget*>(watched);
            const QSize hint = label->sizeHint();
            label->resize(std::max(label->width(), hint.width()), label->height());
            label->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

// The controls built so far by object name, so that none is searched for through the tree.
using NamedControls = QHash<QString, QWidget*>;

// A text box lays out its text, and a frame measures its title, as soon as their font is set,
// which loads the font. On a tab not yet opened that waits until the control is first shown or
// painted, and the window's first frame needs neither the value font nor the input-frame font.
class FontChangeWhenShown : public QObject {
  public:
    explicit FontChangeWhenShown(QWidget* control) : QObject(control) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::FontChange:
            m_changed = true;
            return true;
        case QEvent::Show:
        case QEvent::Paint:
            watched->removeEventFilter(this);
            if (m_changed) {
                QEvent change(QEvent::FontChange);
                QCoreApplication::sendEvent(watched, &change);
            }
            deleteLater();
            return false;
        default:
            return false;
        }
    }

  private:
    bool m_changed = false;
};

template <typename T = QWidget> T* Find(const NamedControls& controls, std::string_view name) {
    return qobject_cast<T*>(controls.value(ToQString(name)));
}

// Names, buddies, descriptions, the toolkit interfaces replaced for the window's own, and
// diode pairs presented as groups.
void MakeAccessible(const NamedControls& controls) {
    for (const AccessibleRow& row : OrvalenAccessibility()) {
        QWidget* control = Find(controls, row.control);
        if (!row.captionLabel.empty()) {
            auto* caption = Find<QLabel>(controls, row.captionLabel);
            caption->setBuddy(control);
            control->setAccessibleName(caption->text());
        } else if (!row.name.empty()) {
            control->setAccessibleName(ToQString(row.name));
        }
        if (!row.description.empty()) {
            control->setAccessibleDescription(ToQString(row.description));
        }
    }
    for (const ControlRow& row : OrvalenControls()) {
        QWidget* control = Find(controls, ObjectName(row));
        if (row.traits & ValueLabel) {
            UseResultLabelAccessible(static_cast<QLabel*>(control));
        } else if (row.type == ControlType::PictureBox) {
            UsePictureAccessible(control);
        }
    }
    for (const DiodeGroupRow& row : OrvalenDiodeGroups()) {
        auto* yes = Find<QRadioButton>(controls, row.yes);
        auto* no = Find<QRadioButton>(controls, row.no);
        UseDiodeGroupAccessible(Find<QLabel>(controls, row.captionLabel), yes, no);
    }
}

// Makes a control other than the tab control and puts it in its container, on its tab's page or
// in its frame, in its font and at its place.
QWidget* PlaceControl(const ControlRow& row, TabControl* tabs, const NamedControls& named) {
    // Containers come before their children, so a frame already carries its name, and the tab
    // control, which the analyzer cannot know, has its pages.
    // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage)
    QWidget* parent = row.tab >= 0 ? tabs->widget(row.tab) : named.value(ToQString(row.container));
    QWidget* control = CreateControl(row, parent);
    if (row.type == ControlType::TextBox || row.type == ControlType::Frame) {
        new FontChangeWhenShown(control); // owned by the control
    }
    control->setFont(FontFor(row.font));
    if (!control->parentWidget()) {
        control->setParent(parent);
    }
    QRect rect = PixelRect(row);
    if (row.tab >= 0) {
        rect.translate(-tabs->pageOffset());
    }
    control->setGeometry(rect);
    if (row.traits & AutoSize) {
        new AutoSizeFit(control); // owned by the label
    }
    return control;
}

// Each tab's pair of option buttons is one exclusive group of its own.
void JoinTabGroup(QRadioButton* button) {
    QWidget* page = button->parentWidget();
    auto* group = page->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(page);
    }
    group->addButton(button);
}

} // namespace

void BuildControls(QWidget* form) {
    TabControl* tabs = nullptr;
    NamedControls named;
    std::vector<std::pair<int, QWidget*>> focusOrder;

    for (const ControlRow& row : OrvalenControls()) {
        QWidget* control = nullptr;
        if (row.type == ControlType::TabControl) {
            tabs = CreateTabControl(row, form);
            control = tabs;
        } else {
            control = PlaceControl(row, tabs, named);
        }
        control->setObjectName(QString::fromStdString(ObjectName(row)));
        named.insert(control->objectName(), control);
        if (row.backColor) {
            SetBackColor(control, *row.backColor);
        }
        if (row.type == ControlType::OptionButton) {
            JoinTabGroup(static_cast<QRadioButton*>(control));
        }
        const bool takesFocus =
            row.type == ControlType::TabControl || row.type == ControlType::TextBox ||
            row.type == ControlType::CommandButton || row.type == ControlType::OptionButton;
        control->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
        if (takesFocus) {
            focusOrder.emplace_back(row.focus, control);
        }
    }

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        QWidget::setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    }
    MakeAccessible(named);
}

} // namespace main_window
