// SPDX-License-Identifier: MIT
// What the game draws on: a picture box or the window itself, with the drawing calls the game uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kanuvo {

// A 24-bit colour as 0x00RRGGBB.
using Color = std::uint32_t;

constexpr Color Rgb(int red, int green, int blue) {
    return (static_cast<Color>(red & 0xFF) << 16) | (static_cast<Color>(green & 0xFF) << 8) |
           static_cast<Color>(blue & 0xFF);
}
constexpr int RedOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>(c & 0xFF); }
// The colour `share` of the way from `from` to `to`, each channel rounded to the nearest.
constexpr Color Mix(Color from, Color to, double share) {
    const auto channel = [share](int a, int b) {
        const double v = a + (b - a) * share;
        return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5);
    };
    return Rgb(channel(RedOf(from), RedOf(to)), channel(GreenOf(from), GreenOf(to)), channel(BlueOf(from), BlueOf(to)));
}

// How a scaled picture is combined with what is already on the surface.
enum class RasterOp {
    Copy,        // source replaces destination
    MergePaint,  // destination OR (NOT source): a black mask shape turns white, white leaves it alone
    And,         // destination AND source: white in the source leaves the destination alone
};

// The colour of a window's face: every surface is all this colour until something is drawn on it.
constexpr Color kWindowFace = Rgb(240, 240, 240);

// A font of the game's face: its size in points at 96 dpi, and whether it is bold.
struct Font {
    double points = 9;
    bool bold = false;
};

// The size a text takes in a font, in pixels.
struct TextExtent {
    double width = 0;
    double height = 0;
};

// A bitmap the program carries (title, trucks, Game Over lettering and their masks).
class Picture {
public:
    virtual ~Picture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// A drawing surface. Coordinates are pixels, origin top-left. Real coordinates are rounded to the
// nearest pixel, halves to even. Every call carries what it draws with, so none depends on another;
// drawn pixels stay until drawn over.
class Surface {
public:
    virtual ~Surface() = default;

    // Inner drawing size in pixels.
    virtual int PixelWidth() const = 0;
    virtual int PixelHeight() const = 0;

    // Every pixel in one colour.
    virtual void Clear(Color color) = 0;
    // A filled box, its outline, or a one-pixel line, between two corners, both corners included.
    virtual void FillBox(double x1, double y1, double x2, double y2, Color color) = 0;
    virtual void Box(double x1, double y1, double x2, double y2, Color color) = 0;
    virtual void Line(double x1, double y1, double x2, double y2, Color color) = 0;
    // A rectangle covering left..right-1 and top..bottom-1 with corners rounded by an ellipse `corner`
    // pixels across (square below 2), outlined in one colour and filled in another, or left unfilled.
    virtual void RoundRect(int left, int top, int right, int bottom, int corner, Color outline,
                           std::optional<Color> fill) = 0;

    // Text with its top-left corner at (x, y).
    virtual void DrawText(double x, double y, std::string_view utf8Text, Font font, Color color) = 0;
    virtual TextExtent MeasureText(std::string_view utf8Text, Font font) const = 0;

    // Draws the whole picture scaled to width x height at (x, y), combined by op.
    virtual void DrawPicture(const Picture& picture, double x, double y, double width, double height,
                             RasterOp op) = 0;

    // Copies a block of pixels from source (this surface too) onto this surface; false when the
    // pixels could not be had (no memory for them, or a source of another kind).
    [[nodiscard]] virtual bool Copy(int x, int y, int width, int height, const Surface& source, int sourceX,
                                    int sourceY) = 0;
};

}  // namespace kanuvo
