// SPDX-License-Identifier: MIT
// File names, mask making and sprite drawing for the picture tool and its preview.
#include "picture_set.h"

namespace kanuvo::pictures {

QString FileName(int id, int scale) {
    const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    return QString::number(id) + suffix + QStringLiteral(".bmp");
}

QImage MakeMask(const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage mask(source.size(), QImage::Format_RGB32);
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < source.width(); ++x) out[x] = (in[x] | 0xFF000000u) == white ? white : qRgb(0, 0, 0);
    }
    return mask;
}

void PaintSprite(QImage& destination, const QImage& mask, const QImage& picture, const QRect& target) {
    const QImage m = mask.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    const QImage s = picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    const QRect clipped = target.intersected(destination.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(destination.scanLine(y));
        const auto* maskRow = reinterpret_cast<const QRgb*>(m.constScanLine(y - target.top()));
        const auto* spriteRow = reinterpret_cast<const QRgb*>(s.constScanLine(y - target.top()));
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const int sx = x - target.left();
            const QRgb merged = row[x] | ~maskRow[sx];
            row[x] = (merged & spriteRow[sx]) | 0xFF000000u;
        }
    }
}

}  // namespace kanuvo::pictures
