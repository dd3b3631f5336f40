// Layout tests of the calculator window: controls, places, fonts, captions, focus order, pictures.
#include "main_window/colour_value.h"
#include "main_window/orvalen.h"
#include "main_window/picture_box.h"

#include "window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using main_window::PictureBox;

namespace {

// The window is laid out in twips; 15 twips make one pixel.
int Px(int twips) {
    return qRound(twips / 15.0);
}

} // namespace

class WindowLayoutTest : public QObject, window_test::WindowFixture {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(OpenForm()); }
    void cleanup() { CloseForm(); }

    void windowOpensOnSchematicWithFourTabsInOneRow() {
        QCOMPARE(form->objectName(), QStringLiteral("Orvalen"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Orvalex KEP CAL"));
        QCOMPARE(form->size(), QSize(464, 299));
        QTabWidget* tabs = Tabs();
        QCOMPARE(tabs->parentWidget(), form.get());
        QCOMPARE(tabs->geometry(), QRect(8, 8, 449, 281));
        QCOMPARE(tabs->count(), 4);
        const QStringList captions{"Calc", "Schematic", "Resister", "Check"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            QVERIFY(tabs->isTabEnabled(i));
            QCOMPARE(tabs->tabBar()->tabRect(i).y(), tabs->tabBar()->tabRect(0).y());
        }
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY2(tabs->tabBar()->height() >= 19 && tabs->tabBar()->height() <= 21,
                 qPrintable(QString::number(tabs->tabBar()->height())));
    }

    // clang-format off
    void everyControlHasItsTypeContainerPlaceAndCaption_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<bool>("autoSize");
        auto row = [](const char* name, const char* type, const char* container, const char* caption,
                      int left, int top, int width, int height, bool autoSize = false) {
            QTest::newRow(name) << QString(type) << QString(container) << QString(caption)
                                << QRect(left, top, width, height) << autoSize;
        };
        const bool A = true; // auto-size caption label
        row("SSTab1", "QTabWidget", "Orvalen", "", 120, 120, 6735, 4215);
        // Tab 0 "Calc"
        row("Label6(0)", "QLabel", "tab0", "Diode", 3600, 480, 1335, 375);
        row("Option1(0)", "QRadioButton", "tab0", "Yes", 3720, 840, 975, 330);
        row("Option1(1)", "QRadioButton", "tab0", "No", 5040, 840, 975, 330);
        row("Frame1(0)", "QGroupBox", "tab0", "Input Data", 360, 600, 2775, 2775);
        row("Frame2(0)", "QGroupBox", "tab0", "Output Data", 3600, 1320, 2655, 2055);
        row("Command1", "QPushButton", "tab0", "CAL", 1800, 3480, 1215, 495);
        row("Command2", "QPushButton", "tab0", "CLEAR", 3720, 3480, 1215, 495);
        row("Label1(0)", "QLabel", "Frame1(0)", "R2 [ohm]", 120, 500, 795, 240, A);
        row("Text1(0)", "QLineEdit", "Frame1(0)", "", 1320, 480, 1215, 315);
        row("Label1(1)", "QLabel", "Frame1(0)", "Vref [V]", 120, 930, 660, 240, A);
        row("Text1(1)", "QLineEdit", "Frame1(0)", "", 1320, 900, 1215, 315);
        row("Label1(2)", "QLabel", "Frame1(0)", "Vo_max [V]", 120, 1320, 1035, 240, A);
        row("Text1(2)", "QLineEdit", "Frame1(0)", "", 1320, 1320, 1215, 315);
        row("Label1(3)", "QLabel", "Frame1(0)", "Vo_min  [V]", 120, 1800, 1035, 240, A);
        row("Text1(3)", "QLineEdit", "Frame1(0)", "", 1320, 1800, 1215, 315);
        row("Label1(8)", "QLabel", "Frame1(0)", "Diode Vf [V]", 120, 2280, 1050, 240, A);
        row("Text1(4)", "QLineEdit", "Frame1(0)", "", 1320, 2280, 1215, 315);
        row("Label5(0)", "QLabel", "Frame2(0)", "R1 [ohm]", 120, 480, 795, 240, A);
        row("Label2(0)", "QLabel", "Frame2(0)", "", 1320, 480, 1095, 315);
        row("Label5(1)", "QLabel", "Frame2(0)", "R3 [ohm]", 120, 960, 795, 240, A);
        row("Label2(1)", "QLabel", "Frame2(0)", "", 1320, 960, 1095, 315);
        row("Label5(2)", "QLabel", "Frame2(0)", "Vo_mid [V]", 120, 1440, 975, 240, A);
        row("Label2(2)", "QLabel", "Frame2(0)", "", 1320, 1440, 1095, 315);
        // Tabs 1 "Schematic" and 2 "Resister"
        row("Picture1", "PictureBox", "tab1", "", 720, 900, 4815, 2655);
        row("Picture2", "PictureBox", "tab2", "", 240, 780, 6255, 3375);
        // Tab 3 "Check"; its input rows are not in index order
        row("Label6(1)", "QLabel", "tab3", "Diode", 3600, 480, 1335, 375);
        row("Option2(0)", "QRadioButton", "tab3", "Yes", 3720, 840, 1215, 330);
        row("Option2(1)", "QRadioButton", "tab3", "No", 5040, 840, 1215, 330);
        row("Frame1(1)", "QGroupBox", "tab3", "Input Data", 360, 1080, 2775, 2295);
        row("Frame2(1)", "QGroupBox", "tab3", "Output Data", 3600, 1440, 2655, 1935);
        row("Command3", "QPushButton", "tab3", "CAL", 1800, 3480, 1215, 495);
        row("Command4", "QPushButton", "tab3", "CLEAR", 3720, 3480, 1215, 495);
        row("Label1(4)", "QLabel", "Frame1(1)", "Vref [V]", 120, 360, 660, 240, A);
        row("Text2(3)", "QLineEdit", "Frame1(1)", "", 1320, 360, 1215, 315);
        row("Label1(7)", "QLabel", "Frame1(1)", "R1 [ohm]", 120, 720, 795, 240, A);
        row("Text2(0)", "QLineEdit", "Frame1(1)", "", 1320, 720, 1215, 315);
        row("Label1(6)", "QLabel", "Frame1(1)", "R2 [ohm]", 120, 1080, 795, 240, A);
        row("Text2(1)", "QLineEdit", "Frame1(1)", "", 1320, 1080, 1215, 315);
        row("Label1(5)", "QLabel", "Frame1(1)", "R3 [ohm]", 120, 1440, 795, 240, A);
        row("Text2(2)", "QLineEdit", "Frame1(1)", "", 1320, 1440, 1215, 315);
        row("Label1(9)", "QLabel", "Frame1(1)", "Diode Vf [V]", 120, 1800, 1050, 240, A);
        row("Text2(4)", "QLineEdit", "Frame1(1)", "", 1320, 1800, 1215, 315);
        row("Label5(3)", "QLabel", "Frame2(1)", "Vo max [V]", 120, 360, 990, 240, A);
        row("Label3(0)", "QLabel", "Frame2(1)", "", 1320, 360, 1095, 315);
        row("Label5(4)", "QLabel", "Frame2(1)", "Vo mid [V]", 120, 720, 930, 240, A);
        row("Label3(1)", "QLabel", "Frame2(1)", "", 1320, 720, 1095, 315);
        row("Label5(5)", "QLabel", "Frame2(1)", "Vo min [V]", 120, 1080, 930, 240, A);
        row("Label3(2)", "QLabel", "Frame2(1)", "", 1320, 1080, 1095, 315);
        row("Label5(6)", "QLabel", "Frame2(1)", "Delta -/+ [V]", 120, 1440, 1065, 240, A);
        row("Label3(3)", "QLabel", "Frame2(1)", "", 1320, 1440, 1095, 315);
    }
    // clang-format on

    void everyControlHasItsTypeContainerPlaceAndCaption() {
        QFETCH(QString, type);
        QFETCH(QString, container);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QFETCH(bool, autoSize);
        QWidget* w = Find(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        QTabWidget* tabs = Tabs();

        // The picture box is the window's own class; the rest are the toolkit's.
        QVERIFY(type == "PictureBox" ? dynamic_cast<PictureBox*>(w) != nullptr
                                     : w->inherits(qPrintable(type)));
        QCOMPARE(w->property(type == "QGroupBox" ? "title" : "text").toString(), caption);

        // Controls on a tab are placed from the tab control's outer corner (tab strip
        // included), so measure with the page in front and laid out as the user sees it.
        QPoint place;
        if (container.startsWith("tab")) {
            const int tab = container.mid(3).toInt();
            QCOMPARE(w->parentWidget(), tabs->widget(tab));
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            place = w->mapTo(tabs, QPoint(0, 0));
        } else {
            QCOMPARE(w->parentWidget()->objectName(), container);
            place = w->pos();
        }
        QCOMPARE(place, QPoint(Px(twips.left()), Px(twips.top())));
        QCOMPARE(w->height(), Px(twips.height()));
        // An auto-size label may grow to fit its caption, never shrink.
        if (autoSize) {
            QVERIFY2(w->width() >= Px(twips.width()), qPrintable(QString::number(w->width())));
        } else {
            QCOMPARE(w->width(), Px(twips.width()));
        }
    }

    // clang-format off
    void headingsAreBoldItalicAndValuesPlain_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<bool>("heading");
        const QString black = "Arial Black";
        for (const char* name : {"SSTab1", "Label6(0)", "Label6(1)", "Option1(0)", "Option1(1)", "Option2(0)",
                                 "Option2(1)", "Command1", "Command2", "Command3", "Command4", "Frame2(0)", "Frame2(1)"}) {
            QTest::newRow(name) << black << 11.25 << true;
        }
        QTest::newRow("Frame1(0)") << black << 12.0 << true;
        QTest::newRow("Frame1(1)") << black << 12.0 << true;
        for (const char* name : {"Label1(0)", "Label1(3)", "Label1(9)", "Label5(0)", "Label5(6)"}) {
            QTest::newRow(name) << QString("Arial") << 9.75 << false;
        }
        for (const char* name : {"Text1(0)", "Text1(4)", "Text2(3)", "Label2(2)", "Label3(0)"}) {
            QTest::newRow(name) << QString("Arial") << 11.25 << false;
        }
    }
    // clang-format on

    void headingsAreBoldItalicAndValuesPlain() {
        QFETCH(QString, family);
        QFETCH(qreal, points);
        QFETCH(bool, heading);
        QWidget* w = Find(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        // The tab captions are drawn by the tab strip, so check the font it really uses.
        const QFont font = w == Tabs() ? Tabs()->tabBar()->font() : w->font();
        QCOMPARE(font.families().value(0, font.family()), family);
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.bold(), heading);
        QCOMPARE(font.italic(), heading);
    }

    void everyCaptionFitsItsControl() {
        QStringList cut;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            QString text;
            int room = 0; // the width left for the caption inside the control's own margins
            if (auto* label = qobject_cast<QLabel*>(w)) {
                text = label->text();
                room = label->contentsRect().width();
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = text = button->text();
                const auto element = qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                                    : QStyle::SE_PushButtonContents;
                room = w->style()->subElementRect(element, &option, w).width();
            } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
                QStyleOptionGroupBox option;
                option.initFrom(frame);
                option.text = text = frame->title();
                option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
                room = w->width() - w->style()
                                        ->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, w)
                                        .left();
            }
            if (const int needed = w->fontMetrics().horizontalAdvance(text); needed > room) {
                cut << QString("%1 (%2 > %3)").arg(w->objectName()).arg(needed).arg(room);
            }
        }
        const QTabBar* strip = Tabs()->tabBar();
        for (int i = 0; i < strip->count(); ++i) {
            if (strip->fontMetrics().horizontalAdvance(strip->tabText(i)) >
                strip->tabRect(i).width()) {
                cut << "tab " + strip->tabText(i);
            }
        }
        QCOMPARE(cut, QStringList());
    }

    void resultsAreRightJustifiedInWhiteBorderedBoxes() {
        const auto results =
            form->findChildren<QLabel*>(QRegularExpression(R"(^Label[23]\(\d\)$)"));
        QCOMPARE(results.size(), 7);
        for (QLabel* label : results) {
            const QByteArray name = label->objectName().toLatin1();
            QVERIFY2(label->alignment() & Qt::AlignRight && label->frameShape() != QFrame::NoFrame,
                     name);
            QCOMPARE(main_window::BackColor(label), 0xFFFFFFu);
            // Without its own fill the label would show the face colour behind it.
            QVERIFY2(label->autoFillBackground(), name);
        }
        const auto boxes =
            form->findChildren<QLineEdit*>(QRegularExpression(R"(^Text[12]\(\d\)$)"));
        QCOMPARE(boxes.size(), 10);
        for (QLineEdit* box : boxes) {
            QVERIFY2(box->alignment() & Qt::AlignRight, qPrintable(box->objectName()));
        }
        auto* caption = form->findChild<QLabel*>("Label1(3)");
        QVERIFY(caption->alignment() & Qt::AlignLeft && caption->frameShape() == QFrame::NoFrame);
    }

    // clang-format off
    void tabKeyFollowsTheFocusOrderOfTheTabInFront_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("diode");
        QTest::addColumn<QStringList>("order");
        const QStringList calc{"Command2", "Command1", "Text1(3)", "Text1(2)", "Text1(0)", "Text1(1)"};
        const QStringList check{"Text2(1)", "Text2(0)", "Text2(2)", "Text2(3)", "Command3", "Command4"};
        const QStringList calcOptions{"Option1(0)", "Option1(1)"};
        const QStringList checkOptions{"Option2(0)", "Option2(1)"};
        QTest::newRow("Calc without diode") << 0 << "Option1(1)" << calc + calcOptions;
        QTest::newRow("Calc with diode") << 0 << "Option1(0)" << calc + calcOptions + QStringList{"Text1(4)"};
        QTest::newRow("Check without diode") << 3 << "Option2(1)" << check + checkOptions;
        QTest::newRow("Check with diode") << 3 << "Option2(0)" << check + QStringList{"Text2(4)"} + checkOptions;
    }
    // clang-format on

    void tabKeyFollowsTheFocusOrderOfTheTabInFront() {
        QFETCH(int, tab);
        QFETCH(QString, diode);
        QFETCH(QStringList, order);
        form->findChild<QRadioButton*>(diode)->setChecked(true);
        Tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        // The tab control comes first of all, so the round from the tab's first control ends there.
        order << "SSTab1";
        QWidget* first = Find(order.first());
        // Only the form's own controls count, not the parts the toolkit adds (the tab strip,
        // pages).
        const QRegularExpression controlName(R"(^(SSTab1|Command\d|Picture\d|\w+\d\(\d\))$)");
        QStringList visited;
        QWidget* w = first;
        do {
            if (w->focusPolicy() != Qt::NoFocus && w->isVisible() &&
                controlName.match(w->objectName()).hasMatch()) {
                visited << w->objectName();
            }
            w = w->nextInFocusChain();
        } while (w != first && visited.size() < 100);
        QCOMPARE(visited, order);
    }

    // clang-format off
    void picturesHoldTheirImagesAtFullSize_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("Picture1") << QSize(319, 177);
        QTest::newRow("Picture2") << QSize(412, 219);
    }
    // clang-format on

    void picturesHoldTheirImagesAtFullSize() {
        QFETCH(QSize, size);
        auto* box = Find<PictureBox>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(box);
        QVERIFY(!box->picture().isNull());
        QCOMPARE(box->picture().deviceIndependentSize().toSize(), size);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
