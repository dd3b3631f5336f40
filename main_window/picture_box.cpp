// A picture box drawing its picture unscaled.
#include "main_window/picture_box.h"

#include "main_window/picture_rendering.h"
#include "main_window/stored_image.h"

#include <QPainter>

#include <algorithm>

namespace main_window {
namespace {

// The rendering the build stored for this pixel ratio, if it stored one.
QImage StoredPicture(const QString& file, qreal devicePixelRatio) {
    const auto& ratios = StoredPictureRatios;
    if (std::find(ratios.begin(), ratios.end(), devicePixelRatio) == ratios.end()) {
        return {};
    }
    QImage image = StoredImageResource(StoredPictureFile(file, int(devicePixelRatio)));
    // Copies the pixels at other ratios than 1: an image read in place cannot carry a ratio.
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

} // namespace

PictureBox::PictureBox(QString picture, QWidget* parent)
    : QFrame(parent), m_file(std::move(picture)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

const QImage& PictureBox::picture() const {
    // Taken again only when the window has moved to a screen of another density.
    const qreal ratio = devicePixelRatioF();
    if (m_picture.isNull() || m_picture.devicePixelRatio() != ratio) {
        m_picture = StoredPicture(m_file, ratio);
        if (m_picture.isNull()) {
            m_picture = RenderPicture(m_file, ratio);
        }
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
