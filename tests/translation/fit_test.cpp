// SPDX-License-Identifier: MIT
// Every English text, laid out on every board size in every window size, stays inside its box: the
// stage caption left of the gauge and above the board, the goal and start labels inside their cells,
// the F1 hint in its corner, the help page inside its outline, the buttons' captions inside their
// buttons, the banners and the pause plate inside the board. And L on the help page switches the
// language.
// Run once at the design's density and once at twice it (QT_SCALE_FACTOR=2).
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

// The part of the surface whose pixels differ between before and after, in the game's pixels.
QRect Changed(const QImage& before, const QImage& after, int ratio) {
    QRect ink;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) ink |= QRect(x, y, 1, 1);
    if (ink.isNull()) return ink;
    return QRect(QPoint(ink.left() / ratio, ink.top() / ratio), QPoint(ink.right() / ratio, ink.bottom() / ratio));
}

// The part of a button's face that its caption inks: pixels unlike the face's own colour, inside
// the frame of two pixels all round. A caption too long for its button runs into the frame.
QRect CaptionInk(QPushButton& button) {
    const QImage face = button.grab().toImage();
    const int frame = static_cast<int>(2 * face.devicePixelRatio());
    const QRgb back = face.pixel(face.width() / 2, frame);
    QRect ink;
    for (int y = frame; y < face.height() - frame; ++y)
        for (int x = frame; x < face.width() - frame; ++x) {
            const QRgb p = face.pixel(x, y);
            if (std::abs(qGray(p) - qGray(back)) > 25) ink |= QRect(x, y, 1, 1);
        }
    const double ratio = face.devicePixelRatio();
    return QRect(QPoint(static_cast<int>(ink.left() / ratio), static_cast<int>(ink.top() / ratio)),
                 QPoint(static_cast<int>(ink.right() / ratio), static_cast<int>(ink.bottom() / ratio)));
}

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
        system.SetScreenOverride(GetParam().screenHeight, 15);
        system.SetMsgBoxHook([](std::string_view) {});
        app = std::make_unique<KanuvoApp>(clock, system, sound);
        app->Start();
        QTest::mouseClick(&app->form, Qt::LeftButton, {}, QPoint(100, 100));  // ends the title
        // The longest caption of all: the last stage.
        g().Stage = 9;
        g().BoardSize = GetParam().boardSize;
    }
    ~EnglishFits() override { SpeakLanguage(Language::Japanese); }
    Game& g() { return app->game; }
    QImage Board() { return app->form.BoardView().Image().copy(); }
    int Ratio() { return app->form.BoardView().PixelRatio(); }
    // Whatever `draw` changes on the board lies within box.
    void ExpectDrawnWithin(const char* what, const QRect& box, const std::function<void()>& draw,
                           const std::function<void()>& prepare = [] {}) {
        prepare();
        const QImage before = Board();
        draw();
        const QRect ink = Changed(before, Board(), Ratio());
        EXPECT_FALSE(ink.isNull()) << what << " drew nothing";
        EXPECT_TRUE(box.contains(ink)) << what << " inks " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                       << ink.height() << " outside " << box.x() << "," << box.y() << " "
                                       << box.width() << "x" << box.height();
    }
    static QRect FromRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

    QTemporaryDir lockDir;
    testing::ManualClock clock;
    QtSystem system;
    testing::RecordingSound sound;
    std::unique_ptr<KanuvoApp> app;
};

TEST_P(EnglishFits, CaptionLabelsAndButtons) {
    NewGameClick(g());
    const int n = g().BoardSize;
    const QRect caption(0, 0, static_cast<int>(app->form.GaugeFrame().Left()), g().CellRects[1].top);
    ExpectDrawnWithin("the stage caption", caption, [&] { PrintStageCaption(g()); });
    const int start = StartCell(n);
    ExpectDrawnWithin(
        "GOAL", FromRect(g().CellRects[GoalCell]), [&] { PaintGoal(g(), GoalCell, app->form.BoardView()); },
        [&] { EraseCell(g(), GoalCell, app->form.BoardView()); });
    ExpectDrawnWithin(
        "START", FromRect(g().CellRects[start]), [&] { PaintStart(g(), start, app->form.BoardView()); },
        [&] { EraseCell(g(), start, app->form.BoardView()); });
    const Rect corner = CornerArea(g());
    ExpectDrawnWithin(
        "the F1 hint", FromRect(corner), [&] { DrawCorner(g(), app->form.BoardView()); },
        [&] { app->form.BoardView().Line(corner.left, corner.top, corner.right - 1, corner.bottom - 1, 0, LineStyle::FilledBox); });
    // The help page's lines stay inside its outline, four pixels in from the window's edges.
    ShowHelp(g());
    const QImage page = app->form.HelpView().Image();
    const QRgb back = page.pixel(2, 2);
    QRect ink;
    for (int y = 5 * Ratio(); y < page.height() - 5 * Ratio(); ++y)
        for (int x = 5 * Ratio(); x < page.width() - 5 * Ratio(); ++x)
            if (page.pixel(x, y) != back) ink |= QRect(x, y, 1, 1);
    EXPECT_TRUE(QRect(6 * Ratio(), 6 * Ratio(), page.width() - 12 * Ratio(), page.height() - 12 * Ratio()).contains(ink))
        << "the help page inks " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    CloseHelp(g());

    const auto captionsFit = [this] {
        for (QtButton* button : {&app->form.ExitButton(), &app->form.NewGameButton(), &app->form.StartStopButton()}) {
            SCOPED_TRACE(button->Caption());
            QPushButton& widget = button->Widget();
            const QRect ink = CaptionInk(widget);
            EXPECT_FALSE(ink.isNull());
            EXPECT_TRUE(QRect(3, 2, widget.width() - 6, widget.height() - 4).contains(ink))
                << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height() << " in "
                << widget.width() << "x" << widget.height();
        }
    };
    captionsFit();
    // And with Stop on the button, from inside the run's loop.
    QTimer::singleShot(0, &app->form, [&] {
        captionsFit();
        StartStopClick(g());
    });
    StartStopClick(g());
}

TEST_P(EnglishFits, BannersAndThePausePlate) {
    NewGameClick(g());
    const QRect board = FromRect(CellsArea(g(), g().BoardSize));
    const QRect plate = FromRect(PlateRect(g()));
    ExpectDrawnWithin("the pause plate", plate, [&] { TogglePause(g()); });
    TogglePause(g());
    BeginRunRecord(g());
    g().TimeCount = 179;
    for (const RunEnd end : {RunEnd::Cleared, RunEnd::Stopped, RunEnd::Crashed, RunEnd::TimedOut}) {
        g().LastRunEnd = end;
        g().RunEndShown = false;
        g().Lives = 2;
        ExpectDrawnWithin("a run's end", board, [&] { ShowRunEnd(g()); });
    }
    // Cleared again, with the best time kept now.
    g().LastRunEnd = RunEnd::Cleared;
    g().RunEndShown = false;
    ExpectDrawnWithin("a second clear", board, [&] { ShowRunEnd(g()); });
    g().LastRunEnd = RunEnd::GameOver;
    const QRect window(0, 0, app->form.Canvas().ScaleWidth(), app->form.Canvas().ScaleHeight());
    ExpectDrawnWithin("the Game Over hint", window, [&] { ShowGameOverHint(g(), window.height() / 2); });
}

INSTANTIATE_TEST_SUITE_P(EveryWindowAndBoard, EnglishFits,
                         ::testing::Values(Case{768, 4}, Case{768, 5}, Case{768, 6}, Case{768, 7},  //
                                           Case{600, 4}, Case{600, 5}, Case{600, 6}, Case{600, 7},  //
                                           Case{480, 4}, Case{480, 5}, Case{480, 6}, Case{480, 7}),
                         [](const auto& info) {
                             return "Screen" + std::to_string(info.param.screenHeight) + "Board" +
                                    std::to_string(info.param.boardSize);
                         });

TEST(LanguageKey, LOnTheHelpPageSwitchesTheWindowToTheOtherLanguageAndKeepsTheChoice) {
    QTemporaryDir scratch;
    testing::ManualClock clock;
    QtSystem system;
    system.SetLockPath(scratch.filePath("kanuvo.lock"));
    system.SetScreenOverride(768, 15);
    testing::RecordingSound sound;
    AppOptions options;
    options.settingsPath = scratch.filePath("kanuvo.ini");
    KanuvoApp app(clock, system, sound, options);
    app.Start();
    QTest::mouseClick(&app.form, Qt::LeftButton, {}, QPoint(100, 100));  // ends the title
    const QRect caption(0, 0, static_cast<int>(app.form.GaugeFrame().Left()), app.game.CellRects[1].top);
    const QImage japanese = app.form.BoardView().Image().copy(caption);
    QTest::keyClick(app.form.BoardView().Widget(), Qt::Key_F1);
    ASSERT_TRUE(app.game.HelpShown);
    QTest::keyClick(app.form.HelpView().Widget(), Qt::Key_L);
    EXPECT_EQ(SpokenLanguage(), Language::English);
    EXPECT_EQ(PlayerSettings(options.settingsPath).Language(), Language::English);
    EXPECT_EQ(app.form.ExitButton().Widget().text(), "Exit");
    EXPECT_EQ(app.form.StartStopButton().Widget().text(), "Start");
    EXPECT_NE(app.form.BoardView().Image().copy(caption), japanese) << "the stage caption is lettered again";
    QTest::keyClick(app.form.HelpView().Widget(), Qt::Key_L);
    EXPECT_EQ(SpokenLanguage(), Language::Japanese);
    EXPECT_EQ(PlayerSettings(options.settingsPath).Language(), Language::Japanese);
    EXPECT_EQ(app.form.NewGameButton().Widget().text(), "新ゲーム");
    EXPECT_EQ(app.form.BoardView().Image().copy(caption), japanese);
}

}  // namespace
}  // namespace kanuvo
