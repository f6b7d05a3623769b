// SPDX-License-Identifier: MIT
// The help page: what wins and loses each kind of stage, the keys and buttons, the retries, the best
// times so far and the version, lettered as the banners are.
#include "game/help.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/banner.h"
#include "game/pause.h"
#include "game/run_end.h"
#include "game/texts.h"

#ifndef KANUVO_VERSION
#define KANUVO_VERSION "0"
#endif

namespace kanuvo {

namespace {

constexpr int kStages = 9;
constexpr int kStagesOnFirstLine = 5;

// Before the first board the page has no board colour to take: it takes the first of the board's.
constexpr Color kPageBack = Rgb(0, 0, 128);
constexpr Color kPageEdge = Rgb(230, 230, 230);
constexpr int kEdgeInset = 4;   // pixels between the window's edge and the page's outline
constexpr int kPageMargin = 12;  // pixels kept free inside the outline, above and below the lines
// The title is this much larger than the lines under it.
constexpr double kTitleScale = 1.6;
// How much of a line's height its letters take; the rest spaces the lines.
constexpr double kLineSpacing = 1.25;

std::string BestTimesLine(Game& g, int first, int last) {
    std::string line;
    for (int stage = first; stage <= last; ++stage) {
        const std::optional<int> best = g.system.LoadBestTime(stage);
        if (!line.empty()) line += "　";
        line += std::to_string(stage) + " " + (best ? MinutesAndSeconds(*best) : Say(g, texts::kHelpNoTime));
    }
    return line;
}

// Every line but the title at one size, the largest at which the whole page fits the box in height
// and every line fits its width.
double LineSize(Surface& page, const Rect& box, const std::vector<BannerLine>& lines) {
    constexpr Font kProbe{20, true};
    double rows = kTitleScale - 1;
    double widest = 0;
    for (const BannerLine& line : lines) {
        rows += 1;
        widest = std::max(widest, page.MeasureText(line.text, kProbe).width * (line.points > 1 ? kTitleScale : 1));
    }
    const double lineHeight = page.MeasureText(lines.front().text, kProbe).height * kLineSpacing;
    const double room = box.right - box.left - 2 * kPageMargin;
    const double tall = box.bottom - box.top - 2 * kPageMargin;
    double points = kProbe.points * tall / (rows * lineHeight);
    if (widest > 0) points = std::min(points, kProbe.points * room / widest);
    return std::max(1.0, std::floor(points));
}

// Where text may be broken, best first: between groups ("　", or three spaces in English), after a
// colon, after a comma, at a space. The cut ends the first line; the rest starts the second.
struct Break {
    std::size_t cut, rest;
};
std::optional<Break> MiddleBreak(const std::string& text) {
    constexpr std::array<std::pair<std::string_view, bool>, 7> kGaps{{
        {"\u3000", false}, {"   ", false}, {"\uFF1A", true}, {": ", true}, {"\u3001", true}, {", ", true}, {" ", false}}};
    for (const auto& [gap, kept] : kGaps) {
        std::optional<Break> best;
        for (std::size_t at = text.find(gap); at != std::string::npos; at = text.find(gap, at + 1)) {
            const Break b{kept ? at + gap.find_last_not_of(' ') + 1 : at, at + gap.size()};
            const auto off = [&](const Break& c) { return std::abs(static_cast<double>(c.cut) - text.size() / 2.0); };
            if (b.cut > 0 && b.rest < text.size() && (!best || off(b) < off(*best))) best = b;
        }
        if (best) return best;
    }
    return std::nullopt;
}

// On a page taller than it is wide (a phone held upright) the widest line is broken in two, again and
// again: the letters grow while the width holds them back, and shrink once the height does.
double BreakWideLines(Surface& page, const Rect& box, std::vector<BannerLine>& lines, double points) {
    constexpr Font kProbe{20, true};
    std::vector<BannerLine> broken = lines;
    for (;;) {
        std::size_t widest = 0;
        double width = 0;
        for (std::size_t i = 0; i < broken.size(); ++i) {
            const double w = page.MeasureText(broken[i].text, kProbe).width * (broken[i].points > 1 ? kTitleScale : 1);
            if (w > width) width = w, widest = i;
        }
        const std::optional<Break> at = MiddleBreak(broken[widest].text);
        if (!at) return points;
        const BannerLine line = broken[widest];
        broken[widest].text = line.text.substr(0, at->cut);
        broken.insert(broken.begin() + static_cast<std::ptrdiff_t>(widest) + 1,
                      BannerLine{line.text.substr(at->rest), line.points, line.face});
        const double grown = LineSize(page, box, broken);
        if (grown < points) return points;
        if (grown > points) lines = broken;
        points = grown;
    }
}

}  // namespace

void ShowHelp(Game& g) {
    if (g.HelpShown) return;
    g.HelpShown = true;
    for (Timer* timer : {&g.TitleTimer, &g.TimeLimitTimer, &g.GameOverTimer, &g.NoteTimer})
        timer->SetHeld(true);
    DrawHelpPage(g);
    g.form.HelpView().SetVisible(true);
    g.form.HelpView().SetFocus();
}

void CloseHelp(Game& g) {
    if (!g.HelpShown) return;
    g.HelpShown = false;
    g.form.HelpView().SetVisible(false);
    g.TitleTimer.SetHeld(false);
    g.GameOverTimer.SetHeld(false);
    g.NoteTimer.SetHeld(false);
    // A run paused before the page came stays paused; otherwise it goes on, the truck taking up its
    // pace afresh rather than catching up on the time the page stood.
    if (!g.Paused) {
        g.TimeLimitTimer.SetHeld(false);
        if (g.Playing) g.LastStepTime = g.clock.Now();
    }
    if (!g.TitleTimer.Enabled()) g.form.BoardView().SetFocus();
}

void DrawHelpPage(Game& g) {
    PictureBox& page = g.form.HelpView();
    const Surface& window = g.form.Canvas();
    const bool ownSize = g.HelpPageWidth > 0 && g.HelpPageHeight > 0;
    page.Move(0, 0, ownSize ? g.HelpPageWidth : window.PixelWidth(), ownSize ? g.HelpPageHeight : window.PixelHeight());
    const Color back = g.TitleTimer.Enabled() ? kPageBack : g.BoardBackColor;
    page.Clear(back);
    const Rect box{kEdgeInset, kEdgeInset, page.PixelWidth() - kEdgeInset, page.PixelHeight() - kEdgeInset};
    page.Box(box.left, box.top, box.right - 1, box.bottom - 1, kPageEdge);

    // The title is marked by a size above 1 until the sizes are known; a blank line parts the groups.
    const BannerLine gap{" ", 1, kBannerWhite};
    std::vector<BannerLine> lines{
        {Say(g, texts::kHelpTitle), 2, kBannerGold},
        gap,
        {Say(g, texts::kHelpRouteStages), 1, kBannerWhite},
        {Say(g, texts::kHelpTruckStages), 1, kBannerWhite},
        {Say(g, texts::kHelpFastForward), 1, kBannerWhite},
        {Say(g, texts::kHelpMisses), 1, kBannerWhite},
        {Say(g, texts::kHelpRetries), 1, kBannerWhite},
        gap,
        {Say(g, texts::kHelpSlideKeys), 1, kBannerWhite},
        {Say(g, texts::kHelpOtherKeys), 1, kBannerWhite},
        {Say(g, texts::kHelpStartStop), 1, kBannerWhite},
        {Say(g, texts::kHelpNewGameExit), 1, kBannerWhite},
        gap,
        {Say(g, texts::kHelpBestTimes), 1, kBannerGold},
        {BestTimesLine(g, 1, kStagesOnFirstLine), 1, kBannerWhite},
        {BestTimesLine(g, kStagesOnFirstLine + 1, kStages), 1, kBannerWhite},
        gap,
        {std::string("Kanuvo ") + KANUVO_VERSION + "　" + Say(g, texts::kHelpLicence), 1, kBannerWhite},
        {Say(g, texts::kHelpLanguage), 1, kBannerWhite},
        {Say(g, g.TouchScreen ? texts::kHelpCloseTap : texts::kHelpClose), 1, kBannerGold},
    };
    // A finger slides a tile by a tap, told first, before the keys.
    if (g.TouchScreen) lines.insert(lines.begin() + 7, BannerLine{Say(g, texts::kHelpSlideTaps), 1, kBannerWhite});
    double points = LineSize(page, box, lines);
    if (box.bottom - box.top > box.right - box.left) points = BreakWideLines(page, box, lines, points);
    for (BannerLine& line : lines) line.points = line.points > 1 ? std::floor(points * kTitleScale) : points;
    DrawBanner(page, box, lines, back);
}

}  // namespace kanuvo
