// Tests of drawing the pictures from SVG at any pixel ratio: what the toolkit's image plugin
// gives is what a painter on a screen of that density draws with the SVG renderer, to the
// pixel at ratios in halves, quarters and eighths.
#include "main_window/picture_rendering.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

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
        const QString schematic = ":/pictures/schematic.svg";
        QTest::newRow("1x") << schematic << 1.0 << QSize(319, 177);
        QTest::newRow("1.25x") << schematic << 1.25 << QSize(399, 222); // 398.75 x 221.25
        QTest::newRow("1.75x") << schematic << 1.75 << QSize(559, 310);
        QTest::newRow("2x") << schematic << 2.0 << QSize(638, 354);
        QTest::newRow("3x") << schematic << 3.0 << QSize(957, 531);
        QTest::newRow("values 1.5x") << ":/pictures/preferred_values.svg" << 1.5 << QSize(618, 329);
    }

    void picturesAreDrawnAsAtTheirDensity() {
        QFETCH(QString, svg);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        const QImage image = RenderPicture(svg, ratio);
        QCOMPARE(image.size(), pixels);
        QCOMPARE(image, PaintedAtDensity(svg, ratio));
    }

    // Shading may differ at the edges; the size and density do not.
    void otherRatiosKeepTheSize() {
        const QImage image = RenderPicture(":/pictures/schematic.svg", 1.2);
        QCOMPARE(image.size(), QSize(383, 213)); // 382.8 x 212.4
        QCOMPARE(image.devicePixelRatio(), 1.2);
        QVERIFY(RenderPicture(":/pictures/no_such_picture.svg", 1).isNull());
    }
};

QTEST_MAIN(PictureRenderingTest)
#include "picture_rendering_test.moc"
