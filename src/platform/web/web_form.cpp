// SPDX-License-Identifier: MIT
// The game's window in a web page: canvases for the picture boxes, page buttons, timers on the game's
// clock, and the event dispatch the main loop calls, which lets the page run between passes.
#include "platform/web/web_form.h"

#include <emscripten.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "platform/captions.h"

// The page's side of each call is in page.js, under Kanuvo.form.
EM_JS(int, kanuvo_new_button, (const char* caption, int back, int enabled),
      { return Kanuvo.form.newButton(UTF8ToString(caption), back, enabled); });
EM_JS(void, kanuvo_place_button, (int b, double x, double y, double w, double h), { Kanuvo.form.placeButton(b, x, y, w, h); });
EM_JS(void, kanuvo_show_button, (int b, int visible), { Kanuvo.form.showButton(b, visible); });
EM_JS(void, kanuvo_button_caption, (int b, const char* caption), { Kanuvo.form.buttonCaption(b, UTF8ToString(caption)); });
EM_JS(void, kanuvo_button_font, (int b, double px), { Kanuvo.form.buttonFont(b, px); });
EM_JS(void, kanuvo_button_dimmed, (int b, int dimmed), { Kanuvo.form.buttonDimmed(b, dimmed); });
EM_JS(void, kanuvo_button_hint, (int b, const char* hint), { Kanuvo.form.buttonHint(b, UTF8ToString(hint)); });
EM_JS(void, kanuvo_place_surface, (int s, int x, int y), { Kanuvo.form.placeSurface(s, x, y); });
EM_JS(void, kanuvo_show_surface, (int s, int visible), { Kanuvo.form.showSurface(s, visible); });
EM_JS(void, kanuvo_size_window, (int w, int h), { Kanuvo.form.sizeWindow(w, h); });
EM_JS(void, kanuvo_close_window, (), { Kanuvo.form.closeWindow(); });
// Lets the page run: until Kanuvo.wake() is called or ms have passed (never, for a negative ms).
EM_ASYNC_JS(void, kanuvo_sleep, (double ms), { await Kanuvo.form.sleep(ms); });

namespace kanuvo {

namespace {

constexpr double kButtonFontPoints = 9;
// A loop that never waits (a route trace steps on every pass) still lets the page take input and
// show its frames this often.
constexpr std::uint32_t kYieldEveryMs = 8;

double PixelsOfPoints(double points) { return std::max(points, 1.0) * 96.0 / 72.0; }

}  // namespace

WebButton::WebButton(std::string_view utf8Caption, Color backColor, bool enabled)
    : handle_(kanuvo_new_button(std::string(utf8Caption).c_str(), static_cast<int>(backColor), enabled)) {}

void WebButton::Move(double left, double top, double width, double height) {
    left_ = left, top_ = top, width_ = width, height_ = height;
    Place();
}

void WebButton::SetWidth(double width) {
    width_ = width;
    Place();
}

void WebButton::Place() {
    kanuvo_place_button(handle_, RoundToPixel(left_), RoundToPixel(top_), std::max(0, RoundToPixel(width_)),
                        std::max(0, RoundToPixel(height_)));
}

void WebButton::SetVisible(bool visible) { kanuvo_show_button(handle_, visible); }
void WebButton::SetCaption(std::string_view utf8Caption) { kanuvo_button_caption(handle_, std::string(utf8Caption).c_str()); }
void WebButton::SetFontSize(double points) { kanuvo_button_font(handle_, PixelsOfPoints(points)); }
void WebButton::SetDimmed(bool dimmed) { kanuvo_button_dimmed(handle_, dimmed); }
void WebButton::SetHint(std::string_view utf8Hint) { kanuvo_button_hint(handle_, std::string(utf8Hint).c_str()); }

void WebPictureBox::Move(double left, double top, double width, double height) {
    left_ = left, top_ = top, width_ = width, height_ = height;
    Resize(std::max(0, RoundToPixel(width)), std::max(0, RoundToPixel(height)));
    kanuvo_place_surface(Handle(), RoundToPixel(left), RoundToPixel(top));
}

void WebPictureBox::SetVisible(bool visible) {
    visible_ = visible;
    kanuvo_show_surface(Handle(), visible);
}

void WebPictureBox::SetFocus() {
    if (onFocus) onFocus();
}

void WebTimer::Start(int periodMs) { due_ = clock_.Now() + static_cast<std::uint32_t>(periodMs); }

void WebTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) {
        held_ = false;
        heldRemainder_ = -1;
    } else if (active_) {
        Start(interval_);
    }
}

void WebTimer::SetHeld(bool held) {
    held = held && enabled_;
    if (held == held_) return;
    if (held) heldRemainder_ = active_ ? static_cast<int>(std::clamp<std::int64_t>(Remaining(), 0, interval_)) : -1;
    held_ = held;
    if (!held && active_) {
        Start(heldRemainder_ >= 0 ? heldRemainder_ : interval_);
        heldRemainder_ = -1;
    }
}

void WebTimer::Activate() {
    if (active_) return;
    active_ = true;
    if (enabled_ && !held_) Start(interval_);
}

std::int64_t WebTimer::Remaining() const {
    // A held timer is never due: one read as due would be dispatched, and not fired, on every pass.
    if (!Counting()) return -1;
    // A signed difference stays right across the tick count's wrap.
    const auto left = static_cast<std::int32_t>(due_ - clock_.Now());
    return std::max<std::int64_t>(left, 0);
}

void WebTimer::Fire() {
    if (Remaining() != 0) return;
    // The next period starts now, as a window timer's does, however late this event came.
    Start(interval_);
    if (onTimer) onTimer();
}

WebForm::WebForm(Clock& clock)
    : clock_(clock),
      canvas_("window"),
      boardView_("board"),
      boardCopy_(""),
      exitButton_(kExitCaption.source, Rgb(128, 255, 128), true),
      newGameButton_(kNewGameCaption.source, Rgb(255, 128, 255), true),
      startStopButton_(kStartCaption.source, Rgb(255, 128, 128), true),
      gaugeFrame_("", Rgb(255, 255, 255), false),
      gaugeBar_("", Rgb(255, 0, 0), false),
      helpView_("help"),
      titleTimer_(clock, true),
      timeLimitTimer_(clock, false),
      gameOverTimer_(clock, false),
      noteTimer_(clock, false) {
    for (WebButton* button : {&exitButton_, &newGameButton_, &startStopButton_, &gaugeFrame_, &gaugeBar_})
        button->SetFontSize(kButtonFontPoints);
    for (WebPictureBox* box : {&boardView_, &helpView_}) box->onFocus = [this, box] { focus_ = box; };
}

WebForm::~WebForm() = default;

void WebForm::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    ApplySize();
}

void WebForm::ApplySize() {
    const int w = std::max(1, width_), h = std::max(1, height_);
    canvas_.Resize(w, h);
    kanuvo_size_window(w, h);
}

void WebForm::Close() {
    if (closed_) return;
    closed_ = true;
    if (onQueryUnload) onQueryUnload();
    kanuvo_close_window();
}

void WebForm::RaiseLoad() {
    if (loaded_) return;
    loaded_ = true;
    if (onLoad) onLoad();
    if (closed_) return;
    for (WebTimer* timer : {&titleTimer_, &timeLimitTimer_, &gameOverTimer_, &noteTimer_}) timer->Activate();
}

void WebForm::Post(PageEvent kind, int a, int b, int c, int d) { events_.push_back({kind, a, b, c, d}); }

void WebForm::Handle(const Event& e) {
    switch (e.kind) {
        case PageEvent::Key:
            if (focus_ != nullptr && focus_->Visible() && focus_->onKeyDown) {
                focus_->onKeyDown(e.a);
            } else if (onKeyDown) {
                onKeyDown(e.a);
            }
            return;
        case PageEvent::MouseDown:
            for (WebPictureBox* box : {&helpView_, &boardView_}) {
                if (e.a == box->Handle()) {
                    if (box->Visible() && box->onMouseDown) box->onMouseDown(e.d, e.b, e.c);
                    return;
                }
            }
            if (onMouseDown) onMouseDown();
            return;
        case PageEvent::MouseMove:
            if (e.a == boardView_.Handle() && boardView_.onMouseMove) boardView_.onMouseMove();
            return;
        case PageEvent::Click:
        case PageEvent::ButtonMove:
            for (WebButton* button : {&exitButton_, &newGameButton_, &startStopButton_}) {
                if (e.a != button->Handle()) continue;
                const auto& handler = e.kind == PageEvent::Click ? button->onClick : button->onMouseMove;
                if (handler) handler();
            }
            return;
        case PageEvent::Resize:
            if (onResize) onResize();
            return;
        case PageEvent::Leave:
            Close();
            return;
    }
}

bool WebForm::Dispatch() {
    bool handled = false;
    // Events that handlers cause are taken in the same dispatch, as a window's queue would.
    while (!events_.empty() && !closed_) {
        const Event event = events_.front();
        events_.pop_front();
        Handle(event);
        handled = true;
    }
    for (WebTimer* timer : {&titleTimer_, &timeLimitTimer_, &gameOverTimer_, &noteTimer_}) {
        if (closed_) break;
        if (timer->Remaining() == 0) {
            timer->Fire();
            handled = true;
        }
    }
    return handled;
}

void WebForm::DoEvents() {
    const std::uint32_t now = clock_.Now();
    if (now - lastYield_ >= kYieldEveryMs) {
        kanuvo_sleep(0);
        lastYield_ = clock_.Now();
    }
    Dispatch();
}

void WebForm::WaitForEvents(std::uint32_t untilTick) {
    if (Dispatch()) return;
    // Asleep until the page reports something, the first timer is due, or the tick asked for comes.
    auto wait = static_cast<std::int64_t>(static_cast<std::int32_t>(untilTick - clock_.Now()));
    for (WebTimer* timer : {&titleTimer_, &timeLimitTimer_, &gameOverTimer_, &noteTimer_}) {
        if (timer->Remaining() >= 0) wait = std::min(wait, timer->Remaining());
    }
    if (wait > 0) {
        kanuvo_sleep(static_cast<double>(wait));
        lastYield_ = clock_.Now();
    }
    Dispatch();
}

}  // namespace kanuvo
