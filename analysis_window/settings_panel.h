// The analysis settings as a group of controls: one a row of the settings table, with its label,
// limits, decimals, unit and help.
#pragma once

#include "calc_core/analysis_settings.h"

#include <QGroupBox>

#include <vector>

namespace analysis_window {

class SettingsPanel : public QGroupBox {
    Q_OBJECT

  public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    // The settings the controls hold.
    calc_core::AnalysisSettings settings() const;
    // Puts the settings into the controls, each number to the control's decimals, without
    // raising changed().
    void setSettings(const calc_core::AnalysisSettings& settings);

    // The settings used with the diode only take input only with it.
    void setDiode(bool diode);

    // The letters that reach the controls, lower case.
    const QString& shortcutLetters() const { return m_letters; }

    QWidget* firstField() const { return m_controls.front().widget; }

  signals:
    void changed();

  private:
    struct Control {
        const calc_core::SettingRow* row = nullptr;
        QWidget* widget = nullptr;
    };

    QWidget* makeControl(const calc_core::SettingRow& row) const;

    std::vector<Control> m_controls; // in the order of the table
    QString m_letters;
};

} // namespace analysis_window
