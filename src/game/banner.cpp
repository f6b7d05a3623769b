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
void PrintDisc(Surface& surface, double x, double y, std::string_view text, int radius, bool centre) {
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if ((dx == 0 && dy == 0 && !centre) || dx * dx + dy * dy > radius * radius + radius) continue;
            surface.SetCurrentX(x + dx);
            surface.SetCurrentY(y + dy);
            surface.Print(text);
        }
    }
}

struct PlacedLine {
    const BannerLine* line;
    double points;
    double width;
    double height;
};

}  // namespace

void PrintOutlined(Surface& surface, double x, double y, std::string_view text, Color faceColor, Color rimColor,
                   int rimWidth) {
    surface.SetForeColor(rimColor);
    PrintDisc(surface, x, y, text, rimWidth, false);
    surface.SetForeColor(faceColor);
    surface.SetCurrentX(x);
    surface.SetCurrentY(y);
    surface.Print(text);
}

KeptLettering::KeptLettering(Surface& surface)
    : surface_(surface),
      pen_(surface.ForeColor()),
      fontSize_(surface.FontSize()),
      bold_(surface.FontBold()),
      currentX_(surface.CurrentX()),
      currentY_(surface.CurrentY()) {}

KeptLettering::~KeptLettering() {
    surface_.SetFontBold(bold_);
    surface_.SetFontSize(fontSize_);
    surface_.SetForeColor(pen_);
    surface_.SetCurrentX(currentX_);
    surface_.SetCurrentY(currentY_);
}

void DrawBanner(Surface& surface, const Rect& box, std::span<const BannerLine> lines) {
    const KeptLettering kept(surface);
    surface.SetFontBold(true);
    const double room = box.right - box.left - 2 * kSideMargin;
    std::vector<PlacedLine> placed;
    double blockHeight = 0;
    for (const BannerLine& line : lines) {
        double points = line.points;
        surface.SetFontSize(points);
        double width = surface.TextWidth(line.text);
        if (width > room && width > 0) {
            points = std::max(1.0, std::floor(points * room / width));
            surface.SetFontSize(points);
            width = surface.TextWidth(line.text);
        }
        const double height = surface.TextHeight(line.text);
        placed.push_back({&line, points, width, height});
        blockHeight += height;
    }
    double y = box.top + (box.bottom - box.top - blockHeight) / 2;
    const Color shadow = Mix(surface.BackColor(), kLetteringRim, kShadowStrength);
    for (const PlacedLine& p : placed) {
        surface.SetFontSize(p.points);
        const int rim = RimWidthFor(p.points);
        const double x = box.left + (box.right - box.left - p.width) / 2;
        const double top = std::round(y);
        // The shadow falls down and right of the rimmed letters, as light from the top left would cast it.
        const int drop = rim + 1;
        surface.SetForeColor(shadow);
        PrintDisc(surface, std::round(x) + drop, top + drop, p.line->text, rim, true);
        PrintOutlined(surface, std::round(x), top, p.line->text, p.line->face, kLetteringRim, rim);
        y += p.height;
    }
}

}  // namespace kanuvo
