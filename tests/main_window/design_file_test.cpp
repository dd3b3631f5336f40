// Design files in the window: saved through the form and opened by the command line, and the
// reverse, under German and American number notation; a file that cannot be read changes
// nothing; the menu's entries, their keys, the dialogs and dropped files.
#include "window_fixture.h"

#include "analysis_window/analysis_window.h"
#include "design_file/design_file_reader.h"
#include "main_window/design_files.h"

#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using analysis_window::AnalysisWindow;
using calc_core::Tab;

namespace {

// The command line's answer to a command, in JSON.
QByteArray CommandLine(const QStringList& args, int expectedStatus = 0) {
    QProcess process;
    process.start(QStringLiteral(ORVALEX_KEP_PROGRAM), args + QStringList{"--json"});
    process.waitForFinished();
    if (process.exitCode() != expectedStatus) {
        qWarning("%s", process.readAllStandardError().constData());
    }
    return process.readAllStandardOutput();
}

QJsonObject FileMember(const QString& path, const char* member) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object()[member].toObject();
}

} // namespace

class DesignFileTest : public QObject, public window_test::WindowFixture {
    Q_OBJECT

    QTemporaryDir m_folder;

    QString Path(const QString& name) const { return m_folder.filePath(name); }
    AnalysisWindow* Window() const { return form->findChild<AnalysisWindow*>(); }
    // Every text, visibility, selection and colour of the form, and the analysis window's state.
    QStringList Snapshot() const {
        QStringList state = ControlStates();
        state << QString("tab %1").arg(Tabs()->currentIndex());
        if (Window()) {
            state << QString("analysis %1 %2 %3")
                         .arg(Window()->isVisible())
                         .arg(int(Window()->tab()))
                         .arg(Window()->settings().specPct);
        }
        return state;
    }
    // The file every dialog chooses.
    void ChooseFile(const QString& path) {
        form->designFiles()->setFileChooser([path](bool, const QString&) { return path; });
    }
    void SaveThroughMenu(const QString& target, const QString& path) {
        ChooseFile(path);
        Choose(OpenMenu(target), "SaveDesign");
    }
    void Drop(QWidget* target, const QString& path) const {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        mime.setText(path); // as file managers also offer it
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
    }
    void UseLocale(const QString& name) {
        CloseForm();
        QLocale::setDefault(QLocale(name));
        QVERIFY(OpenForm());
    }

  private slots:
    void initTestCase() {
        QVERIFY(m_folder.isValid());
        static const QtMessageHandler toolkit = qInstallMessageHandler(nullptr);
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& at, const QString& m) {
            if (!m.startsWith("This plugin does not support")) {
                toolkit(type, at, m);
            }
        });
    }
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(OpenForm());
    }
    void cleanup() { CloseForm(); }

    // clang-format off
    void savedByTheWindowOpensOnTheCommandLine_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("tab");      // 1 Calc, 2 Check
        QTest::addColumn<QStringList>("typed"); // the boxes, Vf last when given
        QTest::addColumn<double>("spec");  // set in the analysis window; 0: the window stays shut
        QTest::addColumn<QStringList>("command"); // the same design on the command line
        QTest::newRow("de Calc grouped") << "de_DE" << 1 << QStringList{"10.000", "2,5", "40", "30"} << 2.0
            << QStringList{"design", "--r2", "10000", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30", "--spec", "2"};
        QTest::newRow("en Calc diode") << "en_US" << 1 << QStringList{"10,000", "2.5", "40", "30", "0.6"} << 0.0
            << QStringList{"design", "--r2", "10000", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30", "--vf", "0.6"};
        QTest::newRow("de Check diode") << "de_DE" << 2 << QStringList{"470", "10", "100", "1,2", "0,6"} << 7.5
            << QStringList{"check", "--r1", "470", "--r2", "10", "--r3", "100", "--vref", "1.2", "--vf", "0.6", "--spec", "7.5"};
        QTest::newRow("en Check exponent") << "en_US" << 2 << QStringList{"4.7e3", "1000", "2200", "1.25"} << 0.0
            << QStringList{"check", "--r1", "4700", "--r2", "1000", "--r3", "2200", "--vref", "1.25"};
    }
    // clang-format on

    void savedByTheWindowOpensOnTheCommandLine() {
        QFETCH(QString, locale);
        QFETCH(int, tab);
        QFETCH(QStringList, typed);
        QFETCH(double, spec);
        QFETCH(QStringList, command);
        UseLocale(locale);
        const bool diode = typed.size() == 5;
        Fill(tab, QString("Option%1(%2)").arg(tab).arg(diode ? 0 : 1), typed.mid(0, 4),
             diode ? typed[4] : QString());
        Click(tab == 1 ? "Command1" : "Command3");
        if (spec > 0) {
            QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
            QVERIFY(Window() && Window()->isVisible());
            Window()->findChild<QDoubleSpinBox*>("Spec")->setValue(spec);
        }
        const QString file = Path(QString("%1.okep").arg(QTest::currentDataTag()));
        SaveThroughMenu(QString("Text%1(0)").arg(tab), file);
        QVERIFY(prompts.isEmpty());
        QCOMPARE(CommandLine({"open", file}), CommandLine(command));
        // The numbers as typed, read in the user's notation.
        const QJsonObject inputs = FileMember(file, "inputs");
        QCOMPARE(inputs.size(), typed.size());
        QCOMPARE(inputs[tab == 1 ? "vref" : "r1"].toDouble(),
                 tab == 1 ? 2.5 : command[2].toDouble());
    }

    // clang-format off
    void savedByTheCommandLineOpensInTheWindow_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QStringList>("shown"); // "control=text" after the press
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<double>("spec");     // the analysis window's; 0: no analysis opens
        QTest::addColumn<int>("pair");        // the fitted pair's rank; 0 typed or none
        QTest::addColumn<QString>("fitted");  // the report's subject; empty: as designed
        QTest::newRow("de Calc pair") << "de_DE"
            << QStringList{"design", "--r2", "10k", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30", "--spec", "2", "--fit-pair", "2"}
            << QStringList{"Text1(0)=10000", "Text1(1)=2,5", "Text1(2)=40", "Text1(3)=30", "Label2(0)=64955", "Label2(1)=7210", "Label2(2)=35"}
            << QStringList{} << 2.0 << 2 << "As fitted: R1 66,5 kΩ, R3 7,5 kΩ, preferred pair 2";
        QTest::newRow("en Check typed pair") << "en_US"
            << QStringList{"check", "--r1", "470", "--r2", "10", "--r3", "100", "--vref", "1.2", "--vf", "0.6", "--fit-r1", "470", "--fit-r3", "120"}
            << QStringList{"Text2(3)=1.2", "Text2(4)=0.6", "Label3(0)=60", "Label3(2)=57"}
            << QStringList{} << 5.0 << 0 << "As fitted: R1 470 Ω, R3 120 Ω, as typed";
        QTest::newRow("de Check tenth") << "de_DE"
            << QStringList{"check", "--r1", "4k7", "--r2", "1k", "--r3", "2k2", "--vref", "0.1", "--tolerance", "0.25"}
            << QStringList{"Text2(0)=4700", "Text2(3)=0,1"}
            << QStringList{} << 5.0 << 0 << "";
        QTest::newRow("Cal Error") << "en_US"
            << QStringList{"design", "--r2", "10000", "--vref", "2.5", "--vo-max", "40", "--vo-min", "2"}
            << QStringList{"Label2(0)=173171", "Label2(1)=-4943"}
            << QStringList{window_test::CalError} << 5.0 << 0 << "";
        QTest::newRow("Input check") << "en_US"
            << QStringList{"check", "--r1", "0", "--r2", "10", "--r3", "100", "--vref", "1.2"}
            << QStringList{"Text2(0)=0", "Label3(0)="}
            << QStringList{window_test::InputError} << 0.0 << 0 << "";
    }
    // clang-format on

    void savedByTheCommandLineOpensInTheWindow() {
        QFETCH(QString, locale);
        QFETCH(QStringList, command);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, messages);
        QFETCH(double, spec);
        QFETCH(int, pair);
        QFETCH(QString, fitted);
        UseLocale(locale);
        const QString file = Path(QString("%1.okep").arg(QTest::currentDataTag()));
        const int status = messages.isEmpty() ? 0 : messages[0] == window_test::CalError ? 1 : 2;
        CommandLine(command + QStringList{"--save", file}, status);
        QVERIFY(form->designFiles()->open(file));
        QCOMPARE(prompts, messages);
        for (const QString& entry : shown) {
            const QStringList parts = entry.split('=');
            QCOMPARE(Text(parts[0]), parts[1]);
        }
        QCOMPARE(Window() && Window()->isVisible(), spec > 0);
        if (spec > 0) {
            QCOMPARE(Tabs()->currentIndex(), command[0] == "design" ? 0 : 3);
            QCOMPARE(Window()->settings().specPct, spec);
            QCOMPARE(Window()->fit().has_value(), !fitted.isEmpty());
            if (!fitted.isEmpty()) {
                QCOMPARE(Window()->fit()->pairRank.value_or(0), pair);
                QCOMPARE(QString::fromStdString(Window()->report().sections.front().subject),
                         fitted);
            }
        }
        if (command.contains("--tolerance")) {
            QCOMPARE(Window()->findChild<QDoubleSpinBox*>("ResistorTolerance")->value(), 0.25);
        }
    }

    // clang-format off
    void unreadableFileChangesNothing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("not JSON") << QByteArray("{\n  \"format\": \"orvalex-kep-design\",\n  \"version\" 1\n}")
            << "bad.okep cannot be opened: line 3, column 13 is not valid JSON (unexpected number literal; expected ':').";
        QTest::newRow("newer") << QByteArray(R"({"format": "orvalex-kep-design", "version": 3})")
            << "bad.okep cannot be opened: it was saved by a newer version (format 3); this one reads up to 2.";
        QTest::newRow("wrong type") << QByteArray(R"({"format": "orvalex-kep-design", "version": 1, "tab": "check", "diode": false, "inputs": {"r1": 1, "r2": 1, "r3": "1", "vref": 1}, "settings": {}, "fit": null, "note": ""})")
            << "bad.okep cannot be opened: inputs.r3 must be a number.";
        QTest::newRow("setting") << QByteArray(R"({"format": "orvalex-kep-design", "version": 1, "tab": "calc", "diode": false, "inputs": {"r2": 1, "vref": 1, "vo_max": 3, "vo_min": 2}, "settings": {"tcr_ppm": -1}, "fit": null, "note": ""})")
            << "bad.okep cannot be opened: at settings.tcr_ppm, the resistor TCR must be from 0 ppm/\u00b0C to 10000 ppm/\u00b0C to analyse the design.";
    }
    // clang-format on

    void unreadableFileChangesNothing() {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        Fill(2, "Option2(1)", {"470", "10", "100", "1.2"});
        Click("Command3");
        QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
        Window()->findChild<QDoubleSpinBox*>("Spec")->setValue(3);
        Fill(1, "Option1(0)", {"1", "2", "3"}, "0.7");
        const QStringList before = Snapshot();
        QFile file(Path("bad.okep"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QVERIFY(!form->designFiles()->open(file.fileName()));
        QCOMPARE(prompts, QStringList{message});
        QCOMPARE(Snapshot(), before);
    }

    // clang-format off
    void saveRefusesWhatIsNoDesign_data() {
        QTest::addColumn<QString>("option"); // the Calc tab's choice, or one on the Check tab
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("text") << "Option1(1)" << QStringList{"10000", "abc", "40", "30"}
            << "Vref holds \u201cabc\u201d, which is not a number; the design is not saved.";
        QTest::newRow("empty") << "Option1(1)" << QStringList{"10000", "2.5", "40", ""}
            << "Vo_min holds \u201c\u201d, which is not a number; the design is not saved.";
        QTest::newRow("comma in English") << "Option1(1)" << QStringList{"10000", "2,5", "40", "30"}
            << "Vref holds \u201c2,5\u201d, which is not a number; the design is not saved.";
        QTest::newRow("no choice") << "Option2(1)" << QStringList{"10000", "2.5", "40", "30"}
            << "Select Diode Yes or No on the Calc tab before saving its design.";
    }
    // clang-format on

    void saveRefusesWhatIsNoDesign() {
        QFETCH(QString, option);
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        Fill(1, "Option1(1)", typed);
        Click(option);
        const QString file = Path("refused.okep");
        SaveThroughMenu("Text1(0)", file);
        QCOMPARE(prompts, QStringList{message});
        QVERIFY(!QFile::exists(file));
    }

    // A file with a setting of every kind away from its default and a build's own R2 opens into
    // the analysis window's controls, and the window saves them as they came.
    void everySettingKindComesAndGoes() {
        const QString opened = Path("every-kind.okep");
        QFile file(opened);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"format": "orvalex-kep-design", "version": 1, "tab": "calc", "diode": false,
            "inputs": {"r2": 10000, "vref": 2.5, "vo_max": 40, "vo_min": 30},
            "settings": {"series": "E48", "spec_pct": 3, "r2_min": 4700, "r2_max": 22000,
                "grades": [{"series": "E12", "tolerance_pct": 2, "tcr_ppm": 100, "name": "carbon"},
                           {"series": "parts", "tolerance_pct": 1, "tcr_ppm": 50, "name": ""}],
                "parts": [7500, 68000], "boards": 5000, "seed": "18446744073709551615",
                "distribution": "normal"},
            "fit": {"r1": 68000, "r3": 7500, "r2": 10000}, "note": ""})");
        file.close();
        QVERIFY(form->designFiles()->open(opened));
        QVERIFY(prompts.isEmpty());
        QVERIFY(Window() && Window()->isVisible());
        QCOMPARE(Window()->findChild<QLineEdit*>("R2Max")->text(), "22000");
        QCOMPARE(Window()->findChild<QLineEdit*>("Seed")->text(), "18446744073709551615");
        QCOMPARE(Window()->findChild<QPlainTextEdit*>("Grades")->toPlainText(),
                 "E12, 2, 100, carbon\nparts, 1, 50\n");
        QCOMPARE(Window()->findChild<QDoubleSpinBox*>("FitR2")->value(), 10000.0);
        const QString saved = Path("every-kind-saved.okep");
        QVERIFY(form->designFiles()->save(Tab::Calc, saved));
        const auto before = design_file::ReadDesignFile(opened.toStdString(), "before");
        const auto after = design_file::ReadDesignFile(saved.toStdString(), "after");
        QVERIFY(before.design && after.design);
        for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
            QCOMPARE(calc_core::SettingText(row, after.design->settings),
                     calc_core::SettingText(row, before.design->settings));
        }
        QVERIFY(after.design->fit && after.design->fit->r2 == std::optional(10000.0));
        QCOMPARE(after.design->fit->r1, 68000.0);
    }

    // The note of the file opened on a tab goes with that tab's saves, and no other's.
    void noteStaysWithItsTab() {
        const QString opened = Path("noted.okep");
        CommandLine({"design", "--r2", "10k", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30",
                     "--save", opened, "--note", "5V rail"});
        QVERIFY(form->designFiles()->open(opened));
        QVERIFY(form->designFiles()->save(Tab::Calc, Path("calc.okep")));
        Fill(2, "Option2(1)", {"470", "10", "100", "1.2"});
        QVERIFY(form->designFiles()->save(Tab::Check, Path("check.okep")));
        for (const auto& [name, note] : {std::pair{"calc.okep", "5V rail"}, {"check.okep", ""}}) {
            QFile file(Path(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QJsonDocument::fromJson(file.readAll()).object()["note"].toString(),
                     QString(note));
        }
    }

    // A design file dropped on a box or on the form opens; the box does not take its path.
    void droppedFileOpens_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("box") << "Text1(1)";
        QTest::newRow("label") << "Label1(0)";
    }
    void droppedFileOpens() {
        QFETCH(QString, target);
        const QString file = Path("dropped.okep");
        CommandLine({"design", "--r2", "10k", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30",
                     "--save", file});
        QWidget* widget = C(target);
        Front(widget);
        Drop(qobject_cast<QLineEdit*>(widget) ? widget : form.get(), file);
        QCOMPARE(Text("Text1(1)"), QString("2.5"));
        QCOMPARE(Text("Label2(0)"), QString("64955"));
        QVERIFY(Window() && Window()->isVisible());
    }

    // The menu's entries name the keys, which open the real dialogs; they offer design files,
    // and cancelling changes nothing.
    void keysOpenTheDialogs_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mode");
        QTest::newRow("Ctrl+O") << "OpenDesign" << int(Qt::Key_O) << int(QFileDialog::AcceptOpen);
        QTest::newRow("Ctrl+S") << "SaveDesign" << int(Qt::Key_S) << int(QFileDialog::AcceptSave);
    }
    void keysOpenTheDialogs() {
        QFETCH(QString, entry);
        QFETCH(int, key);
        QFETCH(int, mode);
        for (const char* target : {"Label1(0)", "Text2(0)"}) {
            QMenu* menu = OpenMenu(target);
            QAction* action = menu->findChild<QAction*>(entry);
            QVERIFY(action && action->isEnabled());
            QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key(key)));
            menu->close();
        }
        Fill(1, "Option1(1)", {"10000", "2.5", "40", "30"});
        const QStringList before = Snapshot();
        QStringList filters;
        int shownMode = -1;
        ExpectModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            shownMode = dialog->acceptMode();
        });
        QTest::keyClick(form.get(), Qt::Key(key), Qt::ControlModifier);
        QTRY_COMPARE(shownMode, mode);
        QCOMPARE(filters, QStringList{"Orvalex KEP designs (*.okep)"});
        QCOMPARE(Snapshot(), before);
        QVERIFY(prompts.isEmpty());
    }
};

QTEST_MAIN(DesignFileTest)
#include "design_file_test.moc"
