// SPDX-License-Identifier: MIT
// The game's flow: start-up, the run's passes, the timers and the truck's steps as time goes on, the
// buttons, the two ways a run ends, and the growing Game Over lettering.
#include "game/flow.h"

#include <algorithm>
#include <cstdlib>

#include "game/assist.h"
#include "game/board.h"
#include "game/corner.h"
#include "game/fast_forward.h"
#include "game/geometry.h"
#include "game/media.h"
#include "game/pictures.h"
#include "game/pause.h"
#include "game/play.h"
#include "game/repaint.h"
#include "game/route.h"
#include "game/run_end.h"
#include "game/sprite.h"
#include "game/texts.h"
#include "game/truck.h"
#include "platform/captions.h"

namespace kanuvo {

namespace {

constexpr Text kAlreadyRunningMessage = KANUVO_TEXT("Messages", "このアプリケーションはすでに開かれています。");

// How often the Game Over lettering grows.
constexpr int kGameOverTickMs = 500;

// The three window sides in pixels.
constexpr int kSmallSide = 400, kMiddleSide = 550, kLargeSide = 650;

// The lettering stops growing, for a board drawn afresh: none of it lies there, and the next Game
// Over starts it from its smallest size.
void StopGameOverLettering(Game& g) {
    g.GameOverTimer.SetEnabled(false);
    g.GameOverDrawings = 0;
    g.GameOverHint = false;
}

// The keys that press the buttons, said where the pointer rests on them.
void HintButtonKeys(Game& g) {
    g.form.StartStopButton().SetHint(Say(g, texts::kStartKeyHint));
    g.form.NewGameButton().SetHint(Say(g, texts::kNewGameKeyHint));
}

// The geometry of the board and the window's controls for BoardSize and the window's inner area, and
// the truck at the start of the dealt road. Dealing comes first: the truck follows the start road.
void LayOutBoard(Game& g) {
    ComputeCellRects(g);
    PlaceTruckAtStart(g);
    SizeBoardPictures(g);
    PlaceBoardButtons(g);
    LayoutGauge(g);
}

}  // namespace

int ComputeWindowSize(Game& g) {
    const int height = g.system.ScreenHeight();
    // A screen of exactly 500 or 700 pixels takes the smaller window, which is sure to fit it.
    int side = kLargeSide;
    if (height <= 500) {
        side = kSmallSide;
    } else if (height <= 700) {
        side = kMiddleSide;
    }
    // The side is the outer size, frame and title bar included. A window taller than what the
    // panels leave would hide its lowest row, its Exit button and the lives: it takes the next
    // smaller size instead, down to the smallest.
    const int available = g.system.AvailableScreenHeight();
    if (side == kLargeSide && side > available) side = kMiddleSide;
    if (side == kMiddleSide && side > available) side = kSmallSide;
    return side;
}

void FormLoad(Game& g) {
    if (g.system.AnotherCopyRuns()) {
        // No failure: the game the player asked for is already open.
        g.system.ShowMessage(Say(g, kAlreadyRunningMessage));
        g.system.End(EXIT_SUCCESS);
        return;
    }
    g.TitleTimer.SetPeriod(kTitleTickMs);
    g.TimeLimitTimer.SetPeriod(kTimeLimitTickMs);
    g.GameOverTimer.SetPeriod(kGameOverTickMs);
    g.NoteTimer.SetPeriod(kNoteTickMs);
    const int side = ComputeWindowSize(g);
    if (!LoadPictures(g)) return;
    g.form.SetSize(side, side);
    HintButtonKeys(g);
    PaintTitle(g);
    if (!LoadSoundsAndCursors(g)) return;

    g.BoardSize = kFirstBoardSize;
    g.Stage = kFirstStage;
    g.RouteActive = false;
    g.Lives = kLivesPerStage;
    g.BoardReady = true;
    g.StepDue = false;
    g.StepInterval = kStepIntervalMs;
    // The first board is dealt and laid out now but drawn only when the title screen ends.
    DealFreshBoard(g);
    LayOutBoard(g);
    ShowWhichButtonsAct(g);
}

void FormResize(Game& g) {
    // While the title shows, nothing of the board is drawn yet: the title and the layout simply
    // follow the window's real inner area. Once the board is drawn it keeps the layout it was drawn
    // with, drawn again on its resized surfaces, which keep only what still fits them.
    if (g.TitleTimer.Enabled() && g.TitlePicture) LayOutBoard(g);
    RepaintScreen(g);
}

void FormQueryUnload(Game& g) {
    g.system.SetPointer(g.SavedCursor);
    g.Playing = false;
    StopMusic(g);
    CloseMusic(g);
}

void ShowWhichButtonsAct(Game& g) {
    g.form.ExitButton().SetDimmed(false);
    g.form.NewGameButton().SetDimmed(g.Playing);
    g.form.StartStopButton().SetDimmed(!g.BoardReady);
}

void ExitClick(Game& g) {
    g.Playing = false;
    StopMusic(g);
    CloseMusic(g);
    g.form.Close();
}

void NewGameClick(Game& g) {
    if (!g.Playing) {
        // A Game Over still growing would draw over the fresh board.
        StopGameOverLettering(g);
        // The next board is dealt, laid out and drawn at once, and may be started; the last run's end
        // is no longer on screen.
        DealFreshBoard(g);
        LayOutBoard(g);
        g.BoardReady = true;
        g.LastRunEnd = RunEnd::None;
        RedrawBoard(g);
        PrintStageCaption(g);
        g.form.GaugeFrame().SetVisible(false);
        ShowWhichButtonsAct(g);
    }
    g.form.BoardView().SetFocus();
}

void StartStopClick(Game& g) {
    if (!g.BoardReady) return;
    if (g.Playing) {
        EndPause(g);  // a held run is given up like any other
        g.Playing = false;
        g.form.StartStopButton().SetCaption(Say(g, kStartCaption));
        g.TimeLimitTimer.SetEnabled(false);
        StopMusic(g);
        EndRun(g, RunEnd::Stopped);
        g.form.BoardView().SetFocus();
        return;
    }
    StopGameOverLettering(g);  // nor over the run
    g.form.StartStopButton().SetCaption(Say(g, kStopCaption));
    g.Playing = true;
    ShowWhichButtonsAct(g);
    g.TimeCount = 0;
    g.TruckCells = {StartCell(g.BoardSize), StartCell(g.BoardSize)};
    g.form.GaugeFrame().SetVisible(true);
    g.form.GaugeBar().SetVisible(true);
    g.TimeLimitTimer.SetEnabled(true);
    PlaySound(g, SoundId::Music);
    g.form.BoardView().SetFocus();
    BeginRunRecord(g);
    // The run goes on in the passes that follow, the first of them at once.
}

void RunPass(Game& g) {
    // A held run does nothing until an event resumes or ends it.
    if (!g.Playing || g.Paused || g.HelpShown) return;
    int stage = g.Stage;
    if (TakesRouteBranch(stage) && g.RouteActive) {
        EndRunIf(g, TraceRouteStep(g));
        stage = g.Stage;  // the step may have cleared the stage
    }
    if (TakesTruckBranch(stage)) {
        if (g.Playing) UpdateStepDue(g);
        if (g.StepDue) StepTruck(g, g.form.BoardView());
        // The cells the truck stands in are noted before a clear lights the road it drove.
        const RunEnd end = SteerTruck(g);
        NoteTruckPath(g);
        EndRunIf(g, end);
    }
    if (g.Playing) {
        ShowAssistRoad(g);
        OfferFastForward(g);
    }
}

namespace {

// The game's four timers and the tick each raises.
struct TimerTick {
    Timer Game::*timer;
    void (*tick)(Game&);
};
constexpr TimerTick kTicks[] = {{&Game::TitleTimer, TitleTick},
                                {&Game::TimeLimitTimer, TimeLimitTick},
                                {&Game::GameOverTimer, GameOverTick},
                                {&Game::NoteTimer, NoteTick}};

}  // namespace

void RaiseDueTicks(Game& g) {
    // Each timer due raises one tick, the earliest due first; a tick may start or stop the others.
    for (;;) {
        const std::uint32_t now = g.clock.Now();
        const TimerTick* first = nullptr;
        std::int32_t firstLate = -1;
        for (const TimerTick& t : kTicks) {
            const std::optional<std::uint32_t> due = (g.*t.timer).Due();
            // A signed difference stays right across the tick count's wrap.
            const auto late = due ? static_cast<std::int32_t>(now - *due) : -1;
            if (late >= 0 && late > firstLate) first = &t, firstLate = late;
        }
        if (first == nullptr) return;
        (g.*first->timer).Restart();
        first->tick(g);
    }
}

namespace {

// The most of the platform's time one wake feeds a fast run: a machine too slow for the pace plays
// slower rather than ever further behind.
constexpr int kMostFedMs = 50;

// A fast run: the game's time moves on from one due tick to the next, each tick and step coming at
// its own time and in its own order, as far as the platform's time since the last wake buys.
void FeedTimeFast(Game& g) {
    const std::uint32_t until = g.clock.FastUntil(kFastForwardPace, kMostFedMs);
    while (FastForwarding(g)) {
        const std::optional<std::uint32_t> due = NextWake(g);
        if (!due || static_cast<std::int32_t>(*due - until) > 0) {
            g.clock.MoveTo(until);
            return;
        }
        if (static_cast<std::int32_t>(*due - g.clock.Now()) > 0) g.clock.MoveTo(*due);
        RaiseDueTicks(g);
        RunPass(g);
    }
}

}  // namespace

void AdvanceTime(Game& g) {
    g.clock.SetFast(FastForwarding(g));
    if (g.clock.Fast()) {
        FeedTimeFast(g);
    } else {
        RaiseDueTicks(g);
        RunPass(g);
        // A route trace draws nothing and takes a few microseconds a cell: it runs on to its end now,
        // a pass a cell, rather than a wake a cell. No road is longer than the board has cells.
        for (int cell = 0; cell < kMaxCells && g.RouteActive; ++cell) RunPass(g);
    }
    // A run that ended or is held goes on at the platform's pace from the time it has reached.
    g.clock.SetFast(FastForwarding(g));
    const std::optional<std::uint32_t> wake = NextWake(g);
    if (!wake) return g.form.SetWake(std::nullopt);
    const auto ms = static_cast<std::int32_t>(*wake - g.clock.Now());
    // Fast, the wake comes as soon as the platform's time buys the game's time to it.
    g.form.SetWake(g.clock.Fast() ? (std::max(ms, 0) + kFastForwardPace - 1) / kFastForwardPace : ms);
}

std::optional<std::uint32_t> NextWake(Game& g) {
    const std::uint32_t now = g.clock.Now();
    std::optional<std::uint32_t> wake;
    const auto consider = [&](std::uint32_t tick) {
        if (!wake || static_cast<std::int32_t>(tick - *wake) < 0) wake = tick;
    };
    for (const TimerTick& t : kTicks) {
        if (const auto due = (g.*t.timer).Due()) consider(*due);
    }
    if (g.Playing && !g.Paused && !g.HelpShown) {
        if (g.RouteActive) consider(now);
        // The truck steps once more than its interval has passed since its last step.
        if (TakesTruckBranch(g.Stage)) consider(g.LastStepTime + static_cast<std::uint32_t>(g.StepInterval) + 1);
    }
    return wake;
}

void UpdateStepDue(Game& g) {
    const std::uint32_t now = g.clock.Now();
    // Elapsed time as an unsigned difference stays right when the 32-bit tick count wraps.
    if (now - g.LastStepTime > static_cast<std::uint32_t>(g.StepInterval)) {
        g.StepDue = true;
        g.LastStepTime = g.clock.Now();
    } else {
        g.StepDue = false;
    }
}

void EndRun(Game& g, RunEnd end) {
    const int boardOnScreen = g.BoardSize;
    g.form.StartStopButton().SetCaption(Say(g, kStartCaption));
    g.TimeLimitTimer.SetEnabled(false);
    g.RouteActive = false;
    g.Playing = false;
    g.StepDue = false;
    OfferFastForward(g);
    StopMusic(g);
    if (end == RunEnd::Cleared) {
        // The time stays for the clear's banner.
        g.LastRunEnd = RunEnd::Cleared;
        if (!g.RunAssisted) KeepBestTime(g);
        PlaySound(g, SoundId::Goal);
        AdvanceStage(g);
        g.Lives = kLivesPerStage;
    } else {
        g.LastRunEnd = g.Lives > 0 ? end : RunEnd::GameOver;
        if (g.Lives > 0) {
            PlaySound(g, IsRouteStage(g.Stage) ? SoundId::Stop2 : SoundId::Stop1);
        } else {
            PlaySound(g, SoundId::GameOver);
            g.GameOverTimer.SetEnabled(true);
        }
        g.TimeCount = 0;
        SpendLife(g);
    }
    // The retries below the board show what is left at once, as the next board will: both back after
    // a clear. They stand under the board still on screen, whose size a clear or a Game Over has
    // already set for the next one.
    DrawLives(g, boardOnScreen);
    ShowWhichButtonsAct(g);
    // Last, over everything the run drew: how it ended.
    ShowRunEnd(g);
}

void EndRunIf(Game& g, RunEnd end) {
    if (end != RunEnd::None) EndRun(g, end);
}

void TimeLimitTick(Game& g) { EndRunIf(g, SpendSecond(g)); }

void RewordWindow(Game& g) {
    g.form.ExitButton().SetCaption(Say(g, kExitCaption));
    g.form.NewGameButton().SetCaption(Say(g, kNewGameCaption));
    g.form.StartStopButton().SetCaption(Say(g, g.Playing ? kStopCaption : kStartCaption));
    HintButtonKeys(g);
    // The Game Over lettering, and the title while it shows, have a drawing in each language.
    if (auto picture = g.system.LoadPicture(kGameOverPictureId)) g.GameOverPicture = std::move(picture);
    if (auto mask = g.system.LoadPicture(kGameOverMaskId)) g.GameOverMask = std::move(mask);
    if (g.TitleTimer.Enabled()) {
        if (auto title = g.system.LoadPicture(kTitlePictureId)) g.TitlePicture = std::move(title);
    }
    // Everything lettered, the Game Over lettering and the help page included, in the language spoken now.
    RepaintScreen(g);
}

void GameOverTick(Game& g) {
    if (GameOverDrawingFits(g, g.GameOverDrawings)) {
        DrawGameOverLettering(g, g.GameOverDrawings++);
        return;
    }
    g.GameOverHint = true;
    ShowGameOverHint(g);
    g.GameOverTimer.SetEnabled(false);
}

}  // namespace kanuvo
