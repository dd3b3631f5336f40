// The pair to analyse as fitted, typed: R1 and R3 with a button to fit them, and the way back to
// the design as it is.
#pragma once

#include <QGroupBox>

class QDoubleSpinBox;

namespace analysis_window {

class FitPanel : public QGroupBox {
    Q_OBJECT

  public:
    explicit FitPanel(QWidget* parent = nullptr);

    // Shows the pair being analysed, so that a typed tweak starts from there.
    void showPair(double r1, double r3);

    // The letters that reach the fields and buttons, lower case.
    const QString& shortcutLetters() const { return m_letters; }

  signals:
    void typedPairChosen(double r1, double r3);
    void asDesignedChosen();

  private:
    QDoubleSpinBox* m_r1 = nullptr;
    QDoubleSpinBox* m_r3 = nullptr;
    QString m_letters;
};

} // namespace analysis_window
