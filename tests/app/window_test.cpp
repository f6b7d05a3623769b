// SPDX-License-Identifier: MIT
// The game in its real window, offscreen: the title, the first board on real pixels, and whole runs
// driven by real clicks and key presses.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <csignal>
#include <QFileInfo>
#include <QThread>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/kanuvo_app.h"
#include "doubles.h"
#include "game/assist.h"
#include "game/board.h"
#include "game/corner.h"
#include "game/fast_forward.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/pictures.h"
#include "game/play.h"
#include "game/run_end.h"
#include "game/sprite.h"
#include "game/truck.h"

namespace kanuvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

QRgb Rgb32(Color c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

// How many pixels of image from (left, top) to short of (right, bottom) are like(pixel), alpha aside.
int Count(const QImage& image, int left, int top, int right, int bottom, const std::function<bool(QRgb)>& like) {
    int n = 0;
    for (int y = top; y < std::min(bottom, image.height()); ++y)
        for (int x = left; x < right; ++x) n += like(image.pixel(x, y) | 0xFF000000u);
    return n;
}
int Count(const QImage& image, const Rect& r, const std::function<bool(QRgb)>& like) {
    return Count(image, r.left, r.top, r.right, r.bottom, like);
}
std::function<bool(QRgb)> Is(QRgb colour) {
    return [colour](QRgb p) { return p == colour; };
}

// The real program on the offscreen platform, with its lock and best times in a scratch folder; a
// second one beside a test's deals the same boards, with its own lock, clock and sound device.
struct RealGame {
    explicit RealGame(const AppOptions& options = {}) : app(clock, system, sound, options) {
        system.SetLockPath(lockDir.filePath("kanuvo.lock"));
        system.SetBestTimesPath(lockDir.filePath("best_times.json"));
        system.SetScreenOverride(768);
        system.SetMessageHook([this](std::string_view text) { messages.emplace_back(text); });
        app.Start();
    }
    QImage Board() { return app.form.BoardView().Image(); }
    QRgb At(int x, int y) { return Board().pixel(x, y) | 0xFF000000u; }
    QRgb Background() { return Rgb32(app.form.BoardView().ClearColor()) | 0xFF000000u; }
    QWidget* Button(QtButton& b) { return &b.Widget(); }
    void EndTitle() { QTest::mouseClick(&app.form, Qt::LeftButton, {}, QPoint(300, 300)); }
    // Runs `action` once the next click on Start has been taken: during the run it starts. An action
    // may ask for more, which follow it.
    void Soon(std::function<void()> action) { soon.push_back(std::move(action)); }
    void ClickStart() {
        QTest::mouseClick(Button(app.form.StartStopButton()), Qt::LeftButton);
        while (!soon.empty()) {
            const std::function<void()> action = std::move(soon.front());
            soon.erase(soon.begin());
            action();
        }
    }
    void ClickNewGame() { QTest::mouseClick(Button(app.form.NewGameButton()), Qt::LeftButton); }
    // Lays stage 1's winning road and wins a run with a key press.
    void WinStageOne() {
        testing::LayLeftThenUpRoad(g);
        Soon([this] { QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_B); });
        ClickStart();
    }
    std::vector<std::string> Waves() const {
        std::vector<std::string> names;
        for (const auto& w : sound.waves) names.push_back(w.path.substr(w.path.rfind('/') + 1));
        return names;
    }

    QTemporaryDir lockDir;
    testing::ManualClock clock;
    QtSystem system;
    testing::RecordingSound sound;
    std::vector<std::string> messages;
    std::vector<std::function<void()>> soon;
    KanuvoApp app;
    Game& g = app.game;
};

struct Window : ::testing::Test, RealGame {};

TEST_F(Window, StartsOnTheTitleWithEverythingElseHidden) {
    EXPECT_EQ(app.form.windowTitle(), "Kanuvo");
    EXPECT_NE(app.form.minimumSize(), app.form.maximumSize()) << "the player may size it";
    EXPECT_TRUE(app.form.isVisible());
    const QImage& title = app.form.Canvas().Image();
    ASSERT_FALSE(title.isNull());
    // The title's red band across the top shows on the window.
    const QColor corner = title.pixelColor(3, 3);
    EXPECT_GT(corner.red(), 200);
    EXPECT_LT(corner.green(), 120);
    EXPECT_FALSE(app.form.BoardView().Visible());
    EXPECT_FALSE(app.form.ExitButton().Visible());
    EXPECT_FALSE(app.form.GaugeFrame().Visible());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Window, AClickShowsTheFirstBoardDrawnAsDesigned) {
    EndTitle();
    ASSERT_TRUE(app.form.BoardView().Visible());
    EXPECT_TRUE(app.form.ExitButton().Visible());
    EXPECT_TRUE(app.form.NewGameButton().Visible());
    EXPECT_TRUE(app.form.StartStopButton().Visible());
    EXPECT_TRUE(Button(app.form.StartStopButton())->isVisible());
    // Shown at last, the buttons carry their captions.
    EXPECT_EQ(app.form.ExitButton().Widget().text(), "終了");
    EXPECT_EQ(app.form.NewGameButton().Widget().text(), "新ゲーム");
    EXPECT_EQ(app.form.StartStopButton().Widget().text(), "スタート");
    const int s = g.CellSize;
    ASSERT_GT(s, 50);
    // Laid out for the inner area the window really got, frame and all.
    const int innerHeight = app.form.Canvas().PixelHeight();
    EXPECT_EQ(s, static_cast<int>(std::nearbyint(innerHeight / 6.0f)));
    EXPECT_EQ(app.form.BoardView().PixelHeight(), innerHeight);
    EXPECT_EQ(app.form.BoardCopy().PixelHeight(), innerHeight);
    // The hidden copy holds the same pixels as the board, but for the caption printed after the copy.
    const QImage copy = app.form.BoardCopy().Image();
    ASSERT_EQ(copy.size(), Board().size());
    const QRect belowCaption(0, s, copy.width(), copy.height() - s);
    int differing = 0;
    QRect where;
    for (int y = belowCaption.top(); y <= belowCaption.bottom(); ++y)
        for (int x = 0; x < copy.width(); ++x)
            if ((copy.pixel(x, y) | 0xFF000000u) != At(x, y)) ++differing, where |= QRect(x, y, 1, 1);
    EXPECT_EQ(differing, 0) << where.x() << "," << where.y() << " " << where.width() << "x" << where.height();
    // The empty cell shows the background, tiles show grey, the goal its face.
    const Rect& empty = g.CellRects[11];
    EXPECT_EQ(At(empty.left + 5, empty.top + 5), Background());
    const Rect& tile = g.CellRects[2];
    EXPECT_EQ(At(tile.left + 3, tile.top + 5), qRgb(200, 200, 200));
    EXPECT_EQ(At(tile.left, tile.top), Background()) << "a tile's corners are rounded";
    const Rect& goal = g.CellRects[1];
    EXPECT_EQ(At(goal.left + 3, goal.top + 5), qRgb(100, 50, 255));
    // The caption is printed in black at the top left.
    EXPECT_GT(Count(Board(), 10, 10, 10 + s, s, Is(qRgb(0, 0, 0))), 20);
    // The truck stands on the start cell: its cab colour shows there.
    EXPECT_GT(Count(Board(), g.TruckRect, [](QRgb p) { return qGreen(p) > 120 && qRed(p) < 140 && qBlue(p) < 90; }), 0);
}

TEST_F(Window, ARunOfStageOneIsWonByRealKeyPresses) {
    EndTitle();
    testing::LayLeftThenUpRoad(g);
    QWidget* board = app.form.BoardView().Widget();
    Soon([board] { QTest::keyClick(board, Qt::Key_B); });
    ClickStart();  // returns once the run has ended
    EXPECT_EQ(g.Stage, 2);
    EXPECT_EQ(g.Lives, 2);
    EXPECT_EQ(app.form.StartStopButton().Caption(), "スタート");
    EXPECT_EQ(app.form.StartStopButton().Widget().text(), "スタート");
    // The gauge showed for the run, as a frame and a bar that take no clicks.
    ASSERT_TRUE(app.form.GaugeFrame().Visible());
    EXPECT_FALSE(app.form.GaugeFrame().Widget().isEnabled());
    EXPECT_THAT(Waves(), ElementsAre("goal.wav"));
    const auto commands = sound.commands.size();
    ClickStart();  // nothing until New Game
    EXPECT_EQ(sound.commands.size(), commands);
    QTest::mouseClick(Button(app.form.NewGameButton()), Qt::LeftButton);
    EXPECT_TRUE(g.BoardReady);
}

TEST_F(Window, APunctuationKeyAJapaneseKeyAndShiftAloneEachJudgeTheRoadButMoveNoTile) {
    EndTitle();
    QWidget* board = app.form.BoardView().Widget();
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Comma, Qt::NoModifier}, {Qt::Key_Henkan, Qt::NoModifier}, {Qt::Key_Shift, Qt::ShiftModifier}};
    for (const auto& [key, modifiers] : keys) {
        g.Stage = 1;
        QTest::mouseClick(Button(app.form.NewGameButton()), Qt::LeftButton);
        testing::LayLeftThenUpRoad(g);
        const auto cells = g.Cells;
        Soon([this, board, key, modifiers] {
            QKeyEvent press(QEvent::KeyPress, key, modifiers);
            QApplication::sendEvent(board, &press);
            // A key that never reached the board leaves the run waiting: stop it.
            Soon([this] {
                if (g.Playing && !g.RouteActive) ClickStart();
            });
        });
        ClickStart();
        EXPECT_EQ(g.Stage, 2) << "key " << std::hex << key;
        EXPECT_EQ(g.Cells, cells) << "key " << std::hex << key;
    }
    EXPECT_THAT(Waves(), ElementsAre("goal.wav", "goal.wav", "goal.wav"));
}

TEST_F(Window, ArrowKeysSlideTilesAndRepaintThem) {
    EndTitle();
    QWidget* board = app.form.BoardView().Widget();
    const TileKind moving = g.Cells[15];
    Soon([this, board] {
        QTest::keyClick(board, Qt::Key_Up);  // the tile below the gap moves up into cell 11
        Soon([this] { QTest::mouseClick(Button(app.form.StartStopButton()), Qt::LeftButton); });  // Stop
    });
    g.Stage = 2;  // a truck stage: keys only slide
    ClickStart();
    EXPECT_EQ(g.Cells[11], moving);
    EXPECT_EQ(g.Cells[15], TileKind::Empty);
    // Read from the copy, which holds the board as the run left it, without the Stop banner over it.
    const QImage copy = app.form.BoardCopy().Image();
    const Rect& gone = g.CellRects[15];
    EXPECT_EQ(copy.pixel(gone.left + 5, gone.top + 5) | 0xFF000000u, Background());
    const Rect& filled = g.CellRects[11];
    EXPECT_EQ(copy.pixel(filled.left + 3, filled.top + 5) | 0xFF000000u, qRgb(200, 200, 200));
    EXPECT_EQ(g.Lives, 1);  // the Stop was a miss
    EXPECT_THAT(Waves(), ElementsAre("stop1.wav"));
}

TEST_F(Window, TheTruckLeavesNoTrailOnTheLinesBetweenCells) {
    EndTitle();
    testing::LayLeftThenUpRoad(g);
    g.Stage = 2;
    PlaceTruckAtStart(g);
    RedrawBoard(g);
    const QImage before = Board();
    // The truck drives 16, 15, 14, 13, up 9, 5 into the goal, one step and one steering pass at a time,
    // as the run's passes drive it; what the clear would letter over the board is left out.
    g.Playing = true;
    g.TruckCells = {16, 16};
    RunEnd end = RunEnd::None;
    for (int steps = 0; end == RunEnd::None && steps < 2000; ++steps) {
        StepTruck(g, app.form.BoardView());
        end = SteerTruck(g);
    }
    ASSERT_EQ(end, RunEnd::Cleared) << "the truck reached the goal";
    // The one-pixel lines it crossed (x = 200, 300, 400 and y = 199, 299, 399) are as they were.
    const QImage after = Board();
    const int left = g.CellRects[1].left, top = g.CellRects[1].top;
    for (int i = 1; i < 4; ++i) {
        const QRect column(g.CellRects[i].right, top, 1, g.CellRects[16].bottom - top);
        const QRect row(left, g.CellRects[(i - 1) * 4 + 1].bottom, g.CellRects[16].right - left, 1);
        EXPECT_TRUE(after.copy(column) == before.copy(column)) << "column line " << i;
        EXPECT_TRUE(after.copy(row) == before.copy(row)) << "row line " << i;
    }
}

// Gathers the areas a widget repaints.
struct RepaintLog : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) area += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion area;
};

TEST_F(Window, ATruckStepRepaintsOnlyItsCellOnTheWindowAndTheCopyKeepsTheWholeBoard) {
    EndTitle();
    g.Stage = 2;
    NewGameClick(g);
    QCoreApplication::processEvents();
    RepaintLog log;
    app.form.BoardView().Widget()->installEventFilter(&log);
    const int start = StartCell(g.BoardSize);
    g.TruckCells = {start, start};
    StepTruck(g, app.form.BoardView());
    QCoreApplication::processEvents();

    ASSERT_FALSE(log.area.isEmpty());
    const Rect& cell = g.CellRects[start];
    const QRect around = QRect(QPoint(cell.left, cell.top), QPoint(cell.right, cell.bottom)).adjusted(-2, -2, 2, 2);
    EXPECT_TRUE(around.contains(log.area.boundingRect())) << "repainted " << log.area.boundingRect().x() << ","
                                                          << log.area.boundingRect().y() << " "
                                                          << log.area.boundingRect().width() << "x"
                                                          << log.area.boundingRect().height();
    EXPECT_EQ(app.form.BoardCopy().Image(), app.form.BoardView().Image());
}

TEST_F(Window, TheGameOverLetteringLandsOnTheBoard) {
    EndTitle();
    g.Lives = 0;
    Soon([this] { QTest::mouseClick(Button(app.form.StartStopButton()), Qt::LeftButton); });
    ClickStart();
    EXPECT_TRUE(app.game.GameOverTimer.Enabled());
    EXPECT_THAT(Waves(), ElementsAre("GameOvaer.wav"));
    const QImage before = Board();
    // Drawings of width 60, 160, 260, ... while narrower than the window less 50, then one tick to stop.
    int ticks = 0;
    while (app.game.GameOverTimer.Enabled() && ticks < 20) GameOverTick(g), ++ticks;
    int drawings = 0;
    for (int width = 60; width < app.form.Canvas().PixelWidth() - 50; width += 100) ++drawings;
    EXPECT_EQ(ticks, drawings + 1);
    EXPECT_NE(Board(), before);
    // The lettering is reds and pinks: strongly red pixels now stand in the middle of the window.
    const int cx = app.form.Canvas().PixelWidth() / 2, cy = app.form.Canvas().PixelHeight() / 2;
    EXPECT_GT(Count(Board(), cx - 100, cy - 20, cx + 100, cy + 20, [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 150; }), 50);
}

// Starts a run of `a`, runs `action` during it, then gives the run up with Stop.
void RunThenStop(KanuvoApp& a, const std::function<void()>& action) {
    QWidget* startStop = &a.form.StartStopButton().Widget();
    QTest::mouseClick(startStop, Qt::LeftButton);
    action();
    QTest::mouseClick(startStop, Qt::LeftButton);
}

QPoint Middle(const Game& g, int cell) {
    const Rect& r = g.CellRects[cell];
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST_F(Window, AClickOnEachNeighbourOfTheGapSlidesItPixelForPixelAsItsArrowKey) {
    RealGame keys;
    KanuvoApp& byKey = keys.app;
    EndTitle();
    QTest::mouseClick(&byKey.form, Qt::LeftButton, {}, QPoint(300, 300));
    const std::pair<int, Qt::Key> cellAndKey[] = {{15, Qt::Key_Up}, {7, Qt::Key_Down}, {12, Qt::Key_Left}, {10, Qt::Key_Right}};
    for (const auto& [cell, key] : cellAndKey) {
        for (KanuvoApp* a : {&app, &byKey}) {
            a->game.Lives = 2;
            QTest::mouseClick(&a->form.NewGameButton().Widget(), Qt::LeftButton);
        }
        ASSERT_EQ(g.Cells, byKey.game.Cells);  // both deal the same boards
        ASSERT_EQ(g.Cells[11], TileKind::Empty);
        const TileKind moving = g.Cells[cell];
        RunThenStop(app, [this, cell = cell] { QTest::mouseClick(app.form.BoardView().Widget(), Qt::LeftButton, {}, Middle(g, cell)); });
        RunThenStop(byKey, [&byKey, key = key] { QTest::keyClick(byKey.form.BoardView().Widget(), key); });
        EXPECT_EQ(g.Cells[11], moving) << "cell " << cell;
        EXPECT_EQ(g.Cells[cell], TileKind::Empty) << "cell " << cell;
        EXPECT_EQ(g.Cells, byKey.game.Cells);
        EXPECT_TRUE(Board() == byKey.form.BoardView().Image()) << "cell " << cell;
    }
    EXPECT_EQ(sound.commands, keys.sound.commands);
}

TEST_F(Window, AWindowMadeLargerShowsTheBoardScaledAndCentredWithClicksLandingWhereTheyAreSeen) {
    EndTitle();
    const QSize design = app.form.DesignedSize();
    app.form.resize(2 * design.width() + 200, 2 * design.height());
    EXPECT_EQ(app.form.WindowFit().scale, 2.0);
    EXPECT_EQ(app.form.WindowFit().offset, QPointF(100, 0));
    EXPECT_EQ(app.form.DesignedSize(), design) << "the game keeps its layout";
    EXPECT_EQ(Board().size(), 2 * design) << "the board is held at the window's resolution";
    EXPECT_EQ(app.form.BoardView().Widget()->geometry(), QRect(QPoint(100, 0), 2 * design));
    const QRect start(RoundToPixel(app.form.StartStopButton().Left()), RoundToPixel(app.form.StartStopButton().Top()),
                      RoundToPixel(app.form.StartStopButton().Width()), RoundToPixel(app.form.StartStopButton().Height()));
    EXPECT_EQ(app.form.StartStopButton().Widget().geometry(), QRect(start.topLeft() * 2 + QPoint(100, 0), start.size() * 2));
    // The margins beside the board are in its colour.
    const QImage shown = app.form.grab().toImage();
    EXPECT_EQ(shown.pixel(50, 300) | 0xFF000000u, Background());
    EXPECT_EQ(shown.pixel(shown.width() - 50, 300) | 0xFF000000u, Background());
    // A click on the middle of the tile above the gap, as the player sees it, slides that tile.
    const TileKind moving = g.Cells[7];
    ASSERT_EQ(g.Cells[11], TileKind::Empty);
    RunThenStop(app, [this] { QTest::mouseClick(app.form.BoardView().Widget(), Qt::LeftButton, {}, 2 * Middle(g, 7)); });
    EXPECT_EQ(g.Cells[11], moving);
    // Larger than the 800-pixel square screen could show, the window is smoothed up from what it needs.
    app.form.resize(4 * design);
    EXPECT_EQ(Board().size(), 2 * design);
}

TEST_F(Window, F11FillsTheScreenWithTheWindowAndGivesItBackAndTheGameStillGetsTheKey) {
    EndTitle();
    const QSize size = app.form.size();
    g.RouteCell = 0;
    RunThenStop(app, [this] {
        QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_F11);
        EXPECT_NE(g.RouteCell, 0) << "like any key, it has the road traced in stage 1";
    });
    // A compositor answers in its own time, and may report the old state meanwhile.
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.form.isFullScreen(); }, 5000));
    const QSize screen = app.form.screen()->geometry().size();
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.form.size() == screen; }, 5000)) << app.form.size().width();
    const QSize design = app.form.DesignedSize();
    EXPECT_DOUBLE_EQ(app.form.WindowFit().scale, std::min(double(screen.width()) / design.width(),
                                                          double(screen.height()) / design.height()));
    QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_F11);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !app.form.isFullScreen() && app.form.size() == size; }, 5000));
    EXPECT_EQ(app.form.WindowFit().scale, 1.0);
}

TEST(RealWindow, TheNextStartComesBackAtTheSizeThePlayerLeftAndAnUnfitSizeIsIgnored) {
    QTemporaryDir config;
    const QString path = config.filePath("kanuvo.ini");
    {
        RealGame first({false, path});
        first.app.form.resize(700, 500);
        first.app.form.Close();
    }
    RealGame second({false, path});
    EXPECT_EQ(second.app.form.size(), QSize(700, 500));
    EXPECT_FALSE(second.app.form.isFullScreen());
    const QSize design = second.app.form.DesignedSize();
    second.app.form.Close();
    // Larger than the screen, or not in the form kept, the window has the game's size.
    for (const char* kept : {"size=5000x500\nstate=normal", "size=700x\nstate=normal", "size=700x500\nstate=sideways"}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[window]\n") + kept + "\n");
        file.close();
        RealGame unfit({false, path});
        EXPECT_EQ(unfit.app.form.size(), design) << kept;
    }
    // Full screen comes back full screen.
    {
        RealGame full({false, path});
        full.app.form.showFullScreen();
        full.app.form.Close();
    }
    RealGame third({false, path});
    EXPECT_TRUE(third.app.form.isFullScreen());
}

TEST_F(Window, PHoldsARunUnderAPlateAndEscapeGivesTheBoardBackPixelForPixel) {
    EndTitle();
    g.Stage = 2;
    QWidget* board = app.form.BoardView().Widget();
    QImage before, held;
    std::array<TileKind, kMaxCells + 1> cells{};
    RunThenStop(app, [&] {
        before = Board();
        cells = g.Cells;
        QTest::keyClick(board, Qt::Key_P);
        ASSERT_TRUE(g.Paused);
        EXPECT_TRUE(app.game.TimeLimitTimer.Held());
        QTest::keyClick(board, Qt::Key_Up);
        QTest::mouseClick(board, Qt::LeftButton, {}, Middle(g, 15));
        held = Board();
        QTest::keyClick(board, Qt::Key_Escape);
        EXPECT_FALSE(g.Paused);
        EXPECT_FALSE(app.game.TimeLimitTimer.Held());
        EXPECT_TRUE(Board() == before);
    });
    EXPECT_EQ(g.Cells, cells);  // the key and the click while held did nothing
    // The plate hid the tiles under the board's colour and was lettered in white and gold.
    const QRgb back = Rgb32(app.form.BoardView().ClearColor()) | 0xFF000000u;
    const Rect& tile = g.CellRects[2];
    EXPECT_EQ(before.pixel(tile.left + 3, tile.top + 5) | 0xFF000000u, qRgb(200, 200, 200));
    EXPECT_EQ(held.pixel(tile.left + 3, tile.top + 5) | 0xFF000000u, back);
    const Rect plate{g.CellRects[1].left, g.CellRects[1].top, g.CellRects[16].right, g.CellRects[16].bottom};
    EXPECT_GT(Count(held, plate.left + 3, plate.top, plate.right - 3, plate.bottom, Is(qRgb(255, 255, 255))), 100);
    EXPECT_GT(Count(held, plate.left + 3, plate.top, plate.right - 3, plate.bottom, Is(qRgb(255, 215, 40))), 200);
    EXPECT_EQ(g.Lives, 1);
}

TEST_F(Window, F1ReachesTheBoardThenItsPageHoldsTheRunAndF1GivesTheWindowBackPixelForPixel) {
    EndTitle();
    QWidget* help = app.form.HelpView().Widget();
    QImage before, shown, after;
    RunThenStop(app, [&] {
        before = app.form.grab().toImage();
        QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_F1);
        EXPECT_TRUE(g.RouteActive) << "F1 is a key of a route stage too";
        EXPECT_TRUE(app.game.TimeLimitTimer.Held());
        EXPECT_TRUE(help->isVisible());
        shown = app.form.grab().toImage();
        QTest::keyClick(help, Qt::Key_Up);  // the page's, not the board's
        QTest::keyClick(help, Qt::Key_F1);
        EXPECT_FALSE(app.game.TimeLimitTimer.Held());
        after = app.form.grab().toImage();
    });
    EXPECT_EQ(g.Lives, 1);
    EXPECT_TRUE(after == before);
    // The page hid the board and its buttons, and was lettered in white and gold.
    EXPECT_GT(Count(shown, 0, 0, shown.width(), shown.height(), Is(qRgb(255, 255, 255))), 2000);
    EXPECT_GT(Count(shown, 0, 0, shown.width(), shown.height(), Is(qRgb(255, 215, 40))), 300);
    const QRect stop = app.form.StartStopButton().Widget().geometry();
    EXPECT_NE(shown.copy(stop), before.copy(stop));
}

TEST_F(Window, MMutesEverySoundAndTheChoiceIsKeptForTheNextStart) {
    QTemporaryDir config;
    const QString path = config.filePath("kanuvo/kanuvo.ini");
    {
        RealGame first({false, path});
        KanuvoApp& a = first.app;
        EXPECT_FALSE(a.game.SoundOff);
        QTest::keyClick(&a.form, Qt::Key_M);  // on the title screen
        EXPECT_TRUE(a.game.SoundOff);
        first.sound.commands.clear();
        QTest::mouseClick(&a.form, Qt::LeftButton, {}, QPoint(300, 300));
        // The board's free corner shows the crossed speaker in gold while the sound is off.
        const auto goldInCorner = [&a] {
            return Count(a.form.BoardView().Image(), CornerArea(a.game),
                         [](QRgb p) { return qRed(p) > 230 && qGreen(p) > 190 && qGreen(p) < 235 && qBlue(p) < 90; });
        };
        EXPECT_GT(goldInCorner(), 20);
        RunThenStop(a, [] {});
        EXPECT_THAT(first.sound.commands, ::testing::IsEmpty());
        EXPECT_THAT(first.sound.waves, ::testing::IsEmpty());
        EXPECT_EQ(a.game.Lives, 1);  // the game went on as ever
        // On the board during a run M unmutes, and like any key begins a trace in stage 1.
        QTest::mouseClick(&a.form.NewGameButton().Widget(), Qt::LeftButton);
        a.game.RouteCell = 0;
        RunThenStop(a, [&a] {
            QTest::keyClick(a.form.BoardView().Widget(), Qt::Key_M);
            EXPECT_NE(a.game.RouteCell, 0);
        });
        EXPECT_FALSE(a.game.SoundOff);
        EXPECT_GT(goldInCorner(), 20) << "the note, in gold";
        while (a.game.NoteTimer.Enabled()) NoteTick(a.game);
        EXPECT_EQ(goldInCorner(), 0) << "the mark has gone, and the note has faded";
        EXPECT_THAT(first.sound.commands, ElementsAre("play gBGMfile from 0 ", "stop gBGMfile ", "stop gBGMfile "));
        QTest::keyClick(a.form.BoardView().Widget(), Qt::Key_M);
    }
    RealGame second({false, path});
    EXPECT_TRUE(second.app.game.SoundOff);
    EXPECT_THAT(second.sound.commands, ::testing::IsEmpty());  // not even the music's opening
}

TEST_F(Window, TheMuteOptionStartsMutedAndACorruptSettingsFileIsIgnored) {
    EXPECT_FALSE(app.game.SoundOff);  // no settings kept at all
    RealGame option({true, ""});
    EXPECT_TRUE(option.app.game.SoundOff);
    QTemporaryDir config;
    const QString path = config.filePath("kanuvo.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[sound\nmuted=true\n\xff\x00");
    file.close();
    RealGame corrupt({false, path});
    EXPECT_FALSE(corrupt.app.game.SoundOff);
    EXPECT_EQ(corrupt.sound.commands.size(), 1u);  // the music opened as ever
}

TEST_F(Window, AOutlinesTheRoadAheadOfTheTruckAndTakesItOffPixelForPixel) {
    RealGame plain;  // deals the same boards, and drives without the assist
    for (KanuvoApp* a : {&app, &plain.app}) {
        QTest::mouseClick(&a->form, Qt::LeftButton, {}, QPoint(300, 300));
        a->game.Stage = 2;
        testing::LayLeftThenUpRoad(a->game);
        PlaceTruckAtStart(a->game);
        RedrawBoard(a->game);
        a->game.Playing = true;
        a->game.TruckCells = {16, 16};
    }
    QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_A);
    ASSERT_TRUE(g.RoadAssist);
    // Once its note has gone, a mark in the assist's gold stays in the free corner while it is on.
    while (app.game.NoteTimer.Enabled()) NoteTick(g);
    EXPECT_GT(Count(Board(), CornerArea(g), Is(qRgb(255, 215, 40))), 20);
    ShowAssistRoad(g);
    EXPECT_EQ(AssistRoad(g), (std::vector<int>{15, 14, 13, 9, 5, 1}));
    EXPECT_EQ(At(g.CellRects[15].left + 1, g.CellRects[15].top + 1), qRgb(255, 215, 40));
    EXPECT_EQ(At(g.CellRects[1].right - 1, g.CellRects[1].bottom - 1), qRgb(255, 215, 40));
    // Both drive, a step and a pass of the run at a time, until the truck is in cell 13.
    for (KanuvoApp* a : {&app, &plain.app}) {
        for (int steps = 0; a->game.TruckCells[0] != 13; ++steps) {
            ASSERT_LT(steps, 2000);
            StepTruck(a->game, a->form.BoardView());
            SteerTruck(a->game);
            ShowAssistRoad(a->game);
            OfferFastForward(a->game);
        }
    }
    EXPECT_EQ(AssistRoad(g), (std::vector<int>{9, 5, 1}));
    QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_A);
    ShowAssistRoad(g);
    while (app.game.NoteTimer.Enabled()) NoteTick(g);
    EXPECT_TRUE(Board() == plain.app.form.BoardView().Image()) << "every outline taken off, the truck whole";
    EXPECT_TRUE(app.form.BoardCopy().Image() == plain.app.form.BoardCopy().Image());
}

// Relative luminance of a colour, as contrast between colours is measured for legible text.
double Luminance(QRgb c) {
    const auto linear = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(Window, TheStageCaptionReadsWellOnEveryBackground) {
    EndTitle();
    const int s = g.CellSize;
    for (Color back : {Rgb(0, 0, 128), Rgb(0, 128, 0), Rgb(0, 128, 128), Rgb(128, 0, 0), Rgb(128, 0, 128),
                       Rgb(128, 128, 0)}) {
        app.form.BoardView().Clear(back);
        PrintStageCaption(g);
        // The letters' own pixels are the brightest of the caption; its rim is darker than the background.
        QRgb brightest = Background();
        int letters = 0, rim = 0;
        for (int y = 5; y < s - 5; ++y) {
            for (int x = 5; x < 5 + 2 * s; ++x) {
                const QRgb p = At(x, y);
                if (Luminance(p) > Luminance(brightest)) brightest = p;
                letters += Contrast(p, Background()) >= 3 && Luminance(p) > Luminance(Background());
                rim += p == qRgb(0, 0, 0);
            }
        }
        EXPECT_EQ(brightest, qRgb(255, 255, 255)) << std::hex << back;
        EXPECT_GE(Contrast(brightest, Background()), 4.0) << std::hex << back;
        EXPECT_GT(letters, 60) << std::hex << back;
        EXPECT_GT(rim, 60) << std::hex << back;
    }
}

// Pixels of the board area where the board on screen differs from its copy: what was drawn over
// the board after the run, for the copy is not touched by it.
int DrawnOverBoard(RealGame& r, int* white = nullptr) {
    const QImage view = r.Board();
    const QImage copy = r.app.form.BoardCopy().Image();
    const Rect& goal = r.g.CellRects[1];
    const Rect& start = r.g.CellRects[r.g.BoardSize * r.g.BoardSize];
    int differing = 0;
    for (int y = goal.top; y < start.bottom; ++y) {
        for (int x = goal.left; x < start.right; ++x) {
            const QRgb p = view.pixel(x, y) | 0xFF000000u;
            if (p == (copy.pixel(x, y) | 0xFF000000u)) continue;
            ++differing;
            if (white != nullptr) *white += p == qRgb(255, 255, 255);
        }
    }
    return differing;
}

TEST_F(Window, EveryWayARunEndsIsToldOnTheBoardAndNewGameClearsIt) {
    EndTitle();
    const auto endRunBy = [this](std::function<void()> ending) {
        Soon(std::move(ending));
        ClickStart();
        int white = 0;
        EXPECT_GT(DrawnOverBoard(*this, &white), 2000);
        EXPECT_GT(white, 300);  // the letters' faces
        ClickNewGame();
        EXPECT_EQ(DrawnOverBoard(*this), 0);
    };
    endRunBy([this] { ClickStart(); });                          // Stop
    endRunBy([this] { EndRun(g, RunEnd::Crashed); });       // a crash
    g.Lives = 2;
    endRunBy([this] { g.TimeCount = 180, TimeLimitTick(g); });  // time up
    endRunBy([this] {                                             // a clear
        testing::LayLeftThenUpRoad(g);
        QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_B);
    });
    EXPECT_EQ(g.Stage, 2);
    EXPECT_EQ(system.LoadBestTime(1), 0);
    // Game Over: the lettering grows, then its hint is lettered under it.
    g.Lives = 0;
    Soon([this] { ClickStart(); });
    ClickStart();
    EXPECT_EQ(DrawnOverBoard(*this), 0);
    while (app.game.GameOverTimer.Enabled()) GameOverTick(g);
    const QImage board = Board();
    const int below = (app.form.Canvas().PixelHeight() + 270) / 2 + 8;  // under the 560 x 270 drawing
    EXPECT_GT(Count(board, 0, below, board.width(), below + g.CellSize / 3, Is(qRgb(255, 255, 255))), 200);
}

TEST(RealWindow, NewGameAfterABannerShowsTheBoardOfAGameThatNeverHadOne) {
    // Both games deal the same boards: a run draws no random numbers.
    RealGame bannered;
    bannered.EndTitle();
    bannered.WinStageOne();
    ASSERT_EQ(bannered.g.Stage, 2);
    ASSERT_GT(DrawnOverBoard(bannered), 0);
    bannered.ClickNewGame();

    RealGame plain;
    plain.EndTitle();
    plain.g.Stage = 2;
    plain.ClickNewGame();
    EXPECT_EQ(bannered.Board(), plain.Board());
}

// Exit, Exit while the run is held, and the window's close box, each during a run.
TEST(RealWindow, ExitOrTheCloseBoxDuringARunHeldOrNotEndsTheProgramCleanly) {
    for (const int way : {0, 1, 2}) {
        SCOPED_TRACE(way);
        RealGame r;
        r.EndTitle();
        r.Soon([&r, way] {
            if (way == 1) QTest::keyClick(r.app.form.BoardView().Widget(), Qt::Key_Escape);
            EXPECT_EQ(r.g.Paused, way == 1);
            r.Soon([&r, way] {
                if (way == 2) r.app.form.close();
                else QTest::mouseClick(r.Button(r.app.form.ExitButton()), Qt::LeftButton);
            });
        });
        r.ClickStart();
        EXPECT_TRUE(r.app.form.Closed());
        EXPECT_FALSE(r.g.Playing);
        EXPECT_THAT(r.sound.commands, Contains("stop gBGMfile "));
        EXPECT_EQ(r.sound.commands.back(), "close gBGMfile ");
    }
}

TEST(RealWindow, ABrokenBestTimesFileNeverStopsTheGame) {
    RealGame game;
    QFile store(game.lockDir.filePath("best_times.json"));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write("{\"best\": [not json");
    store.close();
    game.EndTitle();
    game.WinStageOne();
    EXPECT_EQ(game.g.Stage, 2);
    EXPECT_GT(DrawnOverBoard(game), 0);
    EXPECT_EQ(game.system.LoadBestTime(1), 0);  // the clear was kept in a fresh store
    // and the broken one beside it, as it was
    const QStringList aside = QDir(game.lockDir.path()).entryList({"best_times.json.unreadable-*"});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(game.lockDir.filePath(aside[0]));
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "{\"best\": [not json");
    game.ClickNewGame();
    EXPECT_TRUE(game.g.BoardReady);
    EXPECT_TRUE(game.messages.empty());
}

// Start-up failures end the program, after their message, before any window shows: a failure with a
// failure status, the refusal of a second copy with success.
struct StartUpFailure : ::testing::Test {
    static void StartWith(const std::function<void(QtSystem&)>& arrange) {
        QTemporaryDir lockDir;
        testing::ManualClock clock;
        testing::RecordingSound sound;
        QtSystem system;
        system.SetLockPath(lockDir.filePath("kanuvo.lock"));
        system.SetMessageHook([](std::string_view text) { std::fprintf(stderr, "%.*s\n", int(text.size()), text.data()); });
        arrange(system);
        KanuvoApp app(clock, system, sound);
        app.Start();
        std::fprintf(stderr, "the game went on\n");
        std::_Exit(3);
    }
};

TEST_F(StartUpFailure, AMissingPictureResourceEndsTheProgramWithItsMessage) {
    EXPECT_EXIT(StartWith([](QtSystem& system) { system.SetPicturePrefix(":/no-such-folder/"); }),
                ::testing::ExitedWithCode(1), "画像データ読み込みエラー");
}

TEST_F(StartUpFailure, ASecondCopyIsRefusedWithItsMessage) {
    EXPECT_EXIT(StartWith([](QtSystem& system) {
                    const QString lock = QDir::tempPath() + "/kanuvo-window-test-" +
                                         QString::number(QCoreApplication::applicationPid()) + ".lock";
                    static QtSystem firstCopy;  // already running, holding the lock
                    firstCopy.SetLockPath(lock);
                    if (firstCopy.AnotherCopyRuns()) std::_Exit(4);
                    system.SetLockPath(lock);
                }),
                ::testing::ExitedWithCode(0), "このアプリケーションはすでに開かれています。");
}

#ifdef KANUVO_PROGRAM
// The program's environment on the offscreen platform, with a runtime folder of its own.
QProcessEnvironment Headless(const QTemporaryDir& runtime) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("SDL_AUDIODRIVER", "dummy");
    return env;
}

// The program's single-copy lock, beside the best times in the test's data folder.
QString LockFile() { return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/kanuvo/kanuvo.lock"); }

// Whether the signal is in the set named by field ("SigCgt:" caught, "SigIgn:" ignored) of the
// process's status.
bool InSignalSet(const QProcess& program, const char* field, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(program.processId()));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) return (line.mid(qstrlen(field)).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// Waits until the program catches the signal: from then on it reaches the game, not the default.
bool HandlesSignals(const QProcess& program, int signal = SIGTERM) {
    QElapsedTimer waited;
    waited.start();
    while (!InSignalSet(program, "SigCgt:", signal) && waited.elapsed() < 30000) QThread::msleep(20);
    return InSignalSet(program, "SigCgt:", signal);
}

// What the program has mapped, once `library` is among it or after half a minute.
QByteArray MappedOnce(const QProcess& program, const char* library) {
    QByteArray mapped;
    QElapsedTimer waited;
    for (waited.start(); !mapped.contains(library) && waited.elapsed() < 30000; QThread::msleep(20)) {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(program.processId()));
        if (maps.open(QIODevice::ReadOnly)) mapped = maps.readAll();
    }
    return mapped;
}

TEST(NoDisplay, TheProgramSaysItNeedsADisplayOrWhatElseFailedAndEndsWithStatusOne) {
    // No display at all, one named that no server answers, and a window system that fails otherwise
    // (told as it is); in the locale's language.
    const struct {
        QString platform, display, locale, message;
    } cases[] = {{QString(), QString(), "en_US.UTF-8", "Kanuvo needs a graphical display"},
                 {QString(), ":97531", "C.UTF-8", "Kanuvo を動かすには"},
                 {"no-such-platform", QString(), "en_US.UTF-8", "kanuvo: the window system could not be started"}};
    for (const auto& [platform, display, locale, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        QTemporaryDir runtime, config;
        QProcessEnvironment env = Headless(runtime);
        for (const char* variable : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            env.remove(variable);
        if (!platform.isEmpty()) env.insert("QT_QPA_PLATFORM", platform);
        if (!display.isEmpty()) env.insert("DISPLAY", display);
        env.insert("LANG", locale);
        env.insert("XDG_CONFIG_HOME", config.path());  // no remembered language
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KANUVO_PROGRAM), {});
        ASSERT_TRUE(program.waitForFinished(30000));
        const QString said = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no abort, no core dump";
        EXPECT_EQ(program.exitCode(), 1);
        EXPECT_TRUE(said.startsWith(message)) << said.toStdString();
        EXPECT_TRUE(said.contains(platform)) << said.toStdString();
        EXPECT_FALSE(platform.isEmpty() && said.contains("einstall")) << said.toStdString();
        EXPECT_FALSE(QFileInfo::exists(LockFile())) << "no lock is left behind";
    }
}

TEST(SessionEnd, TheProgramAskedToEndLeavesAsThroughItsCloseBox) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        QTemporaryDir runtime;
        QProcess program, second;
        program.setProcessEnvironment(Headless(runtime));
        second.setProcessEnvironment(Headless(runtime));
        program.start(QStringLiteral(KANUVO_PROGRAM), {QStringLiteral("--mute")});
        // Up once it holds its lock and hears the signal.
        const QString lock = LockFile();
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(lock) && waited.elapsed() < 30000) QThread::msleep(20);
        ASSERT_TRUE(QFileInfo::exists(lock));
        ASSERT_TRUE(HandlesSignals(program, signal));
        // A second copy's message that the game is already open ends on the signal too.
        second.start(QStringLiteral(KANUVO_PROGRAM), {QStringLiteral("--mute")});
        ASSERT_TRUE(HandlesSignals(second, signal));
        ::kill(static_cast<pid_t>(second.processId()), signal);
        EXPECT_TRUE(second.waitForFinished(10000)) << "the message stayed up";
        EXPECT_EQ(second.exitCode(), 0);

        ::kill(static_cast<pid_t>(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "not killed by the signal";
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_FALSE(QFileInfo::exists(LockFile())) << "the lock is given up";
    }
}

// A module that takes half a minute to load, as from a slow disk, cannot keep the program from ending
// when asked to: it gives up its lock and ends within a second.
TEST(SessionEnd, TheProgramEndsWithinASecondWhileItsSoundModuleIsStillLoading) {
    QTemporaryDir runtime, installed;
    ASSERT_TRUE(QFile::copy(KANUVO_SLOW_SOUND_PROGRAM, installed.filePath("kanuvo")));
    ASSERT_TRUE(QFile::copy(KANUVO_SLOW_SOUND_MODULE, installed.filePath("kanuvo_sound.so")));
    ASSERT_TRUE(QFile::link(KANUVO_SOUND_DIR, installed.filePath("sound")));
    QProcess program;
    program.setProcessEnvironment(Headless(runtime));
    program.start(installed.filePath("kanuvo"), {});
    ASSERT_TRUE(MappedOnce(program, "kanuvo_sound.so").contains("kanuvo_sound.so")) << "the module is loading";
    ASSERT_TRUE(QFileInfo::exists(LockFile()));
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(1000)) << "still there a second after it was asked to end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(LockFile())) << "the lock is given up";
}

// A second signal, from at once to 40 ms after the first, ends the program before its clean-up is
// done: the lock and half-written files still go. What earlier copies ended so left beside the
// player's files and in the temporary folder is removed at the next start.
TEST(SessionEnd, ASecondSignalLeavesNoLockAndTheNextStartRemovesWhatEarlierEndsLeft) {
    const QString data = qEnvironmentVariable("XDG_DATA_HOME"), config = qEnvironmentVariable("XDG_CONFIG_HOME");
    for (const int after : {0, 5, 10, 20, 40}) {
        SCOPED_TRACE(after);
        QTemporaryDir runtime, temporary;
        const QStringList left = {config + "/kanuvo/kanuvo.ini.Ab3dE9", data + "/kanuvo/best_times.json.x7YzQ2",
                                  temporary.filePath("kanuvo-Qw3rTy/kanuvo.ini")};
        for (const QString& file : left) {
            QDir().mkpath(QFileInfo(file).absolutePath());
            ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
        }
        QProcessEnvironment env = Headless(runtime);
        env.insert("TMPDIR", temporary.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KANUVO_PROGRAM), {QStringLiteral("--mute")});
        ASSERT_TRUE(HandlesSignals(program));
        QElapsedTimer waited;
        for (waited.start(); QFileInfo::exists(left.back()) && waited.elapsed() < 30000;) QThread::msleep(20);
        for (const QString& file : left) EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
        EXPECT_TRUE(QDir(temporary.path()).isEmpty());
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QThread::msleep(after);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_FALSE(QFileInfo::exists(LockFile())) << "the lock is given up";
    }
}

TEST(SessionEnd, AHangUpOrInterruptTheProgramWasStartedToIgnoreStaysIgnored) {
    QTemporaryDir runtime;
    QProcess program;
    program.setProcessEnvironment(Headless(runtime));
    // As nohup, or a script's background job, starts it.
    program.setChildProcessModifier([] {
        ::signal(SIGHUP, SIG_IGN);
        ::signal(SIGINT, SIG_IGN);
    });
    program.start(QStringLiteral(KANUVO_PROGRAM), {QStringLiteral("--mute")});
    ASSERT_TRUE(HandlesSignals(program));
    EXPECT_TRUE(InSignalSet(program, "SigIgn:", SIGHUP));
    EXPECT_TRUE(InSignalSet(program, "SigIgn:", SIGINT));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
}

// On Wayland: no GL driver mapped, the menu entry's name told, nothing said but the protocol log.
TEST(ProgramOnWayland, MapsNoGlDriverNamesItsMenuEntryAndSaysNothing) {
    if (!QGuiApplication::platformName().startsWith("wayland")) GTEST_SKIP() << "runs under a Wayland compositor";
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("WAYLAND_DEBUG", "client");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.remove("QT_WAYLAND_DISABLE_WINDOWDECORATION");  // as a player's environment has it
    QProcess program;
    program.setProcessEnvironment(env);
    program.setReadChannel(QProcess::StandardError);
    program.start(QStringLiteral(KANUVO_PROGRAM), {QStringLiteral("--mute")});
    QByteArray said;
    while (!said.contains(".attach(wl_buffer@") && program.waitForReadyRead(30000)) said += program.readAllStandardError();
    // Once the sound has loaded: its module and the libraries it brings are mapped.
    const QByteArray mapped = MappedOnce(program, "libfluidsynth");
    ASSERT_TRUE(mapped.contains("kanuvo_sound.so") && mapped.contains("libfluidsynth"));
    for (const char* gl : {"_dri.so", "libEGL_mesa", "libLLVM", "libgallium"}) EXPECT_FALSE(mapped.contains(gl)) << gl;
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    said += program.readAllStandardError();
    EXPECT_TRUE(said.contains("set_app_id(\"" KANUVO_APP_ID "\")"));
    for (const QByteArray& line : said.split('\n')) EXPECT_TRUE(line.isEmpty() || line.startsWith('[')) << line.toStdString();
}
#endif

}  // namespace
}  // namespace kanuvo
