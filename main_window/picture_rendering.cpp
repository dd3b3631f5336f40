// The window's pictures and emblem drawn from their SVG files, and where the build stores them.
#include "main_window/picture_rendering.h"

#include <QColor>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include <cmath>

namespace main_window {
namespace {

QString WithoutSvgSuffix(const QString& svgFile) {
    return svgFile.endsWith(QLatin1String(".svg")) ? svgFile.chopped(4) : svgFile;
}

// The fewest logical pixels that come to a whole number of device pixels at the ratio, for the
// ratios screens use (steps of 1/120 at the finest); 0 for any other ratio.
int WholeStep(qreal devicePixelRatio) {
    for (int step = 1; step <= 120; ++step) {
        const qreal device = devicePixelRatio * step;
        if (std::abs(device - std::round(device)) < 1e-9) {
            return step;
        }
    }
    return 0;
}

int RoundUp(int n, int step) {
    return (n + step - 1) / step * step;
}

} // namespace

QImage RenderPicture(const QString& svgFile, qreal devicePixelRatio) {
    QImageReader reader(svgFile, "svg");
    const QSize size = reader.size();
    if (size.isEmpty() || !(devicePixelRatio > 0)) {
        return {};
    }
    // Whole device pixels, so that nothing of the picture's edge is lost.
    const QSize pixels(int(std::ceil(size.width() * devicePixelRatio)),
                       int(std::ceil(size.height() * devicePixelRatio)));
    // The plugin stretches the area it draws to whole device pixels. An area a little larger
    // than the picture whose sides come to whole device pixels is stretched by the ratio itself,
    // as a painter on a screen of that density would draw; the picture keeps its corner.
    const int step = WholeStep(devicePixelRatio);
    if (step > 0) {
        const QSize area(RoundUp(size.width(), step), RoundUp(size.height(), step));
        reader.setClipRect(QRect(QPoint(0, 0), area));
        reader.setScaledSize(QSize(qRound(area.width() * devicePixelRatio),
                                   qRound(area.height() * devicePixelRatio)));
        reader.setScaledClipRect(QRect(QPoint(0, 0), pixels));
    } else {
        reader.setScaledSize(pixels);
    }
    reader.setBackgroundColor(Qt::white);
    QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QImage RenderIcon(const QString& svgFile, int side) {
    return QIcon(svgFile).pixmap(QSize(side, side), 1.0).toImage();
}

QString StoredPictureFile(const QString& svgFile, int ratio) {
    return QStringLiteral("%1@%2x.pixels").arg(WithoutSvgSuffix(svgFile)).arg(ratio);
}

QString StoredIconFile(const QString& svgFile, int side) {
    return QStringLiteral("%1-%2.pixels").arg(WithoutSvgSuffix(svgFile)).arg(side);
}

} // namespace main_window
