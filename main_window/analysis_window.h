// The design analysis window: the design of the Calc or Check tab's last CAL, the settings of
// the analysis, and what it finds, in tables and a plot. It only reads the calculator window.
#pragma once

#include "calc_core/design_analysis.h"
#include "main_window/analysis_text.h"
#include "main_window/design_record.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTabWidget;
class QTableWidget;

namespace main_window {

class AnalysisPlot;

class AnalysisWindow : public QDialog {
    Q_OBJECT

  public:
    AnalysisWindow(const DesignRecord* record, QWidget* parent);

    // Analyses the tab's recorded design, follows that tab's next CAL that computes from now
    // on, and shows the window in front. The tab must have a recorded design.
    void showDesign(DesignTab tab);

    DesignTab tab() const { return m_tab; }
    const AnalysisReport& report() const { return m_report; }

    // Puts the whole analysis on the clipboard as plain text, its tables tab-separated.
    void copyToClipboard() const;

  private:
    QWidget* buildSettings();
    QWidget* buildPage(QTableWidget*& table, QLabel*& notes, const QString& name);
    void readSettings();
    void recompute();
    void showReport();

    const DesignRecord* m_record;
    DesignTab m_tab = DesignTab::Calc;
    calc_core::AnalysisSettings m_settings;
    calc_core::AnalysisOutcome m_outcome;
    AnalysisReport m_report;

    QLabel* m_design = nullptr;
    QComboBox* m_series = nullptr;
    QDoubleSpinBox* m_resistorTolerance = nullptr;
    QDoubleSpinBox* m_vrefTolerance = nullptr;
    QDoubleSpinBox* m_levelAccuracy = nullptr;
    QDoubleSpinBox* m_vfSpread = nullptr;
    QDoubleSpinBox* m_pinVoltage = nullptr;
    QLabel* m_reason = nullptr;
    QTabWidget* m_pages = nullptr;
    QTableWidget* m_levels = nullptr;
    QLabel* m_levelNotes = nullptr;
    QTableWidget* m_faults = nullptr;
    QLabel* m_faultNotes = nullptr;
    QTableWidget* m_preferred = nullptr;
    QLabel* m_preferredNotes = nullptr;
    QTableWidget* m_tolerance = nullptr;
    QLabel* m_toleranceNotes = nullptr;
    AnalysisPlot* m_plot = nullptr;
    bool m_sized = false;
};

} // namespace main_window
