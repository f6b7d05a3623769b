// SPDX-License-Identifier: MIT
// Reads pointer grids and writes them as .cur files (an icon directory of type 2 and one DIB image).
#include "cursor_art.h"

#include <map>
#include <sstream>
#include <stdexcept>

namespace kanuvo::cursors {

namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
    throw std::runtime_error("line " + std::to_string(line) + ": " + what);
}

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kHalfOpaque = 0x80;

}  // namespace

CursorArt ParseCursorArt(const std::string& text) {
    CursorArt art;
    std::map<char, std::uint32_t> palette;
    bool hotspotSeen = false;
    bool inGrid = false;
    int row = 0;
    int lineNumber = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inGrid) {
            if (line.empty() && row == kCursorSide) continue;
            if (row == kCursorSide) Fail(lineNumber, "more than 32 grid rows");
            if (line.size() != kCursorSide) Fail(lineNumber, "a grid row must have 32 characters");
            for (int x = 0; x < kCursorSide; ++x) {
                const auto colour = palette.find(line[x]);
                if (colour == palette.end()) Fail(lineNumber, std::string("no colour for '") + line[x] + "'");
                art.pixels[row * kCursorSide + x] = colour->second;
            }
            ++row;
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "hotspot") {
            if (!(words >> art.hotX >> art.hotY) || art.hotX < 0 || art.hotY < 0 || art.hotX >= kCursorSide ||
                art.hotY >= kCursorSide) {
                Fail(lineNumber, "hotspot needs two coordinates from 0 to 31");
            }
            hotspotSeen = true;
        } else if (keyword == "colour") {
            std::string symbol;
            std::string rgba;
            if (!(words >> symbol >> rgba) || symbol.size() != 1 || rgba.size() != 8 ||
                rgba.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                Fail(lineNumber, "colour needs one character and eight hex digits RRGGBBAA");
            }
            const std::uint32_t value = static_cast<std::uint32_t>(std::stoul(rgba, nullptr, 16));
            palette[symbol[0]] = (value >> 8) | (value << 24);
        } else if (keyword == "grid") {
            inGrid = true;
        } else {
            Fail(lineNumber, "unknown keyword '" + keyword + "'");
        }
    }
    if (!hotspotSeen) Fail(lineNumber, "no hotspot given");
    if (row != kCursorSide) Fail(lineNumber, "the grid needs 32 rows");
    return art;
}

std::vector<std::uint8_t> EncodeCursor(const CursorArt& art, int scale) {
    const std::uint32_t side = kCursorSide * static_cast<std::uint32_t>(scale);
    const std::uint32_t colourBytes = side * side * 4;
    // One bit a pixel, each row padded to whole 32-bit words.
    const std::uint32_t maskRowBytes = (side + 31) / 32 * 4;
    const std::uint32_t maskBytes = maskRowBytes * side;
    const std::uint32_t imageBytes = kInfoHeaderSize + colourBytes + maskBytes;
    // The grid pixel under a pixel of the (possibly enlarged) image.
    const auto pixel = [&](std::uint32_t x, std::uint32_t y) { return art.pixels[y / scale * kCursorSide + x / scale]; };
    std::vector<std::uint8_t> out;
    out.reserve(kDirectorySize + kEntrySize + imageBytes);

    // Icon directory: reserved, type 2 (cursor), one image.
    Put16(out, 0);
    Put16(out, 2);
    Put16(out, 1);
    // Its entry; a side of 256 is written as 0. For a cursor the two fields after the colour count
    // hold the hot spot.
    out.push_back(static_cast<std::uint8_t>(side & 0xFF));
    out.push_back(static_cast<std::uint8_t>(side & 0xFF));
    out.push_back(0);
    out.push_back(0);
    Put16(out, static_cast<unsigned>(art.hotX * scale));
    Put16(out, static_cast<unsigned>(art.hotY * scale));
    Put32(out, imageBytes);
    Put32(out, kDirectorySize + kEntrySize);

    // The image's header counts the colour rows and the mask rows together, hence the doubled height.
    Put32(out, kInfoHeaderSize);
    Put32(out, side);
    Put32(out, 2 * side);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, 0);   // uncompressed
    Put32(out, colourBytes + maskBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);

    // Rows run bottom-up; pixels are stored blue, green, red, alpha.
    for (std::uint32_t y = side; y-- > 0;) {
        for (std::uint32_t x = 0; x < side; ++x) {
            const std::uint32_t argb = pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(argb & 0xFF));
            out.push_back(static_cast<std::uint8_t>((argb >> 8) & 0xFF));
            out.push_back(static_cast<std::uint8_t>((argb >> 16) & 0xFF));
            out.push_back(static_cast<std::uint8_t>(argb >> 24));
        }
    }
    // The mask: a set bit leaves the screen as it is, the first pixel in the high bit.
    for (std::uint32_t y = side; y-- > 0;) {
        std::vector<std::uint8_t> rowBytes(maskRowBytes, 0);
        for (std::uint32_t x = 0; x < side; ++x) {
            if ((pixel(x, y) >> 24) < kHalfOpaque) rowBytes[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), rowBytes.begin(), rowBytes.end());
    }
    return out;
}

}  // namespace kanuvo::cursors
