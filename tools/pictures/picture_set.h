// The eleven pictures the game carries: their resource ids and sizes, and how sprites pair with masks.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <array>

namespace kanuvo::pictures {

struct PictureEntry {
    int id;
    int width;
    int height;
    int maskOf;  // the id of the picture this one masks, 0 for a picture of its own
};

inline constexpr int kTitleId = 109;
inline constexpr int kGameOverId = 110;
inline constexpr int kGameOverMaskId = 111;
// Trucks and their masks by direction code 1..4 (left, right, up, down).
inline constexpr int TruckId(int direction) { return 100 + direction; }
inline constexpr int TruckMaskId(int direction) { return 104 + direction; }

inline constexpr std::array<PictureEntry, 11> kPictures = {{
    {101, 200, 97, 0},
    {102, 200, 97, 0},
    {103, 70, 145, 0},
    {104, 150, 310, 0},
    {105, 200, 97, 101},
    {106, 200, 97, 102},
    {107, 70, 145, 103},
    {108, 150, 310, 104},
    {109, 652, 650, 0},
    // The Game Over lettering is drawn as large as it is ever shown (a window's inner width is at most
    // 650 pixels, less the 50 at which it stops growing), so every drawing of it shrinks it or keeps it.
    {110, 600, 270, 0},
    {111, 600, 270, 110},
}};

// The scales every picture is drawn at: the design's pixels, and twice that for high-density screens.
inline constexpr int kScales[] = {1, 2};

// The file name a picture has in the build tree and in the embedded resources: "<id>.bmp" at the
// design's size, "<id>@2x.bmp" at twice that.
QString FileName(int id, int scale = 1);

// The mask of a sprite: black wherever the picture is not pure white, white elsewhere.
QImage MakeMask(const QImage& picture);

// Draws a sprite the way the game does: the mask merge-painted (destination OR NOT mask), then the
// picture ANDed, both stretched to target with nearest-pixel sampling.
void PaintSprite(QImage& destination, const QImage& mask, const QImage& picture, const QRect& target);

}  // namespace kanuvo::pictures
