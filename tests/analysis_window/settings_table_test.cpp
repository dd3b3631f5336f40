// Every row of the settings table shows up in every C++ front end with the table's own limits,
// default, unit and help: the analysis window's control, the command line's flag (a value just past
// each limit is refused with the core's sentence and status 2) and the analysis JSON's key.
#include "analysis_report/analysis_json.h"
#include "analysis_window/analysis_window.h"
#include "analysis_window/design_record.h"
#include "analysis_window/qt_text.h"
#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "command_line/run.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QtTest>

#include <cmath>
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
            QCOMPARE(control->accessibleName(), ToQString(calc_core::PlainLabel(row)));
            if (row.kind == SettingKind::Choice) {
                auto* box = qobject_cast<QComboBox*>(control);
                QVERIFY2(box, qPrintable(id));
                QCOMPARE(box->count(), int(row.choices.size()));
                QCOMPARE(box->currentText(), ToQString(row.choices[calc_core::DefaultChoice(row)]));
                continue;
            }
            auto* box = qobject_cast<QDoubleSpinBox*>(control);
            QVERIFY2(box, qPrintable(id));
            QCOMPARE(box->minimum(), row.lowest);
            QCOMPARE(box->maximum(), row.highest);
            QCOMPARE(box->decimals(), row.decimals);
            QCOMPARE(box->value(), calc_core::DefaultNumber(row));
            QVERIFY2(box->suffix().endsWith(ToQString(row.unit)), qPrintable(id));
            QCOMPARE(box->prefix().isEmpty(), !row.plusMinus);
        }
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
            if (row.kind == SettingKind::Choice) {
                QCOMPARE(json["settings"][key].get<std::string>(),
                         std::string(row.choices[calc_core::DefaultChoice(row)]));
            } else {
                QCOMPARE(json["settings"][key].get<double>(), calc_core::DefaultNumber(row));
            }
        }
    }
};

QTEST_MAIN(SettingsTableTest)
#include "settings_table_test.moc"
