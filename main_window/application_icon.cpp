// The window icon: the emblem as stored by the build, drawn from its SVG file at other sizes.
#include "main_window/application_icon.h"

#include "main_window/picture_rendering.h"
#include "main_window/stored_image.h"

#include <QIconEngine>
#include <QPainter>

#include <algorithm>

namespace main_window {
namespace {

const QString EmblemFile = QStringLiteral(":/pictures/icon.svg");

// Sizes the build stored come from the resources; any other size, and the disabled, active
// and selected looks, from the toolkit's SVG icon engine, which is loaded only then.
class EmblemIconEngine : public QIconEngine {
  public:
    QIconEngine* clone() const override { return new EmblemIconEngine; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (mode == QIcon::Normal && size.width() == size.height()) {
            const QImage stored = StoredImageResource(StoredIconFile(EmblemFile, size.width()));
            if (!stored.isNull()) {
                return QPixmap::fromImage(stored);
            }
        }
        return Vector().pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, drawn);
    }

    // The emblem is square.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal) {
            for (const int side : StoredIconSides) {
                sizes.append(QSize(side, side));
            }
        }
        return sizes;
    }

  private:
    const QIcon& Vector() {
        if (m_vector.isNull()) {
            m_vector = QIcon(EmblemFile);
        }
        return m_vector;
    }

    QIcon m_vector;
};

} // namespace

QIcon ApplicationIcon() {
    return QIcon(new EmblemIconEngine);
}

} // namespace main_window
