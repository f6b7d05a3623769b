// SPDX-License-Identifier: MIT
// The title screen: the game's name on red, a tagline, an example board with a truck, and a hint.
#include "artwork.h"

#include <QLinearGradient>
#include <QPen>
#include <QRadialGradient>
#include <array>

namespace kanuvo::art {

namespace {

// The words on the title, in either language; the hint as a mouse and as a finger starts the game.
struct TitleWords {
    QString tagline, goal, start, clickHint, tapHint;
};
const TitleWords kJapaneseWords{QStringLiteral("道をつないで ゴールをめざせ！"), QStringLiteral("ゴール"),
                                QStringLiteral("スタート"), QStringLiteral("クリックでスタート"),
                                QStringLiteral("タップでスタート")};
const TitleWords kEnglishWords{QStringLiteral("Lay the road and reach the GOAL!"), QStringLiteral("GOAL"),
                               QStringLiteral("START"), QStringLiteral("Click to start"), QStringLiteral("Tap to start")};

// Laid out on a 652 x 650 page and scaled to whatever size is asked for.
constexpr double kPageWidth = 652;
constexpr double kPageHeight = 650;

const QColor kTitleRed{255, 51, 51};
const QColor kInkDark{70, 0, 10};
const QColor kBoardBack{18, 22, 92};
const QColor kBoardBackDeep{8, 10, 54};
const QColor kTileGrey{200, 200, 200};
const QColor kGoalGreen{40, 185, 70};
const QColor kStartMagenta{225, 20, 190};

// The example board, row by row: a finished road from the start (bottom right) to the goal (top
// left) through kinds 6, 5, 4, 1 and 5, the empty cell where a fresh deal leaves it, and the other
// kinds scattered about so that every road colour shows. G and S stand for goal and start.
constexpr int kGoal = -1;
constexpr int kStart = -2;
constexpr std::array<int, 16> kExampleCells = {
    kGoal, 6, 1, 4,  //
    5,     1, 3, 2,  //
    2,     4, 0, 4,  //
    3,     5, 6, kStart,
};
constexpr int kBoardSide = 4;
constexpr double kCell = 98;
constexpr double kGap = 2;
constexpr double kPanelPad = 11;
constexpr double kPanelTop = 176;

QRectF CellRect(int index, const QPointF& origin) {
    const int row = index / kBoardSide;
    const int column = index % kBoardSide;
    return {origin.x() + column * (kCell + kGap), origin.y() + row * (kCell + kGap), kCell, kCell};
}

// Outlined lettering: a drop shadow, a dark rim and a filled face.
void PaintLettering(QPainter& p, const QPainterPath& letters, const QBrush& face, double rim, double drop) {
    p.save();
    p.translate(drop, drop);
    p.setOpacity(0.55);
    p.strokePath(letters, QPen(kInkDark, 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(letters, kInkDark);
    p.restore();
    p.strokePath(letters, QPen(kInkDark, 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(letters, face);
}

QPainterPath CentredText(const QString& text, double pixelSize, double centreX, double top, bool bold) {
    QFont font(LetteringFamily());
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(bold);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    return path.translated(centreX - ink.center().x(), top - ink.top());
}

void PaintBackground(QPainter& p) {
    p.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), kTitleRed);
    // Soft rays from behind the title, lighter and darker than the red by only a little.
    p.save();
    p.setPen(Qt::NoPen);
    const QPointF hub(kPageWidth / 2, 80);
    for (int ray = 0; ray < 24; ray += 2) {
        QPainterPath wedge;
        wedge.moveTo(hub);
        wedge.arcTo(QRectF(hub.x() - 900, hub.y() - 900, 1800, 1800), ray * 15.0, 15.0);
        wedge.closeSubpath();
        p.setBrush(QColor(255, 80, 80, 70));
        p.drawPath(wedge);
    }
    QRadialGradient vignette(QPointF(kPageWidth / 2, kPageHeight / 2), kPageWidth * 0.75);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(120, 0, 0, 90));
    p.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), vignette);
    p.restore();
}

void PaintTitleLettering(QPainter& p, const TitleWords& words) {
    QFont font(LetteringFamily());
    font.setPixelSize(200);
    font.setBold(true);
    const QRectF box(104, 24, kPageWidth - 208, 104);
    const QPainterPath letters = LetteringPath(QStringLiteral("Kanuvo"), font, box);
    QLinearGradient face(0, box.top(), 0, box.bottom());
    face.setColorAt(0.0, QColor(255, 252, 200));
    face.setColorAt(0.45, QColor(255, 226, 60));
    face.setColorAt(0.55, QColor(255, 196, 20));
    face.setColorAt(1.0, QColor(255, 140, 0));
    PaintLettering(p, letters, face, 7, 7);

    const QPainterPath tagline = CentredText(words.tagline, 25, kPageWidth / 2, 143, true);
    PaintLettering(p, tagline, QColor(255, 255, 240), 3, 3);
}

void PaintTileFrame(QPainter& p, const QRectF& r, const QColor& face) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(r.translated(2, 3), 6, 6);
    QLinearGradient bevel(r.topLeft(), r.bottomRight());
    bevel.setColorAt(0.0, face.lighter(118));
    bevel.setColorAt(0.5, face);
    bevel.setColorAt(1.0, face.darker(125));
    p.setBrush(bevel);
    p.setPen(QPen(face.darker(140), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

// The road bands of a tile, 10 % of the cell wide and centred, as the board draws them.
void PaintRoad(QPainter& p, const QRectF& r, int kind) {
    const double m = r.width() / 2;
    const double w = r.width() / 100 * 5;
    const double l = r.left(), t = r.top(), right = r.right(), b = r.bottom();
    const QRectF leftHalf(QPointF(l, t + m - w), QPointF(l + m + w, t + m + w));
    const QRectF rightHalf(QPointF(l + m - w, t + m - w), QPointF(right, t + m + w));
    const QRectF topHalf(QPointF(l + m - w, t), QPointF(l + m + w, t + m + w));
    const QRectF bottomHalf(QPointF(l + m - w, t + m - w), QPointF(l + m + w, b));
    QPainterPath road;
    switch (kind) {
        case 1: road.addRect(leftHalf); road.addRect(bottomHalf); break;
        case 2: road.addRect(leftHalf); road.addRect(topHalf); break;
        case 3: road.addRect(rightHalf); road.addRect(bottomHalf); break;
        case 4: road.addRect(QRectF(QPointF(l + m - w, t), QPointF(l + m + w, b))); break;
        case 5: road.addRect(rightHalf); road.addRect(topHalf); break;
        case 6: road.addRect(QRectF(QPointF(l, t + m - w), QPointF(right, t + m + w))); break;
        default: return;
    }
    road.setFillRule(Qt::WindingFill);
    road = road.simplified();
    const QColor colour = RoadColour(KindOfNumber(kind));
    p.strokePath(road, QPen(colour.darker(170), 1.6));
    p.fillPath(road, colour);
}

void PaintLabelledCell(QPainter& p, const QRectF& r, const QColor& face, const QString& label) {
    PaintTileFrame(p, r, face);
    const QPainterPath text = CentredText(label, r.width() * 0.22, r.center().x(), 0, true);
    const QPainterPath placed = text.translated(0, r.center().y() - text.boundingRect().center().y());
    p.strokePath(placed, QPen(QColor(20, 20, 20), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(placed, Qt::white);
}

void PaintExampleBoard(QPainter& p, const TitleWords& words) {
    const double side = kBoardSide * kCell + (kBoardSide - 1) * kGap;
    const QPointF origin((kPageWidth - side) / 2, kPanelTop + kPanelPad);
    const QRectF panel(origin.x() - kPanelPad, origin.y() - kPanelPad, side + 2 * kPanelPad, side + 2 * kPanelPad);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 0, 0, 110));
    p.drawRoundedRect(panel.translated(6, 8), 14, 14);
    QLinearGradient back(panel.topLeft(), panel.bottomRight());
    back.setColorAt(0.0, kBoardBack);
    back.setColorAt(1.0, kBoardBackDeep);
    p.setBrush(back);
    p.setPen(QPen(QColor(255, 235, 150), 3));
    p.drawRoundedRect(panel, 14, 14);

    for (int i = 0; i < kBoardSide * kBoardSide; ++i) {
        const QRectF r = CellRect(i, origin);
        const int kind = kExampleCells[i];
        if (kind == kGoal) {
            PaintLabelledCell(p, r, kGoalGreen, words.goal);
        } else if (kind == kStart) {
            PaintLabelledCell(p, r, kStartMagenta, words.start);
        } else if (kind > 0) {
            PaintTileFrame(p, r, kTileGrey);
            PaintRoad(p, r, kind);
        }
    }

    // The truck on its way out of the start, on the straight next to it.
    const QRectF straight = CellRect(14, origin);
    const QRectF truck(straight.left() + kCell * 0.22, straight.top() + kCell * 0.35, kCell * 0.6, kCell * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(truck.adjusted(3, 5, 2, 2), 4, 4);
    PaintTruck(p, truck, Facing::Left);
}

void PaintHint(QPainter& p, const QString& words) {
    const QPainterPath hint = CentredText(words, 27, kPageWidth / 2, 612, true);
    PaintLettering(p, hint, QColor(255, 240, 120), 3.5, 3);
}

}  // namespace

QImage DrawTitlePicture(QSize size, Wording wording, Pointing pointing) {
    const TitleWords& words = wording == Wording::English ? kEnglishWords : kJapaneseWords;
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(kTitleRed);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size.width() / kPageWidth, size.height() / kPageHeight);
    PaintBackground(p);
    PaintTitleLettering(p, words);
    PaintExampleBoard(p, words);
    PaintHint(p, pointing == Pointing::Tap ? words.tapHint : words.clickHint);
    p.end();
    return picture;
}

}  // namespace kanuvo::art
