// The design analysis window.
#include "analysis_window/analysis_window.h"

#include "analysis_report/plot_data.h"
#include "analysis_report/report_csv.h"
#include "analysis_report/report_html.h"
#include "analysis_report/svg_writer.h"
#include "analysis_window/analysis_plot.h"
#include "analysis_window/fit_panel.h"
#include "analysis_window/qt_text.h"
#include "analysis_window/report_export.h"
#include "analysis_window/settings_panel.h"

#include <QClipboard>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <optional>

namespace analysis_window {
namespace {

// A label whose text can be selected and copied, and reached with the Tab key.
QLabel* TextLabel(const QString& accessibleName) {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setAccessibleName(accessibleName);
    return label;
}

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

} // namespace

AnalysisWindow::AnalysisWindow(const DesignRecord* record, QWidget* parent)
    : QDialog(parent), m_record(record) {
    setObjectName(QStringLiteral("AnalysisWindow"));
    setSizeGripEnabled(true);

    m_design = TextLabel(QStringLiteral("Design"));
    m_reason = TextLabel(QStringLiteral("Why the design cannot be analysed"));
    QFont bold = m_reason->font();
    bold.setBold(true);
    m_reason->setFont(bold);
    m_settings = new SettingsPanel;
    m_fitPanel = new FitPanel;
    // Pages take the letters that the settings, the fit, Copy and the plot's page leave.
    m_mnemonics = m_settings->shortcutLetters() + m_fitPanel->shortcutLetters();

    m_pages = new QTabWidget;
    m_pages->setAccessibleName(QStringLiteral("Analysis"));
    m_pages->tabBar()->setAccessibleName(QStringLiteral("Analysis pages"));
    // The pages of the report's sections come before the plot's, as the report first names them.
    m_pages->addTab(buildPlotPage(), takeShortcut(QStringLiteral("Pl&ot")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_design);
    layout->addWidget(m_settings);
    layout->addWidget(m_fitPanel);
    // Only one of the two is shown, and it takes the room left.
    layout->addWidget(m_reason, 1, Qt::AlignTop);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildButtons());

    connect(m_settings, &SettingsPanel::changed, this, &AnalysisWindow::recompute);
    connect(m_fitPanel, &FitPanel::typedPairChosen, this,
            [this](double r1, double r3) { fit(calc_core::FitChoice::Typed(r1, r3)); });
    connect(m_fitPanel, &FitPanel::asDesignedChosen, this, [this] { fit(std::nullopt); });
    connect(m_record, &DesignRecord::recorded, this, [this](calc_core::Tab tab) {
        if (tab != m_tab) {
            return;
        }
        m_fit.reset(); // a new CAL: its design as it is
        if (isVisible()) {
            recompute();
        }
    });
    m_settings->firstField()->setFocus();
}

QWidget* AnalysisWindow::buildPlotPage() {
    m_plotPage = new QWidget;
    auto* plotLayout = new QVBoxLayout(m_plotPage);
    m_plot = new AnalysisPlot;
    auto* plotCaption = TextLabel(QStringLiteral("About the plot"));
    plotCaption->setText(QStringLiteral(
        "The line is Vo as the pin voltage goes from 0 V to the pin voltage set above; each pin "
        "level is marked by its output (dot) and its worst-case band (bar and shaded strip). "
        "Beside each level, its output spec: hollow while the worst case stays inside, hatched "
        "when it does not."));
    plotLayout->addWidget(m_plot, 1);
    plotLayout->addWidget(plotCaption);
    return m_plotPage;
}

QWidget* AnalysisWindow::buildButtons() {
    auto* buttons = new QDialogButtonBox;
    QPushButton* copy =
        buttons->addButton(takeShortcut(QStringLiteral("&Copy")), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("CopyAnalysis"));
    copy->setToolTip(QStringLiteral("Puts the whole analysis on the clipboard as plain text"));
    QPushButton* exportButton = buttons->addButton(
        withShortcut(QStringLiteral("Export report\u2026")), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("ExportAnalysis"));
    QPushButton* print = buttons->addButton(withShortcut(QStringLiteral("Print\u2026")),
                                            QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("PrintAnalysis"));
    // The usual keys as well, named in the tooltips.
    // Ctrl+Shift+S where the platform names no key for Save As.
    const QKeySequence saveAs(QKeySequence::SaveAs);
    const QKeySequence exportKeys =
        saveAs.isEmpty() ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) : saveAs;
    const QKeySequence printKeys(QKeySequence::Print);
    exportButton->setToolTip(QStringLiteral("Writes the report as an HTML document or CSV "
                                            "tables (%1)")
                                 .arg(exportKeys.toString(QKeySequence::NativeText)));
    print->setToolTip(QStringLiteral("Prints the report, or saves it as a PDF (%1)")
                          .arg(printKeys.toString(QKeySequence::NativeText)));
    connect(new QShortcut(exportKeys, this), &QShortcut::activated, this,
            &AnalysisWindow::exportWithDialog);
    connect(new QShortcut(printKeys, this), &QShortcut::activated, this,
            &AnalysisWindow::printWithDialog);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    // Enter in a settings box must not press a button.
    for (QPushButton* button : {copy, exportButton, print, close}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(copy, &QPushButton::clicked, this, &AnalysisWindow::copyToClipboard);
    connect(exportButton, &QPushButton::clicked, this, &AnalysisWindow::exportWithDialog);
    connect(print, &QPushButton::clicked, this, &AnalysisWindow::printWithDialog);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    return buttons;
}

// A caption whose '&' marks its shortcut, which no other control of the window takes from now on.
QString AnalysisWindow::takeShortcut(const QString& caption) {
    m_mnemonics += ShortcutLetter(caption);
    return caption;
}

// The caption with its shortcut: the first of its letters that no other control of the window
// takes; without one when every letter is taken.
QString AnalysisWindow::withShortcut(const QString& caption) {
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar letter = caption[i].toLower();
        if (letter.isLetter() && !m_mnemonics.contains(letter)) {
            QString marked = caption;
            marked.insert(i, u'&');
            return takeShortcut(marked);
        }
    }
    return caption;
}

AnalysisWindow::Page& AnalysisWindow::pageFor(const std::string& name) {
    for (Page& page : m_sectionPages) {
        if (page.name == name) {
            return page;
        }
    }
    Page page = makePage(name);
    m_pages->insertTab(m_pages->indexOf(m_plotPage), page.widget, withShortcut(ToQString(name)));
    if (m_sectionPages.empty()) {
        m_pages->setCurrentIndex(0); // the report opens on its first section, not on the plot
    }
    m_sectionPages.push_back(page);
    return m_sectionPages.back();
}

AnalysisWindow::Page AnalysisWindow::makePage(const std::string& name) {
    const QString title = ToQString(name);
    Page page{name, new QWidget, TextLabel(title + QStringLiteral(" pair")), new QTableWidget,
              TextLabel(title + QStringLiteral(" notes"))};
    auto* layout = new QVBoxLayout(page.widget);
    page.subject->setObjectName(title + QStringLiteral(" pair"));
    QTableWidget* table = page.table;
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
    page.notes->setTextFormat(Qt::RichText);
    layout->addWidget(page.subject);
    layout->addWidget(table);
    layout->addWidget(page.notes);
    layout->addStretch(1);
    if (name == analysis_report::PreferredSectionName) {
        // Selecting a pair's row fits that pair.
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setToolTip(QStringLiteral("Select a pair's row to analyse it as fitted"));
        connect(table, &QTableWidget::itemSelectionChanged, this, [this, table] {
            const QList<QTableWidgetItem*> items = table->selectedItems();
            if (!items.isEmpty()) {
                fitPair(items.front()->row() + 1);
            }
        });
    }
    return page;
}

void AnalysisWindow::fitPair(int rank) {
    if (m_fit && m_fit->pairRank == rank) {
        return;
    }
    fit(calc_core::FitChoice::Pair(rank));
}

void AnalysisWindow::fit(std::optional<calc_core::FitChoice> choice) {
    m_fit = choice;
    recompute();
}

void AnalysisWindow::showDesign(calc_core::Tab tab) {
    if (tab != m_tab) {
        m_fit.reset(); // a fit belongs to the other tab's design
    }
    present(tab);
}

void AnalysisWindow::showDesign(calc_core::Tab tab, const calc_core::AnalysisSettings& settings,
                                const std::optional<calc_core::FitChoice>& fit) {
    m_settings->setSettings(settings);
    m_fit = fit;
    if (fit && !fit->pairRank) {
        m_fitPanel->showPair(fit->r1, fit->r3); // recompute shows a rank's pair itself
    }
    present(tab);
}

calc_core::AnalysisSettings AnalysisWindow::settings() const {
    return m_settings->settings();
}

// Analyses the tab's design with the window's settings and fit, and brings the window forward.
void AnalysisWindow::present(calc_core::Tab tab) {
    m_tab = tab;
    setWindowTitle(
        QStringLiteral("Design analysis \u2013 %1 tab").arg(ToQString(calc_core::TabName(tab))));
    recompute();
    if (!m_sized) {
        // Room for the widest table and the plot, once; then as the user leaves it.
        QSize size = sizeHint().expandedTo(QSize(760, 600));
        if (const QScreen* screen = this->screen()) {
            size = size.boundedTo(screen->availableSize() * 9 / 10);
        }
        resize(size);
        m_sized = true;
    }
    show();
    raise();
    activateWindow();
}

void AnalysisWindow::recompute() {
    const auto& design = m_record->design(m_tab);
    if (!design) {
        return;
    }
    const calc_core::AnalysisSettings settings = m_settings->settings();
    m_outcome = calc_core::AnalyseDesign(*design, settings, m_fit);
    m_report = analysis_report::MakeReport(m_tab, *design, settings, m_outcome,
                                           locale().decimalPoint().toStdString());
    m_settings->setDiode(design->circuit.diode());
    if (!m_fit || m_fit->pairRank) {
        // The typed fields start from the pair analysed, so that a tweak starts from there.
        const auto& a = m_outcome.analysis;
        const calc_core::Circuit& c = design->circuit;
        m_fitPanel->showPair(a && a->fitted ? a->fitted->r1 : c.r1,
                             a && a->fitted ? a->fitted->r3 : c.r3);
    }
    showReport();
}

void AnalysisWindow::showDesignLine() {
    QStringList pairs;
    for (const auto& row : m_report.design.rows) {
        QStringList cells;
        for (const std::string& cell : row) {
            cells << ToQString(cell);
        }
        pairs << cells.join(QStringLiteral(": "));
    }
    m_design->setText(ToQString(m_report.heading) + QStringLiteral(": ") +
                      pairs.join(QStringLiteral(", ")));
}

void AnalysisWindow::showSection(const analysis_report::Section& section) {
    Page& page = pageFor(section.name);
    m_pages->setTabVisible(m_pages->indexOf(page.widget), true);
    page.subject->setText(ToQString(section.subject));
    page.subject->setVisible(!section.subject.empty());
    const QSignalBlocker blocker(page.table);
    FillTable(page.table, section);
    if (section.name == analysis_report::PreferredSectionName && m_fit && m_fit->pairRank) {
        page.table->selectRow(*m_fit->pairRank - 1);
    }
    page.notes->setText(NotesHtml(section.notes));
    page.notes->setAccessibleDescription(NotesPlain(section.notes));
}

void AnalysisWindow::showReport() {
    showDesignLine();
    const bool analysed = m_report.reason.empty();
    m_reason->setText(ToQString(m_report.reason));
    m_reason->setVisible(!analysed);
    m_pages->setVisible(analysed);
    if (!analysed) {
        m_plot->clear();
        return;
    }
    for (Page& page : m_sectionPages) {
        m_pages->setTabVisible(m_pages->indexOf(page.widget), false);
    }
    for (const analysis_report::Section& section : m_report.sections) {
        showSection(section);
    }
    m_plot->setPlot(
        analysis_report::MakePlotData(*m_outcome.analysis, locale().decimalPoint().toStdString()));
}

void AnalysisWindow::copyToClipboard() const {
    QGuiApplication::clipboard()->setText(ToQString(analysis_report::ReportText(m_report)));
}

analysis_report::ReportDocument AnalysisWindow::document(const QDate& date) const {
    analysis_report::ReportDocument document;
    document.date = date.toString(Qt::ISODate).toStdString();
    document.press = m_record->results(m_tab);
    document.decimalSeparator = locale().decimalPoint().toStdString();
    return document;
}

std::string AnalysisWindow::reportHtml(const analysis_report::ReportDocument& document) const {
    if (!m_outcome.analysis) {
        return analysis_report::ReportHtml(m_report, nullptr, document);
    }
    const analysis_report::PlotData plot =
        analysis_report::MakePlotData(*m_outcome.analysis, document.decimalSeparator);
    return analysis_report::ReportHtml(m_report, &plot, document);
}

bool AnalysisWindow::exportReport(const QString& path, const QDate& date) const {
    const auto kind = DocumentKindOf(path);
    const auto& design = m_record->design(m_tab);
    if (!kind || !design) {
        return false;
    }
    if (*kind == DocumentKind::Html) {
        return WriteDocumentFile(path, reportHtml(document(date)));
    }
    // Spreadsheets read CSV with "." whatever the window's locale.
    const analysis_report::Report report =
        analysis_report::MakeReport(m_tab, *design, m_settings->settings(), m_outcome, ".");
    return WriteDocumentFile(path, analysis_report::ReportCsv(report, document(date)));
}

void AnalysisWindow::printReport(QPrinter& printer, const QDate& date) const {
    analysis_report::ReportDocument printed = document(date);
    printed.richTextPrint = true;
    std::optional<analysis_report::PlotData> plot;
    if (m_outcome.analysis) {
        plot = analysis_report::MakePlotData(*m_outcome.analysis, printed.decimalSeparator);
    }
    const analysis_report::PlotData* shown = plot ? &*plot : nullptr;
    PrintDocument(printer, analysis_report::ReportHtml(m_report, shown, printed),
                  analysis_report::ReportFigures(shown, printed, analysis_report::PrintColours));
}

void AnalysisWindow::exportWithDialog() {
    if (!m_record->design(m_tab)) {
        return;
    }
    const QString name =
        QStringLiteral("design-analysis-%1.html").arg(ToQString(calc_core::TabKey(m_tab)));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString filter = QLatin1String(HtmlFilter);
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export report"), QDir(folder).filePath(name),
        QStringLiteral("%1;;%2").arg(QLatin1String(HtmlFilter), QLatin1String(CsvFilter)), &filter);
    const QString path = PathWithSuffix(chosen, filter);
    if (!path.isEmpty() && !exportReport(path, QDate::currentDate())) {
        QMessageBox::warning(this, QStringLiteral("Export report"),
                             QStringLiteral("The report could not be written to %1.")
                                 .arg(QDir::toNativeSeparators(path)));
    }
}

void AnalysisWindow::printWithDialog() {
    if (!m_record->design(m_tab)) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(PrintMargins, QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print the design analysis"));
    if (dialog.exec() == QDialog::Accepted) {
        printReport(printer, QDate::currentDate());
    }
}

} // namespace analysis_window
