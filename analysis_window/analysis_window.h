// The design analysis window: the design of the Calc or Check tab's last CAL, the settings of
// the analysis, and the report of what it finds, in tables and a plot. It only reads the
// calculator window's record of designs.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_window/design_record.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTabWidget;
class QTableWidget;

namespace analysis_window {

class AnalysisPlot;

class AnalysisWindow : public QDialog {
    Q_OBJECT

  public:
    AnalysisWindow(const DesignRecord* record, QWidget* parent);

    // Analyses the tab's recorded design, follows that tab's next CAL that computes from now
    // on, and shows the window in front. The tab must have a recorded design.
    void showDesign(calc_core::Tab tab);

    calc_core::Tab tab() const { return m_tab; }
    const analysis_report::Report& report() const { return m_report; }

    // Puts the whole analysis on the clipboard as plain text, its tables tab-separated.
    void copyToClipboard() const;

  private:
    // A page of the analysis: one section's table and notes.
    struct Page {
        std::string name;
        QWidget* widget = nullptr;
        QTableWidget* table = nullptr;
        QLabel* notes = nullptr;
    };

    QWidget* buildSettings();
    Page& pageFor(const std::string& name);
    void readSettings();
    void recompute();
    void showReport();

    const DesignRecord* m_record;
    calc_core::Tab m_tab = calc_core::Tab::Calc;
    calc_core::AnalysisSettings m_settings;
    calc_core::AnalysisOutcome m_outcome;
    analysis_report::Report m_report;

    QLabel* m_design = nullptr;
    QComboBox* m_series = nullptr;
    QDoubleSpinBox* m_resistorTolerance = nullptr;
    QDoubleSpinBox* m_vrefTolerance = nullptr;
    QDoubleSpinBox* m_levelAccuracy = nullptr;
    QDoubleSpinBox* m_vfSpread = nullptr;
    QDoubleSpinBox* m_pinVoltage = nullptr;
    QLabel* m_reason = nullptr;
    QTabWidget* m_pages = nullptr;
    std::vector<Page> m_sectionPages; // in the order first shown, before the plot's page
    QWidget* m_plotPage = nullptr;
    AnalysisPlot* m_plot = nullptr;
    QString m_mnemonics; // letters the window's shortcuts already take
    bool m_sized = false;
};

} // namespace analysis_window
