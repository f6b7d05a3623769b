// SPDX-License-Identifier: MIT
// Helpers the pictures share: the lettering face, text outlines and turning drawings into sprites.
#include "artwork.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>
#include <QTransform>

namespace kanuvo::art {

namespace {
constexpr const char* kLetteringFile = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
constexpr const char* kLetteringFamily = "IPAPGothic";
// Below this coverage an edge pixel belongs to the background.
constexpr int kShapeAlpha = 128;
}  // namespace

QString LetteringFamily() {
    static const QString family = [] {
        if (QFile::exists(kLetteringFile)) {
            const int id = QFontDatabase::addApplicationFont(kLetteringFile);
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) return families.front();
        }
        return QString(kLetteringFamily);
    }();
    return family;
}

QPainterPath LetteringPath(const QString& text, const QFont& font, const QRectF& box) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    QTransform fit;
    fit.translate(box.left(), box.top());
    fit.scale(box.width() / ink.width(), box.height() / ink.height());
    fit.translate(-ink.left(), -ink.top());
    return fit.map(path);
}

QImage SpriteCanvas(QSize size) {
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

QImage FlattenSprite(const QImage& canvas) {
    const QImage argb = canvas.convertToFormat(QImage::Format_ARGB32);
    QImage sprite(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(sprite.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(in[x]) < kShapeAlpha) {
                out[x] = qRgb(255, 255, 255);
                continue;
            }
            QRgb colour = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
            if (colour == qRgb(255, 255, 255)) colour = qRgb(254, 254, 254);
            out[x] = colour;
        }
    }
    return sprite;
}

}  // namespace kanuvo::art
