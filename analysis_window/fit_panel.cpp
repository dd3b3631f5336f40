// The fitted pair's fields and buttons.
#include "analysis_window/fit_panel.h"

#include "analysis_window/control_shortcuts.h"

#include "analysis_window/qt_text.h"
#include "calc_core/design_analysis.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace analysis_window {
namespace {

QDoubleSpinBox* OhmsBox(const calc_core::FitField& field) {
    auto* box = new QDoubleSpinBox;
    box->setRange(field.lowest, field.highest);
    box->setDecimals(field.decimals);
    box->setSuffix(QStringLiteral(" \u03a9"));
    box->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    box->setAlignment(Qt::AlignRight);
    box->setObjectName(ToQString(field.id));
    // Room for a resistor's value, not for the highest the box takes, so that the row fits a
    // narrow window; a longer value scrolls in the box.
    box->setMinimumWidth(
        box->fontMetrics().horizontalAdvance(QStringLiteral("9999999.999 \u03a9")) +
        box->minimumSizeHint().width() -
        box->fontMetrics().horizontalAdvance(box->textFromValue(box->maximum()) + box->suffix()));
    return box;
}

} // namespace

FitPanel::FitPanel(QWidget* parent) : QGroupBox(QStringLiteral("Fitted pair"), parent) {
    setToolTip(QStringLiteral("The pair to analyse as fitted: select a row of Preferred values, "
                              "Parts to buy or Best builds, or type R1 and R3 (and R2 for a "
                              "build with its own). It stays until the tab's next CAL. Ctrl+Z "
                              "undoes a change of a setting or the fit, Ctrl+Shift+Z redoes it."));
    auto* row = new QHBoxLayout(this);
    m_r1 = OhmsBox(calc_core::FitR1Field);
    m_r3 = OhmsBox(calc_core::FitR3Field);
    m_r2 = OhmsBox(calc_core::FitR2Field);
    // Below the field's lowest, 0 stands for the design's own R2.
    m_r2->setMinimum(0);
    m_r2->setSpecialValueText(QStringLiteral("as designed"));
    m_r2->setValue(0);
    for (const auto& [field, box] :
         {std::pair{&calc_core::FitR1Field, m_r1}, std::pair{&calc_core::FitR3Field, m_r3},
          std::pair{&calc_core::FitR2Field, m_r2}}) {
        const QString caption = CaptionWithShortcut(field->id, field->label);
        auto* label = new QLabel(caption);
        label->setBuddy(box);
        box->setAccessibleName(QString(caption).remove(u'&'));
        m_letters += ShortcutLetter(caption);
        row->addWidget(label);
        row->addWidget(box, 1);
    }
    const std::pair<QString, QString> buttons[] = {
        {QStringLiteral("Fit t&yped pair"),
         QStringLiteral("Analyses the R1, R3 and R2 typed here as fitted")},
        {QStringLiteral("As desi&gned"),
         QStringLiteral("Goes back to the design's own R1 and R3, and the tolerance and TCR "
                        "a fitted grade brought in to what they were")}};
    auto* typed = new QPushButton(buttons[0].first);
    auto* designed = new QPushButton(buttons[1].first);
    typed->setObjectName(QStringLiteral("FitTyped"));
    designed->setObjectName(QStringLiteral("AsDesigned"));
    for (auto [button, caption] : {std::pair{typed, buttons[0]}, std::pair{designed, buttons[1]}}) {
        button->setToolTip(caption.second);
        button->setAutoDefault(false);
        m_letters += ShortcutLetter(caption.first);
        row->addWidget(button);
    }
    connect(typed, &QPushButton::clicked, this, [this] { emit typedPairChosen(typedFit()); });
    connect(designed, &QPushButton::clicked, this, &FitPanel::asDesignedChosen);
}

calc_core::FitChoice FitPanel::typedFit() const {
    const double r2 = m_r2->value();
    return calc_core::FitChoice::Typed(m_r1->value(), m_r3->value(),
                                       r2 > m_r2->minimum() ? std::optional(r2) : std::nullopt);
}

void FitPanel::showPair(double r1, double r3, std::optional<double> r2) {
    for (auto [box, value] : {std::pair{m_r1, r1}, std::pair{m_r3, r3},
                              std::pair{m_r2, r2.value_or(m_r2->minimum())}}) {
        const QSignalBlocker blocker(box);
        box->setValue(value);
    }
}

} // namespace analysis_window
