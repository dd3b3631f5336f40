// Tests of the design analysis window, built straight from a record of designs as the
// calculator's presses make them: its report, settings, Copy, plot and keyboard use.
#include "analysis_report/analysis_report.h"
#include "analysis_report/number_format.h"
#include "analysis_window/analysis_window.h"
#include "analysis_window/design_record.h"
#include "analysis_window/histogram_plot.h"
#include "analysis_window/qt_text.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLayout>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using analysis_window::AnalysisWindow;
using analysis_window::DesignRecord;
using calc_core::Tab;

namespace {

// A press's five boxes; the Vf box is read with the diode only.
struct Press {
    Tab tab;
    bool diode;
    calc_core::TabInputTexts texts;
};

const Press CalcExample{Tab::Calc, false, {"10000", "2.5", "40", "30", ""}};
const Press CheckDiode{Tab::Check, true, {"470", "10", "100", "1.2", "0.6"}};
// Vo_max below Vo_min: the press shows a negative R3 and flags the design.
const Press CalcNegativeR3{Tab::Calc, false, {"10000", "2.5", "30", "40", ""}};

} // namespace

class AnalysisWindowTest : public QObject {
    Q_OBJECT

    DesignRecord record;
    std::unique_ptr<AnalysisWindow> window;

    // Records the press's design as the calculator does, and shows the window on its tab.
    void Show(const Press& press) {
        const calc_core::NumberLocale locale;
        if (press.tab == Tab::Calc) {
            record.recordCalc(calc_core::CalcPress(press.diode, !press.diode, press.texts, locale));
        } else {
            calc_core::CheckResults results;
            record.recordCheck(
                calc_core::CheckPress(press.diode, !press.diode, press.texts, locale, results));
        }
        window = std::make_unique<AnalysisWindow>(&record, nullptr);
        window->showDesign(press.tab);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename T = QWidget> T* Find(const char* name) const {
        T* found = window->findChild<T*>(name);
        if (!found) {
            qFatal("no %s", name);
        }
        return found;
    }
    // The cell of a section of the shown report whose first cell is rowName.
    QString Cell(const char* section, const char* rowName, const char* column) const {
        const auto* found = analysis_report::FindSection(window->report(), section);
        const std::string* cell =
            found ? analysis_report::FindCell(*found, rowName, column) : nullptr;
        return cell ? QString::fromStdString(*cell) : QString("no cell ") + rowName;
    }
    QString Note(const char* section, std::size_t index) const {
        const auto* found = analysis_report::FindSection(window->report(), section);
        return found && index < found->notes.size()
                   ? QString::fromStdString(found->notes[index].text)
                   : QString();
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { window.reset(); }

    void copyPutsTheWholeAnalysisOnTheClipboard() {
        Show(CalcExample);
        QTest::mouseClick(Find<QPushButton>("CopyAnalysis"), Qt::LeftButton);
        const QString text = QGuiApplication::clipboard()->text();
        QCOMPARE(text, QString::fromStdString(analysis_report::ReportText(window->report())));
        const QStringList lines = text.split('\n');
        // The pin's fault states of the worked example, one tab-separated row each.
        QVERIFY(lines.contains("Pin\tPin voltage\tVo\tAgainst the normal levels"));
        QVERIFY(lines.contains("At 0 V\t0.000 V\t41.261 V\tovervoltage risk"));
        QVERIFY(lines.contains("Open\tnot driven\t18.739 V\tnot higher"));
        for (const char* table :
             {"Design", "Settings", "Levels", "Preferred values", "Tolerances"}) {
            QVERIFY2(lines.contains(table), qPrintable(table));
        }
    }

    void diodeThatBlocksIsStatedWithBothOutputs() {
        Show(CheckDiode);
        QCOMPARE(Cell("Levels", "0.700 V", "Vo"), "57.600 V");
        QCOMPARE(Cell("Levels", "0.700 V", "Diode"), "blocks");
        QCOMPARE(Cell("Levels", "0.700 V", "Vo by the tabs' formula"), "57.130 V");
        QCOMPARE(Cell("Levels", "0.140 V", "Diode"), "conducts");
        QVERIFY(Note("Levels", 1).contains("R1: 7.297 W"));
        QVERIFY(Find<QDoubleSpinBox>("VfSpread")->isEnabled());
        // The cell that warns is shown in bold in its table.
        auto* levels = Find<QTableWidget>("Levels");
        QVERIFY(levels->item(1, 2)->font().bold());
        QVERIFY(!levels->item(0, 2)->font().bold());
    }

    void designItCannotAnalyseGivesASentence() {
        Show(CalcNegativeR3);
        QVERIFY(!window->report().reason.empty());
        QVERIFY(window->findChild<QTabWidget*>()->isHidden());
        QStringList texts;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            texts << label->text();
        }
        QVERIFY(texts.contains(QString::fromStdString(window->report().reason)));
        const QString all = texts.join('\n') +
                            QString::fromStdString(analysis_report::ReportText(window->report()));
        for (const char* bad : {"nan", "inf", "-0 ", "-0.000"}) {
            QVERIFY2(!all.contains(bad, Qt::CaseInsensitive), bad);
        }
    }

    void settingsRecomputeAtOnce() {
        Show(CalcExample);
        QVERIFY(!Find<QDoubleSpinBox>("VfSpread")->isEnabled());
        Find<QComboBox>("Series")->setCurrentText("E192");
        QVERIFY(Note("Preferred values", 0).startsWith("Pairs of E192"));
        Find<QDoubleSpinBox>("PinVoltage")->setValue(5);
        QCOMPARE(Cell("Pin faults", "At the set voltage", "Pin voltage"), "5.000 V");
        // The plot runs to the new pin voltage, where R3 pulls the output below 0 V.
        auto* plot = Find("Plot");
        window->findChild<QTabWidget*>()->setCurrentWidget(plot->parentWidget());
        QVERIFY(plot->accessibleDescription().contains("to -3.784 V at 5.000 V"));
        QVERIFY(!plot->grab().isNull());
        Find<QDoubleSpinBox>("ResistorTolerance")->setValue(0);
        Find<QDoubleSpinBox>("VrefTolerance")->setValue(0);
        Find<QDoubleSpinBox>("LevelAccuracy")->setValue(0);
        Find<QDoubleSpinBox>("ResistorTcr")->setValue(0);
        QCOMPARE(Cell("Tolerances", "Worst-case max", "0.140 V"), "40.000 V");
    }

    // A pair is fitted by selecting its row or by typing it; its figures stand beside the
    // designed ones until "As designed" or the tab's next CAL.
    void fitShowsThePairBesideTheDesign_data() {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("fittedVo");
        QTest::addColumn<QString>("margin");
        QTest::newRow("best pair's row") << false
                                         << "As fitted: R1 64.9 k\u03a9, R3 7.15 k\u03a9, "
                                            "preferred pair 1"
                                         << "30.071 V"
                                         << "-0.017 V";
        QTest::newRow("typed") << true << "As fitted: R1 65 k\u03a9, R3 7.15 k\u03a9, as typed"
                               << "30.114 V"
                               << "-0.062 V";
    }
    void fitShowsThePairBesideTheDesign() {
        QFETCH(bool, typed);
        QFETCH(QString, subject);
        Show(CalcExample);
        if (typed) {
            Find<QDoubleSpinBox>("FitR1")->setValue(65000);
            Find<QDoubleSpinBox>("FitR3")->setValue(7150);
            QTest::mouseClick(Find<QPushButton>("FitTyped"), Qt::LeftButton);
        } else {
            Find<QTableWidget>("Preferred values")->selectRow(0);
        }
        QCOMPARE(Cell("Levels", "1.250 V", "Designed Vo"), "30.000 V");
        QTEST(Cell("Levels", "1.250 V", "Fitted Vo"), "fittedVo");
        QCOMPARE(Find<QLabel>("Levels pair")->text(), subject);
        QCOMPARE(Find<QLabel>("Output spec pair")->text(), subject);
        QTEST(Cell("Output spec", "1.250 V", "Margin"), "margin");
        // Settings keep the fit; the way back leaves it.
        Find<QDoubleSpinBox>("PinVoltage")->setValue(5);
        QCOMPARE(Find<QLabel>("Levels pair")->text(), subject);
        QTest::mouseClick(Find<QPushButton>("AsDesigned"), Qt::LeftButton);
        QCOMPARE(Cell("Levels", "1.250 V", "Vo"), "30.000 V");
        QVERIFY(Find<QLabel>("Levels pair")->text().startsWith("As designed: R1 64.955 k"));
        // Fitted again, the tab's next CAL goes back to the design as it is.
        Find<QTableWidget>("Preferred values")->selectRow(1);
        QVERIFY(Find<QLabel>("Levels pair")->text().endsWith("preferred pair 2"));
        record.recordCalc(calc_core::CalcPress(false, true, CalcExample.texts, {}));
        QVERIFY(Find<QLabel>("Levels pair")->text().startsWith("As designed"));
    }

    // A level whose worst-case band leaves the spec is a flagged cell and a warning.
    void specFailureIsAWarning_data() {
        QTest::addColumn<double>("tcr");
        QTest::addColumn<QString>("meets");
        QTest::addColumn<QString>("margin");
        QTest::newRow("within 4 % at 25 \u00b0C") << 0.0 << "yes"
                                                  << "0.330 V";
        QTest::newRow("drift over -40 to 85 \u00b0C") << 100.0 << "no"
                                                      << "-0.177 V";
    }
    void specFailureIsAWarning() {
        QFETCH(double, tcr);
        Show(CalcExample);
        Find<QDoubleSpinBox>("Spec")->setValue(4);
        Find<QDoubleSpinBox>("ResistorTcr")->setValue(tcr);
        QTEST(Cell("Output spec", "0.140 V", "Meets"), "meets");
        QTEST(Cell("Output spec", "0.140 V", "Margin"), "margin");
        const auto* spec = analysis_report::FindSection(window->report(), "Output spec");
        const bool fails = tcr > 0;
        QCOMPARE(spec->flagged.size(), fails ? 6u : 0u);
        QCOMPARE(spec->notes.back().warning, fails);
        QCOMPARE(Find<QTableWidget>("Output spec")->item(0, 4)->font().bold(), fails);
    }

    // Export chooses the document by the file's suffix, in any case; any other suffix writes
    // nothing. (same_cells_test compares the bytes with the command line's.)
    void exportChoosesByTheSuffix_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("html") << "analysis.html" << QByteArray("<!DOCTYPE html>\n");
        QTest::newRow("htm in capitals") << "ANALYSIS.HTM" << QByteArray("<!DOCTYPE html>\n");
        QTest::newRow("csv") << "analysis.csv" << QByteArray("Document\r\nItem,Value\r\n");
        QTest::newRow("text file") << "analysis.txt" << QByteArray();
        QTest::newRow("no suffix") << "analysis" << QByteArray();
    }
    void exportChoosesByTheSuffix() {
        QFETCH(QString, file);
        QFETCH(QByteArray, start);
        Show(CheckDiode);
        QTemporaryDir folder;
        const QString path = folder.filePath(file);
        QCOMPARE(window->exportReport(path, QDate(2025, 12, 31)), !start.isEmpty());
        QFile written(path);
        QCOMPARE(written.exists(), !start.isEmpty());
        if (written.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = written.readAll();
            QVERIFY(bytes.startsWith(start));
            QVERIFY(bytes.contains("2025-12-31"));
        }
    }

    // Print goes through Qt's printer, here to a PDF file of a few pages on either paper.
    void printMakesAPdf_data() {
        QTest::addColumn<QPageSize::PageSizeId>("paper");
        QTest::newRow("A4") << QPageSize::A4;
        QTest::newRow("Letter") << QPageSize::Letter;
    }
    void printMakesAPdf() {
        QFETCH(QPageSize::PageSizeId, paper);
        Show(CalcExample);
        QTemporaryDir folder;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("analysis.pdf"));
        printer.setPageSize(QPageSize(paper));
        window->printReport(printer, QDate(2025, 12, 31));
        QFile pdf(printer.outputFileName());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        // The tables and the plot's picture take more than one page.
        QVERIFY2(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") >= 2 ||
                     bytes.count("/Type /Page ") >= 2,
                 qPrintable(QString::number(bytes.size())));
        QVERIFY(bytes.contains("/Subtype /Image"));
    }

    // Every shortcut letter of the window's buttons, labels and pages (of the report and of the
    // settings) is its own, also with every page of the report shown.
    void shortcutsDoNotClash_data() {
        QTest::addColumn<bool>("yield");
        QTest::newRow("Check with the diode") << false;
        QTest::newRow("Calc with the parts to buy and the yield") << true;
    }
    void shortcutsDoNotClash() {
        QFETCH(bool, yield);
        Show(yield ? CalcExample : CheckDiode);
        if (yield) {
            Find<QSpinBox>("Boards")->setValue(1000);
            Find<QCheckBox>("EstimateYield")->setChecked(true);
            QVERIFY(QTest::qWaitFor(
                [&] { return analysis_report::FindSection(window->report(), "Yield"); }, 20000));
            QVERIFY(analysis_report::FindSection(window->report(), "Best builds"));
        }
        QStringList captions;
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            captions << button->text();
        }
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->buddy() != nullptr) {
                captions << label->text();
            }
        }
        for (const QTabBar* pages : window->findChildren<QTabBar*>()) {
            for (int i = 0; i < pages->count(); ++i) {
                captions << pages->tabText(i);
            }
        }
        QString letters;
        for (const QString& caption : captions) {
            const QChar letter = analysis_window::ShortcutLetter(caption);
            QVERIFY2(letter.isNull() || !letters.contains(letter), qPrintable(caption));
            letters += letter.isNull() ? QString() : QString(letter);
        }
        for (const char* name : {"ExportAnalysis", "PrintAnalysis"}) {
            QVERIFY(!analysis_window::ShortcutLetter(Find<QPushButton>(name)->text()).isNull());
        }
    }

    // The window fits a 1280 × 720 screen: its least size is at most 800 × 600, and there every
    // part has its room (the layout's least size fits), no label is cut, and on each page of the
    // report no text stands over the table, the yield's histograms included.
    void fitsASmallScreen() {
        Show(CalcExample);
        Find<QDoubleSpinBox>("Spec")->setValue(1.5); // the longest notes of Parts to buy
        Find<QSpinBox>("Boards")->setValue(1000);
        Find<QCheckBox>("EstimateYield")->setChecked(true);
        QVERIFY(QTest::qWaitFor(
            [&] { return analysis_report::FindSection(window->report(), "Yield"); }, 20000));
        QVERIFY(window->minimumWidth() <= 800 && window->minimumHeight() <= 600);
        window->resize(window->minimumSize());
        auto* pages = Find<QTabWidget>("AnalysisPages");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QApplication::processEvents();
            const QSize least = window->layout()->totalMinimumSize();
            QVERIFY2(least.width() <= window->width() && least.height() <= window->height(),
                     qPrintable(QString("%1 x %2").arg(least.width()).arg(least.height())));
            for (const QLabel* label : window->findChildren<QLabel*>()) {
                if (!label->isVisibleTo(window.get()) || label->text().isEmpty()) {
                    continue;
                }
                const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                     : label->minimumSizeHint().height();
                QVERIFY2(
                    label->height() >= needed &&
                        (label->wordWrap() || label->width() >= label->minimumSizeHint().width()),
                    qPrintable(label->text().left(60)));
            }
            for (const QTableWidget* table :
                 pages->currentWidget()->findChildren<QTableWidget*>()) {
                const QRect area(table->mapTo(pages, QPoint()), table->size());
                for (const QWidget* other :
                     table->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                    QVERIFY2(
                        other == table || !other->isVisible() ||
                            !area.intersects(QRect(other->mapTo(pages, QPoint()), other->size())),
                        qPrintable(pages->tabText(i)));
                }
            }
        }
    }

    // The histograms' round ticks across stand apart and are at least two, as narrow as a chart
    // gets: the worked example's 1.25 V chart spans 28.41 V to 31.59 V, where 4 ticks at most gave
    // the 30 alone.
    void histogramTicksCanBeRead_data() {
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("width");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("1.25 V, narrow") << 28.41 << 31.59 << 150.0 << QStringList{"29", "30", "31"};
        QTest::newRow("1.25 V, wide")
            << 28.41 << 31.59 << 600.0
            << QStringList{"28.5", "29.0", "29.5", "30.0", "30.5", "31.0", "31.5"};
        QTest::newRow("0.14 V") << 37.88 << 42.12 << 150.0
                                << QStringList{"38", "39", "40", "41", "42"};
        QTest::newRow("too narrow for two")
            << 28.41 << 31.59 << 20.0 << QStringList{"29", "30", "31"};
    }
    void histogramTicksCanBeRead() {
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(double, width);
        const QFontMetrics metrics(QApplication::font());
        const analysis_report::AxisTicks ticks =
            analysis_window::ReadableTicks(lo, hi, width, metrics, ".");
        QStringList labels;
        for (double value : ticks.values) {
            labels << QString::fromStdString(
                analysis_report::FormatFixed(value, ticks.decimals, "."));
        }
        QTEST(labels, "labels");
    }

    // From the first field, the Tab key goes round every field of the window, each named for
    // assistive technology.
    void keyboardReachesEveryNamedField() {
        Show(CheckDiode);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QStringList reached;
        for (int i = 0; i < 60; ++i) {
            QWidget* focus = window->focusWidget();
            // A button is named by its caption; a combo box reads out its value on this system.
            QString name = focus->accessibleName();
            if (name.isEmpty()) {
                name = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            }
            QVERIFY2(!name.isEmpty(), focus->metaObject()->className());
            reached << name;
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        for (const char* name :
             {"Design", "Settings groups", "Series", "Resistor tolerance", "Vref tolerance",
              "Pin voltage", "Pin level accuracy", "Vf spread", "Lowest temperature", "Vf tempco",
              "Output spec", "Fitted R1", "Fitted R3", "Fitted R2", "Analysis pages", "Levels",
              "Levels notes", "Copy", "Close"}) {
            QVERIFY2(reached.contains(name), qPrintable(reached.join(", ")));
        }
    }
};

QTEST_MAIN(AnalysisWindowTest)
#include "analysis_window_test.moc"
