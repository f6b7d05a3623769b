// SPDX-License-Identifier: MIT
// The game's shared state: the board, the run and the screen, each variable under the game's own name,
// and the two rules that move a game on at the end of a run (a stage cleared, a life spent).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "game/random.h"
#include "game/tiles.h"
#include "platform/surface.h"
#include "platform/system.h"
#include "platform/text.h"

namespace kanuvo {

// A rectangle in pixels of the board surface. A point lies in it when left <= x < right and
// top <= y < bottom.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

constexpr int kMaxCells = 49;  // a 7 x 7 board

// A game starts at stage 1 on a 4 x 4 board with two retries; a cleared stage gives both retries back.
inline constexpr int kFirstStage = 1;
inline constexpr int kFirstBoardSize = 4;
inline constexpr int kLivesPerStage = 2;
inline constexpr int kStepIntervalMs = 200;  // between truck steps

// How the last run ended, or None while a run goes on, as the board tells the player until it is next redrawn.
enum class RunEnd { None, Cleared, Stopped, Crashed, TimedOut, GameOver };

// The board as dealt and laid out: its tiles, its ground and where everything on it lies.
struct BoardState {
    int BoardSize = kFirstBoardSize;  // N, cells per side, 4..7

    // Cells[1..N*N] hold tile kinds; entry 0 is unused so cells keep the game's numbers.
    std::array<TileKind, kMaxCells + 1> Cells{};
    Direction StartExit = Direction::None;  // the heading out of the start: ExitLeft or ExitUp

    // The board's ground, one of the board colours, drawn for every board dealt.
    Color BoardBackColor = kWindowFace;

    // Geometry.
    int CellSize = 0;
    std::array<Rect, kMaxCells + 1> CellRects{};
    int TruckLength = 0;   // along the truck's travel
    int TruckBreadth = 0;  // across it
    int GaugeWidth = 0;
    int GaugeHeight = 0;

    // The last slide.
    int SlideTarget = 0;
    int SlideSource = 0;
    TileKind SlideKind = TileKind::Empty;
};

// Where the player stands in a game, and the run in progress or the last one.
struct RunState {
    int Stage = kFirstStage;     // 1..9; 9 follows a cleared stage 8
    int Lives = kLivesPerStage;  // retries left, 0..2
    bool Playing = false;        // a run is in progress
    bool BoardReady = true;      // a freshly dealt board may be started

    // The truck's step timer.
    int StepInterval = kStepIntervalMs;  // milliseconds between truck steps
    std::uint32_t LastStepTime = 0;      // tick count of the last truck step
    bool StepDue = false;                // a truck step is due in this pass

    // Time limit.
    int TimeCount = 0;

    // The run is held by the player: the clock, the trace and the truck wait until it is resumed.
    bool Paused = false;
    // The rest of this truck run goes at kFastForwardPace, and takes no slide.
    bool FastForward = false;

    // Route trace and truck.
    bool RouteActive = false;
    int RouteCell = 0;
    Direction Heading = Direction::None;
    Rect TruckRect;
    std::array<int, 2> TruckCells{};

    // Whether this run has had the road assist's help: it keeps no best time.
    bool RunAssisted = false;

    // What the board shows after a run: how it ended, the stage and board size it played, and the
    // cells the truck covered in it, in order (the road that won, when it won).
    RunEnd LastRunEnd = RunEnd::None;
    int RunStage = 0;
    int RunBoardSize = 0;
    std::array<int, kMaxCells> TruckPath{};
    int TruckPathLength = 0;
    // A clear's best time as its banner tells it: this run set a new record, or the best stands.
    bool NewRecord = false;
    int BestTime = 0;  // seconds
};

// What the window shows besides the board's tiles, and the player's choices it shows.
struct ScreenState {
    // Title screen and pointer shapes.
    int TitleTicks = 0;
    CursorHandle SavedCursor = 0;
    CursorHandle HandCursor = 0;
    CursorHandle NoDropCursor = 0;
    // Which control the pointer shape was last set for, so it is set once on arrival.
    bool ExitCursorSet = false;
    bool NewGameCursorSet = false;
    bool StartStopCursorSet = false;
    bool BoardCursorSet = false;

    // The help page lies over the window and holds the game until it goes. A platform may give it
    // a size of its own, in pixels (a phone's screen, upright or lying); 0 gives it the window's.
    bool HelpShown = false;
    int HelpPageWidth = 0;
    int HelpPageHeight = 0;

    // Played with a finger: the words speak of taps, and the platform's own controls stand for the
    // keys (the help page's among them, in place of the F1 hint).
    bool TouchScreen = false;

    // The board's free corner: a short note that fades.
    std::optional<Text> CornerNote;
    int NoteTicks = 0;  // ticks of the note timer since the note came

    // The corner offers F: the run would go fast.
    bool FastForwardOffered = false;

    // The road assist: on or off, and the cells it outlines now.
    bool RoadAssist = false;
    std::array<bool, kMaxCells + 1> AssistLit{};

    // The Game Over lettering: how many drawings of it lie on the board, each one growth larger than
    // the last, and whether the hint under them has come, which ends it.
    int GameOverDrawings = 0;
    bool GameOverHint = false;
};

// The game's shared state, by concern; each field keeps the game's own name.
struct GameState : BoardState, RunState, ScreenState {
    // All sound off (the corner shows a crossed speaker): nothing reaches the sound, and the music the
    // game has on waits for the sound to come back. Music opened while muted is opened only then; the
    // music was heard if the sound had its play.
    bool SoundOff = false;
    std::string MusicHeldOpen;
    bool MusicOn = false;
    bool MusicHeard = false;

    // Sound files.
    std::string GameOverSoundPath;
    std::string Stop1SoundPath;
    std::string Stop2SoundPath;
    std::string GoalSoundPath;

    // The program's one random generator, shared by the deal and the board's background colour.
    Random random;
};

// Odd stages 1, 3, 5 and 7 judge the road by a route trace; the even stages and the stage 9 that
// follows a cleared stage 8 drive a truck. The sound of a miss and the key handler go by this.
constexpr bool IsRouteStage(int stage) { return stage == 1 || stage == 3 || stage == 5 || stage == 7; }
// The two branches of a run's pass. They overlap by design in stages 8 and 9, which take both: there the
// route branch never does work, since a trace is begun only in a route stage, so they play as truck
// stages.
constexpr bool TakesRouteBranch(int stage) { return stage == 1 || stage == 3 || stage == 5 || stage >= 7; }
constexpr bool TakesTruckBranch(int stage) { return stage == 2 || stage == 4 || stage == 6 || stage >= 8; }

// The stage and board size of the board on screen: after a run has ended, the run's, until the next
// deal, though a clear or a Game Over has already moved the stage and board size on.
constexpr int StageOnScreen(const RunState& s) { return s.LastRunEnd == RunEnd::None ? s.Stage : s.RunStage; }
constexpr int BoardSizeOnScreen(const GameState& s) {
    return s.LastRunEnd == RunEnd::None ? s.BoardSize : s.RunBoardSize;
}

// Moves to the next stage after a clear: 8 -> 9 -> 1, the board size following the stage.
void AdvanceStage(GameState& s);
// Spends a life after a miss; with none left, starts the game again from stage 1.
void SpendLife(GameState& s);

}  // namespace kanuvo
