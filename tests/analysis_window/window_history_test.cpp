// Undo and redo of the analysis window on the Calc worked example: every change of a setting or
// a fit is one step back (a number typed digit by digit is one), a row's fit takes its grade's
// tolerance and TCR with it and As designed gives them back, a CAL's return to the design is a
// step too, and Ctrl+Z in a number box is the window's.
#include "window_under_test.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTableWidget>

class WindowHistoryTest : public QObject, window_test::WindowUnderTest {
    Q_OBJECT

    // The settings a fit changes, the spec, and the fit: "spec 5, 1 %, 100 ppm, fit 64900".
    QString State() const {
        const calc_core::AnalysisSettings s = window->settings();
        const auto& fit = window->fit();
        const QString fitted = !fit            ? QStringLiteral("none")
                               : fit->pairRank ? QStringLiteral("pair %1").arg(*fit->pairRank)
                                               : QString::number(fit->r1);
        return QStringLiteral("spec %1, %2 %, %3 ppm, fit %4")
            .arg(s.specPct)
            .arg(s.resistorTolerancePct)
            .arg(s.resistorTcrPpm)
            .arg(fitted);
    }
    // Types into a number box as a user does, digit by digit, and leaves it.
    void TypeNumber(const QString& id, const QString& text) const {
        auto* box = Find<QDoubleSpinBox>(id);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
    // One step of a row: "type Spec 2.5", "set ResistorTolerance 0.5", "fit Parts to buy 4",
    // "As designed", "undo", "redo", "key undo" (Ctrl+Z in the Spec box), "key redo", "CAL".
    void Do(const QString& step) {
        const QStringList words = step.split(' ');
        if (words[0] == "type") {
            TypeNumber(words[1], words[2]);
        } else if (words[0] == "set") {
            Find<QDoubleSpinBox>(words[1])->setValue(words[2].toDouble());
        } else if (words[0] == "fit") {
            const QString section = words.mid(1, words.size() - 2).join(' ');
            Find<QTableWidget>(section)->selectRow(words.last().toInt() - 1);
        } else if (step == "As designed") {
            QTest::mouseClick(Find<QPushButton>("AsDesigned"), Qt::LeftButton);
        } else if (step == "undo" || step == "redo") {
            (step == "undo" ? window->undo() : window->redo());
        } else if (words[0] == "key") {
            Find<QDoubleSpinBox>("Spec")->setFocus();
            QTest::keyClick(Find<QDoubleSpinBox>("Spec"), Qt::Key_Z,
                            words[1] == "undo" ? Qt::ControlModifier
                                               : Qt::ControlModifier | Qt::ShiftModifier);
        } else if (step == "CAL") {
            record.recordCalc(
                calc_core::CalcPress(false, true, {"10000", "2.5", "40", "30", ""}, {}));
        } else {
            QFAIL(qPrintable("no such step: " + step));
        }
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() {
        ShowCalcExample();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    // Grade 1 is E24 5 % 200 ppm/°C, grade 4 E96 1 % 50 ppm/°C with 64.9 k and 7.15 k, grade 7
    // E192 0.1 % 10 ppm/°C with 65.7 k; the settings start at ± 5 %, 1 % and 100 ppm/°C.
    void stepsBackAndForth_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("state");
        const QString start = "spec 5, 1 %, 100 ppm, fit none";
        QTest::newRow("nothing to undo") << QStringList{"undo"} << start;
        QTest::newRow("a number typed is one step")
            << QStringList{"type Spec 2.5", "undo"} << start;
        QTest::newRow("redo types it again")
            << QStringList{"type Spec 2.5", "undo", "redo"} << "spec 2.5, 1 %, 100 ppm, fit none";
        QTest::newRow("two settings, one undone")
            << QStringList{"type Spec 2.5", "set ResistorTolerance 0.5", "undo"}
            << "spec 2.5, 1 %, 100 ppm, fit none";
        QTest::newRow("a grade's fit with its settings")
            << QStringList{"fit Parts to buy 4", "undo"} << start;
        QTest::newRow("a grade's fit redone") << QStringList{"fit Parts to buy 4", "undo", "redo"}
                                              << "spec 5, 1 %, 50 ppm, fit 64900";
        QTest::newRow("As designed after two grades")
            << QStringList{"fit Parts to buy 1", "fit Parts to buy 7", "As designed"} << start;
        QTest::newRow("As designed undone")
            << QStringList{"fit Parts to buy 1", "As designed", "undo"}
            << "spec 5, 5 %, 200 ppm, fit 62000";
        QTest::newRow("a preferred pair keeps the grade's settings")
            << QStringList{"fit Parts to buy 4", "fit Preferred values 2"}
            << "spec 5, 1 %, 50 ppm, fit pair 2";
        QTest::newRow("a preferred pair after a grade, As designed")
            << QStringList{"fit Parts to buy 4", "fit Preferred values 2", "As designed"} << start;
        QTest::newRow("a CAL goes back to the design")
            << QStringList{"fit Parts to buy 4", "CAL"} << start;
        QTest::newRow("the CAL undone")
            << QStringList{"fit Parts to buy 4", "CAL", "undo"} << "spec 5, 1 %, 50 ppm, fit 64900";
        QTest::newRow("a change after undo leaves nothing to redo")
            << QStringList{"type Spec 2.5", "undo", "set ResistorTolerance 0.5", "redo"}
            << "spec 5, 0.5 %, 100 ppm, fit none";
        QTest::newRow("Ctrl+Z in a number box")
            << QStringList{"set ResistorTolerance 0.5", "key undo"} << start;
        QTest::newRow("Ctrl+Shift+Z in a number box")
            << QStringList{"set ResistorTolerance 0.5", "key undo", "key redo"}
            << "spec 5, 0.5 %, 100 ppm, fit none";
    }
    void stepsBackAndForth() {
        QFETCH(QStringList, steps);
        for (const QString& step : steps) {
            Do(step);
        }
        QTEST(State(), "state");
        // The controls show the state, and the report is of it.
        QCOMPARE(Find<QDoubleSpinBox>("ResistorTcr")->value(), window->settings().resistorTcrPpm);
        QCOMPARE(QString::fromStdString(window->report().sections.front().subject)
                     .startsWith(window->fit() ? "As fitted" : "As designed"),
                 true);
    }
};

QTEST_MAIN(WindowHistoryTest)
#include "window_history_test.moc"
