// SPDX-License-Identifier: MIT
// The game's window in a web page: canvases for the picture boxes, page buttons, the page's events
// handed to the game as they come, and the one timer that wakes it.
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
EM_JS(void, kanuvo_wake_in, (int ms), { Kanuvo.form.wakeIn(ms); });

namespace kanuvo {

namespace {

constexpr double kButtonFontPoints = 9;
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

WebForm::WebForm()
    : canvas_("window"),
      boardView_("board"),
      boardCopy_(""),
      exitButton_(kExitCaption.source, Rgb(128, 255, 128), true),
      newGameButton_(kNewGameCaption.source, Rgb(255, 128, 255), true),
      startStopButton_(kStartCaption.source, Rgb(255, 128, 128), true),
      gaugeFrame_("", Rgb(255, 255, 255), false),
      gaugeBar_("", Rgb(255, 0, 0), false),
      helpView_("help") {
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
}

void WebForm::SetWake(std::optional<int> ms) { kanuvo_wake_in(ms && !closed_ ? std::max(0, *ms) : -1); }

void WebForm::Post(PageEvent kind, int a, int b, int c, int d) {
    events_.push_back({kind, a, b, c, d});
    // A handler that makes the page report something (a page that moves a button under the pointer,
    // say) has its own event finished first.
    if (handling_) return;
    handling_ = true;
    while (!events_.empty() && !closed_) {
        const Event event = events_.front();
        events_.pop_front();
        Handle(event);
    }
    events_.clear();
    handling_ = false;
}

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
        case PageEvent::Rescale:
            if (onRepaint) onRepaint();
            return;
        case PageEvent::Wake:
            if (onWake) onWake();
            return;
        case PageEvent::Leave:
            Close();
            return;
    }
}

}  // namespace kanuvo
