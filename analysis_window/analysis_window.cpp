// The design analysis window.
#include "analysis_window/analysis_window.h"

#include "analysis_report/plot_data.h"
#include "analysis_window/analysis_plot.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace analysis_window {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

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

QDoubleSpinBox* SpinBox(double min, double max, int decimals, const QString& prefix,
                        const QString& suffix) {
    auto* box = new QDoubleSpinBox;
    box->setRange(min, max);
    box->setDecimals(decimals);
    box->setPrefix(prefix);
    box->setSuffix(suffix);
    box->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    box->setAlignment(Qt::AlignRight);
    return box;
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

    m_pages = new QTabWidget;
    m_pages->setAccessibleName(QStringLiteral("Analysis"));
    m_pages->tabBar()->setAccessibleName(QStringLiteral("Analysis pages"));
    // The pages of the report's sections come before the plot's, as the report first names them.
    m_plotPage = new QWidget;
    auto* plotLayout = new QVBoxLayout(m_plotPage);
    m_plot = new AnalysisPlot;
    auto* plotCaption = TextLabel(QStringLiteral("About the plot"));
    plotCaption->setText(QStringLiteral(
        "The line is Vo as the pin voltage goes from 0 V to the pin voltage set above; each pin "
        "level is marked by its output (dot) and its worst-case band (bar and shaded strip)."));
    plotLayout->addWidget(m_plot, 1);
    plotLayout->addWidget(plotCaption);
    m_pages->addTab(m_plotPage, QStringLiteral("Pl&ot"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("CopyAnalysis"));
    copy->setToolTip(QStringLiteral("Puts the whole analysis on the clipboard as plain text"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    // Enter in a settings box must not press a button.
    for (QPushButton* button : {copy, close}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(copy, &QPushButton::clicked, this, &AnalysisWindow::copyToClipboard);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_design);
    layout->addWidget(buildSettings());
    // Only one of the two is shown, and it takes the room left.
    layout->addWidget(m_reason, 1, Qt::AlignTop);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buttons);

    connect(m_record, &DesignRecord::recorded, this, [this](calc_core::Tab tab) {
        if (tab == m_tab && isVisible()) {
            recompute();
        }
    });
    m_series->setFocus();
}

AnalysisWindow::Page& AnalysisWindow::pageFor(const std::string& name) {
    for (Page& page : m_sectionPages) {
        if (page.name == name) {
            return page;
        }
    }
    const QString title = ToQString(name);
    Page page{name, new QWidget, new QTableWidget, nullptr};
    auto* layout = new QVBoxLayout(page.widget);
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
    page.notes = TextLabel(title + QStringLiteral(" notes"));
    page.notes->setTextFormat(Qt::RichText);
    layout->addWidget(table);
    layout->addWidget(page.notes);
    layout->addStretch(1);
    // Its shortcut: the first letter of its name that no other control of the window takes.
    QString caption = title;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar letter = caption[i].toLower();
        if (letter.isLetter() && !m_mnemonics.contains(letter)) {
            m_mnemonics += letter;
            caption.insert(i, u'&');
            break;
        }
    }
    m_pages->insertTab(m_pages->indexOf(m_plotPage), page.widget, caption);
    if (m_sectionPages.empty()) {
        m_pages->setCurrentIndex(0); // the report opens on its first section, not on the plot
    }
    m_sectionPages.push_back(page);
    return m_sectionPages.back();
}

QWidget* AnalysisWindow::buildSettings() {
    const calc_core::AnalysisSettings defaults;
    auto* group = new QGroupBox(QStringLiteral("Settings"));
    auto* grid = new QGridLayout(group);

    m_series = new QComboBox;
    for (calc_core::ESeries series : calc_core::AllSeries) {
        const auto name = calc_core::SeriesName(series);
        m_series->addItem(QString::fromLatin1(name.data(), qsizetype(name.size())));
        if (series == defaults.series) {
            m_series->setCurrentIndex(m_series->count() - 1);
        }
    }
    const QString plusMinus = QStringLiteral("\u00b1 ");
    m_resistorTolerance = SpinBox(0, 99.99, 2, plusMinus, QStringLiteral(" %"));
    m_resistorTolerance->setValue(defaults.resistorTolerancePct);
    m_vrefTolerance = SpinBox(0, 99.99, 2, plusMinus, QStringLiteral(" %"));
    m_vrefTolerance->setValue(defaults.vrefTolerancePct);
    m_levelAccuracy = SpinBox(0, 1000, 1, plusMinus, QStringLiteral(" mV"));
    m_levelAccuracy->setValue(defaults.levelAccuracyMv);
    m_vfSpread = SpinBox(0, 10, 3, plusMinus, QStringLiteral(" V"));
    m_vfSpread->setValue(defaults.vfSpreadV);
    m_pinVoltage = SpinBox(-1000, 1000, 3, QString(), QStringLiteral(" V"));
    m_pinVoltage->setValue(defaults.pinVoltage);

    const std::pair<QString, QWidget*> fields[] = {
        {QStringLiteral("&Series"), m_series},
        {QStringLiteral("R&esistor tolerance"), m_resistorTolerance},
        {QStringLiteral("&Vref tolerance"), m_vrefTolerance},
        {QStringLiteral("&Pin voltage"), m_pinVoltage},
        {QStringLiteral("Pin level &accuracy"), m_levelAccuracy},
        {QStringLiteral("V&f spread"), m_vfSpread},
    };
    const QStringList objectNames = {
        QStringLiteral("Series"),        QStringLiteral("ResistorTolerance"),
        QStringLiteral("VrefTolerance"), QStringLiteral("PinVoltage"),
        QStringLiteral("LevelAccuracy"), QStringLiteral("VfSpread")};
    for (int i = 0; i < int(std::size(fields)); ++i) {
        auto* label = new QLabel(fields[i].first);
        label->setBuddy(fields[i].second);
        fields[i].second->setObjectName(objectNames[i]);
        fields[i].second->setAccessibleName(QString(fields[i].first).remove(u'&'));
        grid->addWidget(label, i / 3, (i % 3) * 2);
        grid->addWidget(fields[i].second, i / 3, (i % 3) * 2 + 1);
    }
    m_vfSpread->setToolTip(QStringLiteral("Used with the diode only"));
    // Pages take the letters that the settings, Copy and the plot's page leave.
    for (const auto& field : fields) {
        const qsizetype amp = field.first.indexOf(u'&');
        m_mnemonics += field.first[amp + 1].toLower();
    }
    m_mnemonics += QStringLiteral("co");
    for (int column : {1, 3, 5}) {
        grid->setColumnStretch(column, 1);
    }

    connect(m_series, &QComboBox::currentIndexChanged, this, [this] {
        readSettings();
        recompute();
    });
    for (QDoubleSpinBox* box :
         {m_resistorTolerance, m_vrefTolerance, m_levelAccuracy, m_vfSpread, m_pinVoltage}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            readSettings();
            recompute();
        });
    }
    readSettings();
    return group;
}

void AnalysisWindow::readSettings() {
    m_settings.series = calc_core::AllSeries[std::size_t(m_series->currentIndex())];
    m_settings.resistorTolerancePct = m_resistorTolerance->value();
    m_settings.vrefTolerancePct = m_vrefTolerance->value();
    m_settings.levelAccuracyMv = m_levelAccuracy->value();
    m_settings.vfSpreadV = m_vfSpread->value();
    m_settings.pinVoltage = m_pinVoltage->value();
}

void AnalysisWindow::showDesign(calc_core::Tab tab) {
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
    m_outcome = calc_core::AnalyseDesign(*design, m_settings);
    m_report = analysis_report::MakeReport(m_tab, *design, m_settings, m_outcome,
                                           locale().decimalPoint().toStdString());
    m_vfSpread->setEnabled(design->circuit.diode());
    showReport();
}

void AnalysisWindow::showReport() {
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
        Page& page = pageFor(section.name);
        m_pages->setTabVisible(m_pages->indexOf(page.widget), true);
        FillTable(page.table, section);
        page.notes->setText(NotesHtml(section.notes));
        page.notes->setAccessibleDescription(NotesPlain(section.notes));
    }
    m_plot->setPlot(
        analysis_report::MakePlotData(*m_outcome.analysis, locale().decimalPoint().toStdString()));
}

void AnalysisWindow::copyToClipboard() const {
    QGuiApplication::clipboard()->setText(ToQString(analysis_report::ReportText(m_report)));
}

} // namespace analysis_window
