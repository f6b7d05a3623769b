// SPDX-License-Identifier: MIT
// The truck seen from above: a pale yellow cargo box behind a green cab, drawn for each direction.
#include "artwork.h"

#include <QLinearGradient>
#include <QPen>
#include <algorithm>

namespace kanuvo::art {

namespace {

// The truck is laid out lengthwise in u (0 rear, 1 front) and crosswise in v (0 and 1 its two
// sides), then that frame is laid out for the direction the cab points. Side v = 0 is always the top
// or the left one, so the light falls the same way on every picture.
struct Span {
    double u0, u1, v0, v1;
};

const QColor kOutline{34, 40, 20};
const QColor kTyre{28, 28, 30};
const QColor kTyreTread{70, 70, 74};
const QColor kCabDark{52, 84, 22};
const QColor kCabLight{150, 200, 92};
const QColor kGlass{36, 58, 92};
const QColor kGlassShine{120, 170, 220};
const QColor kCargoRib{214, 206, 104};
const QColor kCargoEdge{235, 232, 128};
const QColor kCargoLight{255, 255, 204};
const QColor kChassis{70, 70, 70};
const QColor kHeadlamp{255, 244, 170};

// Wheels: two axles under the cargo box, one under the cab.
constexpr Span kWheels[] = {
    {0.10, 0.21, 0.00, 0.16}, {0.10, 0.21, 0.84, 1.00}, {0.23, 0.34, 0.00, 0.16},
    {0.23, 0.34, 0.84, 1.00}, {0.77, 0.88, 0.00, 0.16}, {0.77, 0.88, 0.84, 1.00},
};
constexpr Span kCargo{0.01, 0.66, 0.06, 0.94};
constexpr Span kHitch{0.64, 0.71, 0.30, 0.70};
constexpr Span kCab{0.69, 0.99, 0.09, 0.91};
constexpr Span kRoof{0.715, 0.83, 0.17, 0.83};
constexpr Span kWindscreen{0.85, 0.935, 0.15, 0.85};
constexpr Span kMirrors[] = {{0.855, 0.895, 0.00, 0.10}, {0.855, 0.895, 0.90, 1.00}};
constexpr Span kHeadlamps[] = {{0.945, 0.972, 0.24, 0.36}, {0.945, 0.972, 0.64, 0.76}};
constexpr double kCargoRibs[] = {0.14, 0.27, 0.40, 0.53};

// Maps the truck's own frame (u along, v across) onto the rectangle for the given direction.
class TruckFrame {
public:
    TruckFrame(const QRectF& rect, Facing facing) : rect_(rect), facing_(facing) {
        const bool lying = Lying(facing);
        length_ = lying ? rect.width() : rect.height();
        breadth_ = lying ? rect.height() : rect.width();
    }

    double Breadth() const { return breadth_; }

    QPointF Point(double u, double v) const {
        const double along = u * length_;
        const double across = v * breadth_;
        switch (facing_) {
            case Facing::Right: return {rect_.left() + along, rect_.top() + across};
            case Facing::Left: return {rect_.right() - along, rect_.top() + across};
            case Facing::Up: return {rect_.left() + across, rect_.bottom() - along};
            case Facing::Down: return {rect_.left() + across, rect_.top() + along};
            case Facing::None: break;
        }
        return {};
    }

    QRectF Rect(const Span& s) const { return QRectF(Point(s.u0, s.v0), Point(s.u1, s.v1)).normalized(); }

    // A gradient running across the truck, from side v = 0 to side v = 1.
    QLinearGradient Across(const Span& s) const { return QLinearGradient(Point(s.u0, s.v0), Point(s.u0, s.v1)); }
    // A gradient running along the truck, from its rear to its front.
    QLinearGradient Along(const Span& s) const { return QLinearGradient(Point(s.u0, s.v0), Point(s.u1, s.v0)); }

private:
    QRectF rect_;
    Facing facing_;
    double length_ = 0;
    double breadth_ = 0;
};

void FillRounded(QPainter& p, const QRectF& r, double radius, const QBrush& fill, const QPen& pen) {
    p.setPen(pen);
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

}  // namespace

void PaintTruck(QPainter& p, const QRectF& rect, Facing facing) {
    const TruckFrame frame(rect, facing);
    const double b = frame.Breadth();
    // Line widths follow the breadth so that every size keeps the same look when scaled down.
    const double outline = std::max(1.0, b * 0.045);
    const QPen edge(kOutline, outline, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    const QPen thin(kOutline, std::max(1.0, b * 0.025));
    // Shapes are inset by half the pen so the outline stays inside the picture.
    const double inset = outline / 2;
    const auto inner = [&](const Span& s) { return frame.Rect(s).adjusted(inset, inset, -inset, -inset); };

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);

    for (const Span& w : kWheels) {
        QLinearGradient tread = frame.Along(w);
        tread.setColorAt(0.0, kTyre);
        tread.setColorAt(0.5, kTyreTread);
        tread.setColorAt(1.0, kTyre);
        FillRounded(p, inner(w), b * 0.04, tread, edge);
    }

    FillRounded(p, inner(kHitch), 0, kChassis, edge);

    QLinearGradient cargo = frame.Across(kCargo);
    cargo.setColorAt(0.0, kCargoLight);
    cargo.setColorAt(0.35, kCargoYellow);
    cargo.setColorAt(1.0, kCargoYellow);
    FillRounded(p, inner(kCargo), b * 0.05, cargo, edge);
    // The roof panel of the box: a raised rim and cross ribs, as on a real box body.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCargoEdge, b * 0.035));
    p.drawRect(frame.Rect({kCargo.u0 + 0.035, kCargo.u1 - 0.035, kCargo.v0 + 0.08, kCargo.v1 - 0.08}));
    p.setPen(QPen(kCargoRib, b * 0.03, Qt::SolidLine, Qt::FlatCap));
    for (double u : kCargoRibs) p.drawLine(frame.Point(u, kCargo.v0 + 0.1), frame.Point(u, kCargo.v1 - 0.1));

    // The cab is round at the front.
    QLinearGradient cab = frame.Across(kCab);
    cab.setColorAt(0.0, kCabLight);
    cab.setColorAt(0.22, kCabGreen);
    cab.setColorAt(0.78, kCabGreen);
    cab.setColorAt(1.0, kCabDark);
    FillRounded(p, inner(kCab), b * 0.16, cab, edge);
    for (const Span& m : kMirrors) FillRounded(p, inner(m), 0, kOutline, edge);

    QLinearGradient roof = frame.Along(kRoof);
    roof.setColorAt(0.0, kCabGreen);
    roof.setColorAt(0.6, kCabGreen);
    roof.setColorAt(1.0, kCabLight);
    FillRounded(p, frame.Rect(kRoof), b * 0.06, roof, thin);

    QLinearGradient glass = frame.Across(kWindscreen);
    glass.setColorAt(0.0, kGlassShine);
    glass.setColorAt(0.35, kGlass);
    glass.setColorAt(1.0, kGlass);
    FillRounded(p, frame.Rect(kWindscreen), b * 0.05, glass, thin);

    for (const Span& h : kHeadlamps) FillRounded(p, frame.Rect(h), b * 0.03, kHeadlamp, Qt::NoPen);

    p.restore();
}

QImage DrawTruckPicture(Facing facing, QSize size) {
    QImage canvas = SpriteCanvas(size);
    QPainter painter(&canvas);
    PaintTruck(painter, QRectF(QPointF(0, 0), QSizeF(size)), facing);
    painter.end();
    return FlattenSprite(canvas);
}

}  // namespace kanuvo::art
