// SPDX-License-Identifier: MIT
// Lettering laid over the board: bold letters with a dark rim and a soft drop shadow, like the title's.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "game/state.h"
#include "platform/surface.h"

namespace kanuvo {

// The colours of banner lettering.
constexpr Color kBannerWhite = Rgb(255, 255, 255);
constexpr Color kBannerGold = Rgb(255, 215, 40);
constexpr Color kLetteringRim = Rgb(70, 0, 10);

// One line of a banner: UTF-8 text, its size in points and the colour of its letters.
struct BannerLine {
    std::string text;
    double points = 12;
    Color face = kBannerWhite;
};

// Draws the lines one below another in bold banner lettering, each centred across box and the whole
// block centred from top to bottom. A line too wide for the box is drawn smaller until it fits. The
// shadow is a darker shade of back, the colour the banner is laid on.
void DrawBanner(Surface& surface, const Rect& box, std::span<const BannerLine> lines, Color back);

// Letters text in font with its top-left corner at (x, y): first a rim of rimWidth pixels all round
// the letters in rimColor, then the letters in faceColor.
void PrintOutlined(Surface& surface, double x, double y, std::string_view text, Font font, Color faceColor,
                   Color rimColor, int rimWidth);

}  // namespace kanuvo
