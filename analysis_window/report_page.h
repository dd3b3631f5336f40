// A page of the analysis window: one section of the report as its subject, its table and its
// notes, with the histograms on the yield's page. Selecting a row of a section whose rows fit
// something asks to fit it.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/report_document.h"

#include <QScrollArea>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QTableWidget;
class QVBoxLayout;

namespace analysis_window {

class HistogramPlot;

// A label whose text can be selected and copied, and reached with the Tab key.
QLabel* SelectableLabel(const QString& accessibleName);

// The page scrolls when the window is smaller than its table and notes, rather than cut them.
class ReportPage : public QScrollArea {
    Q_OBJECT

  public:
    explicit ReportPage(const std::string& name, QWidget* parent = nullptr);

    const std::string& name() const { return m_name; }

    // Room for the whole table and its notes, which the window opens with when it can.
    QSize sizeHint() const override;

    // Shows the section with the row that fits `fitted` with these settings selected, without
    // raising rowChosen().
    void showSection(const analysis_report::Section& section,
                     const std::optional<calc_core::FitChoice>& fitted,
                     const calc_core::AnalysisSettings& settings);
    // The yield's histograms under the notes; none hides them.
    void showHistograms(std::vector<analysis_report::Histogram> histograms,
                        const std::string& separator);
    // Says above the table that the figures are of earlier settings and greys them, while a
    // newer estimate runs or after it was stopped; an empty text shows them as they are.
    void markEarlier(const QString& why);

  signals:
    void rowChosen(const analysis_report::RowFit& fit);

  private:
    void addHistogramPlot(QVBoxLayout* layout);

    std::string m_name;
    QLabel* m_subject = nullptr;
    QLabel* m_earlier = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_notes = nullptr;
    HistogramPlot* m_histograms = nullptr; // the yield's page only
    QLabel* m_histogramsCaption = nullptr;
    std::vector<std::optional<analysis_report::RowFit>> m_fits;
};

} // namespace analysis_window
