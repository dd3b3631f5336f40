// Tests of drawing the pictures from SVG at any pixel ratio: what the toolkit's image plugin
// gives is what a painter on a screen of that density draws with the SVG renderer, to the
// pixel at ratios in halves, quarters and eighths; at others the edges' shading may differ.
#include "main_window/picture_rendering.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

#include <cmath>

using main_window::RenderPicture;

namespace {

// The picture on white, drawn by a painter on an image of the ratio's density.
QImage PaintedAtDensity(const QString& svgFile, qreal ratio) {
    QSvgRenderer renderer(svgFile);
    const QSize size = renderer.defaultSize();
    QImage image(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

} // namespace

class PictureRenderingTest : public QObject {
    Q_OBJECT

  private slots:
    void picturesAreDrawnAsAtTheirDensity_data() {
        QTest::addColumn<QString>("svg");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<bool>("exact");
        const QString schematic = ":/pictures/schematic.svg";
        const QString values = ":/pictures/preferred_values.svg";
        QTest::newRow("schematic 1x") << schematic << 1.0 << QSize(319, 177) << true;
        QTest::newRow("schematic 1.25x") << schematic << 1.25 << QSize(399, 222) << true;
        QTest::newRow("schematic 1.5x") << schematic << 1.5 << QSize(479, 266) << true;
        QTest::newRow("schematic 1.75x") << schematic << 1.75 << QSize(559, 310) << true;
        QTest::newRow("schematic 2x") << schematic << 2.0 << QSize(638, 354) << true;
        QTest::newRow("schematic 3x") << schematic << 3.0 << QSize(957, 531) << true;
        QTest::newRow("values 1.125x") << values << 1.125 << QSize(464, 247) << true;
        QTest::newRow("values 1.5x") << values << 1.5 << QSize(618, 329) << true;
        QTest::newRow("values 2x") << values << 2.0 << QSize(824, 438) << true;
        QTest::newRow("values 1.1x") << values << 1.1 << QSize(454, 241) << false;
        QTest::newRow("schematic 1.2x") << schematic << 1.2 << QSize(383, 213) << false;
    }

    void picturesAreDrawnAsAtTheirDensity() {
        QFETCH(QString, svg);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        QFETCH(bool, exact);
        const QImage image = RenderPicture(svg, ratio);
        QCOMPARE(image.size(), pixels);
        QCOMPARE(image.devicePixelRatio(), ratio);
        const QImage painted = PaintedAtDensity(svg, ratio);
        if (exact) {
            QCOMPARE(image, painted);
        } else {
            // Edge pixels within a few shades of grey (of 255); nothing moved.
            for (int y = 0; y < pixels.height(); ++y) {
                for (int x = 0; x < pixels.width(); ++x) {
                    const int shift = qGray(image.pixel(x, y)) - qGray(painted.pixel(x, y));
                    QVERIFY2(std::abs(shift) <= 8,
                             qPrintable(QString("pixel %1,%2 off by %3").arg(x).arg(y).arg(shift)));
                }
            }
        }
    }

    void unreadableFileGivesNoPicture() {
        QVERIFY(RenderPicture(":/pictures/no_such_picture.svg", 1).isNull());
        QVERIFY(RenderPicture(":/pictures/schematic.svg", 0).isNull());
    }
};

QTEST_MAIN(PictureRenderingTest)
#include "picture_rendering_test.moc"
