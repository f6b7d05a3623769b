// SPDX-License-Identifier: MIT
// The picture tool's side of the eleven pictures: file names, masks and sprite drawing.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "game/pictures.h"

namespace kanuvo::pictures {

using kanuvo::kPictures;
using kanuvo::PictureEntry;

// The scales every picture is drawn at: the design's pixels, and twice that for high-density screens.
inline constexpr int kScales[] = {1, 2};

// The pictures that carry words, drawn once more in English into the folder kEnglishFolder: the
// title, the Game Over lettering and its mask.
inline constexpr int kWordedPictures[] = {kTitlePictureId, kGameOverPictureId, kGameOverMaskId};
inline constexpr char kEnglishFolder[] = "en";
// The title once more as a touch screen shows it, in this folder and in its English folder.
inline constexpr char kTouchFolder[] = "touch";

// The file name a picture has in the build tree and in the embedded resources: "<id>.bmp" at the
// design's size, "<id>@2x.bmp" at twice that.
QString FileName(int id, int scale = 1);

// The mask of a sprite: black wherever the picture is not pure white, white elsewhere.
QImage MakeMask(const QImage& picture);

// Draws a sprite the way the game does: the mask merge-painted (destination OR NOT mask), then the
// picture ANDed, both stretched to target with nearest-pixel sampling.
void PaintSprite(QImage& destination, const QImage& mask, const QImage& picture, const QRect& target);

}  // namespace kanuvo::pictures
