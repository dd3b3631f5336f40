// The settings' controls by kind: Qt's boxes for numbers, choices and whole numbers within an int,
// line edits for an optional resistance and for digits, a plain text edit for a list.
#include "analysis_window/setting_controls.h"

#include "analysis_window/qt_text.h"
#include "calc_core/setting_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>

#include <climits>
#include <cstdint>

namespace analysis_window {
namespace {

using calc_core::SettingKind;
using calc_core::SettingRow;

// Whole numbers up to this fit a spin box; those beyond are typed as digits.
bool FitsSpinBox(const SettingRow& row) {
    return row.highestWhole <= std::uint64_t(INT_MAX);
}

QDoubleSpinBox* NumberBox(const SettingRow& row) {
    auto* box = new QDoubleSpinBox;
    box->setRange(row.lowest, row.highest);
    box->setDecimals(row.decimals);
    box->setPrefix(row.plusMinus ? QStringLiteral("\u00b1 ") : QString());
    box->setSuffix(QStringLiteral(" ") + ToQString(row.unit.symbol));
    box->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QSpinBox* WholeBox(const SettingRow& row) {
    auto* box = new QSpinBox;
    box->setRange(int(row.lowestWhole), int(row.highestWhole));
    box->setGroupSeparatorShown(true);
    box->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLineEdit* DigitsEdit() {
    auto* edit = new QLineEdit;
    // 20 digits hold every 64-bit number; ReadSettingText judges the value.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,20}")), edit));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLineEdit* ResistanceEdit() {
    auto* edit = new QLineEdit;
    // Absent, R2 stays as designed.
    edit->setPlaceholderText(QStringLiteral("as designed"));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QPlainTextEdit* ListEdit() {
    auto* edit = new QPlainTextEdit;
    edit->setTabChangesFocus(true); // Tab leaves the list, as every other field
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setPlaceholderText(QStringLiteral("One entry a line"));
    return edit;
}

QWidget* NewControl(const SettingRow& row) {
    switch (row.kind) {
    case SettingKind::Number:
        return NumberBox(row);
    case SettingKind::OptionalNumber:
        return ResistanceEdit();
    case SettingKind::Whole:
        return FitsSpinBox(row) ? static_cast<QWidget*>(WholeBox(row)) : DigitsEdit();
    case SettingKind::Choice: {
        auto* box = new QComboBox;
        for (std::string_view choice : row.choices) {
            box->addItem(ToQString(choice));
        }
        return box;
    }
    case SettingKind::List:
        return ListEdit();
    case SettingKind::Flag:
        return new QCheckBox;
    }
    return nullptr;
}

} // namespace

bool TypedAsText(const SettingRow& row) {
    return row.kind == SettingKind::OptionalNumber || row.kind == SettingKind::List ||
           (row.kind == SettingKind::Whole && !FitsSpinBox(row));
}

QWidget* MakeSettingControl(const SettingRow& row) {
    QWidget* control = NewControl(row);
    control->setObjectName(ToQString(row.id));
    control->setAccessibleName(ToQString(row.label));
    control->setToolTip(ToQString(calc_core::HelpText(row)));
    control->setWhatsThis(control->toolTip());
    ShowInControl(row, control, calc_core::AnalysisSettings{});
    return control;
}

void ReadControl(const SettingRow& row, const QWidget* control,
                 calc_core::AnalysisSettings& settings) {
    switch (row.kind) {
    case SettingKind::Number:
        settings.*row.number = static_cast<const QDoubleSpinBox*>(control)->value();
        break;
    case SettingKind::Whole:
        row.setWhole(settings, std::uint64_t(static_cast<const QSpinBox*>(control)->value()));
        break;
    case SettingKind::Choice:
        row.choose(settings, std::size_t(static_cast<const QComboBox*>(control)->currentIndex()));
        break;
    case SettingKind::Flag:
        settings.*row.onOff = static_cast<const QCheckBox*>(control)->isChecked();
        break;
    default:
        break; // typed as text: the value last taken
    }
}

void ShowInControl(const SettingRow& row, QWidget* control,
                   const calc_core::AnalysisSettings& settings) {
    const QSignalBlocker blocker(control);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(ToQString(calc_core::SettingText(row, settings)));
    } else if (auto* list = qobject_cast<QPlainTextEdit*>(control)) {
        list->setPlainText(ToQString(calc_core::SettingText(row, settings)));
    } else if (auto* number = qobject_cast<QDoubleSpinBox*>(control)) {
        number->setValue(settings.*row.number);
    } else if (auto* whole = qobject_cast<QSpinBox*>(control)) {
        whole->setValue(int(row.wholeOf(settings)));
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        check->setChecked(settings.*row.onOff);
    } else if (auto* choice = qobject_cast<QComboBox*>(control)) {
        choice->setCurrentIndex(int(row.choiceOf(settings)));
    }
}

QString TypedText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text().trimmed();
    }
    return static_cast<const QPlainTextEdit*>(control)->toPlainText();
}

std::string ReadSettingText(const SettingRow& row, std::string_view text,
                            calc_core::AnalysisSettings& settings) {
    calc_core::AnalysisSettings candidate = settings;
    if (std::string problem =
            calc_core::ReadSettingText(row, text, candidate, calc_core::BlankText::Default);
        !problem.empty()) {
        // A list's sentence names its line; a box's names the box.
        return row.kind == SettingKind::List ? problem : std::string(row.label) + ": " + problem;
    }
    std::string refusal = calc_core::RowRefusal(row, candidate);
    if (refusal.empty()) {
        settings = std::move(candidate);
    }
    return refusal;
}

} // namespace analysis_window
