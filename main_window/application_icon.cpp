// The window icon, drawn from its SVG emblem.
#include "application_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace main_window {

QIcon ApplicationIcon() {
    QSvgRenderer renderer(QStringLiteral(":/pictures/icon.svg"));
    QIcon icon;
    if (!renderer.isValid()) {
        return icon;
    }
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    for (const int side : {16, 22, 24, 32, 43, 48, 64, 86, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace main_window
