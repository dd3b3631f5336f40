// The analysis window's parts to buy on the Calc worked example: each grade's best build as
// worked out by hand (every build near the design judged over its 32 corners), a selected build
// fitted with its grade's tolerance and TCR, the lists typed as text (a bad line changes nothing)
// and settings of every kind as a design file gives them.
#include "window_under_test.h"

#include "analysis_window/qt_text.h"
#include "analysis_window/settings_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>

using window_test::Number;

class WindowPartsTest : public QObject, window_test::WindowUnderTest {
    Q_OBJECT

    void SetSpec(double spec) { Find<QDoubleSpinBox>("Spec")->setValue(spec); }
    // The smallest margin of the shown set over the levels.
    double SmallestMargin() const {
        double smallest = std::numeric_limits<double>::infinity();
        for (const char* level : {"0.140 V", "0.700 V", "1.250 V"}) {
            smallest = std::min(smallest, Number(Cell("Output spec", level, "Margin")));
        }
        return smallest;
    }
    // The text of a list's setting ("Grades" or "Parts") as the window holds it.
    QString ListText(const QString& id) const {
        const auto* row = calc_core::FindSetting(id == "Grades" ? "grades" : "parts");
        return QString::fromStdString(calc_core::SettingText(*row, window->settings()));
    }
    // Puts the text into a list's box and waits for the pause after typing to take it or say why.
    bool TypeList(const QString& id, const QString& text) {
        const QString before = ListText(id);
        Find<QPlainTextEdit>(id)->setPlainText(text);
        auto* problem = Find<QLabel>(id + "Problem");
        return QTest::qWaitFor([&] { return !problem->isHidden() || ListText(id) != before; });
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { ShowCalcExample(); }
    void cleanup() { window.reset(); }

    // Worked out by hand at ± 5 %: R1 and R3 within 20 % of the design's of each series, every
    // build judged over the corners of its grade's box with Vref ± 1 % and the pin level ± 10 mV
    // from -40 °C to 85 °C; the margin is the smallest over the levels, the tightest spec the
    // smallest that some build meets.
    void eachGradesBestBuild_data() {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("r1");
        QTest::addColumn<QString>("r3");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("meets");
        QTest::addColumn<double>("tightest");
        QTest::newRow("E24 5 % 200") << "1"
                                     << "62 k\u03a9"
                                     << "6.8 k\u03a9" << -3.3131 << "no" << 14.113;
        QTest::newRow("E24 1 % 100") << "2"
                                     << "62 k\u03a9"
                                     << "6.8 k\u03a9" << -0.4599 << "no" << 6.467;
        QTest::newRow("E96 1 % 100") << "3"
                                     << "64.9 k\u03a9"
                                     << "7.15 k\u03a9" << -0.0173 << "no" << 5.058;
        QTest::newRow("E96 1 % 50") << "4"
                                    << "64.9 k\u03a9"
                                    << "7.15 k\u03a9" << 0.1706 << "yes" << 4.431;
        QTest::newRow("E192 0.5 % 25") << "5"
                                       << "63.4 k\u03a9"
                                       << "6.81 k\u03a9" << 0.6225 << "yes" << 2.936;
        QTest::newRow("E192 0.1 % 25") << "6"
                                       << "65.7 k\u03a9"
                                       << "7.41 k\u03a9" << 0.8451 << "yes" << 2.183;
        QTest::newRow("E192 0.1 % 10") << "7"
                                       << "65.7 k\u03a9"
                                       << "7.41 k\u03a9" << 0.8999 << "yes" << 2.000;
    }
    void eachGradesBestBuild() {
        QFETCH(QString, grade);
        QTEST(Cell("Parts to buy", grade, "R1"), "r1");
        QTEST(Cell("Parts to buy", grade, "R3"), "r3");
        QCOMPARE(Cell("Parts to buy", grade, "R2"), "10 k\u03a9");
        QFETCH(double, margin);
        QVERIFY(std::abs(Number(Cell("Parts to buy", grade, "Margin")) - margin) <= 0.0006);
        QTEST(Cell("Parts to buy", grade, "Meets spec"), "meets");
        QFETCH(double, tightest);
        QVERIFY(std::abs(Number(Cell("Parts to buy", grade, "Tightest spec")) - tightest) <= 6e-4);
        QVERIFY(
            Notes("Parts to buy").contains("Buy grade 4, E96 \u00b1 1 % \u00b1 50 ppm/\u00b0C"));
        QCOMPARE(Cell("Best builds", "1", "R1"), "64.9 k\u03a9");
    }

    // Selecting a build fits it and takes its grade's tolerance and TCR into the settings: the
    // shown set's smallest margin is then the build's, as worked out above, and the pages say
    // whose build it is; at ± 1.5 % no grade meets, and grade 7 comes nearest (65.7 kΩ and
    // 7.41 kΩ, ± 2.000 %), whose builds Best builds shows. As designed gives the settings back.
    void selectingABuildFitsItWithItsGrade_data() {
        QTest::addColumn<double>("spec");
        QTest::addColumn<QString>("section");
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<double>("tcr");
        QTest::addColumn<double>("r1");
        QTest::addColumn<double>("r3");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("origin");
        QTest::newRow("± 5 %, grade 4") << 5.0 << "Parts to buy" << 3 << 1.0 << 50.0 << 64900.0
                                        << 7150.0 << 0.1706 << "grade 4's best build";
        QTest::newRow("± 5 %, best build 2") << 5.0 << "Best builds" << 1 << 1.0 << 50.0 << 63400.0
                                             << 6810.0 << 0.1407 << "grade 4's build 2";
        QTest::newRow("± 1.5 %, grade 7") << 1.5 << "Parts to buy" << 6 << 0.1 << 10.0 << 65700.0
                                          << 7410.0 << -0.1714 << "grade 7's best build";
        QTest::newRow("± 1.5 %, nearest build 3")
            << 1.5 << "Best builds" << 2 << 0.1 << 10.0 << 66500.0 << 7590.0 << -0.218
            << "grade 7's build 3";
    }
    void selectingABuildFitsItWithItsGrade() {
        QFETCH(double, spec);
        QFETCH(QString, section);
        QFETCH(int, row);
        QFETCH(double, r1);
        QFETCH(double, r3);
        QFETCH(double, margin);
        SetSpec(spec);
        QVERIFY(Section("Best builds"));
        QCOMPARE(Section("Best builds")->subject.find("nearest the spec") != std::string::npos,
                 spec < 5);
        if (spec < 5) {
            QVERIFY(Notes("Parts to buy")
                        .contains("No grade meets the \u00b1 1.5 % spec. Grade 7 (E192 "
                                  "\u00b1 0.1 % \u00b1 10 ppm/\u00b0C) comes nearest, reaching "
                                  "\u00b1 2.000"));
        }
        Find<QTableWidget>(section)->selectRow(row);
        QTEST(Find<QDoubleSpinBox>("ResistorTolerance")->value(), "tolerance");
        QTEST(Find<QDoubleSpinBox>("ResistorTcr")->value(), "tcr");
        QCOMPARE(Find<QDoubleSpinBox>("FitR1")->value(), r1);
        QCOMPARE(Find<QDoubleSpinBox>("FitR3")->value(), r3);
        QCOMPARE(Find<QDoubleSpinBox>("FitR2")->specialValueText(),
                 Find<QDoubleSpinBox>("FitR2")->text()); // R2 as designed
        QVERIFY(window->fit() && !window->fit()->pairRank && window->fit()->r1 == r1);
        QFETCH(QString, origin);
        QVERIFY2(Find<QLabel>("Levels pair")->text().endsWith(", " + origin),
                 qPrintable(Find<QLabel>("Levels pair")->text()));
        QVERIFY2(std::abs(SmallestMargin() - margin) <= 0.0006,
                 qPrintable(Cell("Output spec", "0.140 V", "Margin")));
        // The row stays selected as the report comes again, until another fit.
        QCOMPARE(Find<QTableWidget>(section)->selectedItems().front()->row(), row);
        QTest::mouseClick(Find<QPushButton>("AsDesigned"), Qt::LeftButton);
        QVERIFY(Find<QTableWidget>(section)->selectedItems().isEmpty());
        // The settings the fit changed are as they were before it.
        QCOMPARE(Find<QDoubleSpinBox>("ResistorTolerance")->value(), 1.0);
        QCOMPARE(Find<QDoubleSpinBox>("ResistorTcr")->value(), 100.0);
    }

    // A list typed with a bad line says why under it and changes neither the settings nor the
    // report; a good one is taken, comments and blank lines passed over, parts sorted.
    void typedListTakesOnlyAGoodText_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem"); // the start of the sentence; empty: taken
        QTest::addColumn<QString>("taken");   // the list's text in the settings after
        const QString grades =
            QString::fromStdString(calc_core::DefaultListText(*calc_core::FindSetting("grades")));
        QTest::newRow("a part that is no resistance") << "Parts"
                                                      << "10k\nfoo\n"
                                                      << "Line 2: 'foo' is not a resistance"
                                                      << "";
        QTest::newRow("a part above 10 Mohm")
            << "Parts"
            << "10k\n20M\n"
            << "Line 2: '20M' must be from 1 \u03a9 to 10 M\u03a9."
            << "";
        QTest::newRow("a grade of no series") << "Grades"
                                              << "E96, 1, 50\nE97, 1, 50\n"
                                              << "Line 2: 'E97' is not a series" << grades;
        QTest::newRow("a grade's TCR past its limit")
            << "Grades"
            << "E96, 1, 50\nE96, 1, 20000\n"
            << "Line 2: the resistor TCR must be from 0 ppm/\u00b0C to 10000 ppm/\u00b0C" << grades;
        QTest::newRow("parts with a comment") << "Parts"
                                              << "4k7\n2M2\n\n# spare\n10k"
                                              << ""
                                              << "4700\n10000\n2200000\n";
        QTest::newRow("a named grade") << "Grades"
                                       << "E12, 2, 100, carbon\nparts, 1, 50"
                                       << ""
                                       << "E12, 2, 100, carbon\nparts, 1, 50\n";
    }
    void typedListTakesOnlyAGoodText() {
        QFETCH(QString, id);
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        QFETCH(QString, taken);
        const std::string before = analysis_report::ReportText(window->report());
        QVERIFY(TypeList(id, typed));
        auto* label = Find<QLabel>(id + "Problem");
        QVERIFY2(problem.isEmpty() ? label->text().isEmpty() : label->text().startsWith(problem),
                 qPrintable(label->text()));
        QCOMPARE(label->isHidden(), problem.isEmpty());
        QCOMPARE(ListText(id), taken);
        QCOMPARE(Find<QPlainTextEdit>(id)->toPlainText(), typed); // kept to be put right
        if (!problem.isEmpty()) {
            QCOMPARE(analysis_report::ReportText(window->report()), before);
        }
    }

    // A parts list that neither the series nor a grade names says so beside it, with how to use
    // it; choosing the series parts, or a grade of the parts list, takes the notice away.
    void anUnusedPartsListSaysSo_data() {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("extraGrade"); // a line added to the grades, or none
        QTest::addColumn<bool>("notice");
        QTest::newRow("neither") << "E96"
                                 << "" << true;
        QTest::newRow("the series") << "parts"
                                    << "" << false;
        QTest::newRow("a grade") << "E96"
                                 << "parts, 0.1, 25" << false;
    }
    void anUnusedPartsListSaysSo() {
        QFETCH(QString, series);
        QFETCH(QString, extraGrade);
        QVERIFY(Find<QLabel>("PartsNotice")->isHidden());
        QVERIFY(TypeList("Parts", "4k7\n10k\n68k\n"));
        if (!extraGrade.isEmpty()) {
            QVERIFY(TypeList("Grades", ListText("Grades") + extraGrade + "\n"));
        }
        Find<QComboBox>("Series")->setCurrentText(series);
        QTEST(!Find<QLabel>("PartsNotice")->isHidden(), "notice");
        QCOMPARE(Find<QLabel>("PartsNotice")->text().startsWith("The parts list is not used"),
                 !Find<QLabel>("PartsNotice")->isHidden());
    }

    // Open… reads a file whole into the list and takes it, Windows line ends and a byte order
    // mark too; a file it cannot read, or one above 1 MB, changes nothing and says why.
    void openReadsAListFile_data() {
        QTest::addColumn<QByteArray>("bytes"); // empty: no such file
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("message"); // the start of the problem's sentence
        QTest::newRow("Windows line ends") << QByteArray("\xEF\xBB\xBF"
                                                         "68k\r\n7k5\r\n")
                                           << true << "";
        QTest::newRow("no such file") << QByteArray() << false << "parts.txt cannot be read: ";
        QTest::newRow("just above 1 MB") << QByteArray(1024 * 1024 + 1, '\n') << false
                                         << "parts.txt is larger than 1 MB, too large for a list.";
        QTest::newRow("1 MB of blank lines") << QByteArray(qsizetype(1024) * 1024, '\n') << false
                                             << "The parts list holds no resistance.";
    }
    void openReadsAListFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString path = folder.filePath("parts.txt");
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        auto* panel = window->findChild<analysis_window::SettingsPanel*>();
        QCOMPARE(panel->openList(*calc_core::FindSetting("parts"), path), read);
        const QString problem = Find<QLabel>("PartsProblem")->text();
        QVERIFY2(message.isEmpty() ? problem.isEmpty() : problem.startsWith(message),
                 qPrintable(problem));
        QCOMPARE(ListText("Parts"), read ? "7500\n68000\n" : "");
    }

    // The parts list gives the preferred pairs when the series is "parts", found by hand among
    // its nine pairs by the worst error against 40 V and 30 V: 68k with 7k5 (0.897 V), then with
    // 10k (4.452 V); another series keeps its own.
    void partsListGivesThePreferredPairs_data() {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("firstR3");
        QTest::addColumn<QString>("secondR3");
        QTest::newRow("parts") << "parts"
                               << "7.5 k\u03a9"
                               << "10 k\u03a9";
        QTest::newRow("E96") << "E96"
                             << "7.15 k\u03a9"
                             << "7.5 k\u03a9";
    }
    void partsListGivesThePreferredPairs() {
        QFETCH(QString, series);
        QVERIFY(TypeList("Parts", "68k\n7k5\n10k\n"));
        Find<QComboBox>("Series")->setCurrentText(series);
        QTEST(Cell("Preferred values", "1", "R3"), "firstR3");
        QTEST(Cell("Preferred values", "2", "R3"), "secondR3");
        QCOMPARE(Cell("Preferred values", "1", "R1"),
                 series == "parts" ? "68 k\u03a9" : "64.9 k\u03a9");
    }

    // Settings of every kind and a build's own R2, as a design file gives them, and back to the
    // defaults; nothing of the first stays.
    void settingsOfEveryKindComeAndGo() {
        calc_core::AnalysisSettings given;
        given.series = calc_core::ESeries::E48;
        given.specPct = 3;
        QCOMPARE(calc_core::FindSetting("grades")->readList(given, "E12, 2, 100, carbon\n"), "");
        QCOMPARE(calc_core::FindSetting("parts")->readList(given, "68k\n7k5\n"), "");
        given.r2MinOhms = 4700;
        given.r2MaxOhms = 22000;
        given.yield = {5000, std::numeric_limits<std::uint64_t>::max(),
                       calc_core::YieldDistribution::Normal};
        const auto fit = calc_core::FitChoice::Typed(68000, 7500, 10000);
        for (const bool defaults : {false, true}) {
            const calc_core::AnalysisSettings settings =
                defaults ? calc_core::AnalysisSettings{} : given;
            window->showDesign(calc_core::Tab::Calc, settings,
                               defaults ? std::nullopt : std::optional(fit));
            for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
                QCOMPARE(calc_core::SettingText(row, window->settings()),
                         calc_core::SettingText(row, settings));
            }
            QCOMPARE(Find<QLineEdit>("R2Min")->text(), defaults ? "" : "4700");
            QCOMPARE(Find<QLineEdit>("Seed")->text(), defaults ? "1" : "18446744073709551615");
            QCOMPARE(Find<QSpinBox>("Boards")->value(), defaults ? 100000 : 5000);
            QCOMPARE(Find<QComboBox>("Distribution")->currentText(),
                     defaults ? "uniform" : "normal");
            QCOMPARE(Find<QPlainTextEdit>("Parts")->toPlainText(), defaults ? "" : "7500\n68000\n");
            QCOMPARE(window->fit().has_value(), !defaults);
            if (!defaults) {
                QCOMPARE(window->fit()->r2, std::optional(10000.0));
                QCOMPARE(Find<QDoubleSpinBox>("FitR2")->value(), 10000.0);
                QVERIFY(Find<QLabel>("Levels pair")->text().contains("R2 10 k\u03a9"));
            }
        }
    }
};

QTEST_MAIN(WindowPartsTest)
#include "window_parts_test.moc"
