// SPDX-License-Identifier: MIT
// Banner lettering over the board: a soft shadow, a dark rim and bold letters, centred in a box.
#include "game/banner.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kanuvo {

namespace {

constexpr double kPixelsPerPoint = 4.0 / 3.0;  // surfaces measure text at 96 dpi
// The rim is about a fourteenth of the letters' height, at least a pixel.
constexpr double kRimPerPixelOfHeight = 1.0 / 14;
// How much of the rim's colour the shadow takes over the background: a soft shade, not a black slab.
constexpr double kShadowStrength = 0.55;
constexpr double kSideMargin = 8;  // pixels kept free at each side of the box

int RimWidthFor(double points) {
    return std::max(1, static_cast<int>(std::lround(points * kPixelsPerPoint * kRimPerPixelOfHeight)));
}

// The text printed at every offset of a round disc of the given radius, its centre included or not.
void PrintDisc(Surface& surface, double x, double y, std::string_view text, Font font, Color color, int radius,
               bool centre) {
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if ((dx == 0 && dy == 0 && !centre) || dx * dx + dy * dy > radius * radius + radius) continue;
            surface.DrawText(x + dx, y + dy, text, font, color);
        }
    }
}

struct PlacedLine {
    const BannerLine* line;
    Font font;
    TextExtent extent;
};

}  // namespace

void PrintOutlined(Surface& surface, double x, double y, std::string_view text, Font font, Color faceColor,
                   Color rimColor, int rimWidth) {
    PrintDisc(surface, x, y, text, font, rimColor, rimWidth, false);
    surface.DrawText(x, y, text, font, faceColor);
}

void DrawBanner(Surface& surface, const Rect& box, std::span<const BannerLine> lines, Color back) {
    const double room = box.right - box.left - 2 * kSideMargin;
    std::vector<PlacedLine> placed;
    double blockHeight = 0;
    for (const BannerLine& line : lines) {
        Font font{line.points, true};
        TextExtent extent = surface.MeasureText(line.text, font);
        if (extent.width > room && extent.width > 0) {
            font.points = std::max(1.0, std::floor(font.points * room / extent.width));
            extent = surface.MeasureText(line.text, font);
        }
        placed.push_back({&line, font, extent});
        blockHeight += extent.height;
    }
    double y = box.top + (box.bottom - box.top - blockHeight) / 2;
    const Color shadow = Mix(back, kLetteringRim, kShadowStrength);
    for (const PlacedLine& p : placed) {
        const int rim = RimWidthFor(p.font.points);
        const double x = box.left + (box.right - box.left - p.extent.width) / 2;
        const double top = std::round(y);
        // The shadow falls down and right of the rimmed letters, as light from the top left would cast it.
        const int drop = rim + 1;
        PrintDisc(surface, std::round(x) + drop, top + drop, p.line->text, p.font, shadow, rim, true);
        PrintOutlined(surface, std::round(x), top, p.line->text, p.font, p.line->face, kLetteringRim, rim);
        y += p.extent.height;
    }
}

}  // namespace kanuvo
