// A setting typed as text: taken after a short pause in typing and when its control loses the
// focus. A text that cannot be read changes nothing: the value last taken stays, and the label
// under the control says why.
#pragma once

#include "calc_core/analysis_settings.h"

#include <QObject>
#include <QTimer>

class QLabel;
class QWidget;

namespace analysis_window {

class TextSetting : public QObject {
    Q_OBJECT

  public:
    // How long typing must pause before the text is taken [ms].
    static constexpr int PauseMs = 600;

    // `taken` holds every typed row's value last taken; this one reads and writes its row's.
    TextSetting(const calc_core::SettingRow& row, QWidget* control, QLabel* problem,
                calc_core::AnalysisSettings* taken);

    // Shows the settings' value, which the caller has taken, without raising changed(); any
    // problem goes.
    void show(const calc_core::AnalysisSettings& settings);
    // Takes the text now, true when it could; raises changed() when the value taken is another.
    bool take();
    // Puts the text into the control and takes it at once, as take().
    bool setText(const QString& text);
    // Says what is wrong under the control; empty to clear it.
    void showProblem(const QString& sentence);

  signals:
    void changed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const calc_core::SettingRow& m_row;
    QWidget* m_control;
    QLabel* m_problem;
    calc_core::AnalysisSettings* m_taken;
    QTimer m_pause;
};

} // namespace analysis_window
