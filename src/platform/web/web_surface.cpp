// SPDX-License-Identifier: MIT
// Drawing surfaces and pictures in the browser: the game's drawing calls as calls on the page's canvases.
#include "platform/web/web_surface.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "game/rounding.h"

// The page's side of each call is in page.js, under Kanuvo.draw.
EM_JS(int, kanuvo_new_surface, (const char* role), { return Kanuvo.draw.newSurface(UTF8ToString(role)); });
EM_JS(void, kanuvo_free_surface, (int s), { Kanuvo.draw.freeSurface(s); });
EM_JS(void, kanuvo_resize, (int s, int w, int h, int back), { Kanuvo.draw.resize(s, w, h, back); });
EM_JS(void, kanuvo_clear, (int s, int color), { Kanuvo.draw.clear(s, color); });
EM_JS(void, kanuvo_fill, (int s, int x, int y, int w, int h, int color), { Kanuvo.draw.fill(s, x, y, w, h, color); });
EM_JS(void, kanuvo_round_rect, (int s, int x, int y, int w, int h, double rx, double ry, int pen, int fill),
      { Kanuvo.draw.roundRect(s, x, y, w, h, rx, ry, pen, fill); });
EM_JS(double, kanuvo_text, (int s, int x, int y, const char* text, double px, int bold, int color),
      { return Kanuvo.draw.text(s, x, y, UTF8ToString(text), px, bold, color); });
EM_JS(double, kanuvo_text_width, (const char* text, double px, int bold),
      { return Kanuvo.draw.textWidth(UTF8ToString(text), px, bold); });
EM_JS(double, kanuvo_text_height, (double px, int bold), { return Kanuvo.draw.textHeight(px, bold); });
EM_JS(void, kanuvo_picture, (int s, const char* file, int x, int y, int w, int h, int op),
      { Kanuvo.draw.picture(s, UTF8ToString(file), x, y, w, h, op); });
EM_JS(void, kanuvo_blit, (int s, int x, int y, int w, int h, int from, int sx, int sy, int sw, int sh),
      { Kanuvo.draw.blit(s, x, y, w, h, from, sx, sy, sw, sh); });

namespace kanuvo {

namespace {

// Points at the 96 dots per inch the game's sizes were set for.
double PixelsOfPoints(double points) { return std::max(points, 1.0) * 96.0 / 72.0; }

int ColorValue(Color color) { return static_cast<int>(color & 0xFFFFFF); }

}  // namespace

int RoundToPixel(double value) {
    // Far outside any surface, a coordinate is pinned, so that rounding it cannot overflow.
    return RoundHalfEven(std::clamp(value, -16777216.0, 16777216.0));
}

WebSurface::WebSurface(const char* role) : handle_(kanuvo_new_surface(role)) {}

WebSurface::~WebSurface() { kanuvo_free_surface(handle_); }

void WebSurface::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    kanuvo_resize(handle_, width, height, ColorValue(clearColor_));
}

void WebSurface::Clear(Color color) {
    clearColor_ = color;
    kanuvo_clear(handle_, ColorValue(color));
}

void WebSurface::DrawPicture(const Picture& picture, double x, double y, double width, double height, RasterOp op) {
    const auto* source = dynamic_cast<const WebPicture*>(&picture);
    const int w = RoundToPixel(width), h = RoundToPixel(height);
    if (source == nullptr || w <= 0 || h <= 0) return;
    kanuvo_picture(handle_, source->File().c_str(), RoundToPixel(x), RoundToPixel(y), w, h, static_cast<int>(op));
}

void WebSurface::FillBox(double x1, double y1, double x2, double y2, Color color) {
    const int ax = RoundToPixel(x1), ay = RoundToPixel(y1), bx = RoundToPixel(x2), by = RoundToPixel(y2);
    // Both corners included.
    kanuvo_fill(handle_, std::min(ax, bx), std::min(ay, by), std::abs(bx - ax) + 1, std::abs(by - ay) + 1,
                ColorValue(color));
}

void WebSurface::Box(double x1, double y1, double x2, double y2, Color color) {
    FillBox(x1, y1, x2, y1, color);
    FillBox(x1, y2, x2, y2, color);
    FillBox(x1, y1, x1, y2, color);
    FillBox(x2, y1, x2, y2, color);
}

void WebSurface::Line(double x1, double y1, double x2, double y2, Color color) {
    const int ax = RoundToPixel(x1), ay = RoundToPixel(y1), bx = RoundToPixel(x2), by = RoundToPixel(y2);
    if (ax == bx || ay == by) {
        FillBox(ax, ay, bx, by, color);
        return;
    }
    // A slanted line pixel by pixel, unsmoothed, from the first end to the second.
    const int c = ColorValue(color);
    const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    int error = dx + dy, x = ax, y = ay;
    for (;;) {
        kanuvo_fill(handle_, x, y, 1, 1, c);
        if (x == bx && y == by) break;
        const int twice = 2 * error;
        if (twice >= dy) error += dy, x += sx;
        if (twice <= dx) error += dx, y += sy;
    }
}

void WebSurface::DrawText(double x, double y, std::string_view utf8Text, Font font, Color color) {
    const std::string text(utf8Text);
    kanuvo_text(handle_, RoundToPixel(x), RoundToPixel(y), text.c_str(), PixelsOfPoints(font.points), font.bold,
                ColorValue(color));
}

TextExtent WebSurface::MeasureText(std::string_view utf8Text, Font font) const {
    const std::string text(utf8Text);
    return {kanuvo_text_width(text.c_str(), PixelsOfPoints(font.points), font.bold),
            kanuvo_text_height(PixelsOfPoints(font.points), font.bold)};
}

void WebSurface::RoundRect(int left, int top, int right, int bottom, int corner, Color outline,
                           std::optional<Color> fill) {
    // The rectangle covers left..right-1 and top..bottom-1, whichever way round the corners come.
    const int x = std::min(left, right), y = std::min(top, bottom);
    const int w = std::abs(right - left), h = std::abs(bottom - top);
    if (w <= 0 || h <= 0) return;
    const double rx = std::min(std::abs(corner), w) / 2.0, ry = std::min(std::abs(corner), h) / 2.0;
    kanuvo_round_rect(handle_, x, y, w, h, rx, ry, ColorValue(outline), fill ? ColorValue(*fill) : -1);
}

bool WebSurface::Copy(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY) {
    // Only our own surfaces have pixels to copy.
    const auto* from = dynamic_cast<const WebSurface*>(&source);
    if (from == nullptr || width < 0 || height < 0) return false;
    if (width > 0 && height > 0)
        kanuvo_blit(handle_, x, y, width, height, from->handle_, sourceX, sourceY, width, height);
    return true;
}

}  // namespace kanuvo
