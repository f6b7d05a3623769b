// SPDX-License-Identifier: MIT
// The game's flow over the doubles: start-up, the buttons, the run's passes and wakes on a manual clock, the
// two ways a run ends, Game Over, and the sounds each asks for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/help.h"
#include "game/input.h"
#include "game/media.h"
#include "game/play.h"
#include "past_title.h"

namespace kanuvo {
namespace {

using testing::TestGame;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;

const std::string kOpen = "open \"/opt/kanuvo/sound/Shellshk.mid\" type sequencer alias gBGMfile";
const std::string kPlay = "play gBGMfile from 0 ", kStop = "stop gBGMfile ", kClose = "close gBGMfile ";

std::vector<std::string> WavesPlayed(const testing::RecordingSound& sound) {
    std::vector<std::string> names;
    for (const auto& w : sound.waves) {
        EXPECT_EQ(w.flags, 0x13u);
        names.push_back(w.path.substr(w.path.rfind('/') + 1));
    }
    return names;
}

// The game just past its title screen, with a loop guard: a run that never ends fails the test.
struct Flow : testing::PastTitle {
    void LayWinningRoad() { testing::LayLeftThenUpRoad(g); }
    void PressKey(int key) {
        t.form.Queue([this, key] { BoardKeyDown(g, key); });
    }
    void Click(void (*handler)(Game&)) {
        t.form.Queue([this, handler] { handler(g); });
    }
};

// Which buttons look dimmed (Exit, New Game, Start/Stop) in each state of the game: only those whose
// click would do nothing. A miss or a clear shows the retries left below the board at once.
TEST(ButtonLooks, FollowTheGamesState) {
    TestGame t;
    Game& g = t.game;
    std::vector<std::string> seen;
    const auto note = [&](const char* state) {
        seen.push_back(std::string(state) + (t.form.exitButton.Dimmed() ? " X" : " -") +
                       (t.form.newGameButton.Dimmed() ? "X" : "-") + (t.form.startStopButton.Dimmed() ? "X" : "-"));
    };
    FormLoad(g);
    note("title");
    FormMouseDown(g);
    note("ready");
    t.form.Queue([&] {
        note("running");
        BoardKeyDown(g, 'P');
        t.form.Queue([&] {
            note("paused");
            t.form.boardView.log.clear();
            t.ClickStartStop();
        });
    });
    t.ClickStartStop();
    note("missed");
    // The left retry's slot is cleared to the board's colour: one retry is left.
    EXPECT_THAT(t.form.boardView.log, Contains("FillBox 336 519 365 578 " + std::to_string(g.BoardBackColor)));
    NewGameClick(g);
    testing::LayLeftThenUpRoad(g);
    t.form.Queue([&] { BoardKeyDown(g, 'B'); });
    t.form.boardView.log.clear();
    t.ClickStartStop();
    note("cleared");
    // After a clear both retries are back at once: two trucks standing below the board.
    EXPECT_THAT(t.form.boardView.log,
                IsSupersetOf({"Picture 103 336 519 30 60 and", "Picture 103 436 519 30 60 and"}));
    // Game Over on a 5 x 5 board: the retries stand below that board, not where a 4 x 4 one's would.
    g.Stage = 3;
    g.BoardSize = 5;
    NewGameClick(g);
    g.Lives = 0;
    t.form.boardView.log.clear();
    t.form.Queue([&] { t.ClickStartStop(); });
    t.ClickStartStop();
    note("Game Over");
    EXPECT_THAT(t.form.boardView.log,
                IsSupersetOf({"Picture 103 375 532 26 52 and", "Picture 103 461 532 26 52 and"}));
    EXPECT_THAT(seen, ElementsAre("title ---", "ready ---", "running -X-", "paused -X-", "missed --X", "cleared --X",
                                  "Game Over --X"));
}

TEST_F(Flow, StartUpOpensTheMusicAndSetsTheGameUp) {
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen));
    EXPECT_EQ(g.Stage, 1);
    EXPECT_EQ(g.BoardSize, 4);
    EXPECT_EQ(g.Lives, 2);
    EXPECT_TRUE(g.BoardReady);
    EXPECT_FALSE(g.Playing);
    EXPECT_EQ(g.StepInterval, 200);
    EXPECT_EQ(g.CellSize, 100);
    EXPECT_EQ(g.GoalSoundPath, "/opt/kanuvo/sound/goal.wav");
    // The game gives every timer its period.
    EXPECT_THAT((std::array{g.TitleTimer.Period(), g.TimeLimitTimer.Period(),
                            g.GameOverTimer.Period(), g.NoteTimer.Period()}),
                ElementsAre(1000, 1000, 500, 100));
}

// Enter and N press スタート and 新ゲーム only where a click on the button would act: not on the title
// nor under the help page; during a run they are the board's keys alone, so Enter never stops a run;
// and a board already played is not started again.
TEST(ButtonKeys, ActOnlyWhereAClickOnTheirButtonWould) {
    testing::TestGame t;
    Game& g = t.game;
    FormLoad(g);
    KeyDown(g, kKeyStart);
    KeyDown(g, kKeyNewGame);
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen));
    EXPECT_FALSE(t.form.boardView.Visible());
    FormMouseDown(g);
    ShowHelp(g);
    KeyDown(g, kKeyStart);
    EXPECT_FALSE(g.Playing);
    CloseHelp(g);

    const auto dealt = g.Cells;
    int passes = 0;
    t.onPass = [&] {
        if (++passes > 1) return StartStopClick(g);
        KeyDown(g, kKeyStart);
        KeyDown(g, kKeyNewGame);
        EXPECT_TRUE(g.Playing);
        EXPECT_EQ(g.Lives, 2);
        EXPECT_EQ(g.Cells, dealt);
    };
    KeyDown(g, kKeyStart);
    t.PlayRun();  // until Stop has ended the run
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(g.Lives, 1);
    KeyDown(g, kKeyStart);
    t.PlayRun();
    EXPECT_EQ(passes, 2) << "the board was played";
    KeyDown(g, kKeyNewGame);
    EXPECT_TRUE(g.BoardReady);
    EXPECT_NE(g.Cells, dealt);
    KeyDown(g, kKeyStart);
    t.PlayRun();
    EXPECT_EQ(passes, 3);
}

TEST_F(Flow, AStageOneRunIsClearedByTheTraceOfAKeyPress) {
    LayWinningRoad();
    PressKey('A');
    t.ClickStartStop();  // returns when the run has ended
    EXPECT_EQ(g.Stage, 2);
    EXPECT_EQ(g.BoardSize, 4);
    EXPECT_EQ(g.Lives, 2);
    EXPECT_FALSE(g.Playing);
    EXPECT_FALSE(g.BoardReady);
    EXPECT_EQ(t.form.startStopButton.Caption(), "スタート");
    EXPECT_FALSE(g.TimeLimitTimer.Enabled());
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen, kPlay, kStop));
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("goal.wav"));
    // The pass that cleared the stage saw stage 2 and left the truck alone: no miss, no step.
    EXPECT_EQ(g.TruckCells[0], 16);
    EXPECT_EQ(g.TruckCells[1], 16);

    t.ClickStartStop();  // nothing until New Game
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen, kPlay, kStop));
    NewGameClick(g);
    EXPECT_TRUE(g.BoardReady);
    EXPECT_EQ(t.form.boardView.log.back(), "Text 10 10 20 16777215 ｽﾃｰｼﾞ2");
}

TEST_F(Flow, AClickThatSlidesATileBeginsTheTraceThatClearsStageOne) {
    LayWinningRoad();
    const Rect& r = g.CellRects[7];  // above the gap in 11, off the road
    t.form.Queue([this, r] { BoardMouseDown(g, kLeftButton, r.left + 5, r.bottom - 5); });
    t.ClickStartStop();
    EXPECT_EQ(g.Cells[11], TileKind::LeftBottom);
    EXPECT_EQ(g.Cells[7], TileKind::Empty);
    EXPECT_EQ(g.Stage, 2);
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("goal.wav"));
}

TEST_F(Flow, StartShowsTheGaugeStartsTheClockAndTheMusic) {
    everyPass = [this] {
        EXPECT_EQ(t.form.startStopButton.Caption(), "ストップ");
        EXPECT_TRUE(t.form.gaugeFrame.Visible());
        EXPECT_TRUE(t.form.gaugeBar.Visible());
        EXPECT_TRUE(g.TimeLimitTimer.Enabled());
        EXPECT_GT(t.form.boardView.focusCount, 0);
        g.Playing = false;  // leave the loop
    };
    g.TimeCount = 77;
    t.ClickStartStop();
    EXPECT_EQ(g.TimeCount, 0);
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen, kPlay));
}

TEST_F(Flow, StopIsAMissAndEndsTheLoopInTheSamePass) {
    Click(StartStopClick);
    t.ClickStartStop();
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(g.Lives, 1);
    EXPECT_EQ(g.Stage, 1);
    EXPECT_FALSE(g.BoardReady);
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("stop2.wav"));
    EXPECT_EQ(t.form.startStopButton.Caption(), "スタート");
}

TEST_F(Flow, ThreeMissesAreGameOverAndAClearRestoresTheRetries) {
    for (int miss = 1; miss <= 2; ++miss) {
        Click(StartStopClick);
        t.ClickStartStop();
        NewGameClick(g);
    }
    EXPECT_EQ(g.Lives, 0);
    LayWinningRoad();
    PressKey('Z');  // any key begins the trace
    t.ClickStartStop();
    EXPECT_EQ(g.Stage, 2);
    EXPECT_EQ(g.Lives, 2);

    g.Lives = 0;
    NewGameClick(g);
    Click(StartStopClick);
    t.ClickStartStop();  // a stop in a truck stage with no retry left
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("stop2.wav", "stop2.wav", "goal.wav", "GameOvaer.wav"));
    EXPECT_TRUE(g.GameOverTimer.Enabled());
    EXPECT_EQ(g.Stage, 1);
    EXPECT_EQ(g.BoardSize, 4);
    EXPECT_EQ(g.Lives, 2);
}

TEST_F(Flow, TruckStagesMissWithTheCrashSound) {
    g.Stage = 2;
    Click(StartStopClick);
    t.ClickStartStop();
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("stop1.wav"));
}

TEST_F(Flow, StageNineFollowsEightOnASevenBySevenBoardAndLeadsBackToOne) {
    g.Stage = 8;
    g.BoardSize = 7;
    EndRun(g, RunEnd::Cleared);
    EXPECT_EQ(g.Stage, 9);
    NewGameClick(g);
    EXPECT_EQ(g.BoardSize, 7);
    EXPECT_EQ(g.CellSize, 67);  // 600 / 9 = 66.7
    EXPECT_EQ(t.form.boardView.log.back(), "Text 10 10 13.4 16777215 ｽﾃｰｼﾞ9");
    int truckSteps = 0;
    everyPass = [this, &truckSteps] {
        truckSteps += g.StepDue;
        if (passes == 3) t.ClickStartStop();  // Stop
    };
    t.ClickStartStop();
    EXPECT_GT(truckSteps, 0);  // the truck drives in stage 9
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("goal.wav", "stop1.wav"));
    EndRun(g, RunEnd::Cleared);
    EXPECT_EQ(g.Stage, 1);
    EXPECT_EQ(g.BoardSize, 4);
}

TEST_F(Flow, TheTimeLimitEndsTheRunOnThe181stTick) {
    const std::uint32_t start = t.clock.now;
    t.ClickStartStop();
    EXPECT_EQ(t.clock.now - start, 181000u);
    EXPECT_EQ(g.Lives, 1);
    EXPECT_FALSE(t.form.gaugeBar.Visible());
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("stop2.wav"));
}

// The window sleeps but for the times the game asks to be woken at: a run's seconds and the truck's
// steps, strictly more than 200 ms apart; nothing at all on an idle board or while a run is held.
TEST_F(Flow, TheGameAsksToBeWokenOnlyWhenSomethingIsDue) {
    std::vector<std::optional<int>> wakes;
    const auto then = [&](auto event) {
        event();
        AdvanceTime(g);
        wakes.push_back(t.form.wake);
        t.clock.now += 50;
    };
    then([] {});
    g.Stage = 2;
    then([this] { NewGameClick(g); });
    then([this] { StartStopClick(g); });  // the truck's first step comes at once
    then([] {});
    then([this] { KeyDown(g, 'P'); });
    then([this] { KeyDown(g, 'P'); });  // the truck takes up its pace afresh
    then([this] { StartStopClick(g); });
    g.Stage = 1;
    then([this] { NewGameClick(g); });
    then([this] { StartStopClick(g); });
    then([this] { KeyDown(g, 'P'); });
    then([this] { KeyDown(g, 'P'); });  // the second goes on from where the pause held it
    EXPECT_THAT(wakes, ElementsAre(std::nullopt, std::nullopt, 201, 151, std::nullopt, 201, std::nullopt,
                                   std::nullopt, 1000, std::nullopt, 950));
}

// However long a hold, a timer keeps the rest of its period; released, it falls due once that rest has
// passed, then a period apart, or a period from the wake of a game woken late. Disabling ends a hold
// and enabling starts a fresh period; only an enabled timer is held.
TEST(GameTimer, AHoldKeepsTheRestOfThePeriodAndALateWakeGetsOneTick) {
    testing::ManualClock clock;
    clock.now = 0;
    Timer timer(clock, false);
    timer.SetPeriod(500);
    EXPECT_EQ(timer.Due(), std::nullopt);
    timer.SetEnabled(true);
    clock.now = 300;
    timer.SetHeld(true);
    EXPECT_EQ(timer.Due(), std::nullopt);
    clock.now = 60000;
    timer.SetHeld(false);
    EXPECT_EQ(timer.Due(), 60200u);
    clock.now = 60200;
    timer.Restart();
    EXPECT_EQ(timer.Due(), 60700u);
    clock.now = 70000;
    timer.Restart();
    EXPECT_EQ(timer.Due(), 70500u);
    timer.SetHeld(true);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Held());
    clock.now = 70100;
    timer.SetEnabled(true);
    EXPECT_EQ(timer.Due(), 70600u);
    timer.SetEnabled(false);
    timer.SetHeld(true);
    EXPECT_FALSE(timer.Held());
}

TEST_F(Flow, ExitDuringARunStopsTheMusicAndClosesTheWindow) {
    Click(ExitClick);
    t.ClickStartStop();
    EXPECT_EQ(t.form.unloads, 1);
    EXPECT_FALSE(g.Playing);
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen, kPlay, kStop, kClose));
    EXPECT_THAT(t.sound.waves, IsEmpty());
}

TEST_F(Flow, ClosingTheWindowPutsThePointerBackAndClosesTheMusic) {
    g.SavedCursor = 7;
    t.form.Queue([this] { FormQueryUnload(g); });
    t.ClickStartStop();
    EXPECT_FALSE(g.Playing);
    EXPECT_THAT(t.system.cursorCalls, ElementsAre(7u));
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen, kPlay, kStop, kClose));
    FormQueryUnload(g);  // a second close is harmless
}

TEST_F(Flow, NewGameDuringARunOnlyMovesTheFocus) {
    const auto cells = g.Cells;
    const auto drawn = t.form.boardView.log.size();
    everyPass = [this] {
        if (passes == 1) {
            const int focus = t.form.boardView.focusCount;
            NewGameClick(g);
            EXPECT_EQ(t.form.boardView.focusCount, focus + 1);
            g.Playing = false;
        }
    };
    t.ClickStartStop();
    EXPECT_EQ(g.Cells, cells);
    EXPECT_EQ(t.form.boardView.log.size(), drawn);
}

TEST_F(Flow, NewGameHidesTheFrameButNotTheBar) {
    Click(StartStopClick);
    t.ClickStartStop();
    NewGameClick(g);
    EXPECT_FALSE(t.form.gaugeFrame.Visible());
    EXPECT_TRUE(t.form.gaugeBar.Visible());
    EXPECT_EQ(t.form.gaugeBar.Width(), 310);
}

TEST_F(Flow, NewGameOutlinesNothingOfTheRoadTheAssistOutlinedInTheLastRun) {
    g.AssistLit[5] = true;  // as a run with the road assist leaves it
    t.form.boardView.log.clear();
    NewGameClick(g);
    for (const std::string& call : t.form.boardView.log) EXPECT_NE(call.rfind("Box ", 0), 0u) << call;
}

TEST_F(Flow, NewGameStopsTheGameOverLetteringBeforeTheFreshBoard) {
    g.Lives = 0;
    Click(StartStopClick);
    t.ClickStartStop();  // a stop with no retry left: Game Over
    ASSERT_TRUE(g.GameOverTimer.Enabled());
    GameOverTick(g);  // the first, smallest drawing
    NewGameClick(g);
    EXPECT_FALSE(g.GameOverTimer.Enabled());
    EXPECT_EQ(g.GameOverDrawings, 0) << "none lies on the fresh board; the next Game Over starts small again";
    // Three more seconds: the window delivers the timer's ticks only while it is enabled.
    t.form.boardView.log.clear();
    for (int tick = 0; tick < 6; ++tick) {
        if (g.GameOverTimer.Enabled()) GameOverTick(g);
    }
    EXPECT_THAT(t.form.boardView.log, IsEmpty());
}

TEST(StepTimer, AStepIsDueOnlyOnceMoreThanTheIntervalHasPassed) {
    TestGame t;
    Game& g = t.game;
    g.StepInterval = 200;
    g.LastStepTime = 5000;
    t.clock.now = 5200;
    UpdateStepDue(g);
    EXPECT_FALSE(g.StepDue);
    t.clock.now = 5201;
    UpdateStepDue(g);
    EXPECT_TRUE(g.StepDue);
    EXPECT_EQ(g.LastStepTime, 5201u);
    // Across the 32-bit wrap of the tick count.
    g.LastStepTime = 0xFFFFFF00u;
    t.clock.now = 0x00000008u;  // 264 ms later
    UpdateStepDue(g);
    EXPECT_TRUE(g.StepDue);
    g.LastStepTime = 0xFFFFFFF0u;
    t.clock.now = 0x00000010u;  // 32 ms later
    UpdateStepDue(g);
    EXPECT_FALSE(g.StepDue);
}

TEST_F(Flow, TruckStepsComeJustOverTwoHundredMillisecondsApart) {
    g.Stage = 2;
    // A straight road of kind 6 along the bottom row keeps the truck going left.
    g.StartExit = ExitLeft;
    PlaceTruckAtStart(g);
    for (int i = 13; i <= 15; ++i) g.Cells[i] = TileKind::Horizontal;
    std::vector<std::uint32_t> stepTimes;
    everyPass = [this, &stepTimes] {
        if (stepTimes.empty() || stepTimes.back() != g.LastStepTime) stepTimes.push_back(g.LastStepTime);
        if (stepTimes.size() == 21) g.Playing = false;
    };
    const int left = g.TruckRect.left;
    t.ClickStartStop();
    ASSERT_EQ(stepTimes.size(), 21u);
    for (std::size_t i = 2; i < stepTimes.size(); ++i) EXPECT_EQ(stepTimes[i] - stepTimes[i - 1], 201u);
    EXPECT_EQ(g.TruckRect.left, left - 20);
}

// Stage 2, its road into the goal waiting for one slide (PastTitle::SetUpTruckRun).
using TruckRun = Flow;

TEST_F(TruckRun, LayingTheRoadAheadInTimeWinsTheStageWithTheWholeTruckInTheGoal) {
    SetUpTruckRun(50);  // the slide comes while the truck is still in the bottom row
    t.ClickStartStop();
    EXPECT_EQ(g.Stage, 3);
    EXPECT_EQ(g.BoardSize, 5);
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("goal.wav"));
    EXPECT_EQ(g.TruckCells[0], 1);
    EXPECT_EQ(g.TruckCells[1], 1);
    EXPECT_EQ(g.Heading, Direction::Left);
    EXPECT_LE(g.TruckRect.right, g.CellRects[1].right);  // the whole length is in the goal cell...
    EXPECT_GE(g.TruckRect.right, g.CellRects[1].right - 2);  // ...and not a step more
    // The truck crossed the board one pixel a pass: 16 -> 14 -> 2 -> 1 is several hundred steps.
    EXPECT_GT(passes, 400);
}

TEST_F(TruckRun, WithoutTheRoadAheadTheTruckCrashesIntoTheGap) {
    SetUpTruckRun(0);
    t.ClickStartStop();
    EXPECT_EQ(g.Stage, 2);
    EXPECT_EQ(g.Lives, 1);
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("stop1.wav"));
    EXPECT_EQ(g.TruckCells[0], 14);  // it never left the corner cell below the gap
}

TEST(GameOver, TheLetteringGrowsFromTheMiddleAndStopsNearTheInnerWidth) {
    TestGame t(542, 542);
    Game& g = t.game;
    g.GameOverTimer.SetEnabled(true);
    for (int tick = 0; tick < 6; ++tick) GameOverTick(g);
    EXPECT_THAT(t.form.boardView.log,
                ElementsAre("Picture 111 241 261 60 20 mergepaint", "Picture 110 241 261 60 20 and",
                            "Picture 111 191 236 160 70 mergepaint", "Picture 110 191 236 160 70 and",
                            "Picture 111 141 211 260 120 mergepaint", "Picture 110 141 211 260 120 and",
                            "Picture 111 91 186 360 170 mergepaint", "Picture 110 91 186 360 170 and",
                            "Picture 111 41 161 460 220 mergepaint", "Picture 110 41 161 460 220 and"));
    EXPECT_FALSE(g.GameOverTimer.Enabled());
    EXPECT_EQ(g.GameOverDrawings, 5);  // for the board to be drawn again as it is

    NewGameClick(g);
    t.form.boardView.log.clear();
    g.GameOverTimer.SetEnabled(true);
    GameOverTick(g);  // a second Game Over, on the next board, starts again small
    EXPECT_EQ(t.form.boardView.log.front(), "Picture 111 241 261 60 20 mergepaint");
}

TEST(GameOver, ANarrowWindowDrawsNothing) {
    for (int width : {110, 109}) {
        TestGame t(width, 400);
        t.game.GameOverTimer.SetEnabled(true);
        GameOverTick(t.game);
        EXPECT_THAT(t.form.boardView.log, IsEmpty());
        EXPECT_FALSE(t.game.GameOverTimer.Enabled());
    }
    TestGame t(111, 400);  // 61 > 60: one drawing
    GameOverTick(t.game);
    EXPECT_EQ(t.form.boardView.log.size(), 2u);
}

TEST(StartUp, ASecondCopyShowsTheMessageAndEnds) {
    TestGame t;
    t.system.anotherCopyRuns = true;
    EXPECT_THROW(FormLoad(t.game), testing::ProgramEnded);
    EXPECT_THAT(t.system.messages, ElementsAre("このアプリケーションはすでに開かれています。"));
    EXPECT_EQ(t.system.exitStatus, 0) << "a refusal is no failure";
    EXPECT_EQ(t.form.outerWidth, 0);
}

TEST(StartUp, AMissingPictureEndsTheProgramWithItsMessage) {
    for (int id : {109, 101, 104, 105, 108, 110, 111}) {
        TestGame t;
        t.system.failingPictureId = id;
        EXPECT_THROW(LoadPictures(t.game), testing::ProgramEnded) << id;
        EXPECT_THAT(t.system.messages, ElementsAre("画像データ読み込みエラー"));
        EXPECT_EQ(t.system.exitStatus, 1);
    }
}

TEST(Media, TheSoundFolderHasExactlyOneSeparator) {
    TestGame t;
    t.system.path = "/";
    LoadSoundsAndCursors(t.game);
    EXPECT_THAT(t.sound.commands, ElementsAre("open \"/sound/Shellshk.mid\" type sequencer alias gBGMfile"));
    EXPECT_EQ(t.game.GameOverSoundPath, "/sound/GameOvaer.wav");
}

TEST(Media, EachSoundPlaysItsOwnFile) {
    TestGame t;
    Game& g = t.game;
    LoadSoundsAndCursors(g);
    for (SoundId sound : {SoundId::Music, SoundId::GameOver, SoundId::Stop1, SoundId::Stop2, SoundId::Goal})
        PlaySound(g, sound);
    EXPECT_THAT(t.sound.commands, ElementsAre(kOpen, kPlay));
    EXPECT_THAT(WavesPlayed(t.sound), ElementsAre("GameOvaer.wav", "stop1.wav", "stop2.wav", "goal.wav"));
    g.BoardReady = true;
    StopMusic(g);
    EXPECT_FALSE(g.BoardReady);
}

}  // namespace
}  // namespace kanuvo
