// SPDX-License-Identifier: MIT
// The eleven pictures the game carries: their resource ids and sizes, shared by the game's loader, the
// tool that draws them and the test doubles.
#pragma once

#include <array>

#include "game/tiles.h"

namespace kanuvo {

inline constexpr int kTitlePictureId = 109;
inline constexpr int kGameOverPictureId = 110;
inline constexpr int kGameOverMaskId = 111;
// The trucks and their masks, by the direction the truck faces: 101..104 and 105..108.
constexpr int TruckPictureId(Direction d) { return 100 + DirectionCode(d); }
constexpr int TruckMaskId(Direction d) { return 104 + DirectionCode(d); }

struct PictureEntry {
    int id;
    int width;
    int height;
    int maskOf;  // the id of the picture this one masks, 0 for a picture of its own
};

// Pictures come before their masks, so a mask can be made from its picture as drawn.
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

}  // namespace kanuvo
