// SPDX-License-Identifier: MIT
#include "platform/qt/bmp_file.h"

#include <QFile>
#include <QResource>

#include <optional>

#include "platform/regular_file.h"

namespace kanuvo {

namespace {

// Larger than any picture the game carries (the title at twice the size is 5 MB).
constexpr std::size_t kMaxBmpBytes = 64 << 20;
constexpr std::int64_t kMaxSide = 16384;

std::uint32_t U16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct PlainBmp {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;  // a negative height stores the rows from the top down
    std::int64_t bytesPerPixel = 0;
    std::int64_t stride = 0;
    std::int64_t pixelsAt = 0;
};

std::optional<PlainBmp> ReadHeaders(const std::uint8_t* bytes, std::size_t size) {
    // File header (14 bytes) and an info header of at least 40 bytes.
    constexpr std::size_t kHeaders = 14 + 40;
    if (bytes == nullptr || size < kHeaders || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const std::uint32_t infoSize = U32(bytes + 14);
    const auto rawHeight = static_cast<std::int64_t>(static_cast<std::int32_t>(U32(bytes + 22)));
    const std::uint32_t planes = U16(bytes + 26);
    const std::uint32_t bits = U16(bytes + 28);
    const std::uint32_t compression = U32(bytes + 30);
    if (infoSize < 40 || planes != 1 || (bits != 24 && bits != 32) || compression != 0) return std::nullopt;
    PlainBmp bmp;
    bmp.width = static_cast<std::int32_t>(U32(bytes + 18));
    bmp.topDown = rawHeight < 0;
    bmp.height = bmp.topDown ? -rawHeight : rawHeight;
    if (bmp.width <= 0 || bmp.height <= 0 || bmp.width > kMaxSide || bmp.height > kMaxSide) return std::nullopt;
    bmp.bytesPerPixel = bits / 8;
    bmp.stride = (bmp.width * bits + 31) / 32 * 4;
    bmp.pixelsAt = U32(bytes + 10);
    if (bmp.pixelsAt < static_cast<std::int64_t>(kHeaders) ||
        bmp.pixelsAt + bmp.stride * bmp.height > static_cast<std::int64_t>(size))
        return std::nullopt;
    return bmp;
}

}  // namespace

QSize PlainBmpSize(const std::uint8_t* bytes, std::size_t size) {
    const auto bmp = ReadHeaders(bytes, size);
    return bmp ? QSize(static_cast<int>(bmp->width), static_cast<int>(bmp->height)) : QSize();
}

QImage DecodePlainBmp(const std::uint8_t* bytes, std::size_t size) {
    const auto bmp = ReadHeaders(bytes, size);
    if (!bmp) return {};
    QImage image(static_cast<int>(bmp->width), static_cast<int>(bmp->height), QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (std::int64_t y = 0; y < bmp->height; ++y) {
        const std::uint8_t* in = bytes + bmp->pixelsAt + bmp->stride * (bmp->topDown ? y : bmp->height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (std::int64_t x = 0; x < bmp->width; ++x, in += bmp->bytesPerPixel) out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

QImage ReadBmp(const QString& path) {
    // An embedded picture is read where it lies, without a copy.
    const QResource resource(path);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::Compression::NoCompression) {
        QImage image = DecodePlainBmp(resource.data(), static_cast<std::size_t>(resource.size()));
        if (!image.isNull()) return image;
    }
    QByteArray bytes;
    if (resource.isValid()) {
        bytes = resource.uncompressedData();
    } else {
        const auto file = ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxBmpBytes);
        if (!file) return {};
        bytes = QByteArray(reinterpret_cast<const char*>(file->data()), static_cast<qsizetype>(file->size()));
    }
    QImage image = DecodePlainBmp(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size()));
    if (!image.isNull()) return image;
    // Any other kind of BMP (a palette, run-length coding) is Qt's to read.
    QImage other;
    other.loadFromData(bytes, "BMP");
    return other;
}

}  // namespace kanuvo
