// Tests of the design analysis window, built straight from a record of designs as the
// calculator's presses make them: its report, settings, Copy, plot and keyboard use.
#include "analysis_report/analysis_report.h"
#include "analysis_window/analysis_window.h"
#include "analysis_window/design_record.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

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
        QCOMPARE(Cell("Tolerances", "Worst-case max", "0.140 V"), "40.000 V");
    }

    // From the first field, the Tab key goes round every field of the window, each named for
    // assistive technology.
    void keyboardReachesEveryNamedField() {
        Show(CheckDiode);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QStringList reached;
        for (int i = 0; i < 30; ++i) {
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
        for (const char* name : {"Design", "Series", "Resistor tolerance", "Vref tolerance",
                                 "Pin voltage", "Pin level accuracy", "Vf spread", "Analysis pages",
                                 "Levels", "Levels notes", "Copy", "Close"}) {
            QVERIFY2(reached.contains(name), qPrintable(reached.join(", ")));
        }
    }
};

QTEST_MAIN(AnalysisWindowTest)
#include "analysis_window_test.moc"
