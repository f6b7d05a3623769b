// SPDX-License-Identifier: MIT
// Reading pointer-shape files (.cur): the image and hot spot of one shape.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

#include <optional>

namespace kanuvo {

struct CursorImage {
    QImage image;  // ARGB32, transparent where the pointer shows what is under it
    QPoint hotSpot;
};

// The first usable shape in the bytes of a .cur file, or nothing when the bytes are not a cursor
// file or are cut short or inconsistent. Every size and offset is checked before it is used.
std::optional<CursorImage> DecodeCursorFile(const QByteArray& bytes);

}  // namespace kanuvo
