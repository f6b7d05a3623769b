// SPDX-License-Identifier: MIT
// Drawing surfaces and pictures over QImage: the game's drawing calls with the pixel rules it expects.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "platform/surface.h"

namespace kanuvo {

// A bitmap held as an RGB32 QImage at the design's size, with a sharper drawing of it at twice that
// size for dense screens, read from its file the first time such a screen needs it.
class QtPicture : public Picture {
public:
    explicit QtPicture(const QImage& image, QString sharpFile = QString());
    // A picture of a known size whose pixels are decoded the first time it is drawn: the game loads
    // all its pictures at start-up, and some are not seen for minutes, or never.
    QtPicture(QSize size, std::function<QImage()> decode, QString sharpFile);
    int Width() const override { return size_.width(); }
    int Height() const override { return size_.height(); }
    const QImage& Image() const;
    // The drawing that suits a surface of this pixel ratio: the sharp one above 1 when there is one.
    const QImage& ImageFor(int pixelRatio) const;

private:
    QSize size_;
    mutable std::function<QImage()> decode_;  // until the pixels are decoded
    mutable QImage image_;
    QString sharpFile_;
    mutable std::optional<QImage> sharp_;  // read on first use; null when missing or of the wrong size
};

// A real coordinate as a whole pixel: the nearest, halves to even, as everywhere in the game.
int RoundToPixel(double value);

// The font the game's texts are drawn in, on surfaces and on buttons: the font the game was designed
// with where it exists, otherwise the proportional IPA Gothic.
QFont GameFont(double points);

// A surface over an RGB32 QImage at 96 dpi, so that point sizes come out as on a 96-dpi screen. Its
// size and every coordinate are the game's pixels; on a dense screen the image holds pixelRatio x
// pixelRatio device pixels for each of them, so that shapes, text and pictures are drawn at the
// screen's full resolution. A picture box is a surface too, so Surface is a virtual base.
class QtSurface : public virtual Surface {
public:
    explicit QtSurface(QSize size = QSize());
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    // Changes the size, keeping what is drawn at the top left and filling new area with the colour the
    // surface was last cleared to.
    void Resize(QSize size);
    // Device pixels per game pixel. What is drawn already is kept, scaled, until it is drawn again.
    void SetPixelRatio(int ratio);
    int PixelRatio() const { return pixelRatio_; }
    // The pixels, with the image's device pixel ratio set: at ratio 1 pixel (x, y) is the game's (x, y).
    const QImage& Image() const;
    // Called after every change of the pixels with the area that changed (in the game's pixels), e.g.
    // to schedule a repaint of that part of the widget showing them.
    void SetChangedHandler(std::function<void(const QRect&)> handler) { changed_ = std::move(handler); }

    int PixelWidth() const override { return blank_ ? blankSize_.width() : image_.width() / pixelRatio_; }
    int PixelHeight() const override { return blank_ ? blankSize_.height() : image_.height() / pixelRatio_; }
    // The colour the surface was last cleared to: the window's margins take it.
    Color ClearColor() const { return clearColor_; }

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
    // The whole surface, in the game's pixels.
    QRect Area() const { return QRect(0, 0, PixelWidth(), PixelHeight()); }
    // A fresh image of this size in the game's pixels at the current ratio, with what was drawn kept.
    void Reallocate(QSize size, const QImage& keep);
    // Gives a blank surface its pixels, in its clear colour unless the caller is about to cover every
    // one of them; false when it has none (no size, or no memory for them).
    bool Materialize(bool fill = true) const;
    void Changed(const QRect& area);
    // What changed after the given version, or nothing when the changes kept do not reach back so far.
    std::optional<QRegion> ChangesSince(std::uint64_t version) const;
    // Copies the parts of an equally sized surface onto the same place here; only what changed
    // since this surface last became a whole copy of it, when nothing else has drawn here since.
    void MirrorFrom(const QtSurface& source);
    // The text in the font, laid out: from the latest few drawn, or afresh.
    struct LaidOutText;
    LaidOutText& LaidOut(std::string_view utf8Text, Font font);
    // The area between two corners, both included, with the corners rounded to pixels.
    static QRect BoxArea(double x1, double y1, double x2, double y2);

    // Until something is drawn on it, and again once it has been cleared, a surface is
    // blank: all its clear colour, with no pixels held. The board and its copy are laid out long before the
    // title ends, a window is sized several times before its first frame, and the window's own drawing
    // lies unseen under the board for the whole game: none of that needs megabytes of pixels.
    mutable QImage image_;
    mutable bool blank_ = false;
    QSize blankSize_;  // the size of a blank surface, in the game's pixels
    int pixelRatio_ = 1;
    mutable bool allocationFailed_ = false;  // the last resize found no memory for the pixels
    Color clearColor_ = kWindowFace;
    std::function<void(const QRect&)> changed_;
    // The truck repaints the start tile's label at every step, and an outlined caption prints its
    // text a dozen times over: the latest lines printed keep their layout, latest first.
    std::deque<std::unique_ptr<LaidOutText>> laidOut_;

    // A truck step copies the whole board to its hidden copy, though only a few cells changed: the
    // surfaces remember their recent changes so that such a copy repeats only those. It pays: measured
    // with kanuvo_bench 10, a truck run took 0.026 s of CPU so and 0.040 s copying every pixel (the
    // middle of three runs each).
    std::uint64_t id_;                                   // never shared by two surfaces
    std::uint64_t version_ = 0;                          // counts the changes
    std::deque<std::pair<std::uint64_t, QRect>> recent_;  // the latest changes, by version
    std::uint64_t mirrorOf_ = 0;       // the surface this one last became a whole copy of
    std::uint64_t mirrorVersion_ = 0;  // that surface's version at the copy
    std::uint64_t ownVersion_ = 0;     // this surface's version right after it
};

// Device pixels per game pixel for surfaces shown at `shown` device pixels per game pixel: whole, and
// never fewer than shown, so that a fractional ratio is drawn sharp and scaled down rather than up;
// but only up to `ceiling` (none when 0), the most any screen can show, beyond which more pixels
// would only cost memory.
int SurfacePixelRatio(double shown, double ceiling);

// How the game's pixels are shown on a widget: scaled by `scale`, the game's (0, 0) at `offset` of the
// widget. A window the player made larger or smaller than designed shows the same layout this way.
struct Fit {
    double scale = 1;
    QPointF offset;

    // The widget's pixels nearest to the edges of an area in the game's pixels: areas side by side in
    // the game stay side by side on the widget.
    QRect Place(const QRectF& game) const;
    // Every widget pixel that shows some of an area in the game's pixels.
    QRect Cover(const QRectF& game) const;
    // Every game pixel some of a widget area shows.
    QRect Shown(const QRect& widget) const;
    // The fit seen from a widget placed with its top-left at `at`, showing a part whose top-left is
    // `game` in the game's pixels.
    Fit Seen(QPoint at, QPointF game) const;
    bool operator==(const Fit&) const = default;
};

// Shows the part of a surface that `area` of a widget shows, fitted to the widget by fit.
void ShowSurface(QPainter& painter, const QRect& area, const QtSurface& surface, const Fit& fit = {});

}  // namespace kanuvo
