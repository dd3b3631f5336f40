// The analysis window's pages: a section's cells in a table as high as its rows, its notes as
// paragraphs (warnings in bold), and the rows that fit something selectable one at a time.
#include "analysis_window/report_page.h"

#include "analysis_report/row_fit.h"
#include "analysis_window/analysis_history.h"
#include "analysis_window/histogram_plot.h"
#include "analysis_window/qt_text.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace analysis_window {
namespace {

QString NotesHtml(const std::vector<analysis_report::Note>& notes) {
    QStringList paragraphs;
    for (const analysis_report::Note& note : notes) {
        const QString text = ToQString(note.text).toHtmlEscaped();
        paragraphs << (note.warning ? QStringLiteral("<p><b>%1</b></p>").arg(text)
                                    : QStringLiteral("<p>%1</p>").arg(text));
    }
    return paragraphs.join(QString());
}

QString NotesPlain(const std::vector<analysis_report::Note>& notes) {
    QStringList lines;
    for (const analysis_report::Note& note : notes) {
        lines << ToQString(note.text);
    }
    return lines.join(u' ');
}

void FillTable(QTableWidget* widget, const analysis_report::Section& table) {
    widget->clear();
    widget->setColumnCount(int(table.header.size()));
    widget->setRowCount(int(table.rows.size()));
    QStringList header;
    for (const std::string& cell : table.header) {
        header << ToQString(cell);
    }
    widget->setHorizontalHeaderLabels(header);
    QFont bold = widget->font();
    bold.setBold(true);
    for (int r = 0; r < int(table.rows.size()); ++r) {
        for (int c = 0; c < int(table.rows[std::size_t(r)].size()); ++c) {
            auto* item =
                new QTableWidgetItem(ToQString(table.rows[std::size_t(r)][std::size_t(c)]));
            // Numbers line up on the right; the first column names the row.
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            widget->setItem(r, c, item);
        }
    }
    for (const auto& [r, c] : table.flagged) {
        if (QTableWidgetItem* item = widget->item(r, c)) {
            item->setFont(bold);
        }
    }
    widget->resizeColumnsToContents();
    // As high as its rows: the tables are short, and the notes stand right under them.
    widget->setFixedHeight(2 * widget->frameWidth() + widget->horizontalHeader()->height() +
                           widget->verticalHeader()->length());
    widget->updateGeometry();
}

QTableWidget* SectionTable(const QString& title) {
    auto* table = new QTableWidget;
    table->setObjectName(title);
    table->setAccessibleName(title);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false); // Tab leaves the table, as everywhere else
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().lineSpacing() + 8);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // as high as its rows
    table->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    return table;
}

} // namespace

QLabel* SelectableLabel(const QString& accessibleName) {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setAccessibleName(accessibleName);
    return label;
}

ReportPage::ReportPage(const std::string& name, QWidget* parent)
    : QScrollArea(parent), m_name(name) {
    const QString title = ToQString(name);
    m_subject = SelectableLabel(title + QStringLiteral(" pair"));
    m_subject->setObjectName(title + QStringLiteral(" pair"));
    m_earlier = new QLabel;
    m_earlier->setWordWrap(true);
    m_earlier->setObjectName(title + QStringLiteral(" earlier"));
    m_earlier->hide();
    m_table = SectionTable(title);
    m_notes = SelectableLabel(title + QStringLiteral(" notes"));
    m_notes->setTextFormat(Qt::RichText);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    for (QWidget* part : {static_cast<QWidget*>(m_subject), static_cast<QWidget*>(m_earlier),
                          static_cast<QWidget*>(m_table), static_cast<QWidget*>(m_notes)}) {
        layout->addWidget(part);
    }
    if (name == analysis_report::YieldSectionName) {
        addHistogramPlot(layout);
    } else {
        layout->addStretch(1);
    }
    setWidget(content);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus); // Tab goes through the page's parts, and scrolls to each
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem*> items = m_table->selectedItems();
        const std::size_t row = items.isEmpty() ? m_fits.size() : std::size_t(items.front()->row());
        if (row < m_fits.size() && m_fits[row]) {
            emit rowChosen(*m_fits[row]);
        }
    });
}

QSize ReportPage::sizeHint() const {
    return widget()->sizeHint() + QSize(2 * frameWidth(), 2 * frameWidth());
}

void ReportPage::addHistogramPlot(QVBoxLayout* layout) {
    m_histograms = new HistogramPlot;
    m_histogramsCaption = SelectableLabel(QStringLiteral("About the histograms"));
    m_histogramsCaption->setText(QStringLiteral(
        "Each level's output over every board at the three temperatures; the dashed lines are "
        "the edges of its spec, and hatched bars lie outside it."));
    layout->addWidget(m_histograms);
    layout->addWidget(m_histogramsCaption);
}

void ReportPage::showSection(const analysis_report::Section& section,
                             const std::optional<calc_core::FitChoice>& fitted,
                             const calc_core::AnalysisSettings& settings) {
    m_subject->setText(ToQString(section.subject));
    m_subject->setVisible(!section.subject.empty());
    markEarlier({});
    const QSignalBlocker blocker(m_table);
    FillTable(m_table, section);
    m_fits = section.fits;
    if (std::any_of(m_fits.begin(), m_fits.end(),
                    [](const auto& fit) { return fit.has_value(); })) {
        // Selecting a row fits it.
        m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_table->setSelectionMode(QAbstractItemView::SingleSelection);
        m_table->setToolTip(QStringLiteral("Select a row to analyse it as fitted"));
    }
    for (std::size_t row = 0; row < m_fits.size(); ++row) {
        if (m_fits[row] && analysis_report::IsFitted(*m_fits[row], fitted, settings)) {
            m_table->selectRow(int(row));
            break;
        }
    }
    m_notes->setText(NotesHtml(section.notes));
    m_notes->setAccessibleDescription(NotesPlain(section.notes));
}

void ReportPage::showHistograms(std::vector<analysis_report::Histogram> histograms,
                                const std::string& separator) {
    if (m_histograms) {
        m_histograms->setVisible(!histograms.empty());
        m_histogramsCaption->setVisible(!histograms.empty());
        m_histograms->setHistograms(std::move(histograms), separator);
    }
}

void ReportPage::markEarlier(const QString& why) {
    m_earlier->setText(why);
    m_earlier->setVisible(!why.isEmpty());
    for (QWidget* part : {static_cast<QWidget*>(m_table), static_cast<QWidget*>(m_notes),
                          static_cast<QWidget*>(m_histograms)}) {
        if (part) {
            part->setEnabled(why.isEmpty());
        }
    }
}

} // namespace analysis_window
