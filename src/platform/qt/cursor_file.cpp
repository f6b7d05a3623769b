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

}  // namespace

std::optional<CursorImage> DecodeCursorFile(const QByteArray& bytes) {
    // Qt's image reader decodes the shapes; the directory is read here, for the hot spots it does not
    // report and to refuse entries that point outside the file before the reader sees them.
    const auto reserved = Read(bytes, 0, 2);
    const auto type = Read(bytes, 2, 2);
    const auto count = Read(bytes, 4, 2);
    if (!reserved || *reserved != 0 || !type || *type != kCursorType || !count || *count == 0) return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "cur");
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
        if (!reader.jumpToImage(static_cast<int>(i))) continue;
        const QImage image = reader.read();
        if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide) continue;
        const QPoint hotSpot(static_cast<int>(*hotX), static_cast<int>(*hotY));
        if (!image.rect().contains(hotSpot)) continue;
        return CursorImage{image.convertToFormat(QImage::Format_ARGB32), hotSpot};
    }
    return std::nullopt;
}

}  // namespace kanuvo
