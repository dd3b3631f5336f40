// Tests of the stored form of the build's renderings: what comes back, what is shared, what is
// refused.
#include "main_window/stored_image.h"

#include <QtTest>

#include <cstring>

using main_window::FromStoredImage;
using main_window::StoredImageResource;
using main_window::ToStoredImage;

namespace {

constexpr int HeaderSize = 24;

QImage Filled(QSize size, QImage::Format format, QRgb first, QRgb rest) {
    QImage image(size, format);
    image.fill(rest);
    image.setPixel(0, 0, first);
    return image;
}

// The header's fields after the tag: width, height, bytes per line, format.
QByteArray WithField(QByteArray bytes, int field, quint32 value) {
    std::memcpy(bytes.data() + 8 + 4 * field, &value, sizeof value);
    return bytes;
}

} // namespace

class StoredImageTest : public QObject {
    Q_OBJECT

  private slots:
    // clang-format off
    void comesBackPixelForPixel_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QImage::Format>("storedAs");
        QTest::addColumn<int>("bytesPerLine");
        const QSize size(3, 2); // rows padded to 4 bytes
        QTest::newRow("grey drawing: one byte a pixel")
            << Filled(size, QImage::Format_RGB32, qRgb(17, 17, 17), qRgb(255, 255, 255))
            << QImage::Format_Grayscale8 << 4;
        QTest::newRow("one coloured pixel keeps the colour")
            << Filled(size, QImage::Format_RGB32, qRgb(17, 17, 18), qRgb(255, 255, 255))
            << QImage::Format_RGB32 << 12;
        QTest::newRow("grey but see-through keeps the alpha")
            << Filled(size, QImage::Format_ARGB32_Premultiplied, qRgba(0, 0, 0, 0), qRgb(64, 64, 64))
            << QImage::Format_ARGB32_Premultiplied << 12;
        QTest::newRow("grey and opaque with alpha: one byte a pixel")
            << Filled(size, QImage::Format_ARGB32_Premultiplied, qRgb(0, 0, 0), qRgb(64, 64, 64))
            << QImage::Format_Grayscale8 << 4;
        QTest::newRow("indexed pixels become whole bytes")
            << Filled(size, QImage::Format_RGB32, qRgb(200, 0, 0), qRgb(0, 0, 200))
                   .convertToFormat(QImage::Format_Indexed8)
            << QImage::Format_ARGB32_Premultiplied << 12;
    }
    // clang-format on

    void comesBackPixelForPixel() {
        QFETCH(QImage, image);
        QFETCH(QImage::Format, storedAs);
        QFETCH(int, bytesPerLine);
        const QByteArray bytes = ToStoredImage(image);
        QCOMPARE(bytes.size(), HeaderSize + bytesPerLine * image.height());
        const QImage back = FromStoredImage(bytes);
        QCOMPARE(back.format(), storedAs);
        QCOMPARE(back.convertToFormat(QImage::Format_ARGB32),
                 image.convertToFormat(QImage::Format_ARGB32));
    }

    // Read in place when the rows are 4-byte aligned, copied when they are not; either way the
    // image stays whole after the bytes are gone only if it was copied.
    void sharesAlignedBytesAndCopiesOthers() {
        const QImage image = Filled({5, 3}, QImage::Format_RGB32, qRgb(1, 2, 3), qRgb(4, 5, 6));
        const QByteArray stored = ToStoredImage(image);
        const QImage shared = FromStoredImage(stored);
        QCOMPARE(shared.constBits(),
                 reinterpret_cast<const uchar*>(stored.constData()) + HeaderSize);

        QByteArray shifted(1, '\0');
        shifted += stored;
        const QImage copied = FromStoredImage(QByteArrayView(shifted).sliced(1));
        QVERIFY(quintptr(copied.constBits()) % 4 == 0);
        shifted.fill('\0');
        QCOMPARE(copied, image);
    }

    void refusesWhatIsNotAWholeStoredImage_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good =
            ToStoredImage(Filled({3, 2}, QImage::Format_RGB32, qRgb(1, 2, 3), qRgb(4, 5, 6)));
        QVERIFY(!FromStoredImage(good).isNull());
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut short") << good.left(HeaderSize - 1);
        QTest::newRow("another tag") << QByteArray(good).replace(0, 1, "P");
        QTest::newRow("last row cut short") << good.chopped(1);
        QTest::newRow("a byte too many") << good + '\0';
        QTest::newRow("no width") << WithField(good, 0, 0);
        QTest::newRow("no height") << WithField(good, 1, 0);
        QTest::newRow("more rows than bytes") << WithField(good, 1, 3);
        QTest::newRow("rows narrower than the pixels") << WithField(good, 2, 8);
        QTest::newRow("rows not 4-byte aligned") << WithField(good, 2, 14);
        QTest::newRow("invalid format") << WithField(good, 3, QImage::Format_Invalid);
        QTest::newRow("pixels smaller than a byte") << WithField(good, 3, QImage::Format_Mono);
        QTest::newRow("no such format") << WithField(good, 3, 0xFFFFFFFF);
        QTest::newRow("width past the toolkit's range") << WithField(good, 0, 0x80000000);
    }

    void refusesWhatIsNotAWholeStoredImage() {
        QFETCH(QByteArray, bytes);
        QVERIFY(FromStoredImage(bytes).isNull());
    }

    void missingResourceGivesNoImage() {
        QVERIFY(StoredImageResource(":/pictures/no_such_picture@1x.pixels").isNull());
        // An SVG file is a resource but not a stored image.
        QVERIFY(StoredImageResource(":/pictures/schematic.svg").isNull());
    }
};

QTEST_MAIN(StoredImageTest)
#include "stored_image_test.moc"
