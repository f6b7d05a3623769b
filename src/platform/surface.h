// SPDX-License-Identifier: MIT
// What the game draws on: a picture box or the window itself, with the drawing calls the game uses.
#pragma once

#include <cstdint>
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

enum class LineStyle { Line, Box, FilledBox };

enum class FillStyle { Solid = 0, Transparent = 1 };

// A bitmap the program carries (title, trucks, Game Over lettering and their masks).
class Picture {
public:
    virtual ~Picture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// A drawing surface. Coordinates are pixels, origin top-left. Real coordinates are rounded to the
// nearest pixel, halves to even. Drawn pixels stay until drawn over or cleared by SetBackColor.
class Surface {
public:
    virtual ~Surface() = default;

    // Inner drawing size in pixels.
    virtual int ScaleWidth() const = 0;
    virtual int ScaleHeight() const = 0;

    // Draws the whole picture scaled to width x height at (x, y), combined by op.
    virtual void PaintPicture(const Picture& picture, double x, double y, double width, double height,
                              RasterOp op) = 0;

    virtual void SetFillStyle(FillStyle style) = 0;
    virtual void SetFillColor(Color color) = 0;
    virtual Color FillColor() const = 0;
    // Pen and text colour.
    virtual void SetForeColor(Color color) = 0;
    virtual Color ForeColor() const = 0;
    // Writing the back colour clears the whole surface to it.
    virtual void SetBackColor(Color color) = 0;
    virtual Color BackColor() const = 0;

    // A line, an outlined box or a filled box between two corners, both corners included, in color.
    virtual void Line(double x1, double y1, double x2, double y2, Color color, LineStyle style) = 0;

    // Text: Print writes with the text's top-left corner at (CurrentX, CurrentY) in the pen colour,
    // then moves the current point to the start of the next line.
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;
    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;
    virtual void SetFontSize(double points) = 0;
    virtual double FontSize() const = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual bool FontBold() const = 0;
    virtual void Print(std::string_view utf8Text) = 0;
    // The size Print would give the text in the current font, in pixels.
    virtual double TextWidth(std::string_view utf8Text) const = 0;
    virtual double TextHeight(std::string_view utf8Text) const = 0;

    // A rectangle with rounded corners covering left..right-1 and top..bottom-1, outlined in the pen
    // colour and filled by the fill colour (when the fill style is solid).
    virtual void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) = 0;

    // Copies a block of pixels from source onto this surface. Both return 0 on failure.
    virtual int BitBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY) = 0;
    virtual int StretchBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight) = 0;
};

}  // namespace kanuvo
