// A picture box drawing its picture unscaled.
#include "main_window/picture_box.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace main_window {
namespace {

// Rendered on white at the screen's pixel density, so lines and lettering stay sharp on
// high-density screens; a fresh painter keeps the box's own font out of the lettering.
QImage RenderPicture(const QString& file, qreal devicePixelRatio) {
    QSvgRenderer renderer(file);
    if (!renderer.isValid()) {
        return {};
    }
    const QSize size = renderer.defaultSize();
    QImage image(std::ceil(size.width() * devicePixelRatio),
                 std::ceil(size.height() * devicePixelRatio), QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

} // namespace

PictureBox::PictureBox(const QString& picture, QWidget* parent) : QFrame(parent), m_file(picture) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

const QImage& PictureBox::picture() const {
    // Rendered again only when the window has moved to a screen of another density.
    if (m_picture.isNull() || m_picture.devicePixelRatio() != devicePixelRatioF()) {
        m_picture = RenderPicture(m_file, devicePixelRatioF());
    }
    return m_picture;
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    painter.drawImage(inner.topLeft(), picture());
}

} // namespace main_window
