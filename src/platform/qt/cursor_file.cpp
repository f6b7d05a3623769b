// SPDX-License-Identifier: MIT
// Reading pointer-shape files (.cur): the image and hot spot of one shape.
#include "platform/qt/cursor_file.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstdint>

namespace kanuvo {

namespace {

constexpr int kCursorType = 2;
constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr int kMaxSide = 256;
constexpr qsizetype kCompressionField = 16;  // in the bitmap's header
constexpr std::uint32_t kUncompressed = 0;

// A little-endian number at offset, or nothing when it lies past the end.
std::optional<std::uint32_t> Read(const QByteArray& bytes, qsizetype offset, int count) {
    if (offset < 0 || offset > bytes.size() - count) return std::nullopt;
    const auto* at = reinterpret_cast<const uchar*>(bytes.constData()) + offset;
    return count == 2 ? qFromLittleEndian<std::uint16_t>(at) : qFromLittleEndian<std::uint32_t>(at);
}

// A 32-bit uncompressed shape, the kind the build makes, read without Qt's image plugins (which cost
// the start-up a scan of every plugin). Its alpha channel gives the transparency; where every alpha
// is zero, as in older files, the mask does. A null image for any other kind.
QImage DecodeThirtyTwoBitShape(const QByteArray& bytes, qsizetype offset, qsizetype size) {
    const auto infoSize = Read(bytes, offset, 4);
    const auto width = Read(bytes, offset + 4, 4);
    const auto doubledHeight = Read(bytes, offset + 8, 4);
    const auto bits = Read(bytes, offset + 14, 2);
    if (!infoSize || *infoSize < 40 || !width || !doubledHeight || bits != 32u ||
        Read(bytes, offset + kCompressionField, 4) != kUncompressed)
        return {};
    const qsizetype side = *width;
    const qsizetype height = *doubledHeight / 2;
    if (side <= 0 || side > kMaxSide || height <= 0 || height > kMaxSide || *doubledHeight != 2u * height) return {};
    const qsizetype colourRow = side * 4;
    const qsizetype maskRow = (side + 31) / 32 * 4;
    const qsizetype pixelsAt = offset + *infoSize;
    if (*infoSize > static_cast<std::uint64_t>(size) || size - *infoSize < (colourRow + maskRow) * height) return {};
    const auto* colours = reinterpret_cast<const uchar*>(bytes.constData()) + pixelsAt;
    const uchar* mask = colours + colourRow * height;
    QImage image(static_cast<int>(side), static_cast<int>(height), QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (qsizetype y = 0; y < height; ++y) {
        const uchar* in = colours + colourRow * (height - 1 - y);  // stored bottom-up
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (qsizetype x = 0; x < side; ++x, in += 4) {
            out[x] = qRgba(in[2], in[1], in[0], in[3]);
            anyAlpha = anyAlpha || in[3] != 0;
        }
    }
    if (anyAlpha) return image;
    for (qsizetype y = 0; y < height; ++y) {
        const uchar* bitsRow = mask + maskRow * (height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (qsizetype x = 0; x < side; ++x) {
            const bool seeThrough = (bitsRow[x / 8] & (0x80 >> (x % 8))) != 0;
            out[x] = seeThrough ? qRgba(0, 0, 0, 0) : (out[x] | 0xFF000000u);
        }
    }
    return image;
}

}  // namespace

std::optional<CursorImage> DecodeCursorFile(const QByteArray& bytes) {
    // The directory is read here, for the hot spots Qt's image reader does not report and to refuse
    // entries that point outside the file before any reader sees them. The reader decodes the kinds of
    // shape this file does not.
    const auto reserved = Read(bytes, 0, 2);
    const auto type = Read(bytes, 2, 2);
    const auto count = Read(bytes, 4, 2);
    if (!reserved || *reserved != 0 || !type || *type != kCursorType || !count || *count == 0) return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    std::optional<QImageReader> reader;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const qsizetype entry = kDirectorySize + i * kEntrySize;
        const auto hotX = Read(bytes, entry + 4, 2);
        const auto hotY = Read(bytes, entry + 6, 2);
        const auto size = Read(bytes, entry + 8, 4);
        const auto offset = Read(bytes, entry + 12, 4);
        if (!hotX || !hotY || !size || !offset) return std::nullopt;
        if (*offset > static_cast<std::uint64_t>(bytes.size()) || *size > bytes.size() - *offset) continue;
        // The reader would take a compressed bitmap for an uncompressed one; a cursor's never is.
        const bool png = bytes.mid(*offset, 4) == QByteArray("\x89PNG", 4);
        if (!png && Read(bytes, *offset + kCompressionField, 4) != kUncompressed) continue;
        QImage image = png ? QImage() : DecodeThirtyTwoBitShape(bytes, *offset, *size);
        if (image.isNull()) {
            if (!reader) reader.emplace(&buffer, "cur");
            if (!reader->jumpToImage(static_cast<int>(i))) continue;
            image = reader->read();
        }
        if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide) continue;
        const QPoint hotSpot(static_cast<int>(*hotX), static_cast<int>(*hotY));
        if (!image.rect().contains(hotSpot)) continue;
        return CursorImage{image.convertToFormat(QImage::Format_ARGB32), hotSpot};
    }
    return std::nullopt;
}

}  // namespace kanuvo
