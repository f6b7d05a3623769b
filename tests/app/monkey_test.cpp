// SPDX-License-Identifier: MIT
// The whole game in its real window (offscreen) on a manual clock, driven by a long seeded stream of
// random player and system events; after every event the board and the game state must still make sense.
// KANUVO_MONKEY_SEED and KANUVO_MONKEY_EVENTS choose the stream (by default seed 1, 100,000 events).
// And a storm of window sizes with F11 between during a run, after which the window must show what the
// game's state draws; KANUVO_MONKEY_SEED and KANUVO_STORM_SIZES choose it (by default 500 sizes).
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>

#include "app/kanuvo_app.h"
#include "doubles.h"
#include "game/board.h"
#include "game/corner.h"
#include "game/flow.h"
#include "game/play.h"
#include "game/repaint.h"

namespace kanuvo {
namespace {

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

int DesignedBoardSize(int stage) { return stage >= 7 ? 7 : (stage + 1) / 2 + 3; }

class Monkey {
public:
    Monkey(unsigned seed, long events) : random_(seed), events_(events) {
        system_.SetLockPath(lockDir_.filePath("kanuvo.lock"));
        system_.SetScreenOverride(768);
        system_.SetMessageHook([](std::string_view text) {
            std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
        });
        // Nothing a player does may end the program by itself: if it does, the test fails loudly.
        system_.AddShutdownHook([] {
            std::fputs("the game ended the program\n", stderr);
            std::_Exit(2);
        });
        FreshStart();
    }

    // Runs the whole stream; false at the first broken rule, described by Failure().
    bool Run() {
        while (done_ < events_ && failure_.empty()) {
            if (app_->form.Closed()) FreshStart();
            Event();
        }
        return failure_.empty();
    }

    const std::string& Failure() const { return failure_; }
    long Done() const { return done_; }
    int Runs() const { return runs_; }
    int GameOvers() const { return gameOvers_; }
    int Clears() const { return clears_; }
    int HighestStage() const { return highestStage_; }

private:
    using Kind = std::remove_cvref_t<decltype(std::declval<GameState&>().Cells[1])>;

    Game& G() { return app_->game; }

    void FreshStart() {
        app_.reset();
        app_ = std::make_unique<KanuvoApp>(clock_, system_, sound_);
        app_->Start();
        dealt_ = false;
    }

    int Draw(int k) { return static_cast<int>(random_() % static_cast<unsigned>(k)); }

    // One event from the stream, then the rules.
    void Event() {
        ++done_;
        Game& g = G();
        const bool titleShowing = app_->game.TitleTimer.Enabled();
        const bool wasPlaying = g.Playing;
        const int stage = g.Stage;
        const bool gameOverShowing = app_->game.GameOverTimer.Enabled();
        const int choice = Draw(1000);
        std::string what;
        if (careful_ && wasPlaying && (choice < 400 || (choice >= 450 && choice < 500))) {
            // A player who laid the road neither slides tiles off it nor stops: any key has the road
            // judged, and the truck is given time to drive it.
            what = "a player waiting for the clear";
            Key(Qt::Key_Space, Qt::NoModifier);
            clock_.Advance(201);
        } else if (choice < 400) {
            static const std::pair<Qt::Key, bool> slides[] = {
                {Qt::Key_Up, false}, {Qt::Key_Down, false}, {Qt::Key_Left, false}, {Qt::Key_Right, false},
                {Qt::Key_8, true},   {Qt::Key_2, true},     {Qt::Key_4, true},     {Qt::Key_6, true}};
            const auto& [key, keypad] = slides[Draw(8)];
            what = "slide key " + std::to_string(key);
            Key(key, keypad ? Qt::KeypadModifier : Qt::NoModifier);
        } else if (choice < 450) {
            static const Qt::Key others[] = {Qt::Key_A, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape,
                                             Qt::Key_5, Qt::Key_F1,    Qt::Key_Tab,    Qt::Key_Home};
            const Qt::Key key = others[Draw(8)];
            what = "other key " + std::to_string(key);
            // Enter presses Start where a click would: the run's events must come then too.
            if (key == Qt::Key_Return && !wasPlaying && g.BoardReady && !g.HelpShown &&
                !app_->game.TitleTimer.Enabled()) {
                ++runs_;
            }
            Key(key, Draw(4) == 0 ? Qt::KeypadModifier : Qt::NoModifier);
        } else if (choice < 500) {
            what = "Start/Stop";
            if (!wasPlaying && g.BoardReady && app_->form.StartStopButton().Visible()) ++runs_;
            Click(app_->form.StartStopButton());
        } else if (choice < 550) {
            what = "New Game";
            Click(app_->form.NewGameButton());
            if (!wasPlaying && app_->form.NewGameButton().Visible()) Deal();
        } else if (choice < 555) {
            what = "Exit";
            Click(app_->form.ExitButton());
        } else if (choice < 560) {
            what = "close request";
            app_->form.close();
        } else if (choice < 600) {
            what = "click on the board or title";
            const QPoint at(Draw(std::max(1, app_->form.width())), Draw(std::max(1, app_->form.height())));
            QWidget* board = app_->form.BoardView().Widget();
            QTest::mouseClick(board != nullptr && board->isVisible() ? board : &app_->form, Qt::LeftButton, {}, at);
        } else if (choice < 630) {
            what = "title tick";
            Tick(g.TitleTimer, TitleTick);
        } else if (choice < 660) {
            what = "time-limit tick";
            Tick(g.TimeLimitTimer, TimeLimitTick);
        } else if (choice < 690) {
            what = "Game Over tick";
            Tick(g.GameOverTimer, GameOverTick);
        } else if (choice < 720) {
            // What the window's wake does when it rings: the time now, whatever the game asked for.
            what = "wake";
            AdvanceTime(g);
        } else if (choice < 740) {
            // Random slides seldom build a road: a player who knows the way lays one, so that later
            // stages, and the truck's whole drive, come into the stream too.
            what = "a road laid on a fresh board";
            if (dealt_ && !wasPlaying && g.BoardReady) LayRoad();
        } else {
            // The clock: mostly the truck's pace, sometimes a long pause, now and then just before the wrap.
            const int jump = Draw(20);
            if (jump == 0) {
                clock_.now = 0xFFFFFFFFu - static_cast<std::uint32_t>(Draw(400));
                what = "clock to the wrap";
            } else if (jump == 1) {
                clock_.Advance(static_cast<std::uint32_t>(Draw(100000)));
                what = "clock jump";
            } else {
                clock_.Advance(static_cast<std::uint32_t>(Draw(400)));
                what = "clock step";
            }
        }
        if (app_->form.Closed()) return;  // a fresh start comes next
        if (titleShowing && !app_->game.TitleTimer.Enabled()) Deal();  // the title ended: the board is drawn
        const bool gameOver = !gameOverShowing && app_->game.GameOverTimer.Enabled();
        gameOvers_ += gameOver;
        clears_ += !gameOver && G().Stage != stage;
        highestStage_ = std::max(highestStage_, G().Stage);
        Check(what);
        // Keep the recording sound's log short over a long stream.
        if (sound_.commands.size() > 1000) sound_.commands.clear(), sound_.waves.clear();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* board = app_->form.BoardView().Widget();
        QTest::keyClick(board != nullptr && board->isVisible() ? board : &app_->form, key, modifiers);
    }

    void Click(QtButton& button) {
        if (button.Visible()) QTest::mouseClick(&button.Widget(), Qt::LeftButton);
    }

    // A tick of an enabled timer, due or not, as a window that woke the game late might bring it.
    void Tick(const Timer& timer, void (*tick)(Game&)) {
        if (!timer.Enabled()) return;
        tick(G());
        AdvanceTime(G());
    }

    // Along the bottom row from the start, then up the left column into the goal. The board's empty
    // cell, one row up and one column in from the start, is off that road.
    void LayRoad() {
        Game& g = G();
        const int n = dealtSize_;
        g.StartExit = ExitLeft;
        for (int i = n * n - 1; i > n * n - n + 1; --i) g.Cells[i] = TileKind::Horizontal;
        g.Cells[n * n - n + 1] = TileKind::RightTop;
        for (int i = n * n - 2 * n + 1; i > 1; i -= n) g.Cells[i] = TileKind::Vertical;
        Deal();
        careful_ = true;
    }

    // A board has just been dealt and drawn: what it holds is what every slide must keep.
    void Deal() {
        Game& g = G();
        dealt_ = true;
        careful_ = false;
        dealtSize_ = g.BoardSize;
        dealtKinds_.clear();
        for (int i = 1; i <= dealtSize_ * dealtSize_; ++i) ++dealtKinds_[g.Cells[i]];
    }

    void Check(const std::string& what) {
        Game& g = G();
        std::ostringstream broken;
        if (g.Stage < 1 || g.Stage > 9) broken << "stage " << g.Stage << "; ";
        else if (g.BoardSize != DesignedBoardSize(g.Stage)) broken << "board size " << g.BoardSize << " in stage " << g.Stage << "; ";
        if (g.Lives < 0 || g.Lives > 2) broken << "lives " << g.Lives << "; ";
        const Rect& t = g.TruckRect;
        const Surface& window = app_->form.Canvas();
        if (t.left < 0 || t.top < 0 || t.right > window.PixelWidth() || t.bottom > window.PixelHeight() || t.left > t.right ||
            t.top > t.bottom)
            broken << "truck at " << t.left << "," << t.top << "-" << t.right << "," << t.bottom << "; ";
        if (dealt_) {
            const int n = dealtSize_;
            int empty = 0;
            for (int i = 2; i <= n * n - 1; ++i) empty += g.Cells[i] == TileKind::Empty;
            if (empty != 1) broken << empty << " empty cells; ";
            if (g.Cells[GoalCell] != TileKind::Empty || g.Cells[StartCell(n)] != TileKind::Empty) broken << "goal or start holds a tile; ";
            std::map<Kind, int> kinds;
            for (int i = 1; i <= n * n; ++i) ++kinds[g.Cells[i]];
            if (kinds != dealtKinds_) broken << "the tiles changed since the deal; ";
        }
        if (!broken.str().empty() && failure_.empty())
            failure_ = "after event " + std::to_string(done_) + " (" + what + "): " + broken.str();
    }

    QTemporaryDir lockDir_;
    testing::ManualClock clock_;
    QtSystem system_;
    testing::RecordingSound sound_;
    std::unique_ptr<KanuvoApp> app_;
    std::mt19937 random_;
    long events_;
    long done_ = 0;
    std::string failure_;
    bool dealt_ = false;
    bool careful_ = false;  // the road was laid: no random slides until the next deal
    int dealtSize_ = 0;
    std::map<Kind, int> dealtKinds_;
    int runs_ = 0, gameOvers_ = 0, clears_ = 0;
    int highestStage_ = 1;
};

TEST(Monkey, ASeededStreamOfRandomEventsBreaksNoRuleOfTheGame) {
    const auto seed = static_cast<unsigned>(EnvNumber("KANUVO_MONKEY_SEED", 1));
    const long events = EnvNumber("KANUVO_MONKEY_EVENTS", 100000);
    Monkey monkey(seed, events);
    EXPECT_TRUE(monkey.Run()) << "seed " << seed << ": " << monkey.Failure();
    EXPECT_EQ(monkey.Done(), events);
    std::printf("seed %u: %ld events, %d runs, %d stage clears up to stage %d, %d Game Overs\n", seed, monkey.Done(),
                monkey.Runs(), monkey.Clears(), monkey.HighestStage(), monkey.GameOvers());
    EXPECT_GT(monkey.Runs(), events / 100) << "the stream plays the game, not just the title";
}

// How many pixels of two images differ by more than a shade: Qt may letter a line a shade apart when
// it draws it again.
int Differing(const QImage& a, const QImage& b) {
    if (a == b) return 0;
    if (a.size() != b.size()) return a.width() * a.height();
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) > 16 || std::abs(qGreen(p) - qGreen(q)) > 16 ||
                         std::abs(qBlue(p) - qBlue(q)) > 16;
        }
    }
    return differing;
}

// Once in a dozen storms of 500 random sizes the board was left with only the truck's cells drawn.
TEST(Storm, RandomSizesAndFullScreenDuringARunLeaveTheWindowShowingWhatTheGameDraws) {
    const auto seed = static_cast<unsigned>(EnvNumber("KANUVO_MONKEY_SEED", 1));
    const long sizes = EnvNumber("KANUVO_STORM_SIZES", 500);
    QTemporaryDir scratch;
    testing::ManualClock clock;
    QtSystem system;
    system.SetLockPath(scratch.filePath("kanuvo.lock"));
    system.SetBestTimesPath(scratch.filePath("best_times.json"));
    system.SetScreenOverride(768);
    testing::RecordingSound sound;
    KanuvoApp app(clock, system, sound);
    app.Start();
    Game& g = app.game;
    testing::StartAssistedTruckRun(g);
    std::mt19937 random(seed);
    const QSize screen = app.form.screen()->geometry().size();
    // Where no compositor keeps the window within the screen, it grows to twice the screen's size.
    const QSize largest = QGuiApplication::platformName() == "offscreen" ? 2 * screen : screen;
    bool turned = false;
    for (long event = 0; event < sizes; ++event) {
        // A window filling the screen is not resized by the player: F11 gives it back first.
        if (app.form.isFullScreen() || random() % 8 == 0) {
            const bool full = app.form.isFullScreen();
            QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_F11);
            // A compositor answers in its own time; the window is the player's again once it has.
            const auto answered = [&] { return app.form.isFullScreen() != full && (app.form.size() == screen) != full; };
            (void)QTest::qWaitFor(answered, 5000);
        } else {
            // As a player drags its edges, from the smallest size.
            app.form.resize(200 + static_cast<int>(random() % static_cast<unsigned>(largest.width() - 199)),
                            200 + static_cast<int>(random() % static_cast<unsigned>(largest.height() - 199)));
        }
        QCoreApplication::processEvents();
        // The window shows all the state says, but for a truck turned by the last pass: it is drawn
        // turned at the next step.
        if (!turned) {
            const QImage shown = app.form.BoardView().Image();
            RepaintScreen(g);
            ASSERT_EQ(Differing(app.form.BoardView().Image(), shown), 0)
                << "seed " << seed << ", after size " << event + 1 << ": " << app.form.width() << "x" << app.form.height();
        }
        // The truck's next step comes due.
        const Direction heading = g.Heading;
        clock.Advance(kStepIntervalMs + 1);
        AdvanceTime(g);
        turned = g.Heading != heading;
    }
}

}  // namespace
}  // namespace kanuvo
