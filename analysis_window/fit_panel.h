// The pair to analyse as fitted, typed: R1 and R3, and R2 when a build has its own, with a button
// to fit them, and the way back to the design as it is.
#pragma once

#include "calc_core/design_analysis.h"

#include <QGroupBox>

#include <optional>

class QDoubleSpinBox;

namespace analysis_window {

class FitPanel : public QGroupBox {
    Q_OBJECT

  public:
    explicit FitPanel(QWidget* parent = nullptr);

    // Shows the pair being analysed, so that a typed tweak starts from there; without an R2 of
    // its own, the R2 box says the design's.
    void showPair(double r1, double r3, std::optional<double> r2 = std::nullopt);

    // The letters that reach the fields and buttons, lower case.
    const QString& shortcutLetters() const { return m_letters; }

  signals:
    void typedPairChosen(const calc_core::FitChoice& fit);
    void asDesignedChosen();

  private:
    calc_core::FitChoice typedFit() const;

    QDoubleSpinBox* m_r1 = nullptr;
    QDoubleSpinBox* m_r3 = nullptr;
    QDoubleSpinBox* m_r2 = nullptr; // at its minimum, 0: the design's R2
    QString m_letters;
};

} // namespace analysis_window
