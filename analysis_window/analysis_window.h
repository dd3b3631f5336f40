// The design analysis window: the design of the Calc or Check tab's last CAL, the settings of
// the analysis, and the report of what it finds, in tables and plots: with every change the
// analysis and the parts to buy at once, and on demand the yield, estimated in the background
// with its progress and a way to stop it. It only reads the calculator window's record of designs.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/report_document.h"
#include "analysis_window/analysis_history.h"
#include "analysis_window/design_record.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <vector>

class QCheckBox;
class QDate;
class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace analysis_window {

class AnalysisPlot;
class FitPanel;
class ReportPage;
class SettingsPanel;
class YieldRunner;

class AnalysisWindow : public QDialog {
    Q_OBJECT

  public:
    AnalysisWindow(const DesignRecord* record, QWidget* parent);

    // Analyses the tab's recorded design, follows that tab's next CAL that computes from now
    // on, and shows the window in front. The tab must have a recorded design. A pair chosen to
    // fit stays until that tab's next CAL, which goes back to the design as it is.
    void showDesign(calc_core::Tab tab);
    // The same with these settings and this pair to fit, and the yield estimated or not, as a
    // design file gives them; there is nothing to undo then.
    void showDesign(calc_core::Tab tab, const calc_core::AnalysisSettings& settings,
                    const std::optional<calc_core::FitChoice>& fit, bool estimateYield = false);

    calc_core::Tab tab() const { return m_tab; }
    calc_core::AnalysisSettings settings() const;
    const std::optional<calc_core::FitChoice>& fit() const { return m_fit; }
    bool estimatesYield() const;
    const analysis_report::Report& report() const { return m_report; }

    // The design file open on a tab, with its note: while the window analyses that tab, its
    // title shows the file's name, with the modified mark when it has changed since opened or
    // saved, and the documents it exports and prints name both; no tab for none.
    void setDocument(std::optional<calc_core::Tab> tab, const QString& name,
                     const std::string& note, bool modified);

    // A step back or forward through the changes of the settings and the fit (Ctrl+Z and
    // Ctrl+Shift+Z); false when there is none.
    bool undo();
    bool redo();

    // The threads of yield estimates that have not ended yet, stopped ones included.
    std::size_t yieldThreads() const;

    // Puts the whole analysis on the clipboard as plain text, its tables tab-separated.
    void copyToClipboard() const;

    // Writes the report as a document dated `date`: HTML, or CSV with "." as the decimal
    // separator, by the file's suffix (.html, .htm, .csv). False, with nothing written, for
    // another suffix, no analysed design, or a file that cannot be written.
    bool exportReport(const QString& path, const QDate& date) const;
    // Prints the report's HTML document dated `date`, its figures black on white.
    void printReport(QPrinter& printer, const QDate& date) const;

    // The bill of materials of the build to buy, as CSV, onto the clipboard or into a file; false
    // when the analysis has nothing to buy or the file cannot be written.
    bool copyBillOfMaterials() const;
    bool saveBillOfMaterials(const QString& path) const;

  signals:
    // The user changed the settings, the fit or whether the yield is estimated (by undo and redo
    // too), or a CAL took the fit away.
    void edited();

  protected:
    // A window put away stops the yield it was estimating.
    void hideEvent(QHideEvent* event) override;
    // Ctrl+Z and Ctrl+Shift+Z in a number box or a choice are the window's undo and redo.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildPlotPage();
    QWidget* buildButtons();
    QWidget* buildYieldControls();
    void connectEvents();
    QString withShortcut(const QString& caption);
    analysis_report::ReportDocument document(const QDate& date) const;
    std::string reportHtml(const analysis_report::ReportDocument& document) const;
    void exportWithDialog();
    void printWithDialog();
    void saveBillOfMaterialsWithDialog();
    void present(calc_core::Tab tab);
    void showTitle();
    void addUndoKeys();
    AnalysisState state() const;
    void applyState(const AnalysisState& state);
    void recordChange();
    void settingsChanged();
    void fitRow(const analysis_report::RowFit& row);
    void fit(std::optional<calc_core::FitChoice> choice);
    void returnFitSettings();
    void backToDesign();
    ReportPage& pageFor(const std::string& name);
    QString takeShortcut(const QString& caption);
    void recompute();
    void yieldEstimated(const calc_core::AnalysisOutcome& outcome);
    void stopYield();
    void showProgress(std::uint64_t boardsDone, std::uint64_t boards);
    void endProgress(const QString& message);
    void showDesignLine();
    void showReport();
    void keepEarlierYield(const QString& why);

    const DesignRecord* m_record;
    calc_core::Tab m_tab = calc_core::Tab::Calc;
    calc_core::AnalysisOutcome m_outcome;
    analysis_report::Report m_report;

    QLabel* m_design = nullptr;
    SettingsPanel* m_settings = nullptr;
    FitPanel* m_fitPanel = nullptr;
    std::optional<calc_core::FitChoice> m_fit; // until the tab's next CAL
    // The settings before a row's fit changed its tolerance and TCR, which going back restores.
    std::optional<calc_core::AnalysisSettings> m_beforeFit;
    AnalysisHistory* m_history = nullptr;
    std::optional<calc_core::Tab> m_documentTab;
    QString m_documentName;
    std::string m_documentNote;
    bool m_documentModified = false;
    QLabel* m_reason = nullptr;
    QTabWidget* m_pages = nullptr;
    std::vector<ReportPage*> m_sectionPages; // in the order first shown, before the plot's page
    QWidget* m_plotPage = nullptr;
    AnalysisPlot* m_plot = nullptr;
    QString m_mnemonics; // letters the window's shortcuts already take
    bool m_sized = false;

    QCheckBox* m_estimateYield = nullptr;
    YieldRunner* m_yieldRunner = nullptr;
    QLabel* m_yieldStatus = nullptr;
    QProgressBar* m_yieldProgress = nullptr;
    QPushButton* m_cancelYield = nullptr;
    QPushButton* m_billOfMaterials = nullptr; // its menu copies or saves it
    bool m_yieldShown = false; // the yield's page holds figures, maybe of earlier settings
};

} // namespace analysis_window
