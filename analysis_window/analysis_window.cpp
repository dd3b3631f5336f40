// The design analysis window.
#include "analysis_window/analysis_window.h"

#include "analysis_report/buy_section.h"
#include "analysis_report/plot_data.h"
#include "analysis_report/report_csv.h"
#include "analysis_report/report_html.h"
#include "analysis_report/row_fit.h"
#include "analysis_report/svg_writer.h"
#include "analysis_report/yield_histograms.h"
#include "analysis_window/analysis_plot.h"
#include "analysis_window/fit_panel.h"
#include "analysis_window/qt_text.h"
#include "analysis_window/report_export.h"
#include "analysis_window/report_page.h"
#include "analysis_window/settings_panel.h"
#include "analysis_window/yield_runner.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <QHBoxLayout>

#include <optional>

namespace analysis_window {
namespace {

// The progress bar's steps from none to all of the boards.
constexpr int ProgressSteps = 1000;

// Small enough for a laptop's screen with room for the desktop's panels; the settings and the
// pages scroll inside it rather than cut what they show.
constexpr QSize LeastSize(800, 600);

// Undo and redo, as the desktop's editors have them.
constexpr QKeyCombination UndoKey(Qt::ControlModifier, Qt::Key_Z);
constexpr QKeyCombination RedoKey(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);

} // namespace

AnalysisWindow::AnalysisWindow(const DesignRecord* record, QWidget* parent)
    : QDialog(parent), m_record(record) {
    setObjectName(QStringLiteral("AnalysisWindow"));
    setSizeGripEnabled(true);
    setMinimumSize(LeastSize);

    m_design = SelectableLabel(QStringLiteral("Design"));
    m_reason = SelectableLabel(QStringLiteral("Why the design cannot be analysed"));
    QFont bold = m_reason->font();
    bold.setBold(true);
    m_reason->setFont(bold);
    m_settings = new SettingsPanel;
    m_fitPanel = new FitPanel;
    // Pages take the letters that the settings, the fit, the buttons and the plot's page leave.
    m_mnemonics = m_settings->shortcutLetters() + m_fitPanel->shortcutLetters();

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("AnalysisPages"));
    m_pages->setAccessibleName(QStringLiteral("Analysis"));
    m_pages->tabBar()->setAccessibleName(QStringLiteral("Analysis pages"));
    // The pages of the report's sections come before the plot's, as the report first names them.
    m_pages->addTab(buildPlotPage(), takeShortcut(QStringLiteral("Pl&ot")));
    QWidget* buttons = buildButtons();
    m_settings->addToGroup(calc_core::SettingGroup::Yield, buildYieldControls());
    m_settings->markGroupTitles([this](const QString& title) { return withShortcut(title); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_yieldStatus);
    bottom->addWidget(m_yieldProgress, 1);
    bottom->addWidget(m_cancelYield);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_design);
    layout->addWidget(m_settings);
    layout->addWidget(m_fitPanel);
    // Only one of the two is shown, and it takes the room left.
    layout->addWidget(m_reason, 1, Qt::AlignTop);
    layout->addWidget(m_pages, 1);
    layout->addLayout(bottom);
    m_history = new AnalysisHistory(this);
    m_history->reset(state());
    addUndoKeys();
    connectEvents();
    m_settings->firstField()->setFocus();
}

// Ctrl+Z and Ctrl+Shift+Z anywhere in the window; a number box or a choice leaves them to it,
// where a text being typed (a list, R2's range, the seed) keeps its own undo.
void AnalysisWindow::addUndoKeys() {
    connect(new QShortcut(QKeySequence(UndoKey), this), &QShortcut::activated, this,
            &AnalysisWindow::undo);
    connect(new QShortcut(QKeySequence(RedoKey), this), &QShortcut::activated, this,
            &AnalysisWindow::redo);
    for (QWidget* control : findChildren<QWidget*>()) {
        const bool numberBox = qobject_cast<QAbstractSpinBox*>(control) ||
                               qobject_cast<QAbstractSpinBox*>(control->parentWidget());
        if (numberBox || qobject_cast<QComboBox*>(control)) {
            control->installEventFilter(this);
        }
    }
}

bool AnalysisWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeyCombination pressed = static_cast<QKeyEvent*>(event)->keyCombination();
        if (pressed == UndoKey || pressed == RedoKey) {
            return true; // not the box's: the window's shortcut takes it
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool AnalysisWindow::undo() {
    return m_history->undo();
}

bool AnalysisWindow::redo() {
    return m_history->redo();
}

AnalysisState AnalysisWindow::state() const {
    return {m_settings->settings(), m_fit, m_beforeFit};
}

// A state undone or redone: the controls and the analysis as they were then.
void AnalysisWindow::applyState(const AnalysisState& state) {
    m_settings->setSettings(state.settings);
    m_fit = state.fit;
    m_beforeFit = state.beforeFit;
    if (m_fit && !m_fit->pairRank) {
        m_fitPanel->showPair(m_fit->r1, m_fit->r3, m_fit->r2);
    }
    recompute();
    emit edited();
}

void AnalysisWindow::recordChange() {
    if (m_history->record(state())) {
        emit edited();
    }
}

void AnalysisWindow::settingsChanged() {
    recompute();
    recordChange();
}

void AnalysisWindow::connectEvents() {
    connect(m_settings, &SettingsPanel::changed, this, &AnalysisWindow::settingsChanged);
    connect(m_fitPanel, &FitPanel::typedPairChosen, this,
            [this](const calc_core::FitChoice& typed) { fit(typed); });
    connect(m_fitPanel, &FitPanel::asDesignedChosen, this, &AnalysisWindow::backToDesign);
    connect(m_history, &AnalysisHistory::restored, this, &AnalysisWindow::applyState);
    connect(m_record, &DesignRecord::recorded, this, [this](calc_core::Tab tab) {
        if (tab != m_tab) {
            return;
        }
        // A new CAL: its design as it is, with the settings a fit changed given back.
        if (m_fit || m_beforeFit) {
            returnFitSettings();
            m_fit.reset();
            recordChange();
        }
        if (isVisible()) {
            recompute();
        }
    });
    connect(m_estimateYield, &QCheckBox::toggled, this, [this] {
        recompute();
        emit edited();
    });
    connect(m_cancelYield, &QPushButton::clicked, this, &AnalysisWindow::stopYield);
    connect(m_yieldRunner, &YieldRunner::progressed, this, &AnalysisWindow::showProgress);
    connect(m_yieldRunner, &YieldRunner::finished, this, &AnalysisWindow::yieldEstimated);
}

// The yield's check box for the settings' Yield page, and its progress for the window's foot.
QWidget* AnalysisWindow::buildYieldControls() {
    m_estimateYield = new QCheckBox(withShortcut(QStringLiteral("Estimate the yield")));
    m_estimateYield->setObjectName(QStringLiteral("EstimateYield"));
    m_estimateYield->setToolTip(QStringLiteral(
        "Simulates the boards for the yield of the set shown and of each grade's best build, in "
        "the background, with every change; its progress shows below, with Cancel"));
    m_yieldRunner = new YieldRunner(this);
    m_yieldStatus = new QLabel;
    m_yieldStatus->setObjectName(QStringLiteral("YieldStatus"));
    m_yieldProgress = new QProgressBar;
    m_yieldProgress->setObjectName(QStringLiteral("YieldProgress"));
    m_yieldProgress->setAccessibleName(QStringLiteral("Progress of the yield estimate"));
    m_yieldProgress->setRange(0, ProgressSteps);
    m_cancelYield = new QPushButton(withShortcut(QStringLiteral("Cancel")));
    m_cancelYield->setObjectName(QStringLiteral("CancelYield"));
    m_cancelYield->setToolTip(QStringLiteral("Stops the yield estimate; the report stays"));
    m_cancelYield->setAutoDefault(false);
    m_yieldProgress->hide();
    m_cancelYield->hide();
    return m_estimateYield;
}

QWidget* AnalysisWindow::buildPlotPage() {
    auto* content = new QWidget;
    auto* plotLayout = new QVBoxLayout(content);
    m_plot = new AnalysisPlot;
    auto* plotCaption = SelectableLabel(QStringLiteral("About the plot"));
    plotCaption->setText(QStringLiteral(
        "The line is Vo as the pin voltage goes from 0 V to the pin voltage set above; each pin "
        "level is marked by its output (dot) and its worst-case band (bar and shaded strip). "
        "Beside each level, its output spec: hollow while the worst case stays inside, hatched "
        "when it does not."));
    plotLayout->addWidget(m_plot, 1);
    plotLayout->addWidget(plotCaption);
    // As the report's pages, it scrolls when the window is smaller than the plot and its caption.
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    m_plotPage = scroll;
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
    m_billOfMaterials = buttons->addButton(withShortcut(QStringLiteral("Bill of materials")),
                                           QDialogButtonBox::ActionRole);
    m_billOfMaterials->setObjectName(QStringLiteral("BillOfMaterials"));
    m_billOfMaterials->setToolTip(
        QStringLiteral("The parts of the build to buy as CSV, one row a resistor and the price a "
                       "board"));
    auto* bomMenu = new QMenu(m_billOfMaterials);
    bomMenu->addAction(QStringLiteral("Copy as CSV"), this, &AnalysisWindow::copyBillOfMaterials);
    bomMenu->addAction(QStringLiteral("Save as CSV\u2026"), this,
                       &AnalysisWindow::saveBillOfMaterialsWithDialog);
    m_billOfMaterials->setMenu(bomMenu);
    m_billOfMaterials->setEnabled(false);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    // Enter in a settings box must not press a button.
    for (QPushButton* button : {copy, exportButton, print, m_billOfMaterials, close}) {
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

ReportPage& AnalysisWindow::pageFor(const std::string& name) {
    for (ReportPage* page : m_sectionPages) {
        if (page->name() == name) {
            return *page;
        }
    }
    auto* page = new ReportPage(name);
    m_pages->insertTab(m_pages->indexOf(m_plotPage), page, withShortcut(ToQString(name)));
    if (m_sectionPages.empty()) {
        m_pages->setCurrentIndex(0); // the report opens on its first section, not on the plot
    }
    connect(page, &ReportPage::rowChosen, this, &AnalysisWindow::fitRow);
    m_sectionPages.push_back(page);
    return *page;
}

// Fits the row's pair or build; a build's grade brings its figures into the settings, and the
// settings before the first such fit are kept for going back.
void AnalysisWindow::fitRow(const analysis_report::RowFit& row) {
    const calc_core::AnalysisSettings before = m_settings->settings();
    if (analysis_report::IsFitted(row, m_fit, before)) {
        return;
    }
    const calc_core::AnalysisSettings settings = analysis_report::FittedSettings(row, before);
    if (!SameSettings(settings, before) && !m_beforeFit) {
        m_beforeFit = before;
    }
    m_settings->setSettings(settings);
    if (!row.fit.pairRank) {
        m_fitPanel->showPair(row.fit.r1, row.fit.r3, row.fit.r2);
    }
    fit(row.fit);
}

void AnalysisWindow::fit(std::optional<calc_core::FitChoice> choice) {
    m_fit = choice;
    recompute();
    recordChange();
}

// A row's fit changes only the resistors' tolerance and TCR: those go back as they were before it.
void AnalysisWindow::returnFitSettings() {
    if (!m_beforeFit) {
        return;
    }
    calc_core::AnalysisSettings settings = m_settings->settings();
    settings.resistorTolerancePct = m_beforeFit->resistorTolerancePct;
    settings.resistorTcrPpm = m_beforeFit->resistorTcrPpm;
    m_settings->setSettings(settings);
    m_beforeFit.reset();
}

// As designed: the design's own R1 and R3, and every setting a fit changed as it was.
void AnalysisWindow::backToDesign() {
    returnFitSettings();
    fit(std::nullopt);
}

void AnalysisWindow::showDesign(calc_core::Tab tab) {
    if (tab != m_tab && (m_fit || m_beforeFit)) {
        // A fit belongs to the other tab's design.
        returnFitSettings();
        m_fit.reset();
        recordChange();
    }
    present(tab);
}

void AnalysisWindow::showDesign(calc_core::Tab tab, const calc_core::AnalysisSettings& settings,
                                const std::optional<calc_core::FitChoice>& fit,
                                bool estimateYield) {
    m_settings->setSettings(settings);
    m_fit = fit;
    m_beforeFit.reset();
    if (fit && !fit->pairRank) {
        m_fitPanel->showPair(fit->r1, fit->r3, fit->r2); // recompute shows a rank's pair itself
    }
    {
        const QSignalBlocker blocker(m_estimateYield);
        m_estimateYield->setChecked(estimateYield);
    }
    m_history->reset(state());
    present(tab);
}

bool AnalysisWindow::estimatesYield() const {
    return m_estimateYield->isChecked();
}

void AnalysisWindow::setDocument(std::optional<calc_core::Tab> tab, const QString& name,
                                 const std::string& note, bool modified) {
    m_documentTab = tab;
    m_documentName = name;
    m_documentNote = note;
    m_documentModified = modified;
    showTitle();
}

// "worked.okep[*] — Design analysis – Calc tab" while the tab shown is the open design's.
void AnalysisWindow::showTitle() {
    const QString title =
        QStringLiteral("Design analysis \u2013 %1 tab").arg(ToQString(calc_core::TabName(m_tab)));
    const bool document = m_documentTab == m_tab && !m_documentName.isEmpty();
    setWindowTitle(document ? m_documentName + QStringLiteral("[*] \u2014 ") + title : title);
    setWindowModified(document && m_documentModified);
}

calc_core::AnalysisSettings AnalysisWindow::settings() const {
    return m_settings->settings();
}

// Analyses the tab's design with the window's settings and fit, and brings the window forward.
void AnalysisWindow::present(calc_core::Tab tab) {
    m_tab = tab;
    showTitle();
    recompute();
    if (!m_sized) {
        // Room for the widest table and the plot, once; then as the user leaves it.
        QSize size = sizeHint().expandedTo(LeastSize);
        if (const QScreen* screen = this->screen()) {
            size = size.boundedTo(screen->availableSize() * 9 / 10).expandedTo(LeastSize);
        }
        resize(size);
        m_sized = true;
    }
    show();
    raise();
    activateWindow();
}

// The analysis and the parts to buy at once; the yield, when asked for, on its own thread, whose
// result replaces the report when it comes.
void AnalysisWindow::recompute() {
    const auto& design = m_record->design(m_tab);
    if (!design) {
        return;
    }
    const calc_core::AnalysisSettings settings = m_settings->settings();
    calc_core::AnalysisAsks asks;
    asks.synthesis = true;
    m_outcome = calc_core::AnalyseDesign(*design, settings, m_fit, asks);
    m_report = analysis_report::MakeReport(m_tab, *design, settings, m_outcome,
                                           locale().decimalPoint().toStdString());
    m_settings->setDiode(design->circuit.diode());
    m_settings->showNotices(settings);
    if (!m_fit || m_fit->pairRank) {
        // The typed fields start from the pair analysed, so that a tweak starts from there.
        const auto& a = m_outcome.analysis;
        const calc_core::Circuit& c = design->circuit;
        m_fitPanel->showPair(a && a->fitted ? a->fitted->r1 : c.r1,
                             a && a->fitted ? a->fitted->r3 : c.r3);
    }
    const bool estimate = m_estimateYield->isChecked() && m_outcome.analysis;
    if (!m_estimateYield->isChecked()) {
        m_yieldShown = false;
    }
    showReport();
    if (estimate) {
        m_yieldRunner->start(*design, settings, m_fit);
        keepEarlierYield(QStringLiteral("Estimating the yield of the settings now shown; these "
                                        "figures are of earlier settings."));
        showProgress(0, 0);
    } else {
        m_yieldRunner->stop();
        endProgress({});
    }
}

void AnalysisWindow::yieldEstimated(const calc_core::AnalysisOutcome& outcome) {
    const auto& design = m_record->design(m_tab);
    if (!outcome.analysis || !design) {
        endProgress(QStringLiteral("No yield estimate: ") + ToQString(outcome.reason));
        return;
    }
    m_outcome = outcome;
    m_report = analysis_report::MakeReport(m_tab, *design, outcome.analysis->settings, m_outcome,
                                           locale().decimalPoint().toStdString());
    showReport();
    endProgress({});
}

void AnalysisWindow::stopYield() {
    m_yieldRunner->stop();
    keepEarlierYield(QStringLiteral("The yield estimate of the settings now shown was stopped; "
                                    "these figures are of earlier settings."));
    endProgress(QStringLiteral("The yield estimate was stopped."));
}

void AnalysisWindow::showProgress(std::uint64_t boardsDone, std::uint64_t boards) {
    m_yieldProgress->setValue(boards > 0 ? int(double(boardsDone) / double(boards) * ProgressSteps)
                                         : 0);
    m_yieldStatus->setText(boards > 0 ? QStringLiteral("Estimating the yield: %1 of %2 boards")
                                            .arg(locale().toString(qulonglong(boardsDone)),
                                                 locale().toString(qulonglong(boards)))
                                      : QStringLiteral("Estimating the yield\u2026"));
    m_yieldProgress->show();
    m_cancelYield->show();
}

void AnalysisWindow::endProgress(const QString& message) {
    m_yieldProgress->hide();
    m_cancelYield->hide();
    m_yieldStatus->setText(message);
}

// While the yield of the settings shown is not there, the page of an earlier one stays, marked.
void AnalysisWindow::keepEarlierYield(const QString& why) {
    if (!m_yieldShown ||
        analysis_report::FindSection(m_report, analysis_report::YieldSectionName)) {
        return;
    }
    ReportPage& page = pageFor(std::string(analysis_report::YieldSectionName));
    m_pages->setTabVisible(m_pages->indexOf(&page), true);
    page.markEarlier(why);
}

std::size_t AnalysisWindow::yieldThreads() const {
    return m_yieldRunner->threads();
}

void AnalysisWindow::hideEvent(QHideEvent* event) {
    if (m_yieldRunner->running()) {
        stopYield();
    }
    QDialog::hideEvent(event);
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

void AnalysisWindow::showReport() {
    showDesignLine();
    m_billOfMaterials->setEnabled(analysis_report::BomCsv(m_report).has_value());
    const bool analysed = m_report.reason.empty();
    m_reason->setText(ToQString(m_report.reason));
    m_reason->setVisible(!analysed);
    m_pages->setVisible(analysed);
    if (!analysed) {
        m_plot->clear();
        return;
    }
    // Only the pages of sections gone are hidden, so that the page in front stays there.
    for (ReportPage* page : m_sectionPages) {
        m_pages->setTabVisible(m_pages->indexOf(page),
                               analysis_report::FindSection(m_report, page->name()) != nullptr);
    }
    const calc_core::DesignAnalysis& analysis = *m_outcome.analysis;
    const std::string separator = locale().decimalPoint().toStdString();
    for (const analysis_report::Section& section : m_report.sections) {
        ReportPage& page = pageFor(section.name);
        m_pages->setTabVisible(m_pages->indexOf(&page), true);
        page.showSection(section, m_fit, analysis.settings);
        if (section.name == analysis_report::YieldSectionName) {
            page.showHistograms(analysis_report::YieldHistograms(analysis, separator), separator);
            m_yieldShown = true;
        }
    }
    m_plot->setPlot(analysis_report::MakePlotData(analysis, separator));
}

void AnalysisWindow::copyToClipboard() const {
    QGuiApplication::clipboard()->setText(ToQString(analysis_report::ReportText(m_report)));
}

analysis_report::ReportDocument AnalysisWindow::document(const QDate& date) const {
    analysis_report::ReportDocument document;
    document.date = date.toString(Qt::ISODate).toStdString();
    document.press = m_record->results(m_tab);
    document.decimalSeparator = locale().decimalPoint().toStdString();
    if (m_documentTab == m_tab) {
        document.designFile = m_documentName.toStdString();
        document.note = m_documentNote;
    }
    if (m_outcome.analysis) {
        document.histograms =
            analysis_report::YieldHistograms(*m_outcome.analysis, document.decimalSeparator);
    }
    return document;
}

std::string AnalysisWindow::reportHtml(const analysis_report::ReportDocument& document) const {
    return analysis_report::AnalysisHtml(m_report, m_outcome, document);
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
    const QString picked = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export report"), QDir(folder).filePath(name),
        QStringLiteral("%1;;%2").arg(QLatin1String(HtmlFilter), QLatin1String(CsvFilter)), &filter);
    const QString path = PathWithSuffix(picked, filter);
    if (!path.isEmpty() && !exportReport(path, QDate::currentDate())) {
        QMessageBox::warning(this, QStringLiteral("Export report"),
                             QStringLiteral("The report could not be written to %1.")
                                 .arg(QDir::toNativeSeparators(path)));
    }
}

bool AnalysisWindow::copyBillOfMaterials() const {
    const std::optional<std::string> csv = analysis_report::BomCsv(m_report);
    if (csv) {
        QGuiApplication::clipboard()->setText(ToQString(*csv));
    }
    return csv.has_value();
}

bool AnalysisWindow::saveBillOfMaterials(const QString& path) const {
    const std::optional<std::string> csv = analysis_report::BomCsv(m_report);
    return csv && WriteDocumentFile(path, *csv);
}

void AnalysisWindow::saveBillOfMaterialsWithDialog() {
    if (!analysis_report::BomCsv(m_report)) {
        return;
    }
    const QString name = (m_documentTab == m_tab && !m_documentName.isEmpty()
                              ? QFileInfo(m_documentName).completeBaseName()
                              : QStringLiteral("design")) +
                         QStringLiteral("-bom.csv");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = PathWithSuffix(
        QFileDialog::getSaveFileName(this, QStringLiteral("Save the bill of materials"),
                                     QDir(folder).filePath(name), QLatin1String(CsvFilter)),
        QLatin1String(CsvFilter));
    if (!path.isEmpty() && !saveBillOfMaterials(path)) {
        QMessageBox::warning(this, QStringLiteral("Save the bill of materials"),
                             QStringLiteral("The bill of materials could not be written to %1.")
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
