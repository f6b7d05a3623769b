// The picture tool's side of the eleven pictures: file names, masks and sprite drawing.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "game/pictures.h"

namespace kanuvo::pictures {

using kanuvo::kPictures;
using kanuvo::PictureEntry;

// The file name a picture has in the build tree and in the embedded resources.
QString FileName(int id);

// The mask of a sprite: black wherever the picture is not pure white, white elsewhere.
QImage MakeMask(const QImage& picture);

// Draws a sprite the way the game does: the mask merge-painted (destination OR NOT mask), then the
// picture ANDed, both stretched to target with nearest-pixel sampling.
void PaintSprite(QImage& destination, const QImage& mask, const QImage& picture, const QRect& target);

}  // namespace kanuvo::pictures
