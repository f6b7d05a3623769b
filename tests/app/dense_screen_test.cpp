// SPDX-License-Identifier: MIT
// The game in its real window on a screen of twice the density (QT_SCALE_FACTOR=2, offscreen): the
// game keeps its own pixels while every surface, picture and pointer is held at the device's, and a
// window grown from half its size draws everything again at the device's pixels.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "app/kanuvo_app.h"
#include "app/picture_resources.h"
#include "doubles.h"
#include "game/banner.h"
#include "game/board.h"
#include "game/corner.h"
#include "game/flow.h"
#include "game/input.h"
#include "game/paint.h"
#include "game/pause.h"
#include "game/pictures.h"
#include "game/play.h"
#include "game/run_end.h"

namespace kanuvo {
namespace {

constexpr QRgb kTileGrey = qRgb(200, 200, 200);

// The game in a window of its own, with its own lock, best times, clock and sound.
struct Player {
    Player() {
        system.SetLockPath(lockDir.filePath("kanuvo.lock"));
        system.SetBestTimesPath(lockDir.filePath("best_times.json"));
        system.SetScreenOverride(768);
        system.SetMessageHook([](std::string_view) {});
        system.SetCursorWindow(&app.form);
        app.Start();
    }
    QTemporaryDir lockDir;
    testing::ManualClock clock;
    QtSystem system;
    testing::RecordingSound sound;
    KanuvoApp app{clock, system, sound};
    Game& g = app.game;
};

struct DenseWindow : ::testing::Test, Player {
    DenseWindow() { QTest::mouseClick(&app.form, Qt::LeftButton, {}, QPoint(300, 300)); }  // ends the title
    const QImage& Board() { return app.form.BoardView().Image(); }
    static QRgb Opaque(QRgb c) { return c | 0xFF000000u; }
    // Rows of the image, within columns [0, right) and above bottom, holding a pixel of black ink.
    static int InkRows(const QImage& image, int right, int bottom) {
        int rows = 0;
        for (int y = 0; y < bottom; ++y) {
            bool ink = false;
            for (int x = 0; x < right && !ink; ++x) ink = qGray(image.pixel(x, y)) < 24;
            rows += ink;
        }
        return rows;
    }
};

TEST_F(DenseWindow, TheGameLaysOutInItsOwnPixelsOnSurfacesOfTwiceAsMany) {
    ASSERT_EQ(app.form.devicePixelRatioF(), 2.0);
    // A 768-pixel screen gives a 650-pixel window; the offscreen platform's frame takes one pixel a
    // side, which leaves 648 for a board of 6 cells' height: cells of 108 of the game's pixels.
    EXPECT_EQ(app.form.frameGeometry().size(), QSize(650, 650));
    EXPECT_EQ(app.form.Canvas().PixelHeight(), 648);
    EXPECT_EQ(g.CellSize, 108);
    EXPECT_EQ(Board().size(), QSize(1296, 1296));
    EXPECT_EQ(Board().devicePixelRatio(), 2.0);
    // The hidden copy holds the board's device pixels, but for the caption printed after the copy.
    const QImage copy = app.form.BoardCopy().Image();
    ASSERT_EQ(copy.size(), Board().size());
    int differing = 0;
    for (int y = 2 * g.CellSize; y < copy.height(); ++y)
        for (int x = 0; x < copy.width(); ++x) differing += Opaque(copy.pixel(x, y)) != Opaque(Board().pixel(x, y));
    EXPECT_EQ(differing, 0);
}

TEST_F(DenseWindow, EdgesAreOneDevicePixelStepsOnTheSurfaceAndOnTheScreen) {
    // Cell 6 with a straight road across: its band covers the cell's rows top + 49 .. top + 59.
    PaintRoadTile(g, TileKind::Horizontal, 6, app.form.BoardView());
    const Rect& r = g.CellRects[6];
    const QRgb road = Opaque(Board().pixel(2 * r.left + 20, 2 * (r.top + 54)));
    ASSERT_NE(road, kTileGrey);
    const QImage shown = app.form.BoardView().Widget()->grab().toImage();
    ASSERT_EQ(shown.size(), Board().size());
    for (const QImage* image : {&Board(), &shown}) {
        const int x = 2 * r.left + 41;  // an odd column, between two of the game's pixels' halves
        EXPECT_EQ(Opaque(image->pixel(x, 2 * (r.top + 49) - 1)), kTileGrey);
        EXPECT_EQ(Opaque(image->pixel(x, 2 * (r.top + 49))), road);
        EXPECT_EQ(Opaque(image->pixel(x, 2 * (r.top + 59) + 1)), road);
        EXPECT_EQ(Opaque(image->pixel(x, 2 * (r.top + 60))), kTileGrey);
    }
    // The goal's grey outline is one of the game's pixels wide, two device pixels, on its edge.
    const Rect& goal = g.CellRects[1];
    const int x = goal.left + goal.right + 1;  // the middle, in device pixels
    EXPECT_EQ(Opaque(Board().pixel(x, 2 * goal.top - 1)), Opaque(Board().pixel(1, 2 * goal.top - 1))) << "background";
    EXPECT_EQ(Opaque(Board().pixel(x, 2 * goal.top)), kTileGrey);
    EXPECT_EQ(Opaque(Board().pixel(x, 2 * goal.top + 1)), kTileGrey);
    EXPECT_EQ(Opaque(Board().pixel(x, 2 * goal.top + 2)), qRgb(100, 50, 255)) << "the goal's face";
    EXPECT_EQ(Opaque(Board().pixel(2 * goal.left + 1, 2 * goal.top + 60)), kTileGrey);
    EXPECT_EQ(Opaque(Board().pixel(2 * goal.left + 2, 2 * goal.top + 60)), qRgb(100, 50, 255));
}

TEST_F(DenseWindow, TextHasTwiceTheRowsOfInkDrawnAtFullResolution) {
    // The stage caption at (10, 10), against the same text on a surface of the design's pixels.
    QtSurface reference(QSize(200, 100));
    reference.Clear(app.form.BoardView().ClearColor());
    // Lettered as the game letters it: white ringed by a pixel of black.
    PrintOutlined(reference, 10, 10, "ｽﾃｰｼﾞ1", LabelFont(g), Rgb(255, 255, 255), Rgb(0, 0, 0), 1);
    const int rows = InkRows(reference.Image(), 200, 100);
    ASSERT_GT(rows, 8);
    const int denseRows = InkRows(Board(), 400, 2 * 100);
    EXPECT_GE(denseRows, 2 * rows - 2);
    EXPECT_LE(denseRows, 2 * rows + 2);
    // Not the small text doubled: some pair of device rows that one design row would give differs.
    bool refined = false;
    for (int y = 20; y < 200 && !refined; y += 2)
        for (int x = 0; x < 400 && !refined; ++x) refined = Board().pixel(x, y) != Board().pixel(x, y + 1);
    EXPECT_TRUE(refined);
}

TEST_F(DenseWindow, PicturesAndPointersAreTheOnesDrawnAtTwiceTheSize) {
    const auto sharp = [](const std::unique_ptr<Picture>& picture) {
        return dynamic_cast<const QtPicture&>(*picture).ImageFor(2).size();
    };
    // The title's own picture is let go once the board shows.
    EXPECT_EQ(g.TitlePicture, nullptr);
    const auto title = system.LoadPicture(kTitlePictureId);
    EXPECT_EQ(sharp(title), QSize(1304, 1300));
    EXPECT_EQ(sharp(g.TruckPictures[4]), QSize(300, 620));
    EXPECT_EQ(sharp(g.TruckMasks[4]), QSize(300, 620));
    EXPECT_EQ(dynamic_cast<const QtPicture&>(*title).ImageFor(1).size(), QSize(652, 650));

    const CursorHandle hand = system.LoadPointerFile(KANUVO_SOUND_DIR "/H_point.cur");
    ASSERT_NE(hand, 0u);
    ASSERT_TRUE(system.SetPointer(hand));
    const QCursor shown = app.form.cursor();
    EXPECT_EQ(shown.pixmap().size(), QSize(64, 64));
    EXPECT_EQ(shown.pixmap().devicePixelRatio(), 2.0);
    const QImage plain(KANUVO_SOUND_DIR "/H_point.cur");
    EXPECT_TRUE(QRect(0, 0, 32, 32).contains(shown.hotSpot())) << "the hot spot is in the pointer's own pixels";
    EXPECT_LT(qAlpha(plain.pixel(0, 0)), 128);
}

// A truck run on a laid road, driven `steps` steps as the window's wake drives it.
void DriveTruck(Player& p, int steps) {
    testing::StartAssistedTruckRun(p.g);
    for (int step = 0; step < steps && p.g.Playing; ++step) {
        p.clock.Advance(kStepIntervalMs + 1);
        AdvanceTime(p.g);
    }
}

// A run on the first board ended as `end` says.
void EndARun(Player& p, RunEnd end) {
    Game& g = p.g;
    EndTitle(g);
    if (end == RunEnd::Cleared) {
        testing::LayLeftThenUpRoad(g);
        RedrawBoard(g);
        PrintStageCaption(g);
    }
    StartStopClick(g);
    g.TimeCount = 75;
    EndRun(g, end);
}

TEST(Repaint, EveryScreenRepaintedAtTwiceTheRatioIsTheScreenDrawnAtThatRatioFromTheStart) {
    const std::vector<std::pair<const char*, std::function<void(Player&)>>> screens{
        {"the title", [](Player&) {}},
        {"the first board", [](Player& p) { EndTitle(p.g); }},
        {"the marks and a fading note in the corner",
         [](Player& p) {
             EndTitle(p.g);
             KeyDown(p.g, kKeySound);
             KeyDown(p.g, kKeyAssist);
             for (int tick = 0; tick < 17; ++tick) NoteTick(p.g);
         }},
        {"the help page",
         [](Player& p) {
             EndTitle(p.g);
             KeyDown(p.g, kKeyHelp);
         }},
        {"a truck run with the road assist's outline", [](Player& p) { DriveTruck(p, 150); }},
        {"the pause plate",
         [](Player& p) {
             DriveTruck(p, 150);
             TogglePause(p.g);
         }},
        {"a truck run won: its road lit and its banner", [](Player& p) { DriveTruck(p, 2000); }},
        {"a route run won", [](Player& p) { EndARun(p, RunEnd::Cleared); }},
        {"a run stopped", [](Player& p) { EndARun(p, RunEnd::Stopped); }},
        {"a crash", [](Player& p) { EndARun(p, RunEnd::Crashed); }},
        {"the time up", [](Player& p) { EndARun(p, RunEnd::TimedOut); }},
        {"Game Over growing",
         [](Player& p) {
             p.g.Lives = 0;
             EndARun(p, RunEnd::Stopped);
             for (int tick = 0; tick < 3; ++tick) GameOverTick(p.g);
         }},
        {"Game Over grown, with its hint",
         [](Player& p) {
             p.g.Lives = 0;
             EndARun(p, RunEnd::Stopped);
             while (p.g.GameOverTimer.Enabled()) GameOverTick(p.g);
         }},
    };
    for (const auto& [name, reach] : screens) {
        SCOPED_TRACE(name);
        // Qt draws a large letter a shade differently the first time it meets it at a size than every
        // time after: the screen is drawn once at the device's ratio before either is.
        {
            Player first;
            reach(first);
        }
        Player grown, dense;
        // At half its size on this screen the window holds a surface pixel for each of the game's.
        grown.app.form.resize(dense.app.form.size() / 2);
        ASSERT_EQ(grown.app.form.BoardView().PixelRatio(), 1);
        for (Player* p : {&grown, &dense}) reach(*p);
        grown.app.form.resize(dense.app.form.size());
        ASSERT_EQ(grown.app.form.BoardView().PixelRatio(), 2);
        EXPECT_TRUE(grown.app.form.Canvas().Image() == dense.app.form.Canvas().Image());
        EXPECT_TRUE(grown.app.form.BoardView().Image() == dense.app.form.BoardView().Image());
        if (dense.g.HelpShown) {
            EXPECT_TRUE(grown.app.form.HelpView().Image() == dense.app.form.HelpView().Image());
        }
        if (!dense.g.Paused) continue;
        // The board under the plate comes back as it was drawn, at the new ratio.
        for (Player* p : {&grown, &dense}) TogglePause(p->g);
        EXPECT_TRUE(grown.app.form.BoardView().Image() == dense.app.form.BoardView().Image());
    }
}

}  // namespace
}  // namespace kanuvo
