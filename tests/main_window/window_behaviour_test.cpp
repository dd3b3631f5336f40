// Behaviour tests of the calculator window: start state, diode options, CLEAR, CAL and its
// messages.
#include "main_window/colour_value.h"
#include "main_window/orvalen.h"

#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using main_window::Orvalen;
using namespace window_test;

namespace {

// The handlers are public members of the form with exactly these signatures.
[[maybe_unused]] constexpr void (Orvalen::*Handlers[])() = {
    &Orvalen::Form_Load, &Orvalen::Command1_Click, &Orvalen::Command2_Click,
    &Orvalen::Command3_Click, &Orvalen::Command4_Click};
[[maybe_unused]] constexpr void (Orvalen::*IndexHandlers[])(int) = {&Orvalen::Option1_Click,
                                                                    &Orvalen::Option2_Click};

const QStringList AllControls =
    QStringList{"SSTab1", "Command1", "Command2", "Command3", "Command4", "Picture1", "Picture2"} +
    Range("Text1", 5) + Range("Text2", 5) + Range("Label1", 10) + Range("Label2", 3) +
    Range("Label3", 4) + Range("Label5", 7) + Range("Label6", 2) + Range("Option1", 2) +
    Range("Option2", 2) + Range("Frame1", 2) + Range("Frame2", 2);

// The controls whose entries differ between two snapshots.
QStringList Changed(const QStringList& before, const QStringList& after) {
    QStringList names;
    for (int i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            names << AllControls[i];
        }
    }
    return names;
}

} // namespace

class WindowBehaviourTest : public QObject, WindowFixture {
    Q_OBJECT

    bool Shown(const QString& name) const { return !C(name)->isHidden(); }
    bool Selected(const QString& name) const { return C<QRadioButton>(name)->isChecked(); }

    // Every flag, text, selection and colour a handler may touch, one entry per control.
    QStringList Snapshot() const {
        QStringList state;
        for (const QString& name : AllControls) {
            QWidget* w = C(name);
            QString s = w->isHidden() ? "hidden" : "shown";
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QLabel*>(w)) {
                s += QString(" '%1' %2").arg(Text(name)).arg(Colour(name), 6, 16, QChar('0'));
            } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
                s += option->isChecked() ? " selected" : "";
            }
            state << s;
        }
        return state;
    }
    void VerifyShown(const QStringList& shown, const QStringList& hidden) const {
        for (const QString& name : shown) {
            QVERIFY2(Shown(name), qPrintable(name + " should be shown"));
        }
        for (const QString& name : hidden) {
            QVERIFY2(!Shown(name), qPrintable(name + " should be hidden"));
        }
    }

  private slots:
    void initTestCase() {
        // The inputs below are written with a decimal point, whatever the machine's settings.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void init() { QVERIFY(OpenForm()); }
    void cleanup() { CloseForm(); }

    void startsWithCheckNoSelectedAndDiodeRowsHidden() {
        QVERIFY(!Selected("Option1(0)") && !Selected("Option1(1)") && !Selected("Option2(0)"));
        QVERIFY(Selected("Option2(1)"));
        const QStringList hidden{"Label1(8)", "Text1(4)", "Label1(9)", "Text2(4)"};
        QStringList shown = AllControls;
        shown.removeIf([&](const QString& name) { return hidden.contains(name); });
        VerifyShown(shown, hidden);
        for (const QString& name :
             Range("Text1", 5) + Range("Text2", 5) + Range("Label2", 3) + Range("Label3", 4)) {
            QVERIFY2(Text(name).isEmpty(), qPrintable(name));
            if (!name.startsWith("Text2")) {
                QCOMPARE(Colour(name), White);
            }
        }
        QCOMPARE(C<QTabWidget>("SSTab1")->currentIndex(), 1);
    }

    void oneDiodeChoiceSpansBothTabs() {
        Fill(2, "Option2(1)", {"470", "10", "100", "1.2"});
        Click("Option1(0)");
        QVERIFY(Selected("Option1(0)") && !Selected("Option2(0)") && !Selected("Option2(1)"));
        // The Check tab keeps the layout of its last choice, but now has no choice to press with.
        VerifyShown({"Label3(1)", "Label3(3)", "Label5(4)", "Label5(6)"},
                    {"Label1(9)", "Text2(4)"});
        const QStringList before = Snapshot();
        Click("Command3");
        QCOMPARE(prompts, QStringList{SelectDiode});
        Click("Command4");
        QCOMPARE(prompts, QStringList{SelectDiode});
        QCOMPARE(Changed(before, Snapshot()), QStringList());

        // The same the other way round; a Calc press then asks and changes nothing either.
        Click("Option2(0)");
        QVERIFY(!Selected("Option1(0)") && !Selected("Option1(1)"));
        VerifyShown({"Label1(8)", "Text1(4)"}, {"Label2(2)", "Label5(2)"});
        Type("Text1(0)", "10000");
        const QStringList beforeCalc = Snapshot();
        Click("Command1");
        QCOMPARE(prompts, (QStringList{SelectDiode, SelectDiode}));
        QCOMPARE(Changed(beforeCalc, Snapshot()), QStringList());
    }

    // clang-format off
    void diodeOptionSetsItsTabsLayoutAndNothingElse_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        const QStringList inputs{"Label1(4)", "Label1(7)", "Label1(6)", "Label1(5)", "Text2(3)", "Text2(0)", "Text2(1)", "Text2(2)"};
        const QStringList always = inputs + QStringList{"Label5(3)", "Label5(5)", "Label3(0)", "Label3(2)"};
        const QStringList midDelta{"Label5(4)", "Label5(6)", "Label3(1)", "Label3(3)"};
        const QStringList checkVf{"Label1(9)", "Text2(4)"};
        const QStringList calcVf{"Label1(8)", "Text1(4)"};
        const QStringList voMid{"Label2(2)", "Label5(2)"};
        QTest::newRow("Calc Yes") << "Option1(1)" << "Option1(0)" << calcVf << voMid;
        QTest::newRow("Calc No") << "Option1(0)" << "Option1(1)" << voMid << calcVf;
        QTest::newRow("Check Yes") << "Option2(1)" << "Option2(0)" << always + checkVf << midDelta;
        QTest::newRow("Check No") << "Option2(0)" << "Option2(1)" << always + midDelta << checkVf;
    }
    // clang-format on

    void diodeOptionSetsItsTabsLayoutAndNothingElse() {
        QFETCH(QString, from);
        QFETCH(QString, option);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        Fill(1, "Option1(1)", {"1", "2", "3", "4"});
        Fill(2, from, {"5", "6", "7", "8"});
        Click(from);
        // Every listed row the wrong way round, so that only the option can put each one right.
        for (const QString& name : shown + hidden) {
            C(name)->setVisible(hidden.contains(name));
        }
        const QStringList before = Snapshot();
        Click(option);
        VerifyShown(shown, hidden);
        QStringList changed = Changed(before, Snapshot());
        changed.removeIf(
            [&](const QString& name) { return shown.contains(name) || hidden.contains(name); });
        changed.sort();
        QStringList selection{from, option};
        selection.sort();
        QCOMPARE(changed, selection);

        // Selecting it again gives the same layout and nothing else.
        const QStringList after = Snapshot();
        Click(option);
        QCOMPARE(Changed(after, Snapshot()), QStringList());
        QCOMPARE(prompts, QStringList());
    }

    void switchingDiodeKeepsResultsAndHiddenResultReturns() {
        Fill(1, "Option1(1)", {"10000", "2.5", "40", "30"});
        Click("Command1");
        QCOMPARE(Text("Label2(2)"), "35");
        Click("Option1(0)");
        // A "Yes" press writes R1 and R3 and leaves the hidden Vo_mid as it was.
        Type("Text1(4)", "0.6");
        Click("Command1");
        QCOMPARE(Text("Label2(0)"), "24286");
        QCOMPARE(Text("Label2(2)"), "35");
        Click("Option1(1)");
        QVERIFY(Shown("Label2(2)"));
        QCOMPARE(Text("Label2(2)"), "35");
        QCOMPARE(Colour("Label2(2)"), White);
        QCOMPARE(Text("Text1(4)"), "0.6");
        QCOMPARE(prompts, QStringList());
    }

    // clang-format off
    void calcCalSetsDiodeRowsBeforeJudgingFields_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        QTest::newRow("Yes") << "Option1(0)" << QStringList{"Label1(8)", "Text1(4)"} << QStringList{"Label5(2)", "Label2(2)"};
        // "No" hides the Vf row only; the Vo_mid row is the option's business.
        QTest::newRow("No") << "Option1(1)" << QStringList{} << QStringList{"Label1(8)", "Text1(4)", "Label5(2)", "Label2(2)"};
    }
    // clang-format on

    void calcCalSetsDiodeRowsBeforeJudgingFields() {
        QFETCH(QString, option);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        Click(option);
        // A look no option gives, so that only the press can set the rows.
        const bool yes = option == "Option1(0)";
        for (const char* name : {"Label1(8)", "Text1(4)"}) {
            C(name)->setVisible(!yes);
        }
        for (const char* name : {"Label5(2)", "Label2(2)"}) {
            C(name)->setVisible(yes);
        }
        Click("Command1");
        QCOMPARE(prompts, QStringList{InputMissing});
        VerifyShown(shown, hidden);
    }

    // clang-format off
    void calcClearEmptiesAndWhitensHiddenControlsToo_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("Vf box hidden") << "Option1(1)";
        QTest::newRow("Vo_mid hidden") << "Option1(0)";
    }
    // clang-format on

    void calcClearEmptiesAndWhitensHiddenControlsToo() {
        QFETCH(QString, option);
        Fill(1, "Option1(1)", {"10000", "2.5", "40", "2"}, "0.6");
        Click("Command1");
        QCOMPARE(Colour("Text1(2)"), Red);
        Click(option);
        // Under a desktop palette whose boxes are not white, the white written shows; the hidden
        // controls get it too.
        QPalette palette = form->palette();
        palette.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
        palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        form->setPalette(palette);
        const QStringList before = Snapshot();
        Click("Command2");
        const QStringList cleared = Range("Text1", 5) + Range("Label2", 3);
        QCOMPARE(Changed(before, Snapshot()), cleared);
        for (const QString& name : cleared) {
            QVERIFY2(Text(name).isEmpty(), qPrintable(name));
            QCOMPARE(Colour(name), White);
            // Visibility stays as it was.
            QCOMPARE(Shown(name), before[AllControls.indexOf(name)].startsWith("shown"));
        }
        QCOMPARE(prompts, QStringList{CalError});
    }

    // With no Check choice it clears nothing (see oneDiodeChoiceSpansBothTabs).
    // clang-format off
    void checkClearEmptiesHiddenControlsAndWritesNoColour_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("Check Yes") << "Option2(0)";
        QTest::newRow("Check No") << "Option2(1)";
    }
    // clang-format on

    void checkClearEmptiesHiddenControlsAndWritesNoColour() {
        QFETCH(QString, option);
        Fill(2, "Option2(1)", {"470", "10", "100", "1.2"}, "0.6");
        Click("Command3");
        Click(option);
        // A colour of its own on a box and a label shows whether the clear writes any colour.
        main_window::SetBackColor(C("Text2(4)"), 0x00FF00);
        main_window::SetBackColor(C("Label3(3)"), 0x00FF00);
        QStringList expected = Snapshot();
        Click("Command4");
        for (const QString& name : Range("Text2", 5) + Range("Label3", 4)) {
            expected[AllControls.indexOf(name)].replace(QRegularExpression("'.*'"), "''");
        }
        QCOMPARE(Snapshot(), expected);
        QCOMPARE(prompts, QStringList());
    }

    // clang-format off
    void redMarkSurvivesPassingCalUntilCalcClear_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("marked");
        QTest::newRow("Vo_max box") << QStringList{"10000", "2.5", "40", "2"} << "Text1(2)";
        QTest::newRow("Vo_mid result") << QStringList{"100", "2.0", "101.2", "40.2"} << "Label2(2)";
        QTest::newRow("Vo_min box") << QStringList{"2", "0.5", "240.6", "90.8"} << "Text1(3)";
    }
    // clang-format on

    void redMarkSurvivesPassingCalUntilCalcClear() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, marked);
        Fill(1, "Option1(1)", inputs);
        Click("Command1");
        QCOMPARE(Colour(marked), Red);
        Fill(1, "Option1(1)", {"10000", "2.5", "40", "30"});
        Click("Command1");
        QCOMPARE(prompts, QStringList{CalError});
        QCOMPARE(Text("Label2(0)"), "64955");
        QCOMPARE(Colour(marked), Red);
        Click("Option1(0)");
        Click("Option1(1)");
        Click("Command4");
        QCOMPARE(Colour(marked), Red);
        Click("Command2");
        QCOMPARE(Colour(marked), White);
    }

    // clang-format off
    void failingPressLeavesEarlierResultsAndMarks_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("Calc empty field") << 1 << "Text1(1)" << "" << InputMissing;
        QTest::newRow("Calc not a number") << 1 << "Text1(0)" << "abc" << InputError;
        QTest::newRow("Calc zero") << 1 << "Text1(3)" << "0" << InputError;
        QTest::newRow("Check empty field") << 2 << "Text2(2)" << "" << InputMissing;
        QTest::newRow("Check negative") << 2 << "Text2(3)" << "-1" << InputError;
    }
    // clang-format on

    void failingPressLeavesEarlierResultsAndMarks() {
        QFETCH(int, tab);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        const QString cal = tab == 1 ? "Command1" : "Command3";
        // The Calc press leaves R1, R3, Vo_mid and a red Vo_max box behind.
        Fill(tab, tab == 1 ? "Option1(1)" : "Option2(1)",
             tab == 1 ? QStringList{"10000", "2.5", "40", "2"}
                      : QStringList{"470", "10", "100", "1.2"});
        Click(cal);
        prompts.clear();
        Type(field, text);
        const QStringList before = Snapshot();
        Click(cal);
        QCOMPARE(prompts, QStringList{message});
        QCOMPARE(Changed(before, Snapshot()), QStringList());
    }

    // clang-format off
    void calcCalReproducesWorkedExamples_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("inputs"); // R2, Vref, Vo_max, Vo_min
        QTest::addColumn<QString>("vf");
        QTest::addColumn<QStringList>("results"); // R1, R3, Vo_mid
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QStringList>("messages");
        const QString no = "Option1(1)";
        QTest::newRow("no diode") << no << QStringList{"10000", "2.5", "40", "30"} << "" << QStringList{"64955", "7210", "35"} << "" << QStringList{};
        QTest::newRow("diode leaves Vo_mid unwritten") << "Option1(0)" << QStringList{"10000", "2.5", "40", "30"} << "0.6" << QStringList{"24286", "1360", ""} << "" << QStringList{};
        QTest::newRow("offset rounded before sum") << no << QStringList{"1000", "1.0", "35", "10"} << "" << QStringList{"14631", "650", "23"} << "" << QStringList{};
        QTest::newRow("max below min") << no << QStringList{"10000", "2.5", "30", "40"} << "" << QStringList{"195045", "-21650", "35"} << "" << QStringList{};
        QTest::newRow("Vo_max misses") << no << QStringList{"10000", "2.5", "40", "2"} << "" << QStringList{"173171", "-4943", "-17"} << "Text1(2)" << QStringList{CalError};
        QTest::newRow("Vo_mid misses") << no << QStringList{"100", "2.0", "101.2", "40.2"} << "" << QStringList{"151", "3", "66"} << "Label2(2)" << QStringList{CalError};
        QTest::newRow("Vo_min misses") << no << QStringList{"2", "0.5", "240.6", "90.8"} << "" << QStringList{"766", "6", "165"} << "Text1(3)" << QStringList{CalError};
    }
    // clang-format on

    void calcCalReproducesWorkedExamples() {
        QFETCH(QString, option);
        QFETCH(QStringList, inputs);
        QFETCH(QString, vf);
        QFETCH(QStringList, results);
        QFETCH(QString, marked);
        QFETCH(QStringList, messages);
        Fill(1, option, inputs, vf);
        Click("Command1");
        QCOMPARE(prompts, messages);
        QCOMPARE((QStringList{Text("Label2(0)"), Text("Label2(1)"), Text("Label2(2)")}), results);
        QCOMPARE(Shown("Label2(2)"), option == "Option1(1)");
        for (const QString& name : Range("Text1", 5) + Range("Label2", 3)) {
            QCOMPARE(Colour(name), name == marked ? Red : White);
        }
    }

    // clang-format off
    void checkCalReproducesWorkedExamples_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("inputs"); // R1, R2, R3, Vref
        QTest::addColumn<QString>("vf");
        QTest::addColumn<QStringList>("results"); // Vo max, Vo mid, Vo min, Delta
        const QString no = "Option2(1)";
        // Each row follows a press with 330/10/1000/1.0, which shows 34, 34, 34 and 0.0.
        QTest::newRow("no diode") << no << QStringList{"470", "10", "100", "1.2"} << "" << QStringList{"63", "60", "57", "3.0"};
        QTest::newRow("diode keeps mid and Delta") << "Option2(0)" << QStringList{"470", "10", "100", "1.2"} << "0.6" << QStringList{"60", "34", "57", "0.0"};
        QTest::newRow("Delta half to even") << no << QStringList{"300", "4", "37", "1.25"} << "" << QStringList{"104", "99", "95", "4.0"};
        QTest::newRow("Vref below pin levels") << no << QStringList{"100", "100", "12", "0.5"} << "" << QStringList{"4", "-1", "-5", "5.0"};
        QTest::newRow("Vf text ignored without diode") << no << QStringList{"470", "10", "100", "1.2"} << "abc" << QStringList{"63", "60", "57", "3.0"};
    }
    // clang-format on

    void checkCalReproducesWorkedExamples() {
        QFETCH(QString, option);
        QFETCH(QStringList, inputs);
        QFETCH(QString, vf);
        QFETCH(QStringList, results);
        const auto shownResults = [this] {
            return QStringList{Text("Label3(0)"), Text("Label3(1)"), Text("Label3(2)"),
                               Text("Label3(3)")};
        };
        Fill(2, "Option2(1)", {"330", "10", "1000", "1.0"});
        Click("Command3");
        QCOMPARE(shownResults(), (QStringList{"34", "34", "34", "0.0"}));
        Fill(2, option, inputs, vf);
        Click("Command3");
        QCOMPARE(prompts, QStringList());
        QCOMPARE(shownResults(), results);
    }

    void messageBoxHasApplicationTitleAndOnlyOk() {
        Orvalen real; // with the window's own box
        real.show();
        QVERIFY(QTest::qWaitForWindowExposed(&real));
        QString title;
        QString text;
        QList<QAbstractButton*> buttons;
        QMessageBox::StandardButton first = QMessageBox::NoButton;
        QMessageBox::Icon icon = QMessageBox::Warning;
        ExpectModal([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                title = box->windowTitle();
                text = box->text();
                buttons = box->buttons();
                first = box->standardButton(buttons.value(0));
                icon = box->icon();
            }
        });
        real.findChild<QPushButton*>("Command1")->click(); // returns when the box is closed
        QCOMPARE(title, QStringLiteral("Orvalex_KEP"));
        QCOMPARE(text, SelectDiode);
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(first, QMessageBox::Ok);
        QCOMPARE(icon, QMessageBox::NoIcon);
    }

    // A box nobody expects is closed at once, so the run goes on, and fails the test.
    void unexpectedMessageBoxIsClosedAndReported() {
        Orvalen real;
        real.show();
        QVERIFY(QTest::qWaitForWindowExposed(&real));
        real.findChild<QPushButton*>("Command1")->click();
        QCOMPARE(TakeStrayModals(),
                 QStringList{"QMessageBox 'Orvalex_KEP': '" + SelectDiode + "'"});
    }
};

QTEST_MAIN(WindowBehaviourTest)
#include "window_behaviour_test.moc"
