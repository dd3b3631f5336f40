// Contrast of the window's texts and icon under light and dark desktop palettes, measured on the
// rendered pixels.
#include "main_window/application_icon.h"

#include "window_fixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

using namespace window_test;

namespace {

// The least contrast at which normal-sized text counts as readable.
constexpr double MinimumContrast = 4.5;

// Relative luminance of an sRGB colour.
double Luminance(QRgb rgb) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A text or emblem as drawn: the ground it stands on (the commonest colour there) and its ink,
// the pixel that stands out most from the ground. Anti-aliasing leaves the ink at the drawing
// colour wherever a stroke covers a whole pixel.
struct Drawn {
    QRgb ground = 0;
    QRgb ink = 0;
    double contrast = 0;
};

Drawn Measure(const QList<QRgb>& grounds, const QList<QRgb>& inks) {
    std::map<QRgb, int> counts;
    for (QRgb rgb : grounds) {
        ++counts[rgb];
    }
    Drawn drawn;
    drawn.ground = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                       return a.second < b.second;
                   })->first;
    for (QRgb rgb : inks) {
        if (const double contrast = Contrast(rgb, drawn.ground); contrast > drawn.contrast) {
            drawn = {drawn.ground, rgb, contrast};
        }
    }
    return drawn;
}

QString Hex(QRgb rgb) {
    return QColor(rgb).name();
}

QImage Grab(QWidget* control) {
    return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The control's text measured against its ground: the control is drawn with its text and once
// without, and the pixels that differ are the text's, whatever frame or bevel surrounds it.
// Controls without text give nothing.
std::optional<Drawn> MeasureText(QWidget* control) {
    const char* property = qobject_cast<QGroupBox*>(control) ? "title" : "text";
    const QString text = control->property(property).toString();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const QImage with = Grab(control);
    control->setProperty(property, QString());
    const QImage without = Grab(control);
    control->setProperty(property, text);
    QList<QRgb> grounds;
    QList<QRgb> inks;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) != without.pixel(x, y)) {
                grounds << without.pixel(x, y);
                inks << with.pixel(x, y);
            }
        }
    }
    if (inks.isEmpty()) {
        return Drawn{}; // text that draws nothing cannot be read
    }
    return Measure(grounds, inks);
}

// A dark palette as a dark desktop theme hands it to the toolkit: light text on dark grounds.
QPalette DarkPalette() {
    QPalette palette(QColor(0x31363b), QColor(0x31363b)); // button and window; the rest follows
    palette.setColor(QPalette::Base, QColor(0x1b1e20));
    palette.setColor(QPalette::Highlight, QColor(0x3daee9));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, QColor(0xfcfcfc));
        palette.setColor(QPalette::Inactive, role, QColor(0xfcfcfc));
    }
    return palette;
}

// A desktop style that draws button faces in its own dark grey, whatever the palette says.
class OwnButtonFacesStyle : public QProxyStyle {
  public:
    OwnButtonFacesStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButtonBevel) {
            painter->fillRect(option->rect, QColor(0x353535));
        } else {
            QProxyStyle::drawControl(element, option, painter, widget);
        }
    }
};
constexpr char OwnButtonFaces[] = "own button faces";

// What the window holds when measured.
enum Scenario {
    RedMarks,         // all three red marks on the Calc tab, results on both tabs
    ClearedWithDiode, // Calc CLEAR's white in all five boxes, then a design with the diode
};

} // namespace

class WindowContrastTest : public QObject, WindowFixture {
    Q_OBJECT

    QPalette lightPalette;
    QString startStyle;

    // Presses CAL as a user would, with worked examples.
    void Prepare(Scenario scenario) {
        if (scenario == RedMarks) {
            Fill(1, "Option1(1)", {"10000", "2.5", "40", "2"}); // Vo_max box red
            Click("Command1");
            Fill(1, "Option1(1)", {"100", "2.0", "101.2", "40.2"}); // Vo_mid result red
            Click("Command1");
            Fill(1, "Option1(1)", {"2", "0.5", "240.6", "90.8"}); // Vo_min box red
            Click("Command1");
            Fill(2, "Option2(1)", {"470", "10", "100", "1.2"});
            Click("Command3");
        } else {
            Fill(1, "Option1(1)", {"10000", "2.5", "40", "2"});
            Click("Command1");
            Click("Command2");
            Fill(1, "Option1(0)", {"10000", "2.5", "40", "30"}, "0.6");
            Click("Command1");
        }
    }

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        lightPalette = QApplication::palette();
        startStyle = QApplication::style()->name();
        QVERIFY2(Luminance(lightPalette.color(QPalette::Window).rgb()) > 0.5,
                 "the desktop's own palette is expected to be light");
    }
    void cleanup() {
        CloseForm();
        QApplication::setStyle(startStyle);
        QApplication::setPalette(lightPalette);
    }

    // clang-format off
    void fixedGroundsKeepTheirTextReadable_data() {
        QTest::addColumn<QPalette>("opened");  // the palette when the window opens
        QTest::addColumn<QPalette>("switched"); // the palette the desktop switches to afterwards
        QTest::addColumn<QString>("style");     // a style switched to afterwards, if any
        QTest::addColumn<int>("scenario");
        QTest::addColumn<QStringList>("red");
        QTest::addColumn<QStringList>("white");
        QTest::addColumn<QStringList>("messages");
        const QPalette light = QApplication::palette();
        const QPalette dark = DarkPalette();
        const struct {
            const char* name;
            QPalette opened, switched;
            const char* style;
        } desktops[] = {
            {"light", light, light, ""},
            {"dark", dark, dark, ""},
            {"light, then dark while open", light, dark, ""},
            {"dark, then light while open", dark, light, ""},
            {"dark, then another style while open", dark, dark, "Windows"},
            {"dark, then a style with its own button faces", dark, dark, OwnButtonFaces},
        };
        for (const auto& desktop : desktops) {
            QTest::addRow("%s, red marks", desktop.name)
                << desktop.opened << desktop.switched << QString(desktop.style) << int(RedMarks)
                << QStringList{"Text1(2)", "Text1(3)", "Label2(2)"}
                << QStringList{"Label2(0)", "Label2(1)"} + Range("Label3", 4)
                << QStringList{CalError, CalError, CalError};
            QTest::addRow("%s, cleared then diode", desktop.name)
                << desktop.opened << desktop.switched << QString(desktop.style)
                << int(ClearedWithDiode) << QStringList{}
                << Range("Text1", 5) + QStringList{"Label2(0)", "Label2(1)"}
                << QStringList{CalError};
        }
    }
    // clang-format on

    // Every text shown on the Calc and Check tabs reads at 4.5:1 or better, those on the
    // window's own white and red as well as those in the desktop's colours; the white and red
    // stay as they are.
    void fixedGroundsKeepTheirTextReadable() {
        QFETCH(QPalette, opened);
        QFETCH(QPalette, switched);
        QFETCH(QString, style);
        QFETCH(int, scenario);
        QFETCH(QStringList, red);
        QFETCH(QStringList, white);
        QFETCH(QStringList, messages);
        QApplication::setPalette(opened);
        QVERIFY(OpenForm());
        Prepare(Scenario(scenario));
        QCOMPARE(prompts, messages);
        QApplication::setPalette(switched);
        if (style == OwnButtonFaces) {
            QApplication::setStyle(new OwnButtonFacesStyle);
        } else if (!style.isEmpty()) {
            QVERIFY(QApplication::setStyle(style));
        }
        QCoreApplication::processEvents();

        QStringList measured;
        QStringList faults;
        for (int tab : {0, 3}) {
            Tabs()->setCurrentIndex(tab);
            for (QWidget* control : Tabs()->widget(tab)->findChildren<QWidget*>()) {
                if (control->objectName().isEmpty() || !control->isVisible()) {
                    continue;
                }
                const auto drawn = MeasureText(control);
                if (!drawn) {
                    continue;
                }
                const QString name = control->objectName();
                measured << name;
                if (drawn->contrast == 0) {
                    faults << name + ": its text cannot be seen at all";
                    continue;
                }
                if (drawn->contrast < MinimumContrast) {
                    faults << QString("%1: %2 on %3 is %4:1")
                                  .arg(name, Hex(drawn->ink), Hex(drawn->ground))
                                  .arg(drawn->contrast, 0, 'f', 2);
                }
                const QColor fixed = red.contains(name)     ? Qt::red
                                     : white.contains(name) ? Qt::white
                                                            : QColor();
                if (fixed.isValid() && drawn->ground != fixed.rgb()) {
                    faults << QString("%1: ground %2, not %3")
                                  .arg(name, Hex(drawn->ground), fixed.name());
                }
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable("\n    " + faults.join("\n    ")));
        // The filled boxes and results and the white CLEAR button were all measured.
        for (const QString& name : red + white + QStringList{"Command2"}) {
            QVERIFY2(measured.contains(name), qPrintable(name + " was not measured"));
        }
    }

    // The emblem carries its own light ground, so it stands out on a dark panel too.
    void iconReadsOnADarkPanel() {
        const QIcon icon = main_window::ApplicationIcon();
        const QColor panel = DarkPalette().color(QPalette::Window);
        for (int side : {16, 24, 32, 48, 64}) {
            QImage image(side, side, QImage::Format_RGB32);
            image.fill(panel);
            QPainter painter(&image);
            icon.paint(&painter, image.rect());
            painter.end();
            QList<QRgb> pixels;
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    pixels << image.pixel(x, y);
                }
            }
            const Drawn drawn = Measure(pixels, pixels);
            QVERIFY2(drawn.contrast >= MinimumContrast,
                     qPrintable(QString("at %1 px: %2 on %3 is %4:1")
                                    .arg(side)
                                    .arg(Hex(drawn.ink), Hex(drawn.ground))
                                    .arg(drawn.contrast, 0, 'f', 2)));
        }
    }
};

QTEST_MAIN(WindowContrastTest)
#include "window_contrast_test.moc"
