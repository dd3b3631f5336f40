// Tests of the design analysis's number formats and the ticks of its plot.
#include "main_window/analysis_plot.h"
#include "main_window/analysis_text.h"

#include <QtTest>

#include <cmath>

using namespace main_window;

Q_DECLARE_METATYPE(std::vector<double>)

class AnalysisTextTest : public QObject {
    Q_OBJECT

  private slots:
    void numbersAreWrittenInTheUsersNotation_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("expected");
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QString ohm = QStringLiteral("\u03a9");
        const QString micro = QStringLiteral("\u00b5");
        const auto row = [](const char* name, const QString& written, const QString& expected) {
            QTest::newRow(name) << written << expected;
        };
        // Volts to 1 mV, never "-0.000", never grouped.
        row("volts", FormatVolts(41.2614, en), "41.261 V");
        row("volts, rounded to nearest", FormatVolts(18.7398, en), "18.740 V");
        row("volts, just under zero", FormatVolts(-0.0004, en), "0.000 V");
        row("volts, a millivolt under zero", FormatVolts(-0.0006, en), "-0.001 V");
        row("volts, thousands not grouped", FormatVolts(1234.5, en), "1234.500 V");
        row("volts, comma locale", FormatVolts(57.6, de), "57,600 V");
        row("volts, not finite", FormatVolts(std::nan(""), en), "\u2014");
        // Ohms with a prefix and up to six significant digits.
        row("ohms, shown R1", FormatOhms(64955, en), "64.955 k" + ohm);
        row("ohms, E96 value", FormatOhms(64900, en), "64.9 k" + ohm);
        row("ohms, E96 R3", FormatOhms(7150, en), "7.15 k" + ohm);
        row("ohms, no prefix", FormatOhms(470, en), "470 " + ohm);
        row("ohms, top of the series", FormatOhms(1e7, en), "10 M" + ohm);
        row("ohms, seventh digit rounded", FormatOhms(1234567, en), "1.23457 M" + ohm);
        row("ohms, rounding carries up a prefix", FormatOhms(999999.7, en), "1 M" + ohm);
        row("ohms, below one", FormatOhms(0.5, en), "500 m" + ohm);
        row("ohms, negative as shown", FormatOhms(-1234, en), "-1.234 k" + ohm);
        row("ohms, negative zero", FormatOhms(-0.0, en), "0 " + ohm);
        row("ohms, comma locale", FormatOhms(64900, de), "64,9 k" + ohm);
        row("current", FormatPrefixed(0.00059672, "A", en, 4), "596.7 " + micro + "A");
        row("power", FormatPrefixed(7.29744, "W", en, 4), "7.297 W");
        row("share", FormatShare(0.35714, en), "35.7 %");
        row("share, comma locale", FormatShare(0.35714, de), "35,7 %");
    }
    void numbersAreWrittenInTheUsersNotation() {
        QFETCH(QString, written);
        QFETCH(QString, expected);
        QCOMPARE(written, expected);
    }

    void plotTicksAreRoundSteps_data() {
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<std::vector<double>>("ticks");
        QTest::addColumn<int>("decimals");
        QTest::newRow("pin volts")
            << 0.0 << 3.3 << std::vector<double>{0, 0.5, 1, 1.5, 2, 2.5, 3} << 1;
        QTest::newRow("output band")
            << 55.7 << 62.2 << std::vector<double>{56, 57, 58, 59, 60, 61, 62} << 0;
        QTest::newRow("wide band")
            << 28.9 << 41.3 << std::vector<double>{30, 32, 34, 36, 38, 40} << 0;
        QTest::newRow("across zero")
            << -0.25 << 0.25 << std::vector<double>{-0.2, -0.1, 0, 0.1, 0.2} << 1;
        QTest::newRow("nothing to span") << 1.0 << 1.0 << std::vector<double>{} << 0;
    }
    void plotTicksAreRoundSteps() {
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(std::vector<double>, ticks);
        QFETCH(int, decimals);
        const AxisTicks got = NiceTicks(lo, hi, 8);
        QCOMPARE(got.values.size(), ticks.size());
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            QVERIFY2(std::fabs(got.values[i] - ticks[i]) < 1e-12, qPrintable(QString::number(i)));
            QVERIFY(!std::signbit(got.values[i]) || got.values[i] < 0);
        }
        QCOMPARE(got.decimals, decimals);
    }
};

QTEST_GUILESS_MAIN(AnalysisTextTest)
#include "analysis_text_test.moc"
