// SPDX-License-Identifier: MIT
// Pointer-shape files: shapes built here byte by byte decode with their hot spots and pixels, and
// cut-short or garbage files are refused without harm.
#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "platform/qt/cursor_file.h"

namespace kanuvo {
namespace {

class Bytes {
public:
    Bytes& U8(int v) { return Raw(v, 1); }
    Bytes& U16(int v) { return Raw(v, 2); }
    Bytes& U32(std::uint32_t v) { return Raw(v, 4); }
    Bytes& Append(const QByteArray& more) {
        data.append(more);
        return *this;
    }
    QByteArray data;

private:
    Bytes& Raw(std::uint32_t v, int count) {
        for (int i = 0; i < count; ++i) data.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }
};

// A .cur file of one entry holding the given image bytes.
QByteArray CursorFile(int side, int hotX, int hotY, const QByteArray& image) {
    Bytes file;
    file.U16(0).U16(2).U16(1);
    file.U8(side).U8(side).U8(0).U8(0).U16(hotX).U16(hotY).U32(image.size()).U32(6 + 16);
    return file.Append(image).data;
}

Bytes InfoHeader(int side, int bits, int colours) {
    Bytes header;
    header.U32(40).U32(side).U32(2 * side).U16(1).U16(bits).U32(0).U32(0).U32(0).U32(0).U32(colours).U32(0);
    return header;
}

// 32 x 32 BGRA: opaque red in the top-left 4 x 4, clear elsewhere; the mask agrees.
QByteArray Bgra32x32() {
    Bytes dib = InfoHeader(32, 32, 0);
    for (int row = 31; row >= 0; --row)  // stored bottom-up
        for (int x = 0; x < 32; ++x) dib.U32(row < 4 && x < 4 ? 0xFFFF0000u : 0x00000000u);
    for (int row = 31; row >= 0; --row) dib.U32(row < 4 ? 0xFFFFFF0Fu : 0xFFFFFFFFu);  // 1 = see-through
    return dib.data;
}

// 16 x 16, two colours: blue where the mask is clear (the left half of the top row), see-through elsewhere.
QByteArray Mono16x16() {
    Bytes dib = InfoHeader(16, 1, 2);
    dib.U32(0x00FFFFFF).U32(0x000000FF);  // palette: white, blue (stored B, G, R, 0)
    for (int row = 15; row >= 0; --row) dib.U32(row == 0 ? 0x000000FFu : 0u);  // colour index 1 in x 0..7
    for (int row = 15; row >= 0; --row) dib.U32(row == 0 ? 0x0000FF00u : 0x0000FFFFu);
    return dib.data;
}

TEST(CursorFileTest, ThirtyTwoBitShapeKeepsItsHotSpotPixelsAndTransparency) {
    const auto shape = DecodeCursorFile(CursorFile(32, 5, 7, Bgra32x32()));
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->hotSpot, QPoint(5, 7));
    ASSERT_EQ(shape->image.size(), QSize(32, 32));
    EXPECT_EQ(shape->image.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(shape->image.pixel(3, 3), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(shape->image.pixel(4, 0)), 0);
    EXPECT_EQ(qAlpha(shape->image.pixel(0, 31)), 0);
}

TEST(CursorFileTest, ThirtyTwoBitShapeWithoutAlphaTakesItsShapeFromTheMask) {
    Bytes dib = InfoHeader(32, 32, 0);
    for (int row = 31; row >= 0; --row)
        for (int x = 0; x < 32; ++x) dib.U32(row < 4 && x < 4 ? 0x00FF0000u : 0x0000FF00u);
    for (int row = 31; row >= 0; --row) dib.U32(row < 4 ? 0xFFFFFF0Fu : 0xFFFFFFFFu);
    const auto shape = DecodeCursorFile(CursorFile(32, 0, 0, dib.data));
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->image.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(shape->image.pixel(3, 3), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(shape->image.pixel(4, 0)), 0);
    EXPECT_EQ(qAlpha(shape->image.pixel(31, 31)), 0);
}

TEST(CursorFileTest, OneBitShapeTakesItsColoursFromThePaletteAndItsShapeFromTheMask) {
    const auto shape = DecodeCursorFile(CursorFile(16, 15, 0, Mono16x16()));
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->hotSpot, QPoint(15, 0));
    EXPECT_EQ(shape->image.pixel(0, 0), qRgba(0, 0, 255, 255));
    EXPECT_EQ(shape->image.pixel(7, 0), qRgba(0, 0, 255, 255));
    EXPECT_EQ(qAlpha(shape->image.pixel(8, 0)), 0);
    EXPECT_EQ(qAlpha(shape->image.pixel(0, 1)), 0);
}

TEST(CursorFileTest, EmbeddedPngShapeDecodes) {
    QImage png(24, 24, QImage::Format_ARGB32);
    png.fill(Qt::transparent);
    png.setPixel(2, 3, qRgba(0, 255, 0, 255));
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(png.save(&buffer, "PNG"));
    const auto shape = DecodeCursorFile(CursorFile(24, 2, 3, encoded));
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->hotSpot, QPoint(2, 3));
    EXPECT_EQ(shape->image.pixel(2, 3), qRgba(0, 255, 0, 255));
}

TEST(CursorFileTest, CutShortOrInconsistentFilesAreRefused) {
    const QByteArray whole = CursorFile(16, 1, 1, Mono16x16());
    for (qsizetype size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(DecodeCursorFile(whole.left(size))) << "cut to " << size << " bytes";

    QByteArray icon = whole;
    icon[2] = 1;  // an icon, not a cursor
    EXPECT_FALSE(DecodeCursorFile(icon));
    QByteArray farOffset = whole;
    qToLittleEndian<std::uint32_t>(0x7FFFFFF0u, farOffset.data() + 6 + 12);
    EXPECT_FALSE(DecodeCursorFile(farOffset));
    QByteArray hugeSize = whole;
    qToLittleEndian<std::uint32_t>(0xFFFFFFFFu, hugeSize.data() + 6 + 8);
    EXPECT_FALSE(DecodeCursorFile(hugeSize));
    QByteArray hotSpotOutside = whole;
    qToLittleEndian<std::uint16_t>(40, hotSpotOutside.data() + 6 + 4);
    EXPECT_FALSE(DecodeCursorFile(hotSpotOutside));
    QByteArray compressed = whole;
    compressed[6 + 16 + 16] = 1;
    EXPECT_FALSE(DecodeCursorFile(compressed));
    QByteArray manyColours = whole;  // claims a palette larger than one bit allows
    qToLittleEndian<std::uint32_t>(300, manyColours.data() + 6 + 16 + 32);
    EXPECT_FALSE(DecodeCursorFile(manyColours));
}

TEST(CursorFileTest, GarbageAndDamagedFilesNeverGiveAShapeOutsideItsImage) {
    std::mt19937 random(12345);
    QByteArray noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    EXPECT_FALSE(DecodeCursorFile(noise));
    // Damage a good file byte by byte: whatever still decodes is a consistent shape.
    const QByteArray whole = CursorFile(32, 5, 7, Bgra32x32());
    int decoded = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        QByteArray damaged = whole;
        const int position = static_cast<int>(random() % 80);  // the directory and the bitmap header
        damaged[position] = static_cast<char>(random());
        if (const auto shape = DecodeCursorFile(damaged)) {
            ++decoded;
            EXPECT_TRUE(shape->image.rect().contains(shape->hotSpot));
        }
    }
    EXPECT_GT(decoded, 0);  // harmless bytes (reserved fields, the sizes of unused parts) still decode
}

}  // namespace
}  // namespace kanuvo
