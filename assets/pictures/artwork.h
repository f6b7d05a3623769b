// SPDX-License-Identifier: MIT
// The game's pictures as drawing code: the title screen, the truck seen from above, the Game Over lettering.
#pragma once

#include <QColor>
#include <QImage>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>

#include "game/tiles.h"

namespace kanuvo::art {

// Which way the truck's cab points: the game's own directions.
using Facing = Direction;

// The colours every truck shares, wherever it is drawn.
inline const QColor kCabGreen{102, 153, 51};
inline const QColor kCargoYellow{255, 255, 153};

// The road colour of a tile kind, the one the board paints it in.
inline QColor RoadColour(TileKind kind) { return QColor(QRgb(TileColor(kind))); }

// The language of the words a picture carries: the game's own Japanese, or English.
enum class Wording { Japanese, English };

// How the player points: the title's hint says "click" for a mouse, "tap" for a touch screen.
enum class Pointing { Click, Tap };

// Title screen: lettering on red, an example board with goal, start, roads and a truck.
QImage DrawTitlePicture(QSize size, Wording wording = Wording::Japanese, Pointing pointing = Pointing::Click);

// A truck sprite on pure white, cab leading in the given direction, filling the whole picture.
QImage DrawTruckPicture(Facing facing, QSize size);

// The Game Over lettering sprite on pure white.
QImage DrawGameOverPicture(QSize size, Wording wording = Wording::Japanese);

// The program's icon, side x side pixels with a transparent background.
QImage DrawIconPicture(int side);
// The icon for a home screen that cuts its own shape (a circle, a rounded square): the same drawing,
// smaller, inside the circle every such shape keeps, on a square of the first board's colour.
QImage DrawMaskableIconPicture(int side);

// Paints a truck with its body filling rect (wheels and mirrors included); used by the sprites and by
// the title screen, so the truck on the title is the one that drives on the board.
void PaintTruck(QPainter& painter, const QRectF& rect, Facing facing);

// The Japanese face the pictures letter with; loaded from the installed font file when it exists, so
// the pictures do not depend on which fonts the build machine happens to prefer.
QString LetteringFamily();

// Turns a drawing made on a transparent canvas into a sprite on pure white: a pixel is either fully
// part of the shape (its colour made opaque) or pure white. Half-covered edge pixels therefore never
// blend towards white, which would show as a pale halo once the white is masked away. A shape pixel
// that happens to be pure white is nudged off it so that the mask cannot punch a hole there.
QImage FlattenSprite(const QImage& canvas);

// The outline of text, scaled so that its ink fills box exactly (stretched if need be).
QPainterPath LetteringPath(const QString& text, const QFont& font, const QRectF& box);

// A transparent canvas of the given size to draw a sprite on before flattening.
QImage SpriteCanvas(QSize size);

}  // namespace kanuvo::art
