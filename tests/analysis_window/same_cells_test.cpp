// The window and the command line show the same report: for the same design, every table of the
// analysis window holds the cells that the command line prints, and every note; and the window
// exports the documents the command line writes, byte for byte. The window always finds the parts
// to buy, which the command line does when asked with --meet-spec.
#include "analysis_report/analysis_report.h"
#include "analysis_window/analysis_window.h"
#include "analysis_window/design_record.h"
#include "analysis_window/report_export.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"
#include "command_line/run.h"

#include <QClipboard>
#include <QDate>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using calc_core::Tab;

Q_DECLARE_METATYPE(calc_core::TabInputTexts)

namespace {

// The command line's text output as lines, and the cells of its aligned rows.
QStringList Lines(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    command_line::Run(args, out, err);
    return QString::fromStdString(out.str()).split('\n');
}

QStringList Cells(const QString& line) {
    return line.trimmed().split(QRegularExpression("\\s{2,}"));
}

bool PartsSection(const QString& name) {
    return name == "Parts to buy" || name == "Best builds" || name == "Buy" ||
           name == "Bill of materials";
}

// The command line's arguments of a row, with the flag of the parts to buy, which the window
// always finds.
std::vector<std::string> Arguments(const QStringList& args) {
    std::vector<std::string> arguments;
    for (const QString& arg : args) {
        arguments.push_back(arg.toStdString());
    }
    arguments.emplace_back("--meet-spec");
    return arguments;
}

// The tab's press of the row, recorded as the calculator records it.
void RecordPress(analysis_window::DesignRecord& record, Tab tab, bool diode,
                 const calc_core::TabInputTexts& texts) {
    if (tab == Tab::Calc) {
        record.recordCalc(calc_core::CalcPress(diode, !diode, texts, {}));
    } else {
        calc_core::CheckResults results;
        record.recordCheck(calc_core::CheckPress(diode, !diode, texts, {}, results));
    }
}

// The current data row's press, recorded as the calculator records it, in an analysis window
// showing it; with the row's command-line arguments.
struct ShownRow {
    analysis_window::DesignRecord record;
    std::unique_ptr<analysis_window::AnalysisWindow> window;
    QStringList args;

    ShownRow() {
        QFETCH(int, tab);
        QFETCH(bool, diode);
        QFETCH(calc_core::TabInputTexts, texts);
        QFETCH(QStringList, args);
        RecordPress(record, Tab(tab), diode, texts);
        window = std::make_unique<analysis_window::AnalysisWindow>(&record, nullptr);
        window->showDesign(Tab(tab));
        this->args = args;
    }
};

} // namespace

class SameCellsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void windowAndCommandLineShowTheSameCells_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("diode");
        QTest::addColumn<calc_core::TabInputTexts>("texts");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("Calc example")
            << int(Tab::Calc) << false << calc_core::TabInputTexts{"10000", "2.5", "40", "30", ""}
            << QStringList{"design",   "--r2", "10000",    "--vref", "2.5",
                           "--vo-max", "40",   "--vo-min", "30"};
        QTest::newRow("Calc with the diode")
            << int(Tab::Calc) << true << calc_core::TabInputTexts{"10000", "2.5", "40", "30", "0.6"}
            << QStringList{"design", "--r2",     "10000", "--vref", "2.5", "--vo-max",
                           "40",     "--vo-min", "30",    "--vf",   "0.6"};
        QTest::newRow("Check, the diode blocks")
            << int(Tab::Check) << true << calc_core::TabInputTexts{"470", "10", "100", "1.2", "0.6"}
            << QStringList{"check", "--r1",   "470", "--r2", "10", "--r3",
                           "100",   "--vref", "1.2", "--vf", "0.6"};
        QTest::newRow("refused: a negative R3")
            << int(Tab::Calc) << false << calc_core::TabInputTexts{"10000", "2.5", "30", "40", ""}
            << QStringList{"design",   "--r2", "10000",    "--vref", "2.5",
                           "--vo-max", "30",   "--vo-min", "40"};
    }
    void windowAndCommandLineShowTheSameCells() {
        const ShownRow shown;
        analysis_window::AnalysisWindow& window = *shown.window;
        const QStringList& args = shown.args;
        const QStringList lines = Lines(Arguments(args));

        const QString reason = QString::fromStdString(window.report().reason);
        if (!reason.isEmpty()) {
            QVERIFY(lines.contains("No analysis: " + reason));
            QVERIFY(window.findChild<QTabWidget*>()->isHidden());
            return;
        }
        int tables = 0;
        int partsTables = 0;
        for (auto* table : window.findChildren<QTableWidget*>()) {
            if (PartsSection(table->objectName())) {
                ++partsTables;
            }
            qsizetype at = lines.indexOf(table->objectName());
            QVERIFY2(at >= 0, qPrintable(table->objectName()));
            // What a section is for (the pair, the grade), as the window heads its page.
            const QList<QLabel*> labels = window.findChildren<QLabel*>();
            qsizetype first = at + 1;
            const std::string subject =
                analysis_report::FindSection(window.report(), table->objectName().toStdString())
                    ->subject;
            if (!subject.empty()) {
                QCOMPARE(lines[first], "  " + QString::fromStdString(subject));
                QVERIFY2(std::any_of(
                             labels.begin(), labels.end(),
                             [&](QLabel* label) { return label->text().toStdString() == subject; }),
                         subject.c_str());
                ++first;
            }
            at = first - 1;
            QStringList header;
            for (int c = 0; c < table->columnCount(); ++c) {
                header << table->horizontalHeaderItem(c)->text();
            }
            QCOMPARE(Cells(lines[at + 1]), header);
            for (int r = 0; r < table->rowCount(); ++r) {
                QStringList row;
                for (int c = 0; c < table->columnCount(); ++c) {
                    // The text's columns are spaced apart, so an empty cell (a grade without a
                    // name) leaves no cell of its own there.
                    if (!table->item(r, c)->text().isEmpty()) {
                        row << table->item(r, c)->text();
                    }
                }
                QCOMPARE(Cells(lines[at + 2 + r]), row);
            }
            // Then its notes, which the window shows under the table in one label.
            for (qsizetype n = at + 2 + table->rowCount(); n < lines.size() && !lines[n].isEmpty();
                 ++n) {
                const QString note = lines[n].trimmed().remove(QRegularExpression("^Warning: "));
                const bool inWindow = std::any_of(labels.begin(), labels.end(), [&](QLabel* label) {
                    return label->accessibleDescription().contains(note);
                });
                QVERIFY2(inWindow, qPrintable(note));
            }
            ++tables;
        }
        QCOMPARE(tables, 5 + partsTables);
        QVERIFY(partsTables >= 1);
    }

    // The bill of materials saved and copied is the command line's --format bom; with nothing
    // to buy the button is off and a save leaves the old file as it was.
    void windowGivesTheCommandLinesBillOfMaterials_data() {
        windowAndCommandLineShowTheSameCells_data();
    }
    void windowGivesTheCommandLinesBillOfMaterials() {
        const ShownRow shown;
        analysis_window::AnalysisWindow& window = *shown.window;
        const QStringList& args = shown.args;
        std::vector<std::string> arguments = Arguments(args);
        arguments.insert(arguments.end(), {"--format", "bom"});
        std::ostringstream out;
        std::ostringstream err;
        const bool toBuy = command_line::Run(arguments, out, err) == 0;
        QCOMPARE(window.findChild<QPushButton*>("BillOfMaterials")->isEnabled(), toBuy);
        QTemporaryDir folder;
        const QString path = folder.filePath("bom.csv");
        QVERIFY(analysis_window::WriteDocumentFile(path, "old"));
        QCOMPARE(window.saveBillOfMaterials(path), toBuy);
        QCOMPARE(window.copyBillOfMaterials(), toBuy);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), toBuy ? QByteArray::fromStdString(out.str()) : "old");
        if (toBuy) {
            QCOMPARE(QGuiApplication::clipboard()->text().toStdString(), out.str());
        }
    }

    void windowExportsTheCommandLinesDocuments_data() {
        windowAndCommandLineShowTheSameCells_data();
    }
    void windowExportsTheCommandLinesDocuments() {
        const ShownRow shown;
        analysis_window::AnalysisWindow& window = *shown.window;
        const QStringList& args = shown.args;
        QTemporaryDir folder;
        for (const char* format : {"html", "csv"}) {
            const QString path = folder.filePath(QStringLiteral("report.") + format);
            QVERIFY(window.exportReport(path, QDate(2025, 12, 31)));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            std::vector<std::string> arguments = Arguments(args);
            arguments.insert(arguments.end(), {"--format", format});
            // 2025-12-31T00:00:00Z
            setenv("SOURCE_DATE_EPOCH", "1767139200", 1);
            std::ostringstream out;
            std::ostringstream err;
            command_line::Run(arguments, out, err);
            unsetenv("SOURCE_DATE_EPOCH");
            QCOMPARE(file.readAll(), QByteArray::fromStdString(out.str()));
        }
    }
};

QTEST_MAIN(SameCellsTest)
#include "same_cells_test.moc"
