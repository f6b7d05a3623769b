// SPDX-License-Identifier: MIT
// Drawing surfaces and pictures in the browser: each surface is a canvas the page holds, drawn in the
// game's pixels at the page's pixel ratio.
#pragma once

#include <string>

#include "platform/surface.h"

namespace kanuvo {

// A picture the page has loaded (or is loading) from the site's pictures/ folder, by its file name.
class WebPicture : public Picture {
public:
    WebPicture(std::string file, int width, int height) : file_(std::move(file)), width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    const std::string& File() const { return file_; }

private:
    std::string file_;
    int width_, height_;
};

// A canvas of the page. Shapes are drawn without smoothing where the canvas allows it (boxes and
// lines by whole pixels); only the outlines of rounded rectangles and the letters are smoothed.
class WebSurface : public virtual Surface {
public:
    // A canvas shown in the page under the given role (its element's id), or kept off the page when
    // the role is empty.
    explicit WebSurface(const char* role);
    ~WebSurface() override;
    WebSurface(const WebSurface&) = delete;
    WebSurface& operator=(const WebSurface&) = delete;

    // Changes the size, keeping what is drawn at the top left and filling new area with the colour the
    // surface was last cleared to.
    void Resize(int width, int height);
    int Handle() const { return handle_; }

    int PixelWidth() const override { return width_; }
    int PixelHeight() const override { return height_; }

    void Clear(Color color) override;
    void FillBox(double x1, double y1, double x2, double y2, Color color) override;
    void Box(double x1, double y1, double x2, double y2, Color color) override;
    void Line(double x1, double y1, double x2, double y2, Color color) override;
    void RoundRect(int left, int top, int right, int bottom, int corner, Color outline,
                   std::optional<Color> fill) override;
    void DrawText(double x, double y, std::string_view utf8Text, Font font, Color color) override;
    TextExtent MeasureText(std::string_view utf8Text, Font font) const override;
    void DrawPicture(const Picture& picture, double x, double y, double width, double height,
                     RasterOp op) override;
    [[nodiscard]] bool Copy(int x, int y, int width, int height, const Surface& source, int sourceX,
                            int sourceY) override;

private:
    int handle_;
    int width_ = 0, height_ = 0;
    Color clearColor_ = kWindowFace;  // what a larger size is filled with
};

// A real coordinate as a whole pixel: the nearest, halves to even, as everywhere in the game.
int RoundToPixel(double value);

}  // namespace kanuvo
