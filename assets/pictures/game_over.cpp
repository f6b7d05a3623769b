// SPDX-License-Identifier: MIT
// The Game Over lettering, ゲームオーバー or GAME OVER, in reds and pinks, a sprite on pure white.
#include "artwork.h"

#include <QLinearGradient>
#include <QPen>

namespace kanuvo::art {

namespace {
const QString kGameOverText = QStringLiteral("ゲームオーバー");
const QString kEnglishGameOverText = QStringLiteral("GAME OVER");
const QColor kShadow{120, 0, 30};
const QColor kOutline{96, 0, 24};
const QColor kPinkTop{255, 190, 215};
const QColor kPink{255, 105, 160};
const QColor kRed{235, 20, 50};
const QColor kDeepRed{170, 0, 30};
}  // namespace

QImage DrawGameOverPicture(QSize size, Wording wording) {
    const double h = size.height();
    // The outline and shadow need room around the ink.
    const double outline = h * 0.07;
    const double shadow = h * 0.05;
    const QRectF box(outline, outline * 0.8, size.width() - 2 * outline - shadow, h - 1.6 * outline - shadow);

    QFont font(LetteringFamily());
    font.setPixelSize(200);
    font.setBold(true);
    const QPainterPath letters = LetteringPath(wording == Wording::English ? kEnglishGameOverText : kGameOverText, font, box);

    QImage canvas = SpriteCanvas(size);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPen rim(kOutline, 2 * outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Shadow first, then a thick rim, then the face: the rim stays outside the letters so that
    // thin strokes keep their colour.
    p.translate(shadow, shadow);
    p.strokePath(letters, QPen(kShadow, 2 * outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(letters, kShadow);
    p.resetTransform();
    p.strokePath(letters, rim);

    QLinearGradient face(0, box.top(), 0, box.bottom());
    face.setColorAt(0.0, kPinkTop);
    face.setColorAt(0.35, kPink);
    face.setColorAt(0.55, kRed);
    face.setColorAt(1.0, kDeepRed);
    p.fillPath(letters, face);
    p.end();
    return FlattenSprite(canvas);
}

}  // namespace kanuvo::art
