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
constexpr std::uint32_t kColourBytes = kCursorSide * kCursorSide * 4;
// One bit a pixel; a 32-pixel row is 4 bytes, already a multiple of 4.
constexpr std::uint32_t kMaskRowBytes = ((kCursorSide + 31) / 32) * 4;
constexpr std::uint32_t kMaskBytes = kMaskRowBytes * kCursorSide;
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

std::vector<std::uint8_t> EncodeCursor(const CursorArt& art) {
    std::vector<std::uint8_t> out;
    const std::uint32_t imageBytes = kInfoHeaderSize + kColourBytes + kMaskBytes;
    out.reserve(kDirectorySize + kEntrySize + imageBytes);

    // Icon directory: reserved, type 2 (cursor), one image.
    Put16(out, 0);
    Put16(out, 2);
    Put16(out, 1);
    // Its entry; for a cursor the two fields after the colour count hold the hot spot.
    out.push_back(kCursorSide);
    out.push_back(kCursorSide);
    out.push_back(0);
    out.push_back(0);
    Put16(out, static_cast<unsigned>(art.hotX));
    Put16(out, static_cast<unsigned>(art.hotY));
    Put32(out, imageBytes);
    Put32(out, kDirectorySize + kEntrySize);

    // The image's header counts the colour rows and the mask rows together, hence the doubled height.
    Put32(out, kInfoHeaderSize);
    Put32(out, kCursorSide);
    Put32(out, 2 * kCursorSide);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, 0);   // uncompressed
    Put32(out, kColourBytes + kMaskBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);

    // Rows run bottom-up; pixels are stored blue, green, red, alpha.
    for (int y = kCursorSide - 1; y >= 0; --y) {
        for (int x = 0; x < kCursorSide; ++x) {
            const std::uint32_t argb = art.pixels[y * kCursorSide + x];
            out.push_back(static_cast<std::uint8_t>(argb & 0xFF));
            out.push_back(static_cast<std::uint8_t>((argb >> 8) & 0xFF));
            out.push_back(static_cast<std::uint8_t>((argb >> 16) & 0xFF));
            out.push_back(static_cast<std::uint8_t>(argb >> 24));
        }
    }
    // The mask: a set bit leaves the screen as it is, the first pixel in the high bit.
    for (int y = kCursorSide - 1; y >= 0; --y) {
        std::uint8_t rowBytes[kMaskRowBytes] = {};
        for (int x = 0; x < kCursorSide; ++x) {
            if ((art.pixels[y * kCursorSide + x] >> 24) < kHalfOpaque) {
                rowBytes[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), rowBytes, rowBytes + kMaskRowBytes);
    }
    return out;
}

}  // namespace kanuvo::cursors
