// SPDX-License-Identifier: MIT
// The window and its controls on the offscreen platform: state at start, geometry, what shows,
// and events (clicks, keys, pointer moves, timers, closing) raised from the event dispatch.
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/main_form.h"
#include "platform/qt/qt_system.h"

namespace kanuvo {
namespace {

class ManualClock : public Clock {
public:
    std::uint32_t now = 0;
    std::uint32_t Now() override { return now; }
};

QRgb Rgb32(Color color) { return qRgb(RedOf(color), GreenOf(color), BlueOf(color)); }

// Handles events until done() holds or the deadline passes; false on the deadline.
template <class Done>
bool PumpUntil(Done done, int deadlineMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > deadlineMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Lets a period of ms pass on Qt's timers, handling events meanwhile or not: by then a timer of that
// period or less started before is due, and has had its event if events were handled (due timers are
// handled in the order they fall due).
void LetPass(int ms, bool handleEvents = true) {
    QTimer period;
    period.setSingleShot(true);
    period.setTimerType(Qt::PreciseTimer);
    period.start(ms);
    while (handleEvents ? period.isActive() : period.remainingTime() > 0) {
        if (handleEvents) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.SetSize(400, 300);
    }
    void ShowBoard() {
        form.BoardView().Move(0, 0, form.Canvas().PixelWidth(), form.Canvas().PixelHeight());
        form.BoardView().SetVisible(true);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QtClock clock;
    MainForm form{clock};
};

TEST_F(FormTest, StartsWithEveryControlHiddenAndAsDesigned) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kanuvo"));
    EXPECT_FALSE(form.BoardView().Visible());
    EXPECT_FALSE(form.BoardCopy().Visible());
    EXPECT_EQ(form.BoardCopy().Widget(), nullptr);
    struct Expected {
        QtButton& button;
        std::string caption;
        bool enabled;
    };
    for (const Expected& e : {Expected{form.ExitButton(), "終了", true}, Expected{form.NewGameButton(), "新ゲーム", true},
                              Expected{form.StartStopButton(), "スタート", true}, Expected{form.GaugeFrame(), "", false},
                              Expected{form.GaugeBar(), "", false}}) {
        EXPECT_EQ(e.button.Caption(), e.caption);
        EXPECT_EQ(e.button.Enabled(), e.enabled) << e.caption;
        EXPECT_FALSE(e.button.Visible());
        EXPECT_TRUE(e.button.Widget().isHidden());
        EXPECT_EQ(e.button.Widget().focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(e.button.Widget().hasMouseTracking());
    }
}

TEST_F(FormTest, TheOuterSizeGivesTheInnerSizeTheWindowReallyGot) {
    form.SetSize(650, 550);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QSize frame = form.frameGeometry().size() - form.geometry().size();
    EXPECT_EQ(form.Canvas().PixelWidth(), 650 - frame.width());
    EXPECT_EQ(form.Canvas().PixelHeight(), 550 - frame.height());
    EXPECT_EQ(form.Canvas().PixelWidth(), form.width());
    EXPECT_EQ(form.Canvas().PixelHeight(), form.height());
}

TEST_F(FormTest, AnOwnTitleBarIsPartOfTheOuterSizeAndItsBoxesMaximiseMinimiseAndClose) {
    form.BoardView().Move(0, 0, 400, 300);
    form.AddTitleBar();
    QWidget* bar = form.OwnTitleBar();
    EXPECT_EQ(form.size(), QSize(400, 300));
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 400, 28));
    EXPECT_EQ(form.BoardView().PixelHeight(), 272) << "the board keeps covering the inner area";
    EXPECT_EQ(form.BoardView().Widget()->mapTo(&form, QPoint(0, 0)), QPoint(0, 28));
    form.show();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(362, 14));
    EXPECT_TRUE(form.isMaximized());
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(100, 14));
    EXPECT_FALSE(form.isMaximized()) << "a double click on the bar gives the window its size back";
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(334, 14));
    EXPECT_TRUE(form.isMinimized());
    EXPECT_FALSE(form.Closed());
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(390, 14));
    EXPECT_TRUE(form.Closed());
}

TEST_F(FormTest, TheBoardKeepsCoveringTheInnerAreaWhenItChanges) {
    form.BoardView().Move(0, 0, 400, 300);
    form.BoardCopy().Move(0, 0, 400, 300);
    form.Canvas().Clear(Rgb(255, 51, 51));
    form.SetSize(400, 280);  // as when a frame takes part of the window
    EXPECT_EQ(form.Canvas().PixelHeight(), 280);
    EXPECT_EQ(form.Canvas().Image().pixel(399, 279), qRgb(255, 51, 51));
    EXPECT_EQ(form.BoardView().PixelWidth(), 400);
    EXPECT_EQ(form.BoardView().PixelHeight(), 280);
    EXPECT_EQ(form.BoardView().Widget()->geometry(), QRect(0, 0, 400, 280));
    EXPECT_EQ(form.BoardCopy().PixelHeight(), 280);

    form.BoardView().Move(0, 0, 100, 100);  // not laid over the whole area: left where it is
    form.SetSize(400, 300);
    EXPECT_EQ(form.BoardView().PixelHeight(), 100);
    EXPECT_EQ(form.BoardCopy().PixelHeight(), 300);
}

TEST_F(FormTest, ButtonsShowTheirBackColoursEnabledOrNot) {
    form.show();
    for (QtButton* button : {&form.ExitButton(), &form.StartStopButton(), &form.GaugeFrame(), &form.GaugeBar()}) {
        button->Move(10, 10, 80, 30);
        button->SetVisible(true);
    }
    const std::vector<std::pair<QtButton*, Color>> expected = {{&form.ExitButton(), Rgb(128, 255, 128)},
                                                               {&form.StartStopButton(), Rgb(255, 128, 128)},
                                                               {&form.GaugeFrame(), Rgb(255, 255, 255)},
                                                               {&form.GaugeBar(), Rgb(255, 0, 0)}};
    for (const auto& [button, colour] : expected) {
        const QImage shot = button->Widget().grab().toImage();
        EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, Rgb32(colour) & 0xFFFFFF) << button->Caption();
        EXPECT_EQ(shot.pixel(74, 24) & 0xFFFFFF, Rgb32(colour) & 0xFFFFFF) << button->Caption();
    }
    // Pressed a button is darker, dimmed it fades towards grey; at rest it has its own colour again.
    QWidget& exit = form.ExitButton().Widget();
    const auto look = [&exit] { return exit.grab().toImage().pixel(40, 5) & 0xFFFFFF; };
    QTest::mousePress(&exit, Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_EQ(look(), 0x66CC66u) << "pressed";
    QTest::mouseRelease(&exit, Qt::LeftButton, {}, QPoint(40, 15));
    form.ExitButton().SetDimmed(true);
    EXPECT_EQ(look(), 0x99CC99u) << "dimmed";
    form.ExitButton().SetDimmed(false);
    EXPECT_EQ(look(), 0x80FF80u) << "at rest";
    // Lit under the pointer; moved from under it, the pointer at rest, it is at rest again at once.
    for (QtButton* above : {&form.StartStopButton(), &form.GaugeFrame(), &form.GaugeBar()}) above->SetVisible(false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QCursor::setPos(exit.mapToGlobal(QPoint(40, 15)));
    ASSERT_TRUE(PumpUntil([&] { return exit.underMouse(); }));
    EXPECT_EQ(look(), 0xACFFACu) << "lit";
    form.ExitButton().Move(200, 100, 80, 30);
    EXPECT_EQ(look(), 0x80FF80u) << "moved from under the pointer";
}

TEST_F(FormTest, ButtonGeometryKeepsFractionsAndTheWidgetGetsThemRounded) {
    QtButton& button = form.NewGameButton();
    button.Move(10.5, 20.25, 100.75, 30.5);
    EXPECT_EQ(button.Left(), 10.5);
    EXPECT_EQ(button.Top(), 20.25);
    EXPECT_EQ(button.Width(), 100.75);
    EXPECT_EQ(button.Height(), 30.5);
    EXPECT_EQ(button.Widget().geometry(), QRect(10, 20, 101, 30));
    button.SetWidth(-3.5);
    EXPECT_EQ(button.Width(), -3.5);
    EXPECT_EQ(button.Widget().geometry(), QRect(10, 20, 0, 30));

    button.SetCaption("ストップ");
    EXPECT_EQ(button.Caption(), "ストップ");
    button.SetFontSize(12.5);
    EXPECT_EQ(button.FontSize(), 12.5);
    EXPECT_EQ(button.Widget().font().pointSizeF(), 12.5);
}

TEST_F(FormTest, PictureBoxesAreSizedByMoveAndShowWhatWasDrawnAfterBeingHidden) {
    form.BoardCopy().Move(0, 0, 120.5, 80);
    EXPECT_EQ(form.BoardCopy().PixelWidth(), 120);
    EXPECT_EQ(form.BoardCopy().PixelHeight(), 80);

    ShowBoard();
    QtPictureBox& board = form.BoardView();
    // The offscreen platform draws a thin frame once the window shows; the board covers what is inside.
    EXPECT_EQ(board.PixelWidth(), form.width());
    EXPECT_EQ(board.PixelHeight(), form.height());
    EXPECT_EQ(board.Widget()->geometry(), form.rect());
    board.Clear(Rgb(0, 128, 0));
    board.FillBox(10, 10, 20, 20, Rgb(255, 0, 0));
    board.SetVisible(false);
    form.showMinimized();
    QCoreApplication::processEvents();
    form.showNormal();
    board.SetVisible(true);
    const QImage shot = board.Widget()->grab().toImage();
    EXPECT_EQ(shot.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(100, 100), qRgb(0, 128, 0));
}

TEST_F(FormTest, TheWindowShowsItsCanvasUntilTheBoardCoversIt) {
    form.Canvas().Clear(Rgb(255, 51, 51));
    form.Canvas().FillBox(5, 5, 9, 9, Rgb(0, 0, 255));
    form.show();
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixel(100, 100), qRgb(255, 51, 51));
    EXPECT_EQ(shot.pixel(7, 7), qRgb(0, 0, 255));
}

TEST_F(FormTest, TheFirstFrameIsReportedOnceAfterItIsPainted) {
    // The program sets its icon and starts loading its sound from here: never before the title shows.
    int reports = 0;
    form.onFirstFrame = [&] { ++reports; };
    LetPass(50);
    EXPECT_EQ(reports, 0) << "nothing is painted before the window shows";
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(PumpUntil([&] { return reports > 0; }));
    form.Canvas().FillBox(0, 0, 9, 9, Rgb(0, 0, 255));
    form.repaint();
    LetPass(50);
    EXPECT_EQ(reports, 1);
}

TEST_F(FormTest, MouseDownComesOnlyFromTheWindowsOwnArea) {
    int downs = 0;
    form.onMouseDown = [&] { ++downs; };
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(&form, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_EQ(downs, 1);

    QtButton& gauge = form.GaugeFrame();  // disabled: its clicks must not pass through to the window
    gauge.Move(300, 10, 50, 20);
    gauge.SetVisible(true);
    QTest::mouseClick(&gauge.Widget(), Qt::LeftButton);
    EXPECT_EQ(downs, 1);

    // The board reports its own clicks, with the button and the point in its pixels.
    std::vector<std::array<int, 3>> boardClicks;
    form.BoardView().onMouseDown = [&](int button, int x, int y) { boardClicks.push_back({button, x, y}); };
    ShowBoard();
    QTest::mouseClick(form.BoardView().Widget(), Qt::LeftButton, {}, QPoint(50, 70));
    QTest::mouseClick(form.BoardView().Widget(), Qt::RightButton, {}, QPoint(3, 4));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(boardClicks, (std::vector<std::array<int, 3>>{{kLeftButton, 50, 70}, {kRightButton, 3, 4}}));
}

TEST_F(FormTest, PointerMovesOverButtonsAndTheBoardAreReported) {
    int overExit = 0;
    int overBoard = 0;
    form.ExitButton().onMouseMove = [&] { ++overExit; };
    form.BoardView().onMouseMove = [&] { ++overBoard; };
    ShowBoard();
    form.ExitButton().Move(300, 10, 80, 30);
    form.ExitButton().SetVisible(true);
    QTest::mouseMove(&form.ExitButton().Widget(), QPoint(10, 10));
    QTest::mouseMove(&form.ExitButton().Widget(), QPoint(20, 12));
    EXPECT_EQ(overExit, 2);
    QTest::mouseMove(form.BoardView().Widget(), QPoint(100, 100));
    EXPECT_EQ(overBoard, 1);
    EXPECT_EQ(overExit, 2);
}

TEST_F(FormTest, KeysGoToTheBoardWhileItHasTheFocusAndButtonsNeverTakeIt) {
    std::vector<int> codes;
    form.BoardView().onKeyDown = [&](int code) { codes.push_back(code); };
    int clicks = 0;
    form.NewGameButton().onClick = [&] { ++clicks; };
    ShowBoard();
    form.NewGameButton().Move(300, 10, 80, 30);
    form.NewGameButton().SetVisible(true);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.BoardView().SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return form.BoardView().Widget()->hasFocus(); }));

    QTest::mouseClick(&form.NewGameButton().Widget(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form.BoardView().Widget()->hasFocus());

    QWidget* const focus = nullptr;  // deliver to whatever has the focus, as the keyboard does
    QTest::keyClick(focus, Qt::Key_Left);
    QTest::keyClick(focus, Qt::Key_8, Qt::KeypadModifier);
    QTest::keyClick(focus, Qt::Key_Tab);
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(form.BoardView().Widget(), &repeat);
    }
    EXPECT_EQ(codes, (std::vector<int>{37, 104, 9, 40, 40, 40}));
    EXPECT_TRUE(form.BoardView().Widget()->hasFocus());
}

TEST_F(FormTest, CloseRaisesQueryUnloadOnceAndClosesTheWindow) {
    int queries = 0;
    form.onQueryUnload = [&] { ++queries; };
    form.show();
    form.ExitButton().onClick = [&] { form.Close(); };
    form.ExitButton().Move(10, 10, 80, 30);
    form.ExitButton().SetVisible(true);
    QTest::mouseClick(&form.ExitButton().Widget(), Qt::LeftButton);
    EXPECT_EQ(queries, 1);
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(form.isVisible());
    form.Close();
    form.close();
    EXPECT_EQ(queries, 1);
}

// The window's one timer: it wakes the game once, at the time asked for, in place of a wake asked for
// before; none cancels it; a closed window wakes nothing.
TEST(Wake, RingsOnceAtTheTimeAskedForInPlaceOfTheWakeBefore) {
    ManualClock clock;
    MainForm form{clock};
    int rang = 0;
    form.onWake = [&] { ++rang; };
    form.SetWake(100000);
    form.SetWake(50);  // sooner, in place of the first
    EXPECT_TRUE(PumpUntil([&] { return rang == 1; }));
    form.SetWake(50);
    form.SetWake(100000);  // later, in place of the first
    LetPass(300);
    EXPECT_EQ(rang, 1);
    form.SetWake(0);
    form.SetWake(std::nullopt);
    LetPass(100);
    EXPECT_EQ(rang, 1) << "none cancels a wake";
    form.SetWake(-5);  // a time already past wakes at once
    EXPECT_TRUE(PumpUntil([&] { return rang == 2; }));
    form.SetWake(50);
    form.close();
    LetPass(150);
    EXPECT_EQ(rang, 2) << "a closed window wakes nothing";
}

}  // namespace
}  // namespace kanuvo
