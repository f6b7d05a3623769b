// SPDX-License-Identifier: MIT
// The help page: what wins and loses each kind of stage, the keys and buttons, the retries, the best
// times so far and the version, lettered as the banners are.
#include "game/help.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
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
    page.Move(0, 0, window.PixelWidth(), window.PixelHeight());
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
        {Say(g, texts::kHelpClose), 1, kBannerGold},
    };
    const double points = LineSize(page, box, lines);
    for (BannerLine& line : lines) line.points = line.points > 1 ? std::floor(points * kTitleScale) : points;
    DrawBanner(page, box, lines, back);
}

}  // namespace kanuvo
