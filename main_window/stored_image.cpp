// Images stored by the build so that the program shows them straight from its resources.
#include "main_window/stored_image.h"

#include <QResource>

#include <climits>
#include <cstdint>
#include <cstring>

namespace main_window {
namespace {

constexpr char Tag[8] = {'Q', 'I', 'M', 'A', 'G', 'E', '1', '\n'};

struct Header {
    char tag[8];
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t bytesPerLine;
    std::uint32_t format; // QImage::Format
};
static_assert(sizeof(Header) % 4 == 0, "rows must stay 4-byte aligned after the header");

// Formats whose pixels fill whole bytes; the others never come out of rendering.
bool Storable(std::uint32_t format) {
    return format > QImage::Format_Indexed8 && format < QImage::NImageFormats &&
           QImage::toPixelFormat(QImage::Format(format)).bitsPerPixel() % 8 == 0;
}

} // namespace

QByteArray ToStoredImage(const QImage& image) {
    QImage stored = image;
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    if (grey.convertToFormat(image.format()) == image) {
        stored = grey;
    }
    if (!Storable(stored.format())) {
        stored = stored.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    Header header{};
    std::memcpy(header.tag, Tag, sizeof Tag);
    header.width = std::uint32_t(stored.width());
    header.height = std::uint32_t(stored.height());
    header.bytesPerLine = std::uint32_t(stored.bytesPerLine());
    header.format = std::uint32_t(stored.format());
    QByteArray bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(stored.constBits()), stored.sizeInBytes());
    return bytes;
}

QImage FromStoredImage(QByteArrayView bytes) {
    Header header{};
    if (bytes.size() < qsizetype(sizeof header)) {
        return {};
    }
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.tag, Tag, sizeof Tag) != 0 || !Storable(header.format)) {
        return {};
    }
    const auto format = QImage::Format(header.format);
    if (header.width == 0 || header.height == 0 || header.width > INT_MAX ||
        header.height > INT_MAX || header.bytesPerLine % 4 != 0 ||
        quint64(header.width) * QImage::toPixelFormat(format).bitsPerPixel() / 8 >
            header.bytesPerLine ||
        quint64(bytes.size()) - sizeof header != quint64(header.bytesPerLine) * header.height) {
        return {};
    }
    const auto* rows = reinterpret_cast<const uchar*>(bytes.data()) + sizeof header;
    const QImage shared(rows, int(header.width), int(header.height), header.bytesPerLine, format);
    // The toolkit reads rows as whole 32-bit words.
    return reinterpret_cast<std::uintptr_t>(rows) % 4 == 0 ? shared : shared.copy();
}

QImage StoredImageResource(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression) {
        return {};
    }
    return FromStoredImage(
        QByteArrayView(reinterpret_cast<const char*>(resource.data()), resource.size()));
}

} // namespace main_window
