// Every row of the settings table shows up in every C++ front end with the table's own limits,
// default, unit and help: the analysis window's control of each kind (a typed value just past a
// limit is refused under it with the core's sentence), the command line's flag (a value just past
// each limit is refused with the core's sentence and status 2) and the analysis JSON's key.
#include "analysis_report/analysis_json.h"
#include "analysis_window/analysis_window.h"
#include "analysis_window/design_record.h"
#include "analysis_window/qt_text.h"
#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "command_line/run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using analysis_window::ToQString;
using calc_core::SettingKind;
using calc_core::SettingRow;

namespace {

struct Ran {
    int status = 0;
    std::string err;
};

// The Calc worked example with one more flag.
Ran RunWith(const std::string& flag, const std::string& value) {
    const std::vector<std::string> args = {"design", "--r2",     "10k", "--vref", "2.5", "--vo-max",
                                           "40",     "--vo-min", "30",  flag,     value};
    std::ostringstream out;
    std::ostringstream err;
    const int status = command_line::Run(args, out, err);
    return {status, err.str()};
}

std::string Plain(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

} // namespace

class SettingsTableTest : public QObject {
    Q_OBJECT

    analysis_window::DesignRecord record;

    static void NumberBoxHasTheRow(const SettingRow& row, QWidget* control) {
        auto* box = qobject_cast<QDoubleSpinBox*>(control);
        QVERIFY2(box, row.id.data());
        QCOMPARE(box->minimum(), row.lowest);
        QCOMPARE(box->maximum(), row.highest);
        QCOMPARE(box->decimals(), row.decimals);
        QCOMPARE(box->value(), calc_core::DefaultNumber(row));
        QVERIFY2(box->suffix().endsWith(ToQString(row.unit.symbol)), row.id.data());
        QCOMPARE(box->prefix().isEmpty(), !row.plusMinus);
    }
    static void ChoiceBoxHasTheRow(const SettingRow& row, QWidget* control) {
        auto* box = qobject_cast<QComboBox*>(control);
        QVERIFY2(box, row.id.data());
        QCOMPARE(box->count(), int(row.choices.size()));
        QCOMPARE(box->currentText(), ToQString(row.choices[calc_core::DefaultChoice(row)]));
    }
    // The boards in a spin box from 1,000 to 10,000,000; the seed, any 64-bit number, as digits.
    static void WholeControlHasTheRow(const SettingRow& row, QWidget* control) {
        if (auto* box = qobject_cast<QSpinBox*>(control)) {
            QCOMPARE(box->minimum(), 1000);
            QCOMPARE(box->maximum(), 10000000);
            QCOMPARE(std::uint64_t(box->minimum()), row.lowestWhole);
            QCOMPARE(std::uint64_t(box->maximum()), row.highestWhole);
            QCOMPARE(std::uint64_t(box->value()), calc_core::DefaultWhole(row));
            return;
        }
        auto* edit = qobject_cast<QLineEdit*>(control);
        QVERIFY2(edit, row.id.data());
        QCOMPARE(row.highestWhole, std::numeric_limits<std::uint64_t>::max());
        QCOMPARE(edit->text(), QString::number(calc_core::DefaultWhole(row)));
    }

    // A whole number one past either end of its range is the core's refusal: the boards' 1,000
    // to 10,000,000; the seed takes every 64-bit number.
    static void WholeJustPastALimitIsRefused(const SettingRow& row) {
        if (row.highestWhole == std::numeric_limits<std::uint64_t>::max()) {
            QCOMPARE(row.lowestWhole, 0u);
            return;
        }
        for (const std::uint64_t past : {std::uint64_t(999), std::uint64_t(10'000'001)}) {
            calc_core::AnalysisSettings settings;
            row.setWhole(settings, past);
            QCOMPARE(calc_core::SettingsRefusal(settings),
                     "The number of boards must be from 1000 to 10000000 to analyse the design.");
        }
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void windowControlHasTheRowsLimitsAndDefault() {
        record.record(calc_core::Tab::Calc,
                      calc_core::DesignOfCalc({calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0},
                                              64955, 7210));
        analysis_window::AnalysisWindow window(&record, nullptr);
        window.showDesign(calc_core::Tab::Calc);
        for (const SettingRow& row : calc_core::SettingRows()) {
            const QString id = ToQString(row.id);
            QWidget* control = window.findChild<QWidget*>(id);
            QVERIFY2(control, qPrintable(id));
            QCOMPARE(control->toolTip(), ToQString(calc_core::HelpText(row)));
            QCOMPARE(control->accessibleName(), ToQString(row.label));
            switch (row.kind) {
            case SettingKind::Number:
                NumberBoxHasTheRow(row, control);
                break;
            case SettingKind::Choice:
                ChoiceBoxHasTheRow(row, control);
                break;
            case SettingKind::Whole:
                WholeControlHasTheRow(row, control);
                break;
            case SettingKind::OptionalNumber: {
                // Absent by default: R2 as designed.
                auto* edit = qobject_cast<QLineEdit*>(control);
                QVERIFY2(edit, qPrintable(id));
                QCOMPARE(edit->text(), QString());
                QCOMPARE(edit->placeholderText(), "as designed");
                break;
            }
            case SettingKind::List: {
                auto* edit = qobject_cast<QPlainTextEdit*>(control);
                QVERIFY2(edit, qPrintable(id));
                QCOMPARE(edit->toPlainText(), ToQString(calc_core::DefaultListText(row)));
                QVERIFY(window.findChild<QWidget*>(id + "Open"));
                break;
            }
            case SettingKind::Flag: {
                auto* box = qobject_cast<QCheckBox*>(control);
                QVERIFY2(box, qPrintable(id));
                QCOMPARE(box->isChecked(), calc_core::AnalysisSettings{}.*row.onOff);
                break;
            }
            }
        }
        // The seven default grades, one a line; no parts until the user gives them.
        QCOMPARE(window.findChild<QPlainTextEdit*>("Grades")->toPlainText().count('\n'), 8);
        QCOMPARE(window.findChild<QPlainTextEdit*>("Parts")->toPlainText(), QString());
    }

    // A typed value just past a limit of its row: the core's sentence under the control, and the
    // settings as they were; the limit itself is taken.
    void windowRefusesATypedValueJustPastALimit_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem"); // empty: taken
        QTest::addColumn<QString>("value");   // the setting's text after
        QTest::newRow("lowest R2 below 1 ohm")
            << "R2Min"
            << "0.999"
            << "The lowest R2 must be from 1 \u03a9 to 10000000 \u03a9 to analyse the design."
            << "";
        QTest::newRow("lowest R2 at 1 ohm") << "R2Min"
                                            << "1R"
                                            << ""
                                            << "1";
        QTest::newRow("highest R2 above 10 Mohm")
            << "R2Max"
            << "10000001"
            << "The highest R2 must be from 1 \u03a9 to 10000000 \u03a9 to analyse the design."
            << "";
        QTest::newRow("highest R2 at 10 Mohm") << "R2Max"
                                               << "10M"
                                               << ""
                                               << "10000000";
        QTest::newRow("seed past 2^64 - 1")
            << "Seed"
            << "18446744073709551616"
            << "Random seed: '18446744073709551616' is not a whole number from 0 to "
               "18446744073709551615"
            << "1";
        QTest::newRow("seed at 2^64 - 1") << "Seed"
                                          << "18446744073709551615"
                                          << ""
                                          << "18446744073709551615";
        QTest::newRow("seed at 0") << "Seed"
                                   << "0"
                                   << ""
                                   << "0";
    }
    void windowRefusesATypedValueJustPastALimit() {
        QFETCH(QString, id);
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        QFETCH(QString, value);
        analysis_window::AnalysisWindow window(&record, nullptr);
        window.showDesign(calc_core::Tab::Calc);
        auto* edit = window.findChild<QLineEdit*>(id);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(window.findChild<QLabel*>(id + "Problem")->text(), problem);
        const auto rows = calc_core::SettingRows();
        const auto row = std::find_if(rows.begin(), rows.end(), [&id](const SettingRow& each) {
            return ToQString(each.id) == id;
        });
        QCOMPARE(ToQString(calc_core::SettingText(*row, window.settings())), value);
    }

    // One step of the shown decimals past a limit is the core's refusal, also on the command line.
    void commandLineRefusesJustPastEachLimit() {
        for (const SettingRow& row : calc_core::SettingRows()) {
            const std::string flag(row.flag);
            if (row.kind == SettingKind::Choice) {
                const Ran ran = RunWith(flag, "E7");
                QCOMPARE(ran.status, 2);
                continue;
            }
            if (row.kind == SettingKind::Whole) {
                WholeJustPastALimitIsRefused(row);
                continue;
            }
            if (row.kind != SettingKind::Number) {
                continue; // typed in the window: windowRefusesATypedValueJustPastALimit
            }
            const double step = std::pow(10.0, -row.decimals);
            for (const double past : {row.lowest - step, row.highest + step}) {
                calc_core::AnalysisSettings settings;
                settings.*row.number = past;
                const std::string reason = calc_core::SettingsRefusal(settings);
                QVERIFY2(reason.find(std::string(row.subject) + " must be from " +
                                     calc_core::LimitText(row, row.lowest)) == 0,
                         reason.c_str());
                const Ran ran = RunWith(flag, Plain(past));
                QCOMPARE(ran.status, 2);
                QCOMPARE(ran.err, "orvalex-kep: " + reason + "\n");
            }
            // The default is taken: the worked example analyses with it.
            QCOMPARE(RunWith(flag, Plain(calc_core::DefaultNumber(row))).status, 0);
        }
    }

    void analysisJsonCarriesEveryKeyWithItsDefault() {
        const auto outcome = calc_core::AnalyseDesign(
            calc_core::DesignOfCalc({calc_core::DiodeChoice::No, 10000, 2.5, 40, 30, 0}, 64955,
                                    7210),
            {});
        QVERIFY(outcome.analysis);
        const auto json = analysis_report::AnalysisJson(*outcome.analysis);
        for (const SettingRow& row : calc_core::SettingRows()) {
            const std::string key(row.key);
            QVERIFY2(json["settings"].contains(key), key.c_str());
            const auto& value = json["settings"][key];
            switch (row.kind) {
            case SettingKind::Choice:
                QCOMPARE(value.get<std::string>(),
                         std::string(row.choices[calc_core::DefaultChoice(row)]));
                break;
            case SettingKind::Number:
                QCOMPARE(value.get<double>(), calc_core::DefaultNumber(row));
                break;
            case SettingKind::Whole:
                QCOMPARE(value.get<std::uint64_t>(), calc_core::DefaultWhole(row));
                break;
            case SettingKind::OptionalNumber:
                QVERIFY2(value.is_null(), key.c_str()); // R2 as designed
                break;
            case SettingKind::List:
                // The seven default grades; no parts.
                QCOMPARE(value.size(), row.list == calc_core::ListKind::Grades ? 7u : 0u);
                break;
            case SettingKind::Flag:
                QCOMPARE(value.get<bool>(), calc_core::AnalysisSettings{}.*row.onOff);
                break;
            }
        }
    }
};

QTEST_MAIN(SettingsTableTest)
#include "settings_table_test.moc"
