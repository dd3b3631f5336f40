// The fitted pair's fields and buttons.
#include "analysis_window/fit_panel.h"

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
    return box;
}

} // namespace

FitPanel::FitPanel(QWidget* parent) : QGroupBox(QStringLiteral("Fitted pair"), parent) {
    setToolTip(QStringLiteral("The pair to analyse as fitted: select a row of Preferred values, "
                              "or type R1 and R3. It stays until the tab's next CAL."));
    auto* row = new QHBoxLayout(this);
    m_r1 = OhmsBox(calc_core::FitR1Field);
    m_r3 = OhmsBox(calc_core::FitR3Field);
    for (const auto& [field, box] :
         {std::pair{&calc_core::FitR1Field, m_r1}, std::pair{&calc_core::FitR3Field, m_r3}}) {
        const QString caption = ToQString(field->label);
        auto* label = new QLabel(caption);
        label->setBuddy(box);
        box->setAccessibleName(QString(caption).remove(u'&'));
        m_letters += ShortcutLetter(caption);
        row->addWidget(label);
        row->addWidget(box, 1);
    }
    const std::pair<QString, QString> buttons[] = {
        {QStringLiteral("Fit t&yped pair"),
         QStringLiteral("Analyses the R1 and R3 typed here as fitted")},
        {QStringLiteral("As desi&gned"),
         QStringLiteral("Goes back to the design's own R1 and R3")}};
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
    connect(typed, &QPushButton::clicked, this,
            [this] { emit typedPairChosen(m_r1->value(), m_r3->value()); });
    connect(designed, &QPushButton::clicked, this, &FitPanel::asDesignedChosen);
}

void FitPanel::showPair(double r1, double r3) {
    const QSignalBlocker blockR1(m_r1);
    const QSignalBlocker blockR3(m_r3);
    m_r1->setValue(r1);
    m_r3->setValue(r3);
}

} // namespace analysis_window
