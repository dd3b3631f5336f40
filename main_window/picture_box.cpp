// A picture box drawing its picture unscaled.
#include "picture_box.h"

#include <QPainter>
#include <QSvgRenderer>

namespace main_window {
namespace {

// Rendered once, on white, with a fresh painter so the picture's lettering does not take
// the box's own font.
QImage RenderPicture(const QString& file) {
    QSvgRenderer renderer(file);
    if (!renderer.isValid()) {
        return {};
    }
    QImage image(renderer.defaultSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

PictureBox::PictureBox(const QString& picture, QWidget* parent)
    : QFrame(parent), m_picture(RenderPicture(picture)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    painter.drawImage(inner.topLeft(), m_picture);
}

} // namespace main_window
