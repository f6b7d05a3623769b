// SPDX-License-Identifier: MIT
// The program's icon: the truck driving along a road tile, on a transparent square.
#include "artwork.h"

#include <QLinearGradient>
#include <QPen>
#include <cmath>

namespace kanuvo::art {

namespace {

// As fractions of the icon's side, so that every size shows the same picture.
constexpr double kTileInset = 0.03;
constexpr double kTileCorner = 0.16;
constexpr double kRoadBreadth = 0.30;
constexpr double kTruckLength = 0.80;
constexpr double kTruckBreadth = 0.38;

// The circle a home screen's mask keeps is 80 % of the side across; the tile, corners and all, stays
// inside it at this share of the side.
constexpr double kMaskableShare = 0.58;
const QColor kFirstBoard{128, 0, 128};

const QColor kTileLight{222, 222, 222};
const QColor kTileGrey{200, 200, 200};
const QColor kTileRim{120, 120, 120};

}  // namespace

QImage DrawIconPicture(int side) {
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);

    const double s = side;
    const double rim = std::max(1.0, s * 0.02);
    const QRectF tile(s * kTileInset, s * kTileInset, s * (1 - 2 * kTileInset), s * (1 - 2 * kTileInset));
    QLinearGradient face(tile.topLeft(), tile.bottomRight());
    face.setColorAt(0.0, kTileLight);
    face.setColorAt(1.0, kTileGrey);
    p.setPen(QPen(kTileRim, rim));
    p.setBrush(face);
    p.drawRoundedRect(tile.adjusted(rim / 2, rim / 2, -rim / 2, -rim / 2), s * kTileCorner, s * kTileCorner);

    // The road crosses the whole tile, as a straight tile's does on the board.
    const QRectF road(tile.left() + rim, s * (1 - kRoadBreadth) / 2, tile.width() - 2 * rim, s * kRoadBreadth);
    p.fillRect(road, RoadColour(TileKind::Horizontal));

    const QRectF truck(s * (1 - kTruckLength) / 2, s * (1 - kTruckBreadth) / 2, s * kTruckLength, s * kTruckBreadth);
    PaintTruck(p, truck, Facing::Right);
    p.end();
    return icon;
}

QImage DrawMaskableIconPicture(int side) {
    QImage icon(side, side, QImage::Format_RGB32);
    icon.fill(kFirstBoard);
    const int inner = static_cast<int>(std::lround(side * kMaskableShare));
    QPainter(&icon).drawImage((side - inner) / 2, (side - inner) / 2, DrawIconPicture(inner));
    return icon;
}

}  // namespace kanuvo::art
