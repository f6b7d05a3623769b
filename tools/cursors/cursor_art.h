// SPDX-License-Identifier: MIT
// Pointer cursors from text pixel grids: reading the grid and writing a Windows .cur file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kanuvo::cursors {

inline constexpr int kCursorSide = 32;

struct CursorArt {
    int hotX = 0;
    int hotY = 0;
    // Row by row from the top, 0xAARRGGBB.
    std::array<std::uint32_t, kCursorSide * kCursorSide> pixels{};
};

// Reads a grid: "hotspot X Y", "colour C RRGGBBAA" lines, then "grid" and 32 rows of 32 characters.
// Lines starting with '#' are comments. Throws std::runtime_error naming the line at fault.
CursorArt ParseCursorArt(const std::string& text);

// A .cur file of one 32 x 32 image: 32-bit colour with alpha, and a 1-bit mask for displays that
// ignore alpha, in which a pixel less than half opaque counts as transparent. With a scale of 2 the
// image is 64 x 64 for dense screens, each grid pixel a crisp 2 x 2 block and the hot spot doubled.
std::vector<std::uint8_t> EncodeCursor(const CursorArt& art, int scale = 1);

}  // namespace kanuvo::cursors
