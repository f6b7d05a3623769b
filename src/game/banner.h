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

// Keeps a surface's pen colour, font and text position while it lives, and gives them back when it
// goes, so that lettering laid over a board leaves later drawing as it would have been.
class KeptLettering {
public:
    explicit KeptLettering(Surface& surface);
    ~KeptLettering();
    KeptLettering(const KeptLettering&) = delete;
    KeptLettering& operator=(const KeptLettering&) = delete;

private:
    Surface& surface_;
    Color pen_;
    double fontSize_;
    bool bold_;
    double currentX_;
    double currentY_;
};

// Draws the lines one below another in bold banner lettering, each centred across box and the whole
// block centred from top to bottom. A line too wide for the box is drawn smaller until it fits. The
// shadow is a darker shade of the surface's back colour. The surface's pen, font and text position
// are left as they were, so later drawing is unaffected.
void DrawBanner(Surface& surface, const Rect& box, std::span<const BannerLine> lines);

// Prints text in the surface's current font with its top-left corner at (x, y): first a rim of
// rimWidth pixels all round the letters in rimColor, then the letters in faceColor. Leaves the pen
// in faceColor.
void PrintOutlined(Surface& surface, double x, double y, std::string_view text, Color faceColor,
                   Color rimColor, int rimWidth);

}  // namespace kanuvo
