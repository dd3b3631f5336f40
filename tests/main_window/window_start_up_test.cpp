// Tests of what the window leaves until it is needed, and of the faces its fonts come to.
#include "window_fixture.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

class WindowStartUpTest : public QObject, window_test::WindowFixture {
    Q_OBJECT

  private slots:
    void cleanup() { CloseForm(); }

    // Auto-size captions are measured when first shown, which the window opening on the
    // Schematic tab does not do; a caption in a wider face then grows, and only then.
    void autoSizeCaptionGrowsWhenFirstShown() {
        QVERIFY(OpenForm());
        auto* caption = C<QLabel>("Label1(0)"); // Calc tab
        auto* hidden = C<QLabel>("Label1(8)");  // shown with the diode only
        const QSize captionSize = caption->size();
        const QSize hiddenSize = hidden->size();
        for (QLabel* label : {caption, hidden}) {
            QFont wide = label->font();
            wide.setPointSizeF(wide.pointSizeF() * 2);
            label->setFont(wide);
            QVERIFY(label->sizeHint().width() > label->width());
        }
        QCoreApplication::processEvents();
        QCOMPARE(caption->size(), captionSize);

        ClickTab(0);
        QCOMPARE(caption->size(), QSize(caption->sizeHint().width(), captionSize.height()));
        QCOMPARE(hidden->size(), hiddenSize);

        Click("Option1(0)");
        QVERIFY(hidden->isVisible());
        QCOMPARE(hidden->size(), QSize(hidden->sizeHint().width(), hiddenSize.height()));
    }

    // Text boxes and frames take in their font when first shown or painted: then they look, and
    // frame their contents, as they do once their font is set again, tab opened or not.
    void hiddenControlsDrawInTheirOwnFont_data() {
        QTest::addColumn<bool>("openTab");
        for (const char* name : {"Text1(0)", "Frame1(0)", "Text2(3)", "Frame1(1)"}) {
            QTest::addRow("%s opened", name) << true;
            QTest::addRow("%s drawn hidden", name) << false;
        }
    }

    void hiddenControlsDrawInTheirOwnFont() {
        QFETCH(bool, openTab);
        QVERIFY(OpenForm());
        QWidget* control = C(QString::fromLatin1(QTest::currentDataTag()).section(' ', 0, 0));
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            box->setText("470.5"); // typed while the tab is hidden
        }
        if (openTab) {
            Front(control);
            QVERIFY(control->isVisible());
        }
        const QImage first = control->grab().toImage();
        const QRect inside = control->contentsRect(); // a frame's, from its title's height
        const QFont font = control->font();
        control->setFont(QFont());
        control->setFont(font);
        QCOMPARE(control->contentsRect(), inside);
        QCOMPARE(control->grab().toImage(), first);
    }

    // clang-format off
    void fontsComeToLiberationSansWhereArialIsMissing_data() {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<bool>("heading");
        QTest::newRow("SSTab1") << "Arial Black" << true;
        QTest::newRow("Frame1(0)") << "Arial Black" << true;
        QTest::newRow("Label1(0)") << "Arial" << false;
        QTest::newRow("Text1(0)") << "Arial" << false;
    }
    // clang-format on

    void fontsComeToLiberationSansWhereArialIsMissing() {
        QFETCH(QString, requested);
        QFETCH(bool, heading);
        if (QFontDatabase::families().contains(requested, Qt::CaseInsensitive)) {
            QSKIP("the face itself is installed");
        }
        QVERIFY(OpenForm());
        QWidget* control = C(QString::fromLatin1(QTest::currentDataTag()));
        const QFontInfo face(control == Tabs() ? Tabs()->tabBar()->font() : control->font());
        QCOMPARE(face.family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(face.bold(), heading);
        QCOMPARE(face.italic(), heading);
    }
};

QTEST_MAIN(WindowStartUpTest)
#include "window_start_up_test.moc"
