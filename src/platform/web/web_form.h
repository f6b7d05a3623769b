// SPDX-License-Identifier: MIT
// The game's window in a web page: canvases for the picture boxes, page buttons, timers on the game's
// clock, and the event dispatch the main loop calls, which lets the page run between passes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/form.h"
#include "platform/system.h"
#include "platform/web/web_surface.h"

namespace kanuvo {

// The page has no screen of its own to size the window by: it reports the screen the game's largest
// window fits, and the page scales that window to the browser's viewport.
constexpr int kWebScreenHeight = 768;

// A button of the page.
class WebButton : public Button {
public:
    WebButton(std::string_view utf8Caption, Color backColor, bool enabled);
    WebButton(const WebButton&) = delete;
    WebButton& operator=(const WebButton&) = delete;

    void Move(double left, double top, double width, double height) override;
    double Left() const override { return left_; }
    double Top() const override { return top_; }
    double Width() const override { return width_; }
    double Height() const override { return height_; }
    void SetVisible(bool visible) override;
    void SetWidth(double width) override;
    void SetCaption(std::string_view utf8Caption) override;
    void SetFontSize(double points) override;
    void SetDimmed(bool dimmed) override;
    void SetHint(std::string_view utf8Hint) override;
    int Handle() const { return handle_; }

    std::function<void()> onClick;
    std::function<void()> onMouseMove;

private:
    void Place();
    int handle_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// A picture box: a canvas placed on the page, or kept off it.
class WebPictureBox : public PictureBox, public WebSurface {
public:
    explicit WebPictureBox(const char* role) : WebSurface(role) {}

    void Move(double left, double top, double width, double height) override;
    double Left() const override { return left_; }
    double Top() const override { return top_; }
    double Width() const override { return width_; }
    double Height() const override { return height_; }
    void SetVisible(bool visible) override;
    bool Visible() const { return visible_; }
    void SetFocus() override;

    std::function<void()> onMouseMove;
    std::function<void(int keyCode)> onKeyDown;
    std::function<void(int button, int x, int y)> onMouseDown;
    std::function<void()> onFocus;  // for the form, which routes the keys

private:
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = false;
};

// A timer counted on the game's clock; its event comes only from the event dispatch.
class WebTimer : public Timer {
public:
    WebTimer(Clock& clock, bool enabled) : clock_(clock), enabled_(enabled) {}
    void SetPeriod(int ms) override { interval_ = ms; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }
    void SetHeld(bool held) override;
    bool Held() const override { return held_; }
    // Lets an enabled timer count; until then it waits (the window's load comes first).
    void Activate();
    // Milliseconds until its next event, or -1 while it counts nothing.
    std::int64_t Remaining() const;
    // Raises its event if its period is over.
    void Fire();

    std::function<void()> onTimer;

private:
    bool Counting() const { return enabled_ && active_ && !held_ && interval_ > 0; }
    void Start(int periodMs);

    Clock& clock_;
    int interval_ = 0;
    bool enabled_;
    bool active_ = false;
    bool held_ = false;
    std::uint32_t due_ = 0;  // the tick of the next event while counting
    int heldRemainder_ = -1;
};

// What the page reports, queued until the next dispatch.
enum class PageEvent {
    Key = 1,          // a: the virtual-key code
    MouseDown = 2,    // a: the surface, b, c: the point in the game's pixels, d: the button
    MouseMove = 3,    // a: the surface
    Click = 4,        // a: the button
    ButtonMove = 5,   // a: the button
    Resize = 6,       // the page's size or pixel ratio changed
    Leave = 7,        // the page is going away
};

class WebForm : public Form {
public:
    explicit WebForm(Clock& clock);
    ~WebForm() override;

    Surface& Canvas() override { return canvas_; }
    WebPictureBox& BoardView() override { return boardView_; }
    WebPictureBox& BoardCopy() override { return boardCopy_; }
    WebButton& ExitButton() override { return exitButton_; }
    WebButton& NewGameButton() override { return newGameButton_; }
    WebButton& StartStopButton() override { return startStopButton_; }
    WebButton& GaugeFrame() override { return gaugeFrame_; }
    WebButton& GaugeBar() override { return gaugeBar_; }
    WebPictureBox& HelpView() override { return helpView_; }
    WebTimer& TitleTimer() override { return titleTimer_; }
    WebTimer& TimeLimitTimer() override { return timeLimitTimer_; }
    WebTimer& GameOverTimer() override { return gameOverTimer_; }
    WebTimer& NoteTimer() override { return noteTimer_; }

    void SetSize(int width, int height) override;
    void Close() override;
    void DoEvents() override;
    void WaitForEvents(std::uint32_t untilTick) override;

    // Raises the load event once, then lets the enabled timers run.
    void RaiseLoad();
    bool Closed() const { return closed_; }
    // Called by the page, through the program's one exported entry, for each thing that happens.
    void Post(PageEvent kind, int a, int b, int c, int d);

    std::function<void()> onLoad;
    std::function<void()> onQueryUnload;
    std::function<void()> onMouseDown;           // a click on the window's own area
    std::function<void(int keyCode)> onKeyDown;  // a key no picture box took
    std::function<void()> onResize;

private:
    struct Event {
        PageEvent kind;
        int a, b, c, d;
    };
    // Handles the queued events and the timers that are due; true when anything was handled.
    bool Dispatch();
    void Handle(const Event& event);
    void ApplySize();

    Clock& clock_;
    WebSurface canvas_;
    WebPictureBox boardView_;
    WebPictureBox boardCopy_;
    WebButton exitButton_;
    WebButton newGameButton_;
    WebButton startStopButton_;
    WebButton gaugeFrame_;
    WebButton gaugeBar_;
    WebPictureBox helpView_;  // made after every other control, so that it lies over them all
    WebTimer titleTimer_;
    WebTimer timeLimitTimer_;
    WebTimer gameOverTimer_;
    WebTimer noteTimer_;
    WebPictureBox* focus_ = nullptr;
    std::deque<Event> events_;
    int width_ = 0, height_ = 0;  // the inner area, in pixels: the page has no frame
    bool loaded_ = false;
    bool closed_ = false;
    std::uint32_t lastYield_ = 0;
};

}  // namespace kanuvo
