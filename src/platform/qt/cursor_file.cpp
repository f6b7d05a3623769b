// Reading pointer-shape files (.cur): the image and hot spot of one shape.
#include "platform/qt/cursor_file.h"

#include <cstdint>
#include <vector>

namespace kanuvo {

namespace {

constexpr int kCursorType = 2;
constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr qsizetype kInfoHeaderSize = 40;
constexpr int kMaxSide = 256;
constexpr std::uint32_t kUncompressed = 0;

// Little-endian reads from a checked span of bytes; a read past the end gives nothing.
class Reader {
public:
    Reader(const QByteArray& bytes, qsizetype begin, qsizetype size) : bytes_(bytes), begin_(begin), size_(size) {}
    bool Has(qsizetype offset, qsizetype count) const {
        return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
    }
    std::optional<std::uint32_t> U8(qsizetype offset) const { return Unsigned(offset, 1); }
    std::optional<std::uint32_t> U16(qsizetype offset) const { return Unsigned(offset, 2); }
    std::optional<std::uint32_t> U32(qsizetype offset) const { return Unsigned(offset, 4); }
    std::uint8_t Byte(qsizetype offset) const { return static_cast<std::uint8_t>(bytes_[begin_ + offset]); }

private:
    std::optional<std::uint32_t> Unsigned(qsizetype offset, int count) const {
        if (!Has(offset, count)) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i) value = (value << 8) | Byte(offset + i);
        return value;
    }

    const QByteArray& bytes_;
    qsizetype begin_;
    qsizetype size_;
};

qsizetype RowBytes(qsizetype width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

// A device-independent bitmap as stored in icon and cursor files: colour rows bottom-up, then a
// 1-bit AND mask whose set bits let the screen show through. The stored height counts both.
std::optional<QImage> DecodeDib(const Reader& dib) {
    const auto headerSize = dib.U32(0);
    const auto width = dib.U32(4);
    const auto doubledHeight = dib.U32(8);
    const auto bitCount = dib.U16(14);
    const auto compression = dib.U32(16);
    const auto colorsUsed = dib.U32(32);
    if (!headerSize || *headerSize < kInfoHeaderSize || !width || !doubledHeight || !bitCount || !compression ||
        !colorsUsed)
        return std::nullopt;
    const int w = static_cast<int>(*width);
    const int h = static_cast<int>(*doubledHeight / 2);
    const int bits = static_cast<int>(*bitCount);
    // Negative (top-down) heights read as huge unsigned values and are refused here.
    if (*width == 0 || *width > kMaxSide || h == 0 || *doubledHeight > 2 * kMaxSide || *compression != kUncompressed)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

    qsizetype offset = *headerSize;
    std::vector<QRgb> palette;
    if (bits <= 8) {
        const std::uint32_t entries = *colorsUsed != 0 ? *colorsUsed : (1u << bits);
        if (entries > (1u << bits) || !dib.Has(offset, entries * 4)) return std::nullopt;
        for (std::uint32_t i = 0; i < entries; ++i, offset += 4)
            palette.push_back(qRgb(dib.Byte(offset + 2), dib.Byte(offset + 1), dib.Byte(offset)));
    }
    const qsizetype colorRow = RowBytes(w, bits);
    const qsizetype maskRow = RowBytes(w, 1);
    const qsizetype colorStart = offset;
    const qsizetype maskStart = colorStart + colorRow * h;
    if (!dib.Has(colorStart, colorRow * h)) return std::nullopt;
    const bool hasMask = dib.Has(maskStart, maskRow * h);
    // Only a 32-bit image can do without its mask: its alpha channel says what is transparent.
    if (!hasMask && bits != 32) return std::nullopt;

    bool anyAlpha = false;
    if (bits == 32) {
        for (int y = 0; y < h && !anyAlpha; ++y)
            for (int x = 0; x < w && !anyAlpha; ++x) anyAlpha = dib.Byte(colorStart + y * colorRow + x * 4 + 3) != 0;
    }
    if (!anyAlpha && !hasMask) return std::nullopt;

    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull()) return std::nullopt;
    for (int y = 0; y < h; ++y) {
        const qsizetype row = colorStart + static_cast<qsizetype>(h - 1 - y) * colorRow;
        const qsizetype mask = maskStart + static_cast<qsizetype>(h - 1 - y) * maskRow;
        for (int x = 0; x < w; ++x) {
            QRgb pixel = 0;
            int alpha = 255;
            switch (bits) {
                case 32:
                    pixel = qRgb(dib.Byte(row + x * 4 + 2), dib.Byte(row + x * 4 + 1), dib.Byte(row + x * 4));
                    if (anyAlpha) alpha = dib.Byte(row + x * 4 + 3);
                    break;
                case 24:
                    pixel = qRgb(dib.Byte(row + x * 3 + 2), dib.Byte(row + x * 3 + 1), dib.Byte(row + x * 3));
                    break;
                default: {
                    const int perByte = 8 / bits;
                    const int shift = 8 - bits * (x % perByte + 1);
                    const std::size_t index = (dib.Byte(row + x / perByte) >> shift) & ((1 << bits) - 1);
                    if (index >= palette.size()) return std::nullopt;
                    pixel = palette[index];
                }
            }
            // Where the mask is set the screen shows through; screen inversion has no Qt equivalent.
            if (!anyAlpha && ((dib.Byte(mask + x / 8) >> (7 - x % 8)) & 1) != 0) alpha = 0;
            image.setPixel(x, y, qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), alpha));
        }
    }
    return image;
}

std::optional<QImage> DecodeEntryImage(const QByteArray& bytes, qsizetype offset, qsizetype size) {
    static const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);
    const QByteArray data = bytes.mid(offset, size);
    if (data.startsWith(kPngSignature)) {
        QImage png;
        if (!png.loadFromData(data, "PNG") || png.width() > kMaxSide || png.height() > kMaxSide) return std::nullopt;
        return png.convertToFormat(QImage::Format_ARGB32);
    }
    return DecodeDib(Reader(bytes, offset, size));
}

}  // namespace

std::optional<CursorImage> DecodeCursorFile(const QByteArray& bytes) {
    const Reader file(bytes, 0, bytes.size());
    const auto reserved = file.U16(0);
    const auto type = file.U16(2);
    const auto count = file.U16(4);
    if (!reserved || *reserved != 0 || !type || *type != kCursorType || !count || *count == 0) return std::nullopt;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const qsizetype entry = kDirectorySize + i * kEntrySize;
        const auto hotX = file.U16(entry + 4);
        const auto hotY = file.U16(entry + 6);
        const auto size = file.U32(entry + 8);
        const auto offset = file.U32(entry + 12);
        if (!hotX || !hotY || !size || !offset) return std::nullopt;
        if (!file.Has(*offset, *size)) continue;
        auto image = DecodeEntryImage(bytes, *offset, *size);
        if (!image) continue;
        const QPoint hotSpot(static_cast<int>(*hotX), static_cast<int>(*hotY));
        if (!image->rect().contains(hotSpot)) continue;
        return CursorImage{*image, hotSpot};
    }
    return std::nullopt;
}

}  // namespace kanuvo
