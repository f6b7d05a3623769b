// The game's window and its controls over Qt Widgets: picture boxes, buttons, timers, the event
// dispatch the main loop calls, and the events the program wires to the game.
#pragma once

#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "platform/form.h"
#include "platform/qt/qt_surface.h"
#include "platform/system.h"

namespace kanuvo {

class ButtonWidget;
class PictureWidget;

// Where a control sits and whether it shows, kept exactly as given (fractions and all); its widget
// gets the values rounded to pixels.
template <class Base>
class PlacedControl : public Base {
public:
    void Move(double left, double top, double width, double height) override {
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
        Place();
    }
    double Left() const override { return left_; }
    double Top() const override { return top_; }
    double Width() const override { return width_; }
    double Height() const override { return height_; }
    void SetVisible(bool visible) override {
        visible_ = visible;
        Show(visible);
    }
    bool Visible() const override { return visible_; }

protected:
    // The place in whole pixels, halves to even; a negative size is none.
    QRect Rounded() const {
        return QRect(RoundToPixel(left_), RoundToPixel(top_), std::max(0, RoundToPixel(width_)),
                     std::max(0, RoundToPixel(height_)));
    }
    virtual void Place() = 0;
    virtual void Show(bool visible) = 0;

    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
    bool visible_ = false;
};

// A button that shows its back colour on every style.
class QtButton : public PlacedControl<Button> {
public:
    QtButton(QWidget* parent, std::string_view utf8Caption, Color backColor, bool enabled);
    ~QtButton() override;
    QtButton(const QtButton&) = delete;
    QtButton& operator=(const QtButton&) = delete;

    void SetWidth(double width) override;
    void SetCaption(std::string_view utf8Caption) override;
    std::string Caption() const override;
    void SetFontSize(double points) override;
    double FontSize() const override { return fontSize_; }
    bool Enabled() const override;

    QPushButton& Widget();

    std::function<void()> onClick;
    std::function<void()> onMouseMove;

private:
    void Place() override;
    void Show(bool visible) override;

    ButtonWidget* widget_;
    double fontSize_ = 9;
};

// A picture box: a surface, shown by a widget on the window or kept off-screen when it has none.
// Its surface always has the box's (rounded) size.
class QtPictureBox : public PlacedControl<PictureBox>, public QtSurfaceOwner {
public:
    // Without a parent the box is off-screen and never shown.
    explicit QtPictureBox(QWidget* parent);
    ~QtPictureBox() override;
    QtPictureBox(const QtPictureBox&) = delete;
    QtPictureBox& operator=(const QtPictureBox&) = delete;

    void SetFocus() override;

    const QtSurface& Pixels() const override { return surface_; }
    QtSurface& Pixels() { return surface_; }
    QWidget* Widget();  // null for an off-screen box

    std::function<void()> onMouseMove;
    std::function<void(int keyCode)> onKeyDown;

    // The drawing calls go to the box's surface.
    int ScaleWidth() const override { return surface_.ScaleWidth(); }
    int ScaleHeight() const override { return surface_.ScaleHeight(); }
    void PaintPicture(const Picture& picture, double x, double y, double width, double height,
                      RasterOp op) override {
        surface_.PaintPicture(picture, x, y, width, height, op);
    }
    void SetFillStyle(FillStyle style) override { surface_.SetFillStyle(style); }
    FillStyle GetFillStyle() const override { return surface_.GetFillStyle(); }
    void SetFillColor(Color color) override { surface_.SetFillColor(color); }
    Color FillColor() const override { return surface_.FillColor(); }
    void SetForeColor(Color color) override { surface_.SetForeColor(color); }
    Color ForeColor() const override { return surface_.ForeColor(); }
    void SetBackColor(Color color) override { surface_.SetBackColor(color); }
    Color BackColor() const override { return surface_.BackColor(); }
    void Line(double x1, double y1, double x2, double y2, Color color, LineStyle style) override {
        surface_.Line(x1, y1, x2, y2, color, style);
    }
    void SetCurrentX(double x) override { surface_.SetCurrentX(x); }
    void SetCurrentY(double y) override { surface_.SetCurrentY(y); }
    double CurrentX() const override { return surface_.CurrentX(); }
    double CurrentY() const override { return surface_.CurrentY(); }
    void SetFontSize(double points) override { surface_.SetFontSize(points); }
    double FontSize() const override { return surface_.FontSize(); }
    void SetFontBold(bool bold) override { surface_.SetFontBold(bold); }
    bool FontBold() const override { return surface_.FontBold(); }
    void Print(std::string_view utf8Text) override { surface_.Print(utf8Text); }
    double TextWidth(std::string_view utf8Text) const override { return surface_.TextWidth(utf8Text); }
    double TextHeight(std::string_view utf8Text) const override { return surface_.TextHeight(utf8Text); }
    int RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) override {
        return surface_.RoundRect(left, top, right, bottom, cornerWidth, cornerHeight);
    }
    int BitBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY) override {
        return surface_.BitBlt(x, y, width, height, source, sourceX, sourceY);
    }
    int StretchBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                   int sourceWidth, int sourceHeight) override {
        return surface_.StretchBlt(x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight);
    }

private:
    void Place() override;
    void Show(bool visible) override;

    QtSurface surface_;
    PictureWidget* widget_ = nullptr;
};

// A timer whose event comes only from the event dispatch and only while it is enabled. Its interval
// is fixed; enabling it starts a fresh period.
class QtTimer : public Timer {
public:
    QtTimer(int intervalMs, bool enabled);
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }
    int Interval() const override { return timer_.interval(); }
    // Lets an enabled timer count; until then it waits (the window's load comes first).
    void Activate();

    std::function<void()> onTimer;

private:
    QTimer timer_;
    bool enabled_;
    bool active_ = false;
};

class MainForm : public QWidget, public Form {
public:
    // twipsPerPixel 0 takes the primary screen's.
    explicit MainForm(Clock& clock, int twipsPerPixel = 0);
    ~MainForm() override;

    QtSurface& Canvas() override { return canvas_; }
    QtPictureBox& BoardView() override { return boardView_; }
    QtPictureBox& BoardCopy() override { return boardCopy_; }
    QtButton& ExitButton() override { return exitButton_; }
    QtButton& NewGameButton() override { return newGameButton_; }
    QtButton& StartStopButton() override { return startStopButton_; }
    QtButton& GaugeFrame() override { return gaugeFrame_; }
    QtButton& GaugeBar() override { return gaugeBar_; }
    QtTimer& TitleTimer() override { return titleTimer_; }
    QtTimer& TimeLimitTimer() override { return timeLimitTimer_; }
    QtTimer& GameOverTimer() override { return gameOverTimer_; }

    void SetWidth(int twips) override;
    void SetHeight(int twips) override;
    void Unload() override;
    void DoEvents() override;
    void WaitForEvents(std::uint32_t untilTick) override;

    // Raises the load event once, then lets the enabled timers run.
    void RaiseLoad();
    // The window has been closed (by the close box or Unload); it stays in memory until the program ends.
    bool Closed() const { return closed_; }

    std::function<void()> onLoad;
    std::function<void()> onQueryUnload;
    std::function<void()> onMouseDown;  // a click of any button on the window's own area
    std::function<void()> onResize;     // the inner area changed size after the load (a late frame)

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyOuterSize();
    void FollowInnerSize();
    // Holds every surface at the device pixels of the screen the window is on.
    void FollowPixelRatio();

    Clock& clock_;
    int twipsPerPixel_;
    QSize outerSize_;    // what the game asked for, frame included
    QSize frameExtra_;   // what the frame took when the outer size was last applied
    bool loaded_ = false;
    bool loading_ = false;  // inside the load event
    bool closed_ = false;

    QtSurface canvas_;
    QtPictureBox boardView_;
    QtPictureBox boardCopy_;
    QtButton exitButton_;
    QtButton newGameButton_;
    QtButton startStopButton_;
    QtButton gaugeFrame_;
    QtButton gaugeBar_;
    QtTimer titleTimer_;
    QtTimer timeLimitTimer_;
    QtTimer gameOverTimer_;
};

}  // namespace kanuvo
