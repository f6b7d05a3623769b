// SPDX-License-Identifier: MIT
// The game's pictures are BMP files: read here without Qt's image plugins, which would cost the
// start-up a scan of every plugin for the sake of one format.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace kanuvo {

// The size of an uncompressed 24- or 32-bit BMP (the kind the build draws), read from its headers and
// checked against the bytes there are; an invalid size for any other kind, or when the bytes are cut
// short or claim an absurd size.
QSize PlainBmpSize(const std::uint8_t* bytes, std::size_t size);

// Such a BMP as an RGB32 image; a null image wherever PlainBmpSize gives an invalid size.
QImage DecodePlainBmp(const std::uint8_t* bytes, std::size_t size);

// The picture in a BMP file or embedded resource: read directly when it is of the plain kind, by Qt's
// reader otherwise; a null image when it is missing or unreadable.
QImage ReadBmp(const QString& path);

}  // namespace kanuvo
