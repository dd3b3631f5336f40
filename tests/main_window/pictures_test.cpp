// Tests of the two reference pictures: the preferred-values table, the schematic's labels, how
// the picture boxes show them at the screen's pixel density, and the renderings the build stores
// for start-up.
#include "main_window/application_icon.h"
#include "main_window/orvalen.h"
#include "main_window/picture_box.h"
#include "main_window/picture_rendering.h"
#include "main_window/stored_image.h"

#include "window_fixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>
#include <map>

using main_window::FromStoredImage;
using main_window::Orvalen;
using main_window::PictureBox;
using main_window::RenderIcon;
using main_window::RenderPicture;
using main_window::StoredImageResource;
using main_window::ToStoredImage;

namespace {

struct PictureText {
    double x;
    double y; // baseline
    QString text;
};

QList<PictureText> TextsOf(const QString& file) {
    QFile svg(file);
    if (!svg.open(QIODevice::ReadOnly)) {
        qFatal("cannot open %s", qPrintable(file));
    }
    QList<PictureText> texts;
    QXmlStreamReader reader(&svg);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String("text")) {
            const auto attributes = reader.attributes();
            const double x = attributes.value("x").toDouble();
            const double y = attributes.value("y").toDouble();
            texts.append({x, y, reader.readElementText()});
        }
    }
    if (reader.hasError()) {
        qFatal("%s: %s", qPrintable(file), qPrintable(reader.errorString()));
    }
    return texts;
}

// IEC 60063, written out independently of the picture: E6, E12 and E24 in units, E48 and E96
// ten times larger, twelve to a row.
const QString Dash = QString(QChar(0x2014));
const QList<QStringList> PreferredRows = {
    {"1.0", Dash, "1.5", Dash, "2.2", Dash, "3.3", Dash, "4.7", Dash, "6.8", Dash},
    {"1.0", "1.2", "1.5", "1.8", "2.2", "2.7", "3.3", "3.9", "4.7", "5.6", "6.8", "8.2"},
    {"1.0", "1.1", "1.2", "1.3", "1.5", "1.6", "1.8", "2.0", "2.2", "2.4", "2.7", "3.0"},
    {"3.3", "3.6", "3.9", "4.3", "4.7", "5.1", "5.6", "6.2", "6.8", "7.5", "8.2", "9.1"},
    {"10.0", "10.5", "11.0", "11.5", "12.1", "12.7", "13.3", "14.0", "14.7", "15.4", "16.2",
     "16.9"},
    {"17.8", "18.7", "19.6", "20.5", "21.5", "22.6", "23.7", "24.9", "26.1", "27.4", "28.7",
     "30.1"},
    {"31.6", "33.2", "34.8", "36.5", "38.3", "40.2", "42.2", "44.2", "46.4", "48.7", "51.1",
     "53.6"},
    {"56.2", "59.0", "61.9", "64.9", "68.1", "71.5", "75.0", "78.7", "82.5", "86.6", "90.9",
     "95.3"},
    {"10.0", "10.2", "10.5", "10.7", "11.0", "11.3", "11.5", "11.8", "12.1", "12.4", "12.7",
     "13.0"},
    {"13.3", "13.7", "14.0", "14.3", "14.7", "15.0", "15.4", "15.8", "16.2", "16.5", "16.9",
     "17.4"},
    {"17.8", "18.2", "18.7", "19.1", "19.6", "20.0", "20.5", "21.0", "21.5", "22.1", "22.6",
     "23.2"},
    {"23.7", "24.3", "24.9", "25.5", "26.1", "26.7", "27.4", "28.0", "28.7", "29.4", "30.1",
     "30.9"},
    {"31.6", "32.4", "33.2", "34.0", "34.8", "35.7", "36.5", "37.4", "38.3", "39.2", "40.2",
     "41.2"},
    {"42.2", "43.2", "44.2", "45.3", "46.4", "47.5", "48.7", "49.9", "51.1", "52.3", "53.6",
     "54.9"},
    {"56.2", "57.6", "59.0", "60.4", "61.9", "63.4", "64.9", "66.5", "68.1", "69.8", "71.5",
     "73.2"},
    {"75.0", "76.8", "78.7", "80.6", "82.5", "84.5", "86.6", "88.7", "90.9", "93.1", "95.3",
     "97.6"},
};

// Each series name with the rows it spans.
struct Series {
    QString name;
    int firstRow;
    int rowCount;
};
const QList<Series> SeriesNames = {
    {"E-6", 0, 1}, {"E-12", 1, 1}, {"E-24", 2, 2}, {"E-48", 4, 4}, {"E-96", 8, 8}};

// Whether anything dark is drawn on the white ground.
bool HasInk(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        if (std::any_of(row, row + grey.width(), [](uchar v) { return v < 128; })) {
            return true;
        }
    }
    return false;
}

// White but for its first pixel; 3 pixels wide, so rows of one byte a pixel are padded.
QImage Filled(QImage::Format format, QRgb first) {
    QImage image(3, 2, format);
    image.fill(qRgb(255, 255, 255));
    image.setPixel(0, 0, first);
    return image;
}

// A stored image's header fields after its 8-byte tag: width, height, bytes per line, format.
QByteArray WithField(QByteArray bytes, int field, quint32 value) {
    std::memcpy(bytes.data() + 8 + std::ptrdiff_t{4} * field, &value, sizeof value);
    return bytes;
}

// The series names stand in the first column, left of its 2-pixel rule.
constexpr double FirstColumnRight = 44;

} // namespace

class PicturesTest : public QObject, window_test::WindowFixture {
    Q_OBJECT

  private slots:
    void cleanup() { CloseForm(); }

    // First, before any other test draws from SVG: the window opens, paints its schematic and
    // takes its icon from what the build stored, at 1x and at 2x (that these are what the SVG
    // files draw is the boxes' test below).
    void startUpLeavesTheSvgModuleUnloaded() {
        QFile maps(QStringLiteral("/proc/self/maps"));
        if (!maps.open(QIODevice::ReadOnly)) {
            QSKIP("the loaded libraries cannot be listed here");
        }
        QApplication::setWindowIcon(main_window::ApplicationIcon());
        QVERIFY(OpenForm());
        QVERIFY(!form->grab().toImage().isNull());
        QVERIFY(!QApplication::windowIcon().pixmap(32).isNull());
        QVERIFY2(!maps.readAll().contains("libQt6Svg"), "the SVG module was loaded");
    }

    // The window icon at the stored sizes is the stored emblem, which is what the SVG icon
    // engine draws.
    void storedIconSizesAreWhatTheSvgIconDraws() {
        const QString svg = ":/pictures/icon.svg";
        const QIcon icon = main_window::ApplicationIcon();
        QList<QSize> sides;
        for (const int side : main_window::StoredIconSides) {
            sides << QSize(side, side);
            const QImage stored = StoredImageResource(main_window::StoredIconFile(svg, side));
            QVERIFY2(!stored.isNull(), qPrintable(QString("nothing stored at %1 px").arg(side)));
            const QImage drawn = RenderIcon(svg, side).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(stored.convertToFormat(QImage::Format_ARGB32), drawn);
            QCOMPARE(icon.pixmap(QSize(side, side), 1.0).toImage().convertToFormat(drawn.format()),
                     drawn);
        }
        QCOMPARE(icon.availableSizes(), sides);
        QCOMPARE(icon.actualSize(QSize(40, 30)), QSize(30, 30));
    }

    // The stored form of the renderings: what comes back (all-grey images, stored a byte a
    // pixel, are the pictures above), what is shared, what is refused.
    void storedImageComesBackPixelForPixel_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QImage::Format>("storedAs");
        QTest::newRow("one coloured pixel keeps the colour")
            << Filled(QImage::Format_RGB32, qRgb(17, 17, 18)) << QImage::Format_RGB32;
        QTest::newRow("grey but see-through keeps the alpha")
            << Filled(QImage::Format_ARGB32_Premultiplied, qRgba(0, 0, 0, 0))
            << QImage::Format_ARGB32_Premultiplied;
    }

    void storedImageComesBackPixelForPixel() {
        QFETCH(QImage, image);
        QFETCH(QImage::Format, storedAs);
        const QImage back = FromStoredImage(ToStoredImage(image));
        QCOMPARE(back.format(), storedAs);
        QCOMPARE(back.convertToFormat(QImage::Format_ARGB32),
                 image.convertToFormat(QImage::Format_ARGB32));
    }

    // Read in place when the rows are 4-byte aligned; copied, and so independent of the
    // bytes, when they are not.
    void storedImageSharesAlignedBytesAndCopiesOthers() {
        const QImage image = Filled(QImage::Format_RGB32, qRgb(1, 2, 3));
        const QByteArray stored = ToStoredImage(image);
        QCOMPARE(FromStoredImage(stored).constBits(),
                 reinterpret_cast<const uchar*>(stored.constData()) + 24);

        QByteArray shifted = '\0' + stored;
        const QImage copied = FromStoredImage(QByteArrayView(shifted).sliced(1));
        shifted.fill('\0');
        QCOMPARE(copied, image);
    }

    void storedImageRefusesWhatIsNotWhole_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ToStoredImage(Filled(QImage::Format_RGB32, qRgb(1, 2, 3)));
        QTest::newRow("header cut short") << good.left(23);
        QTest::newRow("another tag") << QByteArray(good).replace(0, 1, "P");
        QTest::newRow("last row cut short") << good.chopped(1);
        QTest::newRow("rows narrower than the pixels") << WithField(good, 2, 8);
        QTest::newRow("rows not 4-byte aligned") << WithField(good, 2, 14);
        QTest::newRow("no such format") << WithField(good, 3, 0xFFFFFFFF);
    }

    void storedImageRefusesWhatIsNotWhole() {
        QFETCH(QByteArray, bytes);
        QVERIFY(FromStoredImage(bytes).isNull());
    }
    void preferredValuesAreTheStandardSeriesRowByRow() {
        // Value cells grouped into rows by their baseline, then read left to right.
        std::map<double, QList<PictureText>> rows;
        for (const PictureText& text : TextsOf(":/pictures/preferred_values.svg")) {
            if (text.x > FirstColumnRight) {
                rows[text.y].append(text);
            }
        }
        QCOMPARE(int(rows.size()), PreferredRows.size());
        QList<double> columns; // every row's cells sit in the same twelve columns
        int row = 0;
        for (auto& [baseline, cells] : rows) {
            std::sort(cells.begin(), cells.end(), [](auto& a, auto& b) { return a.x < b.x; });
            QStringList values;
            QList<double> xs;
            for (const PictureText& cell : cells) {
                values << cell.text;
                xs << cell.x;
            }
            QCOMPARE(values, PreferredRows[row]);
            if (columns.isEmpty()) {
                columns = xs;
            }
            QCOMPARE(xs, columns);
            ++row;
        }
    }

    void seriesNamesSpanTheirRows() {
        QList<double> baselines;
        QList<PictureText> names;
        for (const PictureText& text : TextsOf(":/pictures/preferred_values.svg")) {
            if (text.x > FirstColumnRight) {
                if (!baselines.contains(text.y)) {
                    baselines << text.y;
                }
            } else {
                names << text;
            }
        }
        std::sort(baselines.begin(), baselines.end());
        std::sort(names.begin(), names.end(), [](auto& a, auto& b) { return a.y < b.y; });
        QCOMPARE(names.size(), SeriesNames.size());
        constexpr double RowHeight = 12;
        for (int i = 0; i < names.size(); ++i) {
            const Series& series = SeriesNames[i];
            QCOMPARE(names[i].text, series.name);
            // Its baseline lies within the band of its first to its last row.
            const double top = baselines[series.firstRow] - RowHeight;
            const double bottom = baselines[series.firstRow + series.rowCount - 1];
            QVERIFY2(names[i].y > top && names[i].y <= bottom + 1, qPrintable(series.name));
        }
    }

    void schematicCarriesItsLabelsAndNoDiode() {
        QStringList labels;
        for (const PictureText& text : TextsOf(":/pictures/schematic.svg")) {
            labels << text.text;
        }
        labels.sort();
        QStringList expected{"DC/DC", "Vin", "Vout", "FB",   "Vo_max",  "Vo_mid", "Vo_min",
                             "R1",    "R2",  "R3",   "Vref", "Orvalex", "KEP"};
        expected.sort();
        QCOMPARE(labels, expected);
    }

    // The schematic box is 2 pixels narrower and 4 lower than the picture; nothing is lost.
    void schematicIsBlankWhereItsBoxClipsIt() {
        Orvalen form;
        auto* box = form.findChild<PictureBox*>("Picture1");
        QVERIFY(box);
        const QImage picture = box->picture();
        const qreal ratio = picture.devicePixelRatio();
        const QRect inner = box->contentsRect();
        QCOMPARE(inner.size(), QSize(317, 173));
        const QImage white = picture.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < white.height(); ++y) {
            for (int x = 0; x < white.width(); ++x) {
                if (x >= inner.width() * ratio || y >= inner.height() * ratio) {
                    QVERIFY2(white.pixel(x, y) == qRgb(255, 255, 255),
                             qPrintable(QString("pixel %1,%2 is drawn").arg(x).arg(y)));
                }
            }
        }
    }

    // clang-format off
    void boxesShowTheirPicturesUnscaledAtScreenDensity_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("svg");
        QTest::newRow("Picture1") << QSize(319, 177) << QString(":/pictures/schematic.svg");
        QTest::newRow("Picture2") << QSize(412, 219) << QString(":/pictures/preferred_values.svg");
    }
    // clang-format on

    // Run once at the normal density and once with QT_SCALE_FACTOR=2: the picture keeps its
    // size on screen, is rendered with one device pixel per device pixel, and is what its SVG
    // file draws at that density.
    void boxesShowTheirPicturesUnscaledAtScreenDensity() {
        QFETCH(QSize, size);
        QFETCH(QString, svg);
        QVERIFY(OpenForm());
        auto* box = Find<PictureBox>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(box);
        const qreal ratio = box->devicePixelRatioF();
        const QImage& picture = box->picture();
        QCOMPARE(picture.devicePixelRatio(), ratio);
        QCOMPARE(picture.deviceIndependentSize().toSize(), size);
        QCOMPARE(picture.size(), size * ratio);
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), RenderPicture(svg, ratio));

        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect inner = box->contentsRect();
        const QRect device(inner.topLeft() * ratio, inner.size().boundedTo(size) * ratio);
        QCOMPARE(
            shown.copy(device),
            picture.copy(QRect(QPoint(0, 0), device.size())).convertToFormat(QImage::Format_RGB32));
    }

    // Stored sizes come from the resources, others (20 and 256 px) from the toolkit's SVG icon
    // engine; without either the window would have no icon.
    void windowIconIsDrawnAtEverySize() {
        const QIcon icon = main_window::ApplicationIcon();
        for (const int side : {16, 20, 32, 64, 256}) {
            const QImage image = icon.pixmap(side).toImage();
            QVERIFY2(!image.isNull(), qPrintable(QString("no icon at %1 px").arg(side)));
            QCOMPARE(image.size(), QSize(side, side) * image.devicePixelRatio());
            QVERIFY2(HasInk(image), qPrintable(QString("the icon at %1 px is blank").arg(side)));
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
