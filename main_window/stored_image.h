// Images stored by the build so that the program shows them straight from its resources.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace main_window {

// The stored form: a header (a tag, width, height, bytes per line, the toolkit's pixel format)
// and the image's rows as the toolkit holds them in memory. Reading a PNG at start-up costs
// more than painting the whole window; this is read in place. An image whose pixels are all
// grey is stored with one byte a pixel when that loses nothing.
QByteArray ToStoredImage(const QImage& image);

// The image held in bytes, sharing them: they must outlive the image and every copy of it that
// is not detached. Rows that are not 4-byte aligned are copied. Null when the bytes are not a
// whole stored image.
QImage FromStoredImage(QByteArrayView bytes);

// The stored image in an uncompressed resource; null when there is none.
QImage StoredImageResource(const QString& path);

} // namespace main_window
