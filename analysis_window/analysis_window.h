// The design analysis window: the design of the Calc or Check tab's last CAL, the settings of
// the analysis, and the report of what it finds, in tables and a plot. It only reads the
// calculator window's record of designs.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/report_document.h"
#include "analysis_window/design_record.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"

#include <QDialog>

#include <optional>
#include <vector>

class QDate;
class QLabel;
class QPrinter;
class QTabWidget;
class QTableWidget;

namespace analysis_window {

class AnalysisPlot;
class FitPanel;
class SettingsPanel;

class AnalysisWindow : public QDialog {
    Q_OBJECT

  public:
    AnalysisWindow(const DesignRecord* record, QWidget* parent);

    // Analyses the tab's recorded design, follows that tab's next CAL that computes from now
    // on, and shows the window in front. The tab must have a recorded design. A pair chosen to
    // fit stays until that tab's next CAL, which goes back to the design as it is.
    void showDesign(calc_core::Tab tab);
    // The same with these settings and this pair to fit, as a design file gives them.
    void showDesign(calc_core::Tab tab, const calc_core::AnalysisSettings& settings,
                    const std::optional<calc_core::FitChoice>& fit);

    calc_core::Tab tab() const { return m_tab; }
    calc_core::AnalysisSettings settings() const;
    const std::optional<calc_core::FitChoice>& fit() const { return m_fit; }
    const analysis_report::Report& report() const { return m_report; }

    // Puts the whole analysis on the clipboard as plain text, its tables tab-separated.
    void copyToClipboard() const;

    // Writes the report as a document dated `date`: HTML, or CSV with "." as the decimal
    // separator, by the file's suffix (.html, .htm, .csv). False, with nothing written, for
    // another suffix, no analysed design, or a file that cannot be written.
    bool exportReport(const QString& path, const QDate& date) const;
    // Prints the report's HTML document dated `date`, its figures black on white.
    void printReport(QPrinter& printer, const QDate& date) const;

  private:
    // A page of the analysis: what it is for, one section's table and notes.
    struct Page {
        std::string name;
        QWidget* widget = nullptr;
        QLabel* subject = nullptr;
        QTableWidget* table = nullptr;
        QLabel* notes = nullptr;
    };

    QWidget* buildPlotPage();
    QWidget* buildButtons();
    QString withShortcut(const QString& caption);
    analysis_report::ReportDocument document(const QDate& date) const;
    std::string reportHtml(const analysis_report::ReportDocument& document) const;
    void exportWithDialog();
    void printWithDialog();
    void present(calc_core::Tab tab);
    void fitPair(int rank);
    void fit(std::optional<calc_core::FitChoice> choice);
    Page& pageFor(const std::string& name);
    Page makePage(const std::string& name);
    QString takeShortcut(const QString& caption);
    void recompute();
    void showDesignLine();
    void showSection(const analysis_report::Section& section);
    void showReport();

    const DesignRecord* m_record;
    calc_core::Tab m_tab = calc_core::Tab::Calc;
    calc_core::AnalysisOutcome m_outcome;
    analysis_report::Report m_report;

    QLabel* m_design = nullptr;
    SettingsPanel* m_settings = nullptr;
    FitPanel* m_fitPanel = nullptr;
    std::optional<calc_core::FitChoice> m_fit; // until the tab's next CAL
    QLabel* m_reason = nullptr;
    QTabWidget* m_pages = nullptr;
    std::vector<Page> m_sectionPages; // in the order first shown, before the plot's page
    QWidget* m_plotPage = nullptr;
    AnalysisPlot* m_plot = nullptr;
    QString m_mnemonics; // letters the window's shortcuts already take
    bool m_sized = false;
};

} // namespace analysis_window
