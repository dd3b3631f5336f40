// Builds the form's controls from the control table.
#include "form_builder.h"

#include "colour_value.h"
#include "control_fonts.h"
#include "picture_box.h"
#include "tab_control.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <map>
#include <vector>

namespace main_window {
namespace {

QRect PixelRect(const ControlSpec& spec) {
    return {ToPixels(spec.left), ToPixels(spec.top), ToPixels(spec.width), ToPixels(spec.height)};
}

QWidget* CreateControl(const ControlSpec& spec, QWidget* parent) {
    const QString caption = QString::fromUtf8(spec.caption.data(), qsizetype(spec.caption.size()));
    switch (spec.type) {
    case ControlType::Frame:
        return new QGroupBox(caption, parent);
    case ControlType::Label: {
        auto* label = new QLabel(caption, parent);
        if (spec.traits & ValueLabel) {
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
        } else {
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        return label;
    }
    case ControlType::TextBox: {
        auto* box = new QLineEdit(parent);
        if (spec.traits & RightAligned) {
            box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        return box;
    }
    case ControlType::CommandButton:
        return new QPushButton(caption, parent);
    case ControlType::OptionButton: {
        auto* button = new QRadioButton(caption, parent);
        button->setChecked(spec.traits & Selected);
        return button;
    }
    case ControlType::PictureBox:
        return new PictureBox(QString::fromUtf8(spec.picture.data(), qsizetype(spec.picture.size())),
                              parent);
    case ControlType::TabControl:
        break;
    }
    return nullptr;
}

TabControl* CreateTabControl(const ControlSpec& spec, QWidget* form) {
    auto* tabs = new TabControl(int(std::size(TabCaptions)), ToPixels(TabStripHeight),
                                PixelRect(spec), form);
    tabs->setFont(FontFor(spec.font));
    for (std::size_t i = 0; i < std::size(TabCaptions); ++i) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("SSTab1 tab %1").arg(i));
        tabs->addTab(page, QString::fromUtf8(TabCaptions[i].data(), qsizetype(TabCaptions[i].size())));
    }
    tabs->setCurrentIndex(InitialTab);
    return tabs;
}

// An auto-size label grows to its caption should the substitute font run wider.
void FitAutoSizeLabel(QWidget* control, const ControlSpec& spec) {
    if (spec.traits & AutoSize) {
        const QSize hint = control->sizeHint();
        control->resize(std::max(control->width(), hint.width()), control->height());
    }
}

} // namespace

void BuildControls(QWidget* form, QButtonGroup* diodeGroup) {
    std::map<std::string, QWidget*, std::less<>> containers;
    TabControl* tabs = nullptr;
    std::vector<std::pair<int, QWidget*>> focusOrder;

    for (const ControlSpec& spec : OrvalenControls()) {
        const std::string name = ObjectName(spec);
        QWidget* control = nullptr;
        if (spec.type == ControlType::TabControl) {
            tabs = CreateTabControl(spec, form);
            control = tabs;
        } else {
            QWidget* parent = spec.tab >= 0 ? tabs->widget(spec.tab) : containers.find(spec.container)->second;
            control = CreateControl(spec, parent);
            control->setFont(FontFor(spec.font));
            QRect rect = PixelRect(spec);
            if (spec.tab >= 0) {
                rect.translate(-tabs->pageOffset());
            }
            control->setGeometry(rect);
            FitAutoSizeLabel(control, spec);
        }
        control->setObjectName(QString::fromStdString(name));
        if (spec.backColor) {
            SetBackColor(control, *spec.backColor);
        }
        if (spec.type == ControlType::OptionButton) {
            diodeGroup->addButton(static_cast<QRadioButton*>(control));
        }
        const bool takesFocus = spec.type == ControlType::TabControl ||
                                spec.type == ControlType::TextBox ||
                                spec.type == ControlType::CommandButton ||
                                spec.type == ControlType::OptionButton;
        control->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
        if (takesFocus) {
            focusOrder.emplace_back(spec.focus, control);
        }
        containers.emplace(name, control);
    }

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        QWidget::setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    }
}

} // namespace main_window
