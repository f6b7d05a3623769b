// SPDX-License-Identifier: MIT
// The game's own BMP reading: pixels and row order as Qt's reader sees them, and no trust in a header.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/qt/bmp_file.h"

namespace kanuvo {
namespace {

// A 3 x 2 picture: an odd width, so every 24-bit row carries padding.
QImage SmallPicture() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(1, 2, 3));
    image.setPixel(1, 1, qRgb(200, 100, 50));
    image.setPixel(2, 1, qRgb(255, 255, 255));
    return image;
}

QByteArray AsBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage Decode(const QByteArray& bytes) {
    return DecodePlainBmp(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
}

TEST(BmpFileTest, ReadsTheBuildsKindPixelForPixel) {
    const QByteArray bmp = AsBmp(SmallPicture());
    ASSERT_EQ(bmp[28], 24) << "Qt writes RGB32 as a 24-bit BMP, as the build does";
    const QImage read = Decode(bmp);
    ASSERT_EQ(read.size(), QSize(3, 2));
    EXPECT_EQ(read.format(), QImage::Format_RGB32);
    EXPECT_EQ(read.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(read.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(read.pixel(0, 1), qRgb(1, 2, 3));
    EXPECT_EQ(read.pixel(1, 1), qRgb(200, 100, 50));

    // Rows stored from the top down, as a negative height says, come out the same way up.
    QByteArray topDown = bmp;
    const int rowBytes = 12;  // 3 pixels of 3 bytes, padded to 4-byte words
    const int pixelsAt = static_cast<unsigned char>(bmp[10]);
    topDown.replace(pixelsAt, rowBytes, bmp.mid(pixelsAt + rowBytes, rowBytes));
    topDown.replace(pixelsAt + rowBytes, rowBytes, bmp.mid(pixelsAt, rowBytes));
    const qint32 negative = -2;
    topDown.replace(22, 4, QByteArray(reinterpret_cast<const char*>(&negative), 4));
    EXPECT_EQ(Decode(topDown), read);
}

TEST(BmpFileTest, RefusesWhatItCannotReadWithoutTrustingTheHeader) {
    const QByteArray bmp = AsBmp(SmallPicture());
    EXPECT_TRUE(Decode(bmp.left(bmp.size() - 1)).isNull()) << "the last row cut short";
    EXPECT_TRUE(Decode(bmp.left(20)).isNull());
    EXPECT_TRUE(Decode(QByteArray("not a picture at all, but long enough to hold two headers....."))
                    .isNull());
    QByteArray huge = bmp;
    const qint32 side = 1 << 30;
    huge.replace(18, 4, QByteArray(reinterpret_cast<const char*>(&side), 4));
    EXPECT_TRUE(Decode(huge).isNull()) << "a width no file of this size can hold";
    QByteArray paletted = bmp;
    paletted[28] = 8;
    EXPECT_TRUE(Decode(paletted).isNull()) << "left to Qt's reader";
}

}  // namespace
}  // namespace kanuvo
