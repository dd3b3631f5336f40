// The open design as a document: the titles name its file with the modified mark after a change
// of its inputs, settings or fit; closing or opening another design with changes asks Save,
// Discard or Cancel; Save design writes to its file and Save design as asks; the recent designs.
#include "window_fixture.h"

#include "analysis_window/analysis_window.h"
#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"
#include "main_window/design_document.h"
#include "main_window/design_files.h"
#include "main_window/recent_designs.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using analysis_window::AnalysisWindow;
using main_window::DesignDocument;

namespace {

// The Calc worked example at ± 2 %, as a file holds it.
QByteArray WorkedExample() {
    design_file::Design design;
    design.inputs = {10000, 2.5, 40, 30, 0};
    design.settings.specPct = 2;
    return QByteArray::fromStdString(design_file::DesignText(design));
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString Caption = QStringLiteral("Orvalex KEP CAL");

} // namespace

class DesignDocumentTest : public QObject, public window_test::WindowFixture {
    Q_OBJECT

    QTemporaryDir m_folder;
    QStringList m_asked; // the questions asked, "fileName: doing"
    QList<DesignDocument::Answer> m_answers;
    int m_dialogs = 0; // file dialogs that would have opened

    QString Path(const QString& name) const { return m_folder.filePath(name); }
    AnalysisWindow* Window() const { return form->findChild<AnalysisWindow*>(); }
    DesignDocument* Document() const { return form->designFiles()->document(); }
    // A file of the worked example, opened.
    QString OpenWorked(const QString& name = QStringLiteral("worked.okep")) {
        const QString path = Path(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(WorkedExample()) < 0) {
            return {};
        }
        file.close();
        return form->designFiles()->open(path) ? path : QString();
    }
    QString Title() const {
        return form->windowTitle() + (form->isWindowModified() ? " modified" : "");
    }
    // Does one step of a row: "type Text1(1) 2.6", "type Text2(1) 11", "Option1(0)", "spec 3",
    // "CAL", "save", "fit 2", "As designed", "undo", "yield".
    void Do(const QString& step) {
        const QStringList words = step.split(' ');
        if (words[0] == "type") {
            Type(words[1], words[2]);
        } else if (words[0].startsWith("Option")) {
            Click(words[0]);
        } else if (words[0] == "spec") {
            Window()->findChild<QDoubleSpinBox*>("Spec")->setValue(words[1].toDouble());
        } else if (step == "CAL") {
            Click("Command1");
        } else if (step == "save") {
            QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        } else if (step == "undo") {
            Window()->undo();
        } else if (step == "yield") {
            Window()->findChild<QCheckBox*>("EstimateYield")->setChecked(false);
        } else if (step == "As designed") {
            QTest::mouseClick(Window()->findChild<QPushButton*>("AsDesigned"), Qt::LeftButton);
        } else {
            QFAIL(qPrintable("no such step: " + step));
        }
    }

  private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QSettings().remove(QStringLiteral("recentDesigns"));
        QVERIFY(OpenForm());
        m_asked.clear();
        m_answers.clear();
        m_dialogs = 0;
        Document()->setSaveQuestion([this](const QString& name, const QString& doing) {
            m_asked << name + ": " + doing;
            return m_answers.isEmpty() ? DesignDocument::Answer::Cancel : m_answers.takeFirst();
        });
        form->designFiles()->setFileChooser([this](bool, const QString&) {
            ++m_dialogs;
            return QString();
        });
    }
    void cleanup() { CloseForm(); }

    // After opening worked.okep on the Calc tab: what changes its design, and what does not.
    void titleAndModifiedMark_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("modified");
        QTest::newRow("opened") << QStringList{} << false;
        QTest::newRow("its box") << QStringList{"type Text1(1) 2.6"} << true;
        QTest::newRow("its diode choice") << QStringList{"Option1(0)"} << true;
        QTest::newRow("a setting") << QStringList{"spec 3"} << true;
        QTest::newRow("the yield estimate") << QStringList{"yield"} << false;
        QTest::newRow("the other tab's box") << QStringList{"type Text2(1) 11"} << false;
        QTest::newRow("CAL again") << QStringList{"CAL"} << false;
        QTest::newRow("As designed without a fit") << QStringList{"As designed"} << false;
        QTest::newRow("saved after a change") << QStringList{"spec 3", "save"} << false;
        QTest::newRow("changed after saving")
            << QStringList{"spec 3", "save", "type Text1(2) 41"} << true;
        QTest::newRow("a setting undone") << QStringList{"spec 3", "undo"} << true;
    }
    void titleAndModifiedMark() {
        QFETCH(QStringList, steps);
        QFETCH(bool, modified);
        QCOMPARE(Title(), Caption);
        QVERIFY(!OpenWorked().isEmpty());
        QCOMPARE(Title(), "worked.okep[*] \u2014 " + Caption);
        for (const QString& step : steps) {
            Do(step);
        }
        QCOMPARE(form->windowTitle(), "worked.okep[*] \u2014 " + Caption);
        QCOMPARE(form->isWindowModified(), modified);
        QCOMPARE(Window()->windowTitle(), "worked.okep[*] \u2014 Design analysis \u2013 Calc tab");
        QCOMPARE(Window()->isWindowModified(), modified);
        QCOMPARE(m_dialogs, 0); // Ctrl+S wrote to the open file
        QVERIFY(prompts.isEmpty());
    }

    // The analysis of the other tab does not show the open design's name, nor do its settings
    // change that design.
    void otherTabsAnalysisIsNotTheDesign() {
        Fill(2, "Option2(1)", {"470", "10", "100", "1.2"});
        Click("Command3");
        QVERIFY(!OpenWorked().isEmpty());
        ClickTab(3);
        QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(Window()->windowTitle(), "Design analysis \u2013 Check tab");
        Window()->findChild<QDoubleSpinBox*>("Spec")->setValue(3);
        QVERIFY(!form->isWindowModified());
    }

    // Closing: with changes it asks, and Cancel keeps the window, Discard closes it and Save
    // writes the change first; without changes, or a design never opened or saved, it does not.
    void closeAsksOnlyWithChanges_data() {
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer"); // DesignDocument::Answer
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("written"); // the file holds the change
        const int save = int(DesignDocument::Answer::Save);
        const int discard = int(DesignDocument::Answer::Discard);
        const int cancel = int(DesignDocument::Answer::Cancel);
        QTest::newRow("Cancel") << true << true << cancel << false << false;
        QTest::newRow("Discard") << true << true << discard << true << false;
        QTest::newRow("Save") << true << true << save << true << true;
        QTest::newRow("no changes") << true << false << cancel << true << false;
        QTest::newRow("never opened") << false << true << cancel << true << false;
    }
    void closeAsksOnlyWithChanges() {
        QFETCH(bool, opened);
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, written);
        const QString path = opened ? OpenWorked() : QString();
        if (!opened) {
            Fill(1, "Option1(1)", {"10000", "2.5", "40", "30"});
            Click("Command1");
        }
        if (changed) {
            Type("Text1(2)", "41");
        }
        m_answers = {DesignDocument::Answer(answer)};
        QCOMPARE(form->close(), closed);
        QCOMPARE(m_asked, opened && changed ? QStringList{"worked.okep: closing"} : QStringList{});
        if (opened) {
            const auto read = design_file::ReadDesign(Contents(path).toStdString(), "worked");
            QVERIFY(read.design);
            QCOMPARE(read.design->inputs[2], written ? 41.0 : 40.0);
        }
        QVERIFY(prompts.isEmpty());
    }

    // The program's question is Qt's standard one: Save, Discard and Cancel, Cancel on Escape.
    void closeAsksWithTheStandardButtons() {
        Document()->setSaveQuestion(nullptr);
        QVERIFY(!OpenWorked().isEmpty());
        Type("Text1(2)", "41");
        QStringList buttons;
        QString text;
        ExpectModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            text = box->text();
            for (QAbstractButton* button : box->buttons()) {
                buttons << button->text().remove('&');
            }
            QCOMPARE(box->escapeButton(), box->button(QMessageBox::Cancel));
            box->button(QMessageBox::Cancel)->click();
        });
        QVERIFY(!form->close());
        QCOMPARE(text, "Save the changes to worked.okep before closing?");
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Cancel", "Discard", "Save"}));
    }

    // Opening another design with changes asks first; Cancel keeps the open one as it is.
    void openingAnotherAsks() {
        const QString first = OpenWorked();
        Type("Text1(2)", "41");
        m_answers = {DesignDocument::Answer::Cancel};
        QVERIFY(OpenWorked("other.okep").isEmpty());
        QCOMPARE(m_asked, QStringList{"worked.okep: opening other.okep"});
        QCOMPARE(Text("Text1(2)"), "41");
        QCOMPARE(Document()->path(), first);
        m_answers = {DesignDocument::Answer::Discard};
        QVERIFY(!OpenWorked("other.okep").isEmpty());
        QCOMPARE(Title(), "other.okep[*] \u2014 " + Caption);
        QCOMPARE(Text("Text1(2)"), "40");
    }

    // Save design writes to the open design's file on its tab and asks elsewhere; Save design
    // as… always asks.
    void saveWritesToTheOpenFile_data() {
        QTest::addColumn<int>("tab"); // the page in front: 0 Calc, 3 Check
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("Save on its tab") << 0 << false << 0;
        QTest::newRow("Save as on its tab") << 0 << true << 1;
        QTest::newRow("Save on the other tab") << 3 << false << 1;
    }
    void saveWritesToTheOpenFile() {
        QFETCH(int, tab);
        QFETCH(bool, saveAs);
        const QString path = OpenWorked();
        ClickTab(tab);
        Window()->findChild<QDoubleSpinBox*>("Spec")->setValue(3);
        QTest::keyClick(form.get(), Qt::Key_S,
                        saveAs ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        QTEST(m_dialogs, "dialogs");
        const auto read = design_file::ReadDesign(Contents(path).toStdString(), "worked");
        QVERIFY(read.design);
        QCOMPARE(read.design->settings.specPct, m_dialogs == 0 ? 3.0 : 2.0);
        QVERIFY(prompts.isEmpty());
        for (const char* entry : {"SaveDesign", "SaveDesignAs"}) {
            QMenu* menu = OpenMenu("Label1(0)");
            QCOMPARE(
                menu->findChild<QAction*>(entry)->shortcut(),
                QKeySequence(entry == QStringLiteral("SaveDesign") ? "Ctrl+S" : "Ctrl+Shift+S"));
            menu->close();
        }
    }

    // Whether the yield is estimated opens from the file into the window and is saved from it.
    void yieldEstimatedComesAndGoes() {
        design_file::Design design;
        design.inputs = {10000, 2.5, 40, 30, 0};
        design.settings.yield.boards = 1000;
        design.yieldEstimated = true;
        QFile file(Path("estimated.okep"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(design_file::DesignText(design)));
        file.close();
        QVERIFY(form->designFiles()->open(file.fileName()));
        auto* estimate = Window()->findChild<QCheckBox*>("EstimateYield");
        QVERIFY(estimate->isChecked());
        QVERIFY(!form->isWindowModified());
        estimate->setChecked(false);
        QVERIFY(form->isWindowModified());
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        const auto read =
            design_file::ReadDesign(Contents(file.fileName()).toStdString(), "estimated");
        QVERIFY(read.design && !read.design->yieldEstimated);
    }

    // The analysis's documents name the open design's file, while they are of its tab.
    void exportedReportNamesTheFile() {
        QVERIFY(!OpenWorked().isEmpty());
        const QString exported = Path("report.csv");
        QVERIFY(Window()->exportReport(exported, QDate(2026, 1, 2)));
        QVERIFY(Contents(exported).contains("Design file,worked.okep\r\n"));
        Fill(2, "Option2(1)", {"470", "10", "100", "1.2"});
        Click("Command3");
        QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(Window()->exportReport(exported, QDate(2026, 1, 2)));
        QVERIFY(!Contents(exported).contains("Design file"));
    }

    // The recent designs, newest first, each once; one no longer there is said and taken off.
    void recentDesignsAfterTwoFiles() {
        const QString first = OpenWorked("first.okep");
        const QString second = OpenWorked("second.okep");
        QCOMPARE(main_window::RecentDesigns(), (QStringList{second, first}));
        QMenu* menu = OpenMenu("Label1(0)");
        QMenu* recent = menu->findChild<QMenu*>("RecentDesigns");
        QVERIFY(recent && recent->isEnabled());
        QStringList entries;
        for (QAction* action : recent->actions()) {
            entries << action->text();
        }
        QCOMPARE(entries, (QStringList{"&1 second.okep", "&2 first.okep"}));
        menu->close();
        QVERIFY(QFile::remove(first));
        Choose(OpenMenu("Label1(0)"), "RecentDesign2");
        QCOMPARE(prompts, QStringList{first + " is no longer there; it is taken off the recent "
                                              "designs."});
        QCOMPARE(main_window::RecentDesigns(), QStringList{second});
        QCOMPARE(Document()->path(), second);
        // Eight at most, the oldest let go.
        for (int i = 0; i < 9; ++i) {
            main_window::AddRecentDesign(Path(QString("rail%1.okep").arg(i)));
        }
        QCOMPARE(main_window::RecentDesigns().size(), 8);
        QCOMPARE(main_window::RecentDesigns().front(), Path("rail8.okep"));
    }
};

QTEST_MAIN(DesignDocumentTest)
#include "design_document_test.moc"
