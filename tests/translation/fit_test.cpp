// SPDX-License-Identifier: MIT
// Every English text, laid out in the smallest, a middling and the largest window, stays inside its
// box: the stage caption left of the gauge and above the board, the goal and start labels inside their
// cells, the hints in their corner, the help page inside its outline, the buttons' captions inside
// their buttons, the banners and the pause plate inside the board, the Game Over hint clear of the
// buttons. And L on the help page switches the language. Run once at the design's density and once
// at twice it (QT_SCALE_FACTOR=2).
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/kanuvo_app.h"
#include "app/settings.h"
#include "doubles.h"
#include "game/flow.h"
#include "game/corner.h"
#include "game/geometry.h"
#include "game/help.h"
#include "game/paint.h"
#include "game/pause.h"
#include "game/play.h"
#include "game/run_end.h"
#include "platform/qt/language.h"

namespace kanuvo {
namespace {

// The box, in the game's pixels, round the pixels of image that inked(pixel, x, y) picks, leaving out
// a margin of device pixels all round.
QRect Ink(const QImage& image, int ratio, int margin, const std::function<bool(QRgb, int, int)>& inked) {
    QRect box;
    for (int y = margin; y < image.height() - margin; ++y)
        for (int x = margin; x < image.width() - margin; ++x)
            if (inked(image.pixel(x, y), x, y)) box |= QRect(x, y, 1, 1);
    if (box.isNull()) return box;
    return QRect(QPoint(box.left() / ratio, box.top() / ratio), QPoint(box.right() / ratio, box.bottom() / ratio));
}

// Ink drawn and nowhere outside box.
void ExpectWithin(const char* what, const QRect& ink, const QRect& box) {
    EXPECT_FALSE(ink.isNull()) << what << " drew nothing";
    EXPECT_TRUE(box.contains(ink)) << what << " inks " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                   << ink.height() << " outside " << box.x() << "," << box.y() << " " << box.width()
                                   << "x" << box.height();
}

// The smallest window with the smallest cells, the largest with the largest, and one between.
struct Case {
    int screenHeight;  // gives a window of 650, 550 or 400 pixels
    int boardSize;
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.screenHeight << " high, " << c.boardSize << " x " << c.boardSize; }

class EnglishFits : public ::testing::TestWithParam<Case> {
protected:
    EnglishFits() {
        SpeakLanguage(Language::English);
        system.SetLockPath(lockDir.filePath("kanuvo.lock"));
        system.SetBestTimesPath(lockDir.filePath("best_times.json"));
        system.SetScreenOverride(GetParam().screenHeight);
        system.SetMessageHook([](std::string_view) {});
        app = std::make_unique<KanuvoApp>(clock, system, sound);
        app->Start();
        QTest::mouseClick(&app->form, Qt::LeftButton, {}, QPoint(100, 100));  // ends the title
        // The longest caption of all: the last stage.
        g().Stage = 9;
        g().BoardSize = GetParam().boardSize;
    }
    ~EnglishFits() override { SpeakLanguage(Language::Japanese); }
    Game& g() { return app->game; }
    Surface& board() { return app->form.BoardView(); }
    // Whatever `draw` changes on the board lies within box.
    void ExpectDrawnWithin(const char* what, const QRect& box, const std::function<void()>& draw) {
        const QImage before = app->form.BoardView().Image().copy();
        draw();
        const QImage& after = app->form.BoardView().Image();
        ExpectWithin(what, Ink(after, app->form.BoardView().PixelRatio(), 0,
                               [&](QRgb p, int x, int y) { return before.pixel(x, y) != p; }),
                     box);
    }
    static QRect FromRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

    QTemporaryDir lockDir;
    testing::ManualClock clock;
    QtSystem system;
    testing::RecordingSound sound;
    std::unique_ptr<KanuvoApp> app;
};

TEST_P(EnglishFits, EveryTextStaysInsideItsBox) {
    NewGameClick(g());
    ExpectDrawnWithin("the pause plate", FromRect(PlateRect(g())), [&] { TogglePause(g()); });
    TogglePause(g());
    const QRect caption(0, 0, static_cast<int>(app->form.GaugeFrame().Left()), g().CellRects[1].top);
    ExpectDrawnWithin("the stage caption", caption, [&] { PrintStageCaption(g()); });
    for (const int cell : {GoalCell, StartCell(g().BoardSize)}) {
        EraseCell(g(), cell, board());
        ExpectDrawnWithin(cell == GoalCell ? "GOAL" : "START", FromRect(g().CellRects[cell]), [&] {
            cell == GoalCell ? PaintGoal(g(), cell, board()) : PaintStart(g(), cell, board());
        });
    }
    const Rect corner = CornerArea(g());
    board().FillBox(corner.left, corner.top, corner.right - 1, corner.bottom - 1, 0);
    g().FastForwardOffered = true;
    ExpectDrawnWithin("the F1 and F hints", FromRect(corner), [&] { DrawCorner(g(), board()); });
    // The help page's lines stay inside its outline, four pixels in from the window's edges.
    ShowHelp(g());
    const QImage& page = app->form.HelpView().Image();
    const int ratio = app->form.BoardView().PixelRatio();
    ExpectWithin("the help page", Ink(page, ratio, 5 * ratio, [&](QRgb p, int, int) { return p != page.pixel(2, 2); }),
                 QRect(6, 6, page.width() / ratio - 12, page.height() / ratio - 12));
    CloseHelp(g());

    // The buttons' captions stay off the frame of two pixels all round.
    const auto captionsFit = [this] {
        for (QtButton* button : {&app->form.ExitButton(), &app->form.NewGameButton(), &app->form.StartStopButton()}) {
            const QImage face = button->Widget().grab().toImage();
            const int r = static_cast<int>(face.devicePixelRatio());
            const QRgb back = face.pixel(face.width() / 2, 2 * r);
            ExpectWithin(button->Caption().c_str(),
                         Ink(face, r, 2 * r, [&](QRgb p, int, int) { return std::abs(qGray(p) - qGray(back)) > 25; }),
                         QRect(3, 2, face.width() / r - 6, face.height() / r - 4));
        }
    };
    captionsFit();
    // And with Stop on the button, during a run.
    StartStopClick(g());
    captionsFit();
    StartStopClick(g());
    // Every end of a run, a new record and a best time that stands at the clears, inside the board.
    const QRect cells = FromRect(CellsArea(g(), g().BoardSize));
    BeginRunRecord(g());
    g().TimeCount = 179;
    g().BestTime = 179;
    g().NewRecord = true;  // at the first clear; the second finds it standing
    for (const RunEnd end : {RunEnd::Cleared, RunEnd::Stopped, RunEnd::Crashed, RunEnd::TimedOut, RunEnd::Cleared}) {
        g().LastRunEnd = end;
        g().Lives = 2;
        ExpectDrawnWithin("a run's end", cells, [&] { ShowRunEnd(g()); });
        if (end == RunEnd::Cleared) g().NewRecord = false;
    }
    g().LastRunEnd = RunEnd::GameOver;
    // Left of the buttons, which stand beside it.
    const QRect window(0, 0, app->form.NewGameButton().Left(), app->form.Canvas().PixelHeight());
    ExpectDrawnWithin("the Game Over hint", window, [&] { ShowGameOverHint(g()); });
}

INSTANTIATE_TEST_SUITE_P(SmallestMiddleAndLargest, EnglishFits,
                         ::testing::Values(Case{480, 7}, Case{600, 5}, Case{768, 4}), [](const auto& info) {
                             return "Screen" + std::to_string(info.param.screenHeight) + "Board" +
                                    std::to_string(info.param.boardSize);
                         });

TEST(LanguageKey, LOnTheHelpPageSwitchesTheWindowToTheOtherLanguageAndKeepsTheChoice) {
    QTemporaryDir scratch;
    testing::ManualClock clock;
    QtSystem system;
    system.SetLockPath(scratch.filePath("kanuvo.lock"));
    system.SetScreenOverride(768);
    testing::RecordingSound sound;
    AppOptions options;
    options.settingsPath = scratch.filePath("kanuvo.ini");
    KanuvoApp app(clock, system, sound, options);
    app.Start();
    QTest::mouseClick(&app.form, Qt::LeftButton, {}, QPoint(100, 100));  // ends the title
    const QRect caption(0, 0, static_cast<int>(app.form.GaugeFrame().Left()), app.game.CellRects[1].top);
    const QImage japanese = app.form.BoardView().Image().copy(caption);
    const Rect& goal = app.game.CellRects[GoalCell];
    const int ratio = app.form.BoardView().PixelRatio();
    const QRect goalCell(goal.left * ratio, goal.top * ratio, (goal.right - goal.left) * ratio,
                         (goal.bottom - goal.top) * ratio);
    const QImage japaneseGoal = app.form.BoardView().Image().copy(goalCell);
    QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_F1);
    ASSERT_TRUE(app.game.HelpShown);
    QTest::keyClick(app.form.HelpView().Widget(), Qt::Key_L);
    EXPECT_EQ(SpokenLanguage(), Language::English);
    EXPECT_EQ(PlayerSettings(options.settingsPath).Language(), Language::English);
    EXPECT_EQ(app.form.ExitButton().Widget().text(), "Exit");
    EXPECT_EQ(app.form.StartStopButton().Widget().text(), "Start");
    EXPECT_NE(app.form.BoardView().Image().copy(caption), japanese) << "the stage caption is lettered again";
    EXPECT_NE(app.form.BoardView().Image().copy(goalCell), japaneseGoal) << "the goal is labelled again";
    QTest::keyClick(app.form.HelpView().Widget(), Qt::Key_L);
    EXPECT_EQ(SpokenLanguage(), Language::Japanese);
    EXPECT_EQ(PlayerSettings(options.settingsPath).Language(), Language::Japanese);
    EXPECT_EQ(app.form.NewGameButton().Widget().text(), "新ゲーム");
    EXPECT_EQ(app.form.BoardView().Image().copy(caption), japanese);
    EXPECT_EQ(app.form.BoardView().Image().copy(goalCell), japaneseGoal);
}

}  // namespace
}  // namespace kanuvo
