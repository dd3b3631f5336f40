// The analysis window's yield on the Calc worked example: estimated on demand in the background
// with its progress, stopped by Cancel or superseded by a newer change without losing the report
// shown, its histograms drawn and exported.
#include "window_under_test.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

using window_test::Number;

namespace {

// Long enough that a run is still going when the test acts: 10,000,000 boards for the set and
// each of the seven grades' best builds.
constexpr int ManyBoards = 10'000'000;
constexpr int WaitMs = 20'000;
// Far less than a run of 80,000,000 boards takes on two cores (over 20 s).
constexpr int StopMs = 5'000;

} // namespace

class WindowYieldTest : public QObject, window_test::WindowUnderTest {
    Q_OBJECT

    void Estimate(int boards) {
        Find<QSpinBox>("Boards")->setValue(boards);
        Find<QCheckBox>("EstimateYield")->setChecked(true);
    }
    bool Estimated() const { return Section("Yield") != nullptr; }
    // The run under way has told some progress.
    bool WaitForProgress() const {
        auto* progress = Find<QProgressBar>("YieldProgress");
        return QTest::qWaitFor([&] { return progress->isVisible() && progress->value() > 0; },
                               WaitMs);
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { ShowCalcExample(); }
    void cleanup() { window.reset(); }

    // While it runs and once stopped, the report shown stays as it was; the threads end soon
    // after Cancel, long before the run's seconds.
    void cancelStopsItAndKeepsTheReport() {
        const std::string shown = analysis_report::ReportText(window->report());
        Estimate(ManyBoards);
        QVERIFY(Find<QPushButton>("CancelYield")->isVisible());
        QVERIFY(WaitForProgress());
        QVERIFY(Find<QLabel>("YieldStatus")->text().endsWith(" of 80,000,000 boards"));
        QCOMPARE(analysis_report::ReportText(window->report()), shown);
        QTest::mouseClick(Find<QPushButton>("CancelYield"), Qt::LeftButton);
        QVERIFY(!Find<QProgressBar>("YieldProgress")->isVisible());
        QCOMPARE(Find<QLabel>("YieldStatus")->text(), "The yield estimate was stopped.");
        QVERIFY(QTest::qWaitFor([&] { return window->yieldThreads() == 0; }, StopMs));
        QCOMPARE(analysis_report::ReportText(window->report()), shown);
        QVERIFY(!Estimated());
    }

    // A change while a run goes stops it: only the newer run's yield is shown.
    void newerChangeSupersedesTheRun() {
        Estimate(ManyBoards);
        QVERIFY(WaitForProgress());
        Find<QSpinBox>("Boards")->setValue(1000);
        QVERIFY(QTest::qWaitFor([&] { return Estimated(); }, WaitMs));
        QVERIFY2(Notes("Yield").contains(" of 1000 boards pass"), qPrintable(Notes("Yield")));
        QVERIFY(QTest::qWaitFor([&] { return window->yieldThreads() == 0; }, StopMs));
        QVERIFY(!Find<QProgressBar>("YieldProgress")->isVisible());
        // Unticked, the yield goes and nothing runs.
        Find<QCheckBox>("EstimateYield")->setChecked(false);
        QVERIFY(!Estimated());
        QCOMPARE(window->yieldThreads(), 0u);
    }

    // A build whose worst case stays inside the spec passes on every board: grade 4's best at
    // ± 5 % (margin 0.171 V), and with it each grade from 4 on; grade 1's best (-3.313 V) fails
    // on some.
    void buildInsideTheSpecPassesEveryBoard() {
        Find<QTableWidget>("Parts to buy")->selectRow(3);
        Estimate(2000);
        QVERIFY(QTest::qWaitFor([&] { return Estimated(); }, WaitMs));
        for (const char* level : {"0.140 V", "0.700 V", "1.250 V"}) {
            QCOMPARE(Cell("Yield", level, "Passing"), "100.000 %");
        }
        for (const char* grade : {"4", "5", "6", "7"}) {
            QCOMPARE(Cell("Parts to buy", grade, "Yield"), "100.000 %");
        }
        QVERIFY(Number(Cell("Parts to buy", "1", "Yield")) < 100);
        QVERIFY(Notes("Yield").contains("2000 of 2000 boards pass"));
    }

    // The histograms: one a level, described for screen readers, drawn, and in the exported
    // document after the plot.
    void histogramsOfEachLevel() {
        Estimate(1000);
        QVERIFY(QTest::qWaitFor([&] { return Estimated(); }, WaitMs));
        auto* pages = window->findChild<QTabWidget*>();
        auto* histograms = Find("Histograms");
        pages->setCurrentWidget(histograms->parentWidget());
        QVERIFY(!histograms->grab().isNull());
        for (const char* level : {"Vo at 0.140 V: ", "Vo at 0.700 V: ", "Vo at 1.250 V: "}) {
            QVERIFY2(histograms->accessibleDescription().contains(level), level);
        }
        QTemporaryDir folder;
        QVERIFY(window->exportReport(folder.filePath("yield.html"), QDate(2025, 12, 31)));
        QFile html(folder.filePath("yield.html"));
        QVERIFY(html.open(QIODevice::ReadOnly));
        QCOMPARE(html.readAll().count("<svg"), 4); // the plot and three histograms
    }
};

QTEST_MAIN(WindowYieldTest)
#include "window_yield_test.moc"
