// Tests of the way into the design analysis from the calculator window: the right-click menu and
// its shortcut on the Calc and Check pages, the analysis window following its tab's CAL, Copy of a
// result, About.
#include "window_fixture.h"

#include "analysis_window/analysis_window.h"

#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using analysis_window::AnalysisWindow;
using calc_core::Tab;

namespace {

// One tab's inputs for a press: the diode button, the texts by box index, and the CAL button.
struct Press {
    int tab; // 1 Calc, 2 Check: the digit of Text1/Text2 and Option1/Option2
    bool diode;
    QStringList texts; // Text<tab>(0..4); the Vf box is filled only with the diode
};

const Press CalcExample{1, false, {"10000", "2.5", "40", "30"}};
const Press CalcOther{1, false, {"1000", "1.0", "35", "10"}};
const Press CheckDiode{2, true, {"470", "10", "100", "1.2", "0.6"}};

} // namespace

class DesignMenuTest : public QObject, public window_test::WindowFixture {
    Q_OBJECT

    void Cal(const Press& press) const {
        Click(QString("Option%1(%2)").arg(press.tab).arg(press.diode ? 0 : 1));
        for (int i = 0; i < press.texts.size(); ++i) {
            Type(QString("Text%1(%2)").arg(press.tab).arg(i), press.texts[i]);
        }
        Click(press.tab == 1 ? "Command1" : "Command3");
    }
    static QAction* Action(QMenu* menu, const QString& name) {
        return menu->findChild<QAction*>(name);
    }
    AnalysisWindow* Window() const { return form->findChild<AnalysisWindow*>(); }
    bool WindowShown() const { return Window() && Window()->isVisible(); }
    // Every text, colour, visibility and selection of the calculator window, and CheckResults.
    QStringList Snapshot() const {
        QStringList state = ControlStates();
        const auto& r = form->checkResults();
        state << QString("CheckResults %1 %2 %3 %4")
                     .arg(r.voMax)
                     .arg(r.voMid)
                     .arg(r.voMin)
                     .arg(r.delta);
        return state;
    }
    // The cell of a section of the shown report whose first cell is rowName.
    QString Cell(const char* section, const char* rowName, const char* column) const {
        const auto* found = analysis_report::FindSection(Window()->report(), section);
        const std::string* cell =
            found ? analysis_report::FindCell(*found, rowName, column) : nullptr;
        return cell ? QString::fromStdString(*cell) : QString("no cell ") + rowName;
    }

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // The offscreen platform cannot raise a window or grab the keyboard for a menu, and
        // says so for every popup.
        static const QtMessageHandler toolkit = qInstallMessageHandler(nullptr);
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& at, const QString& m) {
            if (!m.startsWith("This plugin does not support")) {
                toolkit(type, at, m);
            }
        });
    }
    void init() { QVERIFY(OpenForm()); }
    void cleanup() { CloseForm(); }

    // clang-format off
    void menuOffersTheAnalysisAnywhereOnThePageOnceCalHasComputed_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("tab");
        const QStringList calc{"SSTab1 tab 0", "Frame1(0)", "Label1(0)", "Label6(0)", "Option1(0)", "Command1", "Command2", "Label2(1)", "Text1(3)"};
        const QStringList check{"SSTab1 tab 3", "Frame2(1)", "Label5(3)", "Option2(1)", "Command4", "Label3(0)", "Text2(3)"};
        for (const QString& name : calc) {
            QTest::newRow(qPrintable("Calc " + name)) << name << 1;
        }
        for (const QString& name : check) {
            QTest::newRow(qPrintable("Check " + name)) << name << 2;
        }
    }
    // clang-format on

    void menuOffersTheAnalysisAnywhereOnThePageOnceCalHasComputed() {
        QFETCH(QString, target);
        QFETCH(int, tab);
        const Press press = tab == 1 ? CalcExample : CheckDiode;
        // Before the tab's first CAL, and after one that stopped at the input check.
        for (bool tried : {false, true}) {
            if (tried) {
                Click(tab == 1 ? "Command1" : "Command3");
            }
            QMenu* menu = OpenMenu(target);
            QAction* analyse = Action(menu, "AnalyseDesign");
            QVERIFY(!analyse->isEnabled());
            QVERIFY(analyse->text().contains("press CAL first"));
            QCOMPARE(analyse->shortcut(), QKeySequence("Ctrl+D"));
            QVERIFY(Action(menu, "About"));
            menu->close();
        }
        Cal(press);
        Choose(OpenMenu(target), "AnalyseDesign");
        QVERIFY(WindowShown());
        QCOMPARE(Window()->tab(), tab == 1 ? Tab::Calc : Tab::Check);
        QCOMPARE(Cell("Design", "R1", "Value"), tab == 1 ? "64.955 k\u03a9" : "470 \u03a9");
    }

    void shortcutOpensTheAnalysisOfThePageInFront_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Calc, CAL button") << 1 << "Command1";
        QTest::newRow("Calc, input box") << 1 << "Text1(1)";
        QTest::newRow("Check, input box") << 2 << "Text2(4)";
        QTest::newRow("Check, diode button") << 2 << "Option2(0)";
    }
    void shortcutOpensTheAnalysisOfThePageInFront() {
        QFETCH(int, tab);
        QFETCH(QString, focus);
        const Press press = tab == 1 ? CalcExample : CheckDiode;
        const auto ctrlD = [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
        };
        Click(QString("Option%1(%2)").arg(tab).arg(press.diode ? 0 : 1));
        C(focus)->setFocus();
        ctrlD();
        QVERIFY(!WindowShown());

        Cal(press);
        C(focus)->setFocus();
        const QStringList before = Snapshot();
        ctrlD();
        QVERIFY(WindowShown());
        QCOMPARE(Window()->tab(), tab == 1 ? Tab::Calc : Tab::Check);
        // The key is not one an input box edits with.
        QCOMPARE(Snapshot(), before);

        Window()->close();
        C<QTabWidget>("SSTab1")->setCurrentIndex(1);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        C("SSTab1")->setFocus();
        ctrlD();
        QVERIFY(!WindowShown());
    }

    void windowFollowsTheNextCalOfItsOwnTabOnly() {
        Cal(CalcExample);
        QVERIFY(form->findChildren<AnalysisWindow*>().isEmpty()); // built when first opened
        Choose(OpenMenu("Label2(0)"), "AnalyseDesign");
        const auto voAtLow = [&] { return Cell("Levels", "0.140 V", "Vo"); };
        QCOMPARE(voAtLow(), "40.000 V");

        // Another tab's CAL, CLEAR, and a CAL that ends at the input check change nothing.
        Cal(CheckDiode);
        Click("Command2");
        Click("Option1(1)");
        Click("Command1");
        QCOMPARE(prompts, QStringList{window_test::InputMissing});
        QCOMPARE(Window()->tab(), Tab::Calc);
        QCOMPARE(voAtLow(), "40.000 V");

        Cal(CalcOther);
        QCOMPARE(Cell("Design", "R1", "Value"), "14.631 k\u03a9");
        QCOMPARE(voAtLow(), "34.989 V"); // from R1 14631 and R3 650 as shown

        // Opened from the Check tab it shows that tab's design, and follows Check only.
        Choose(OpenMenu("SSTab1 tab 3"), "AnalyseDesign");
        QCOMPARE(Window()->tab(), Tab::Check);
        QCOMPARE(form->findChildren<AnalysisWindow*>().size(), 1);
        Cal(CalcExample);
        QCOMPARE(Cell("Design", "R1", "Value"), "470 \u03a9");
    }

    void analysisNeverTouchesTheCalculatorWindow() {
        Cal(CheckDiode);
        // Vo_min 2 marks Vo_max red; a message comes with it.
        Cal({1, false, {"10000", "2.5", "40", "2"}});
        const QStringList before = Snapshot();
        const QStringList messages = prompts;

        Choose(OpenMenu("Text1(0)"), "AnalyseDesign");
        Window()->findChild<QComboBox*>("Series")->setCurrentIndex(5);
        for (QDoubleSpinBox* box : Window()->findChildren<QDoubleSpinBox*>()) {
            box->setValue(box->value() + 1);
        }
        QTest::mouseClick(Window()->findChild<QPushButton*>("CopyAnalysis"), Qt::LeftButton);
        Choose(OpenMenu("Label3(2)"), "AnalyseDesign");
        Window()->close();
        QCOMPARE(Snapshot(), before);
        QCOMPARE(prompts, messages);
    }

    void copyOnAResultLabelTakesExactlyTheShownText_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Calc R1") << "Label2(0)"
                                 << "64955";
        QTest::newRow("Calc Vo_mid") << "Label2(2)"
                                     << "35";
        QTest::newRow("Check Delta") << "Label3(3)"
                                     << "3.0";
    }
    void copyOnAResultLabelTakesExactlyTheShownText() {
        QFETCH(QString, label);
        QFETCH(QString, shown);
        QGuiApplication::clipboard()->setText("before");
        QMenu* menu = OpenMenu(label);
        QVERIFY(!Action(menu, "CopyResult")->isEnabled());
        menu->close();
        Cal(label.startsWith("Label2") ? CalcExample : Press{2, false, CheckDiode.texts.mid(0, 4)});
        Choose(OpenMenu(label), "CopyResult");
        QCOMPARE(QGuiApplication::clipboard()->text(), shown);
    }

    // A new user learns from the CAL buttons and results where the analysis is; nothing else on
    // the pages gets a tooltip.
    void calButtonsAndResultsNameTheAnalysisAndItsKey() {
        for (const char* name :
             {"Command1", "Command3", "Label2(0)", "Label2(2)", "Label3(0)", "Label3(3)"}) {
            const QString tip = C(name)->toolTip();
            QVERIFY2(tip.contains("design analysis") && tip.contains("Ctrl+D"), name);
        }
        for (const char* name : {"Command2", "Command4", "Text1(0)", "Label1(0)", "Option1(0)"}) {
            QVERIFY2(C(name)->toolTip().isEmpty(), name);
        }
    }

    void inputBoxesKeepTheirEditMenu() {
        Type("Text2(0)", "470");
        QMenu* menu = OpenMenu("Text2(0)");
        QStringList texts;
        for (QAction* action : menu->actions()) {
            texts << action->text().remove('&').split('\t').first();
        }
        for (const char* entry : {"Undo", "Cut", "Copy", "Paste", "Select All"}) {
            QVERIFY2(texts.contains(entry), qPrintable(texts.join(", ")));
        }
        QVERIFY(Action(menu, "AnalyseDesign") && Action(menu, "About"));
        menu->close();
    }

    void aboutNamesTheVersionAndTheLicence() {
        QStringList shown; // heading, description, licence text; the fixture then closes it
        ExpectModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            shown = QStringList{box->text(), box->informativeText(), box->detailedText()};
        });
        Choose(OpenMenu("Label1(4)"), "About");
        QTRY_COMPARE(shown.size(), 3);
        QVERIFY(shown[0].contains("Orvalex KEP CAL") && shown[0].contains("1.00"));
        QVERIFY(shown[1].contains("GPL-3.0-or-later"));
        QVERIFY(shown[2].contains("GNU GENERAL PUBLIC LICENSE"));
    }
};

QTEST_MAIN(DesignMenuTest)
#include "design_menu_test.moc"
