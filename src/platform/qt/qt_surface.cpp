// SPDX-License-Identifier: MIT
// Drawing surfaces and pictures over QImage: the game's drawing calls with the pixel rules it expects.
#include "platform/qt/qt_surface.h"

#include "platform/qt/bmp_file.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace kanuvo {

namespace {

// 96 dots per inch, in dots per metre.
constexpr int kDotsPerMetre = 3780;

// Coordinates far outside any surface are pinned well outside it, so rounding them cannot overflow.
constexpr double kFarAway = 1 << 24;

// Enough changes for a truck step between two copies of the board, and for a slide.
constexpr std::size_t kRecentChanges = 64;

// Enough laid-out lines for a board's labels and caption, or for a banner.
constexpr std::size_t kLaidOutTexts = 8;

std::uint64_t NextSurfaceId() {
    static std::uint64_t last = 0;
    return ++last;
}

QColor ToQColor(Color color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

QImage NewImage(QSize size, int pixelRatio = 1) {
    QImage image(size * pixelRatio, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

// A one-pixel pen in the game's pixels. On a denser surface it is one game pixel wide and runs
// through the middle of the game's pixels, so that it covers exactly the device pixels of the game
// pixels it would cover at ratio 1.
QFont ToQFont(Font font) {
    QFont face = GameFont(font.points);
    face.setBold(font.bold);
    return face;
}

void UseOnePixelPen(QPainter& painter, const QColor& color, int pixelRatio) {
    if (pixelRatio == 1) {
        painter.setPen(QPen(color, 0));
        return;
    }
    painter.setPen(QPen(color, 1));
    painter.translate(0.5, 0.5);
}

QRect ToDevice(const QRect& area, int pixelRatio) {
    return QRect(area.topLeft() * pixelRatio, area.size() * pixelRatio);
}

// Covered areas must be exactly the pixels the game expects, so nothing is blended at the edges.
void MakeCrisp(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

// Text is measured at the surfaces' 96 dpi, also on a surface that has no pixels yet.
const QImage& MeasuringDevice() {
    static const QImage device = NewImage(QSize(1, 1));
    return device;
}

// A one-pixel outline along the edge of the area, inside it.
void Outline(QPainter& painter, const QRect& area, const QColor& color) {
    painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), color);
    painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), color);
    painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), color);
    painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), color);
}

// A small cache of things recently used, latest first. The one that matches is moved to the front.
// It pays: measured with kanuvo_bench 10, a truck run took 0.022 s of CPU in 10 s with the stamp and
// layout caches and 0.032 s without them, and a key press 16 us to repaint its cells rather than 24.
template <typename T, typename Matches>
T* FindRecent(std::deque<T>& recent, Matches matches) {
    const auto it = std::find_if(recent.begin(), recent.end(), matches);
    if (it == recent.end()) return nullptr;
    if (it != recent.begin()) {
        T found = std::move(*it);
        recent.erase(it);
        recent.push_front(std::move(found));
    }
    return &recent.front();
}

// Puts a new thing at the front, letting the oldest go beyond the most kept.
template <typename T>
T& KeepRecent(std::deque<T>& recent, T item, std::size_t most) {
    recent.push_front(std::move(item));
    if (recent.size() > most) recent.pop_back();
    return recent.front();
}

// A rounded rectangle with a one-pixel outline, covering area's pixels (in the game's pixels).
void TraceRoundedRect(QPainter& painter, const QRect& area, int cornerWidth, int cornerHeight, const QColor& pen,
                      std::optional<QColor> fill, int pixelRatio) {
    UseOnePixelPen(painter, pen, pixelRatio);
    painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    // An aliased 1-pixel outline of a w x h rectangle covers w + 1 by h + 1 pixels.
    painter.drawRoundedRect(QRectF(area.left(), area.top(), area.width() - 1, area.height() - 1), cornerWidth / 2.0,
                            cornerHeight / 2.0);
}

// A rounded rectangle drawn once, in its colours, on clear pixels around its corners: a truck step
// repaints the same few tiles over and over, and tracing their outline was most of its work. Shapes
// are drawn without smoothing, so a stamp's pixels are either wholly clear or wholly the shape's, and
// moved by whole pixels they are exactly those the painter would have drawn in the new place.
struct RoundedStamp {
    QSize size;  // of the rectangle, in the game's pixels
    int cornerWidth = 0, cornerHeight = 0;
    QRgb pen = 0, fill = 0;
    bool filled = false;
    int pixelRatio = 1;
    QImage pixels;  // one game pixel larger on every side than the rectangle, in device pixels
    struct Span {
        int y, x, width;
    };
    std::vector<Span> spans;  // the runs of the shape's own pixels, row by row

    bool Matches(const RoundedStamp& other) const {
        return size == other.size && cornerWidth == other.cornerWidth && cornerHeight == other.cornerHeight &&
               pen == other.pen && filled == other.filled && (!filled || fill == other.fill) &&
               pixelRatio == other.pixelRatio;
    }
};

// The last few stamps drawn, latest first: a board's tiles, its goal and its start.
constexpr std::size_t kRoundedStamps = 4;

const RoundedStamp& RoundedStampFor(RoundedStamp wanted) {
    static std::deque<RoundedStamp> stamps;
    if (const RoundedStamp* found = FindRecent(stamps, [&](const RoundedStamp& s) { return s.Matches(wanted); }))
        return *found;
    const QSize margin(1, 1);
    QImage pixels((wanted.size + 2 * margin) * wanted.pixelRatio, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    pixels.setDevicePixelRatio(wanted.pixelRatio);
    QPainter painter(&pixels);
    MakeCrisp(painter);
    painter.translate(margin.width(), margin.height());
    TraceRoundedRect(painter, QRect(QPoint(0, 0), wanted.size), wanted.cornerWidth, wanted.cornerHeight,
                     QColor(wanted.pen), wanted.filled ? std::optional<QColor>(QColor(wanted.fill)) : std::nullopt,
                     wanted.pixelRatio);
    painter.end();
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width();) {
            if (qAlpha(row[x]) == 0) {
                ++x;
                continue;
            }
            const int from = x;
            while (x < pixels.width() && qAlpha(row[x]) != 0) ++x;
            wanted.spans.push_back({y, from, x - from});
        }
    }
    wanted.pixels = std::move(pixels);
    return KeepRecent(stamps, std::move(wanted), kRoundedStamps);
}

// Puts a stamp's shape with its top-left device pixel at (left, top) of an RGB32 image that holds it
// whole. Its pixels are opaque, so they are copied as they are: 0xffRRGGBB in both formats.
void Stamp(QImage& image, const RoundedStamp& stamp, int left, int top) {
    for (const RoundedStamp::Span& span : stamp.spans) {
        const auto* from = reinterpret_cast<const QRgb*>(stamp.pixels.constScanLine(span.y)) + span.x;
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(top + span.y)) + left + span.x;
        std::copy(from, from + span.width, to);
    }
}

}  // namespace

int RoundToPixel(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(value, -kFarAway, kFarAway)));
}

QtPicture::QtPicture(const QImage& image, QString sharpFile)
    : size_(image.size()), image_(image.convertToFormat(QImage::Format_RGB32)), sharpFile_(std::move(sharpFile)) {}

QtPicture::QtPicture(QSize size, std::function<QImage()> decode, QString sharpFile)
    : size_(size), decode_(std::move(decode)), sharpFile_(std::move(sharpFile)) {}

const QImage& QtPicture::Image() const {
    if (decode_) {
        const QImage decoded = decode_();
        decode_ = nullptr;
        // Only pixels of the size promised will do.
        if (decoded.size() == size_) image_ = decoded.convertToFormat(QImage::Format_RGB32);
    }
    return image_;
}

const QImage& QtPicture::ImageFor(int pixelRatio) const {
    const QImage& image = Image();
    if (pixelRatio == 1 || sharpFile_.isEmpty()) return image;
    if (!sharp_) {
        const QImage sharp = ReadBmp(sharpFile_);
        // Only an exact double can stand in for the picture: a sprite's mask must match it pixel for pixel.
        sharp_ = sharp.size() == size_ * 2 ? sharp.convertToFormat(QImage::Format_RGB32) : QImage();
    }
    return sharp_->isNull() ? image : *sharp_;
}

QFont GameFont(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPointSizeF(std::max(points, 1.0));
    return font;
}

QtSurface::QtSurface(QSize size) : id_(NextSurfaceId()) { Resize(size); }

QtSurface::~QtSurface() = default;

void QtSurface::Resize(QSize size) {
    size = size.expandedTo(QSize(0, 0));
    if (size == Area().size() && (blank_ || !image_.isNull())) return;
    if (size.isEmpty() && image_.isNull() && !blank_) return;
    if (image_.isNull() && !size.isEmpty()) {
        // Nothing drawn yet: all back colour at any size.
        blank_ = true;
        blankSize_ = size;
        allocationFailed_ = false;
        Changed(Area());
        return;
    }
    blank_ = false;
    Reallocate(size, image_);
}

bool QtSurface::Materialize(bool fill) const {
    if (blank_) {
        blank_ = false;
        image_ = NewImage(blankSize_, pixelRatio_);
        allocationFailed_ = image_.isNull();
        if (!image_.isNull() && fill) image_.fill(ToQColor(clearColor_));
    }
    return !image_.isNull();
}

const QImage& QtSurface::Image() const {
    Materialize();
    return image_;
}

void QtSurface::SetPixelRatio(int ratio) {
    ratio = std::max(ratio, 1);
    if (ratio == pixelRatio_) return;
    if (blank_) {
        pixelRatio_ = ratio;
        return;
    }
    const QSize size = Area().size();
    pixelRatio_ = ratio;
    const QImage before = image_;
    Reallocate(size, before);
}

void QtSurface::Reallocate(QSize size, const QImage& keep) {
    QImage resized = NewImage(size, pixelRatio_);
    allocationFailed_ = resized.isNull() && !size.isEmpty();
    if (resized.isNull()) {
        image_ = QImage();
        Changed(QRect(QPoint(0, 0), size));
        return;
    }
    resized.fill(ToQColor(clearColor_));
    if (!keep.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), keep);  // both images' ratios are honoured
    }
    image_ = std::move(resized);
    Changed(Area());
}

void QtSurface::Changed(const QRect& area) {
    ++version_;
    recent_.emplace_back(version_, area);
    if (recent_.size() > kRecentChanges) recent_.pop_front();
    if (changed_) changed_(area);
}

std::optional<QRegion> QtSurface::ChangesSince(std::uint64_t version) const {
    if (version > version_ || (version < version_ && (recent_.empty() || recent_.front().first > version + 1))) {
        return std::nullopt;
    }
    QRegion changes;
    for (const auto& [at, area] : recent_) {
        if (at > version) changes += area;
    }
    return changes & Area();
}

void QtSurface::Clear(Color color) {
    clearColor_ = color;
    if (!blank_ && image_.isNull()) return;  // no size, or no memory for the pixels
    // All one colour now: the pixels are let go until something is drawn again.
    if (!blank_) {
        blankSize_ = Area().size();
        blank_ = true;
        image_ = QImage();
    }
    Changed(Area());
}

void QtSurface::DrawPicture(const Picture& picture, double x, double y, double width, double height,
                            RasterOp op) {
    const auto* source = dynamic_cast<const QtPicture*>(&picture);
    const QRect target(RoundToPixel(x), RoundToPixel(y), RoundToPixel(width), RoundToPixel(height));
    // A copy over the whole surface, as of the title, leaves nothing of the clear colour to fill in.
    const bool covered = op == RasterOp::Copy && target.contains(Area());
    if (source == nullptr || source->Image().isNull() || target.isEmpty() || !Materialize(!covered)) return;
    QPainter painter(&image_);
    MakeCrisp(painter);
    switch (op) {
        case RasterOp::Copy:
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            break;
        case RasterOp::MergePaint:
            painter.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
            break;
        case RasterOp::And:
            painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            break;
    }
    painter.drawImage(target, source->ImageFor(pixelRatio_));
    painter.end();
    Changed(target);
}

QRect QtSurface::BoxArea(double x1, double y1, double x2, double y2) {
    const QPoint from(RoundToPixel(x1), RoundToPixel(y1));
    const QPoint to(RoundToPixel(x2), RoundToPixel(y2));
    return QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                 QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
}

void QtSurface::FillBox(double x1, double y1, double x2, double y2, Color color) {
    if (!Materialize()) return;
    const QRect box = BoxArea(x1, y1, x2, y2);
    QPainter painter(&image_);
    painter.fillRect(box, ToQColor(color));
    painter.end();
    Changed(box);
}

void QtSurface::Box(double x1, double y1, double x2, double y2, Color color) {
    if (!Materialize()) return;
    const QRect box = BoxArea(x1, y1, x2, y2);
    QPainter painter(&image_);
    Outline(painter, box, ToQColor(color));
    painter.end();
    Changed(box);
}

void QtSurface::Line(double x1, double y1, double x2, double y2, Color color) {
    if (!Materialize()) return;
    const QPoint from(RoundToPixel(x1), RoundToPixel(y1));
    const QPoint to(RoundToPixel(x2), RoundToPixel(y2));
    QPainter painter(&image_);
    MakeCrisp(painter);
    UseOnePixelPen(painter, ToQColor(color), pixelRatio_);
    painter.drawLine(from, to);
    painter.end();
    Changed(BoxArea(x1, y1, x2, y2).adjusted(-1, -1, 1, 1));
}

struct QtSurface::LaidOutText {
    QString text;
    double points = 0;
    bool bold = false;
    QTextLayout layout;
    double layoutAscent = 0;  // the layout's own, in fractions of a pixel
    int ascent = 0, height = 0, advance = 0;
    QRect bounds;  // of the inked pixels, from the baseline's start
    // On a denser surface the letters grow past the size Qt keeps drawn glyphs of, and it fills their
    // outlines afresh each time: a banner, whose outline prints its text a dozen times, took 30 ms at
    // 1920x1080 that way (kanuvo_bench 10 --size 1920x1080) against 2 ms at the designed size. There
    // the letters are drawn once, as how much of each pixel they cover, and laid on in their colour.
    int inkRatio = 0;
    QImage ink;  // white letters on clear pixels, at inkRatio
    Color inkColor = 0;
    QImage coloured;  // the ink in inkColor
    // Where the ink lies, from the baseline's start: every pixel the letters may touch.
    QRect InkArea() const { return (bounds | QRect(0, -ascent, advance, height)).adjusted(-1, -1, 1, 1); }
    const QImage& InkIn(Color color, int pixelRatio);
};

const QImage& QtSurface::LaidOutText::InkIn(Color color, int pixelRatio) {
    if (inkRatio != pixelRatio) {
        const QRect area = InkArea();
        ink = QImage(area.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
        ink.fill(Qt::transparent);
        ink.setDevicePixelRatio(pixelRatio);
        QPainter painter(&ink);
        MakeCrisp(painter);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setPen(Qt::white);
        layout.draw(&painter, QPointF(-area.left(), -area.top() - layoutAscent));
        painter.end();
        inkRatio = pixelRatio;
        coloured = QImage();
    }
    if (coloured.isNull() || inkColor != color) {
        coloured = ink.copy();
        QPainter painter(&coloured);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(QRect(QPoint(0, 0), InkArea().size()), ToQColor(color));
        painter.end();
        inkColor = color;
    }
    return coloured;
}

QtSurface::LaidOutText& QtSurface::LaidOut(std::string_view utf8Text, Font textFont) {
    const QString text = QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size()));
    const auto same = [&](const std::unique_ptr<LaidOutText>& line) {
        return line->text == text && line->points == textFont.points && line->bold == textFont.bold;
    };
    if (const auto* found = FindRecent(laidOut_, same)) return **found;
    auto line = std::make_unique<LaidOutText>();
    line->text = text;
    line->points = textFont.points;
    line->bold = textFont.bold;
    const QFont font = ToQFont(textFont);
    const QFontMetrics metrics(font, &MeasuringDevice());
    line->ascent = metrics.ascent();
    line->height = metrics.height();
    line->advance = metrics.horizontalAdvance(text);
    line->bounds = metrics.boundingRect(text);
    // Laid out once and kept, the line is drawn with exactly the glyphs and places drawText gives it.
    line->layout.setText(text);
    line->layout.setFont(QFont(font, &MeasuringDevice()));
    line->layout.setCacheEnabled(true);
    line->layout.beginLayout();
    QTextLine row = line->layout.createLine();
    row.setPosition(QPointF(0, 0));
    line->layout.endLayout();
    line->layoutAscent = row.isValid() ? row.ascent() : 0;
    return *KeepRecent(laidOut_, std::move(line), kLaidOutTexts);
}

void QtSurface::DrawText(double x, double y, std::string_view utf8Text, Font font, Color color) {
    if (!Materialize()) return;
    LaidOutText& line = LaidOut(utf8Text, font);
    // The game places text by its top-left corner; Qt places it by its baseline.
    const QPoint baseline(RoundToPixel(x), RoundToPixel(y) + line.ascent);
    QPainter painter(&image_);
    if (pixelRatio_ > 1) {
        painter.drawImage(baseline + line.InkArea().topLeft(), line.InkIn(color, pixelRatio_));
    } else {
        MakeCrisp(painter);
        // Letters read best smoothed; only text is, so shapes and copies keep their exact pixels.
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setPen(ToQColor(color));
        line.layout.draw(&painter, QPointF(baseline.x(), baseline.y() - line.layoutAscent));
    }
    painter.end();
    Changed(line.InkArea().translated(baseline));
}

TextExtent QtSurface::MeasureText(std::string_view utf8Text, Font font) const {
    const QFontMetricsF metrics(ToQFont(font), &MeasuringDevice());
    return {metrics.horizontalAdvance(QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size()))),
            metrics.height()};
}

void QtSurface::RoundRect(int left, int top, int right, int bottom, int corner, Color outline,
                          std::optional<Color> fillColor) {
    if (!Materialize()) return;
    // The rectangle covers left..right-1 and top..bottom-1, whichever way round the corners come.
    const QRect area = QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                             QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1));
    if (area.isEmpty()) return;
    const QColor pen = ToQColor(outline);
    const bool filled = fillColor.has_value();
    const int cornerX = std::min(std::abs(corner), area.width());
    const int cornerY = std::min(std::abs(corner), area.height());
    const bool rounded = cornerX >= 2 && cornerY >= 2;
    const std::optional<QColor> fill = filled ? std::optional<QColor>(ToQColor(*fillColor)) : std::nullopt;
    if (rounded && Area().contains(area.adjusted(-1, -1, 1, 1))) {
        RoundedStamp wanted;
        wanted.size = area.size();
        wanted.cornerWidth = cornerX;
        wanted.cornerHeight = cornerY;
        wanted.pen = pen.rgb();
        wanted.fill = fill ? fill->rgb() : 0;
        wanted.filled = filled;
        wanted.pixelRatio = pixelRatio_;
        Stamp(image_, RoundedStampFor(std::move(wanted)), (area.left() - 1) * pixelRatio_, (area.top() - 1) * pixelRatio_);
    } else {
        QPainter painter(&image_);
        MakeCrisp(painter);
        if (!rounded) {
            if (fill) painter.fillRect(area, *fill);
            Outline(painter, area, pen);
        } else {
            // Cut by the surface's edge, the outline is traced in place, as the painter clips it.
            TraceRoundedRect(painter, area, cornerX, cornerY, pen, fill, pixelRatio_);
        }
    }
    Changed(area.adjusted(0, 0, 1, 1));
}

bool QtSurface::Copy(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY) {
    // Only our own surfaces have pixels to copy.
    const auto* from = dynamic_cast<const QtSurface*>(&source);
    if (from == nullptr || width < 0 || height < 0) return false;
    Materialize();
    from->Materialize();
    // A surface whose pixels could not be allocated cannot take part in a copy.
    if (allocationFailed_ || from->allocationFailed_) return false;
    const QRect wanted(sourceX, sourceY, width, height);
    const QRect available = wanted & from->Area();
    if (available.isEmpty() || image_.isNull()) return true;
    if (from != this && x == 0 && y == 0 && wanted == Area() && wanted == from->Area() &&
        pixelRatio_ == from->pixelRatio_) {
        MirrorFrom(*from);
        return true;
    }
    // Copied first when both are one surface, so that the copy reads the pixels as they were. The
    // pixels are read in the source's device pixels.
    const QRect sourceArea = ToDevice(available, from->pixelRatio_);
    QImage piece = from == this ? from->image_.copy(sourceArea) : QImage();
    piece.setDevicePixelRatio(from->pixelRatio_);
    const QImage& pixels = from == this ? piece : from->image_;
    const QRect pixelsArea = from == this ? piece.rect() : sourceArea;
    QPainter painter(&image_);
    MakeCrisp(painter);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect target(QPoint(x + available.x() - sourceX, y + available.y() - sourceY), available.size());
    painter.drawImage(target.topLeft(), pixels, pixelsArea);
    painter.end();
    Changed(target);
    return true;
}

void QtSurface::MirrorFrom(const QtSurface& source) {
    std::optional<QRegion> stale;
    if (mirrorOf_ == source.id_ && ownVersion_ == version_) stale = source.ChangesSince(mirrorVersion_);
    if (!stale) stale = QRegion(Area());
    if (!stale->isEmpty()) {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& area : *stale)
            painter.drawImage(area.topLeft(), source.image_, ToDevice(area, source.pixelRatio_));
        painter.end();
        for (const QRect& area : *stale) Changed(area);
    }
    mirrorOf_ = source.id_;
    mirrorVersion_ = source.version_;
    ownVersion_ = version_;
}

int SurfacePixelRatio(double shown, double ceiling) {
    if (ceiling > 0) shown = std::min(shown, ceiling);
    // A hair's allowance, so that a ratio of 2 computed as 2.0000001 stays 2.
    return std::max(1, static_cast<int>(std::ceil(shown - 1e-6)));
}

QRect Fit::Place(const QRectF& game) const {
    const auto at = [this](double v, double origin) { return static_cast<int>(std::lround(origin + v * scale)); };
    const int left = at(game.left(), offset.x()), top = at(game.top(), offset.y());
    return QRect(left, top, at(game.left() + game.width(), offset.x()) - left,
                 at(game.top() + game.height(), offset.y()) - top);
}

QRect Fit::Cover(const QRectF& game) const {
    if (scale == 1 && offset.isNull()) return game.toAlignedRect();
    return QRectF(offset + game.topLeft() * scale, game.size() * scale).toAlignedRect();
}

QRect Fit::Shown(const QRect& widget) const {
    if (scale == 1 && offset.isNull()) return widget;
    // A smoothed pixel reads its neighbours too: one more game pixel on every side.
    const QRectF game((QPointF(widget.topLeft()) - offset) / scale, QSizeF(widget.size()) / scale);
    return game.toAlignedRect().adjusted(-1, -1, 1, 1);
}

Fit Fit::Seen(QPoint at, QPointF game) const { return Fit{scale, offset + game * scale - QPointF(at)}; }

namespace {
constexpr int kBandRows = 64;
}  // namespace

void ShowSurface(QPainter& painter, const QRect& area, const QtSurface& surface, const Fit& fit) {
    const int ratio = surface.PixelRatio();
    const QRect shown = fit.Shown(area) & QRect(0, 0, surface.PixelWidth(), surface.PixelHeight());
    if (shown.isEmpty()) return;
    const double deviceRatio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1;
    // Only a screen or a window whose pixels are not a whole number of the surface's gets a scaled
    // copy, smoothed: down, or up in a window larger than any screen can show at once.
    if (deviceRatio * fit.scale != ratio) painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (fit.scale == 1 && fit.offset.isNull()) {
        painter.drawImage(shown, surface.Image(), ToDevice(shown, ratio));
        return;
    }
    // Qt smooths a scaled block of more than 95 rows on several threads, and waking them costs more
    // than it saves on the few cells a truck step changes: the block is shown in bands of fewer rows.
    // Measured with kanuvo_bench 10 --size 1920x1080, a truck run took 0.079 s of CPU unbanded and
    // 0.060 s banded (the middle of three runs each).
    const QRect whole(0, 0, surface.PixelWidth(), surface.PixelHeight());
    for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
        const QRect band(area.left(), top, area.width(), std::min(kBandRows, area.bottom() + 1 - top));
        const QRect part = fit.Shown(band) & whole;
        if (part.isEmpty()) continue;
        painter.save();
        painter.setClipRect(band, Qt::IntersectClip);
        painter.translate(fit.offset);
        painter.scale(fit.scale, fit.scale);
        painter.drawImage(QRectF(part), surface.Image(), ToDevice(part, ratio));
        painter.restore();
    }
}

}  // namespace kanuvo
