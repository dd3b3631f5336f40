// The settings group, built in one loop over the settings table.
#include "analysis_window/settings_panel.h"

#include "analysis_window/qt_text.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace analysis_window {
namespace {

// Three settings a line, each a label and its control.
constexpr int SettingsPerLine = 3;

QDoubleSpinBox* NumberBox(const calc_core::SettingRow& row) {
    auto* box = new QDoubleSpinBox;
    box->setRange(row.lowest, row.highest);
    box->setDecimals(row.decimals);
    box->setPrefix(row.plusMinus ? QStringLiteral("\u00b1 ") : QString());
    box->setSuffix(QStringLiteral(" ") + ToQString(row.unit));
    box->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    box->setAlignment(Qt::AlignRight);
    box->setValue(calc_core::DefaultNumber(row));
    return box;
}

QComboBox* ChoiceBox(const calc_core::SettingRow& row) {
    auto* box = new QComboBox;
    for (std::string_view choice : row.choices) {
        box->addItem(ToQString(choice));
    }
    box->setCurrentIndex(int(calc_core::DefaultChoice(row)));
    return box;
}

} // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QGroupBox(QStringLiteral("Settings"), parent) {
    auto* grid = new QGridLayout(this);
    for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
        const int place = int(m_controls.size());
        QWidget* control = makeControl(row);
        const QString caption = ToQString(row.label);
        auto* label = new QLabel(caption);
        label->setBuddy(control);
        m_letters += ShortcutLetter(caption);
        grid->addWidget(label, place / SettingsPerLine, (place % SettingsPerLine) * 2);
        grid->addWidget(control, place / SettingsPerLine, (place % SettingsPerLine) * 2 + 1);
        m_controls.push_back({&row, control});
    }
    for (int column = 1; column < SettingsPerLine * 2; column += 2) {
        grid->setColumnStretch(column, 1);
    }
}

QWidget* SettingsPanel::makeControl(const calc_core::SettingRow& row) const {
    QWidget* control = nullptr;
    if (row.kind == calc_core::SettingKind::Choice) {
        auto* box = ChoiceBox(row);
        connect(box, &QComboBox::currentIndexChanged, this, &SettingsPanel::changed);
        control = box;
    } else {
        auto* box = NumberBox(row);
        connect(box, &QDoubleSpinBox::valueChanged, this, &SettingsPanel::changed);
        control = box;
    }
    control->setObjectName(ToQString(row.id));
    control->setAccessibleName(ToQString(calc_core::PlainLabel(row)));
    control->setToolTip(ToQString(calc_core::HelpText(row)));
    control->setWhatsThis(control->toolTip());
    return control;
}

calc_core::AnalysisSettings SettingsPanel::settings() const {
    calc_core::AnalysisSettings settings;
    for (const Control& control : m_controls) {
        if (control.row->kind == calc_core::SettingKind::Choice) {
            const auto* box = static_cast<const QComboBox*>(control.widget);
            control.row->choose(settings, std::size_t(box->currentIndex()));
        } else {
            settings.*control.row->number =
                static_cast<const QDoubleSpinBox*>(control.widget)->value();
        }
    }
    return settings;
}

void SettingsPanel::setSettings(const calc_core::AnalysisSettings& settings) {
    for (const Control& control : m_controls) {
        const QSignalBlocker blocker(control.widget);
        if (control.row->kind == calc_core::SettingKind::Choice) {
            static_cast<QComboBox*>(control.widget)
                ->setCurrentIndex(int(control.row->choiceOf(settings)));
        } else {
            static_cast<QDoubleSpinBox*>(control.widget)->setValue(settings.*control.row->number);
        }
    }
}

void SettingsPanel::setDiode(bool diode) {
    for (const Control& control : m_controls) {
        if (control.row->diodeOnly) {
            control.widget->setEnabled(diode);
        }
    }
}

} // namespace analysis_window
