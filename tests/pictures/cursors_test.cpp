// SPDX-License-Identifier: MIT
// The pointer cursor files: their structure read byte by byte, hot spots, transparency, and the grids.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <stdexcept>
#include <string>

#include "cursor_art.h"

namespace {

constexpr int kSide = 32;

std::uint32_t Le(const QByteArray& bytes, int offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return value;
}

// A cursor file as the desktop reads it.
struct CursorFile {
    QByteArray bytes;
    int hotX = 0;
    int hotY = 0;
    int image = 0;  // offset of the DIB

    // Alpha of pixel (x, y), y counted from the top.
    int Alpha(int x, int y) const { return static_cast<std::uint8_t>(bytes[image + 40 + ((kSide - 1 - y) * kSide + x) * 4 + 3]); }
    // Whether the 1-bit mask leaves the screen unchanged at (x, y).
    bool MaskTransparent(int x, int y) const {
        const int row = image + 40 + kSide * kSide * 4 + (kSide - 1 - y) * 4;
        return (static_cast<std::uint8_t>(bytes[row + x / 8]) >> (7 - x % 8)) & 1;
    }
};

CursorFile Read(const char* name) {
    QFile file(QStringLiteral(KANUVO_SOUND_DIR "/") + name);
    CursorFile cursor;
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(std::string("missing ") + name);
    cursor.bytes = file.readAll();
    cursor.hotX = static_cast<int>(Le(cursor.bytes, 10, 2));
    cursor.hotY = static_cast<int>(Le(cursor.bytes, 12, 2));
    cursor.image = static_cast<int>(Le(cursor.bytes, 18, 4));
    return cursor;
}

class CursorFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CursorFileTest, IsOne32By32CursorWith32BitColourAndAMask) {
    const CursorFile c = Read(GetParam());
    const QByteArray& b = c.bytes;
    ASSERT_GE(b.size(), 22);
    EXPECT_EQ(Le(b, 0, 2), 0u);
    EXPECT_EQ(Le(b, 2, 2), 2u) << "type 2 is a cursor";
    EXPECT_EQ(Le(b, 4, 2), 1u) << "one image";
    EXPECT_EQ(Le(b, 6, 1), 32u);
    EXPECT_EQ(Le(b, 7, 1), 32u);
    const std::uint32_t imageBytes = 40 + 32 * 32 * 4 + 32 * 4;
    EXPECT_EQ(Le(b, 14, 4), imageBytes);
    ASSERT_EQ(static_cast<std::uint32_t>(b.size()), c.image + imageBytes);
    EXPECT_EQ(Le(b, c.image, 4), 40u) << "a BITMAPINFOHEADER";
    EXPECT_EQ(Le(b, c.image + 4, 4), 32u);
    EXPECT_EQ(Le(b, c.image + 8, 4), 64u) << "colour and mask rows counted together";
    EXPECT_EQ(Le(b, c.image + 12, 2), 1u);
    EXPECT_EQ(Le(b, c.image + 14, 2), 32u);
    EXPECT_EQ(Le(b, c.image + 16, 4), 0u);
}

TEST_P(CursorFileTest, CornersAreTransparentAndTheMaskAgreesWithAlpha) {
    const CursorFile c = Read(GetParam());
    for (int y : {0, kSide - 1}) {
        for (int x : {0, kSide - 1}) {
            EXPECT_EQ(c.Alpha(x, y), 0) << x << "," << y;
            EXPECT_TRUE(c.MaskTransparent(x, y)) << x << "," << y;
        }
    }
    int opaque = 0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            EXPECT_EQ(c.MaskTransparent(x, y), c.Alpha(x, y) < 128) << x << "," << y;
            opaque += c.Alpha(x, y) == 255;
        }
    }
    EXPECT_GT(opaque, 150) << "the pointer has a visible shape";
}

TEST_P(CursorFileTest, QtReadsItAsA32By32ImageWithAlpha) {
    const QImage image(QStringLiteral(KANUVO_SOUND_DIR "/") + GetParam());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

INSTANTIATE_TEST_SUITE_P(BothPointers, CursorFileTest, ::testing::Values("H_point.cur", "Nodrop01.cur"),
                         [](const auto& info) { return std::string(info.param).substr(0, std::string(info.param).find('.')); });

TEST_P(CursorFileTest, TheSharpPointerIsTheSameGridAtTwiceTheSizeWithItsHotSpotDoubled) {
    const QString name = QString::fromLatin1(GetParam());
    const QString sharpName = QString(name).replace(QStringLiteral(".cur"), QStringLiteral("@2x.cur"));
    const QImage image(QStringLiteral(KANUVO_SOUND_DIR "/") + name);
    const QImage sharp(QStringLiteral(KANUVO_SOUND_DIR "/") + sharpName);
    ASSERT_EQ(sharp.size(), QSize(64, 64));
    int differing = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) differing += sharp.pixel(x, y) != image.pixel(x / 2, y / 2);
    EXPECT_EQ(differing, 0) << "each pixel of the grid is a crisp 2 x 2 block";
    const CursorFile c = Read(GetParam());
    const CursorFile s = Read(sharpName.toLatin1().constData());
    EXPECT_EQ(s.hotX, 2 * c.hotX);
    EXPECT_EQ(s.hotY, 2 * c.hotY);
}

TEST(HandPointer, HotSpotIsTheFingertip) {
    const CursorFile c = Read("H_point.cur");
    // The fingertip is the highest point of the hand, and the hot spot touches it.
    int top = kSide;
    for (int y = 0; y < kSide && top == kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (c.Alpha(x, y) == 255) top = y;
        }
    }
    EXPECT_EQ(c.hotY, top);
    EXPECT_EQ(c.Alpha(c.hotX, c.hotY), 255);
}

TEST(NoDropPointer, HotSpotIsTheCentreOfTheSign) {
    const CursorFile c = Read("Nodrop01.cur");
    int left = kSide, right = -1, top = kSide, bottom = -1;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (c.Alpha(x, y) < 128) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_LE(std::abs(2 * c.hotX - (left + right)), 1);
    EXPECT_LE(std::abs(2 * c.hotY - (top + bottom)), 1);
    EXPECT_GE(c.Alpha(c.hotX, c.hotY), 128) << "the slash crosses the centre";
}

std::string Grid(const std::string& head, const std::string& row, int rows) {
    std::string text = head + "grid\n";
    for (int i = 0; i < rows; ++i) text += row + "\n";
    return text;
}

TEST(CursorGrid, ReadsColoursAndHotSpot) {
    const std::string row(32, '.');
    std::string text = Grid("# a comment\nhotspot 3 4\ncolour . 00000000\ncolour X 11223380\n", row, 32);
    text.replace(text.find("grid\n") + 5 + 33 * 4 + 3, 1, "X");
    const auto art = kanuvo::cursors::ParseCursorArt(text);
    EXPECT_EQ(art.hotX, 3);
    EXPECT_EQ(art.hotY, 4);
    EXPECT_EQ(art.pixels[4 * 32 + 3], 0x80112233u);
    EXPECT_EQ(art.pixels[0], 0u);
}

TEST(CursorGrid, RejectsMalformedGridsNamingTheLine) {
    const std::string head = "hotspot 0 0\ncolour . 00000000\n";
    const std::string row(32, '.');
    const auto failure = [](const std::string& text) -> std::string {
        try {
            kanuvo::cursors::ParseCursorArt(text);
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "accepted";
    };
    EXPECT_EQ(failure(Grid(head, row, 31)).find("32 rows") != std::string::npos, true);
    EXPECT_EQ(failure(Grid(head, row.substr(1), 32)).rfind("line 4:", 0), 0u);
    EXPECT_EQ(failure(Grid(head, std::string(32, 'Z'), 32)).rfind("line 4:", 0), 0u);
    EXPECT_EQ(failure(Grid("colour . 00000000\n", row, 32)).find("hotspot") != std::string::npos, true);
    EXPECT_EQ(failure(Grid("hotspot 32 0\n", row, 32)).rfind("line 1:", 0), 0u);
    EXPECT_EQ(failure(Grid(head + "colour x 123\n", row, 32)).rfind("line 3:", 0), 0u);
}

}  // namespace
