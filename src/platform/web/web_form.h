// SPDX-License-Identifier: MIT
// The game's window in a web page: canvases for the picture boxes, page buttons, the page's events
// handed to the game as they come, and the one timer that wakes it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
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

// What the page reports.
enum class PageEvent {
    Key = 1,          // a: the virtual-key code
    MouseDown = 2,    // a: the surface, b, c: the point in the game's pixels, d: the button
    MouseMove = 3,    // a: the surface
    Click = 4,        // a: the button
    ButtonMove = 5,   // a: the button
    Rescale = 6,      // the page's pixel ratio changed: the canvases hold what they showed, enlarged
    Leave = 7,        // the page is going away
    Wake = 8,         // the time the game asked to be woken at has come
};

class WebForm : public Form {
public:
    WebForm();
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

    void SetSize(int width, int height) override;
    void Close() override;
    void SetWake(std::optional<int> ms) override;

    // Raises the load event once.
    void RaiseLoad();
    bool Closed() const { return closed_; }
    // Called by the page, through the program's one exported entry, for each thing that happens.
    void Post(PageEvent kind, int a, int b, int c, int d);

    std::function<void()> onLoad;
    std::function<void()> onQueryUnload;
    std::function<void()> onMouseDown;           // a click on the window's own area
    std::function<void(int keyCode)> onKeyDown;  // a key no picture box took
    std::function<void()> onResize;
    std::function<void()> onWake;  // the time the game asked to be woken at has come
    std::function<void()> onRepaint;  // the canvases changed their pixel ratio: what they show is drawn again

private:
    struct Event {
        PageEvent kind;
        int a, b, c, d;
    };
    void Handle(const Event& event);
    void ApplySize();

    WebSurface canvas_;
    WebPictureBox boardView_;
    WebPictureBox boardCopy_;
    WebButton exitButton_;
    WebButton newGameButton_;
    WebButton startStopButton_;
    WebButton gaugeFrame_;
    WebButton gaugeBar_;
    WebPictureBox helpView_;  // made after every other control, so that it lies over them all
    WebPictureBox* focus_ = nullptr;
    // What the page reported while an event was being handled, taken after it, in order.
    std::deque<Event> events_;
    bool handling_ = false;
    int width_ = 0, height_ = 0;  // the inner area, in pixels: the page has no frame
    bool loaded_ = false;
    bool closed_ = false;
};

}  // namespace kanuvo
