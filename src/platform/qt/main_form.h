// SPDX-License-Identifier: MIT
// The game's window and its controls over Qt Widgets: picture boxes, buttons, the one timer that
// wakes the game, and the events the program wires to the game.
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
class InnerArea;
class PictureWidget;
class TitleBar;

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
    bool Visible() const { return visible_; }
    // How the window shows the game's pixels, kept by the window; the control is placed again.
    void SetFit(const Fit* fit) {
        fit_ = fit;
        Place();
    }

protected:
    // The place in whole pixels, halves to even; a negative size is none.
    QRect Rounded() const {
        return QRect(RoundToPixel(left_), RoundToPixel(top_), std::max(0, RoundToPixel(width_)),
                     std::max(0, RoundToPixel(height_)));
    }
    virtual void Place() = 0;
    virtual void Show(bool visible) = 0;
    const Fit& Fitted() const {
        static const Fit kAsDesigned;
        return fit_ != nullptr ? *fit_ : kAsDesigned;
    }

    const Fit* fit_ = nullptr;
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
    QtButton(const QtButton&) = delete;
    QtButton& operator=(const QtButton&) = delete;

    void SetWidth(double width) override;
    void SetCaption(std::string_view utf8Caption) override;
    std::string Caption() const;
    void SetFontSize(double points) override;
    double FontSize() const { return fontSize_; }
    void SetDimmed(bool dimmed) override;
    void SetHint(std::string_view utf8Hint) override;
    bool Dimmed() const { return dimmed_; }
    bool Enabled() const;

    QPushButton& Widget();

    std::function<void()> onClick;
    std::function<void()> onMouseMove;

private:
    void Place() override;
    void Show(bool visible) override;
    // The caption's font: its size, made smaller where a translated caption would not fit.
    void ApplyFont();

    ButtonWidget* widget_;  // owned by its parent window
    double fontSize_ = 9;
    // The widget gets its caption, its enabled state and the style that paints its back colour when
    // it first shows. The title screen shows no button; styling five of them would stand between the
    // start and the title, and a caption or a disabled state given to a widget wakes the toolkit's
    // accessibility bridge, which first connects to the session bus.
    QString caption_;
    bool enabled_;
    Color backColor_;
    bool dimmed_ = false;
    bool dressed_ = false;
    double styledAt_ = 1;  // the scale its style was made for
};

// A picture box: a surface, shown by a widget on the window or kept off-screen when it has none.
// Its surface always has the box's (rounded) size.
class QtPictureBox : public PlacedControl<PictureBox>, public QtSurface {
public:
    // Without a parent the box is off-screen and never shown.
    explicit QtPictureBox(QWidget* parent);
    ~QtPictureBox() override;
    QtPictureBox(const QtPictureBox&) = delete;
    QtPictureBox& operator=(const QtPictureBox&) = delete;

    void SetFocus() override;
    QWidget* Widget();  // null for an off-screen box
    // The window's fit as seen from the box's own widget.
    Fit WidgetFit() const;
    void Clear(Color color) override;

    std::function<void()> onMouseMove;
    std::function<void(int keyCode)> onKeyDown;
    // A click on the box: the button (kLeftButton, ...) and the point in the box's pixels.
    std::function<void(int button, int x, int y)> onMouseDown;
    // The box was shown, hidden or cleared to a colour: the window's margins take the colour of the
    // box on top.
    std::function<void()> onLookChanged;

private:
    void Place() override;
    void Show(bool visible) override;

    PictureWidget* widget_ = nullptr;  // owned by its parent window
};

// How the player left the window: its size in its normal state, and whether it filled the screen.
struct WindowPlacement {
    QSize size;  // the window's own area, with the title bar it draws itself, if any
    bool maximized = false;
    bool fullScreen = false;
    bool operator==(const WindowPlacement&) const = default;
};

// The window opens at the size the game sets. The player may then resize it, maximise it or fill
// the screen with it (F11): the game keeps the layout it made for its own size, and the window shows
// it scaled to fit, centred, with margins in the colour of the board (or of whatever covers it).
class MainForm : public QWidget, public Form {
public:
    explicit MainForm(Clock& clock);
    ~MainForm() override;

    QtSurface& Canvas() override { return canvas_; }
    QtPictureBox& BoardView() override { return boardView_; }
    QtPictureBox& BoardCopy() override { return boardCopy_; }
    QtButton& ExitButton() override { return exitButton_; }
    QtButton& NewGameButton() override { return newGameButton_; }
    QtButton& StartStopButton() override { return startStopButton_; }
    QtButton& GaugeFrame() override { return gaugeFrame_; }
    QtButton& GaugeBar() override { return gaugeBar_; }
    QtPictureBox& HelpView() override { return helpView_; }

    void SetSize(int width, int height) override;
    void Close() override;
    void SetWake(std::optional<int> ms) override;

    // F11: fills the screen with the window, or gives it back its size.
    void ToggleFullScreen();
    // How the window shows the game's pixels now.
    const Fit& WindowFit() const { return fit_; }
    // The size the game laid itself out for: the inner area the outer size it set leaves.
    QSize DesignedSize() const { return designSize_; }
    WindowPlacement Placement() const;
    // The window at the game's size: where it starts when nothing else is kept.
    WindowPlacement DesignedPlacement() const { return {designSize_ + QSize(0, TitleBarHeight()), false, false}; }
    // Before the window shows: the size and state the player left it in. A size that is no size or
    // larger than the screen is ignored: the window keeps the game's size.
    void RestorePlacement(const WindowPlacement& placement);

    // Raises the load event once.
    void RaiseLoad();
    // The window has been closed (by the close box or Unload); it stays in memory until the program ends.
    bool Closed() const { return closed_; }
    // For a window system that frames no window: a title bar of the window's own above the inner
    // area, with the window's name, a box that minimises it and a close box; dragged, it moves the
    // window. It counts as frame: the inner area is what the outer size leaves below it.
    void AddTitleBar();
    QWidget* OwnTitleBar() const;

    std::function<void()> onLoad;
    std::function<void()> onQueryUnload;
    std::function<void()> onMouseDown;  // a click of any button on the window's own area
    std::function<void(int keyCode)> onKeyDown;  // a key no control took (none has the focus)
    std::function<void()> onResize;     // the inner area changed size after the load (a late frame)
    std::function<void()> onWake;       // the time the game asked to be woken at has come
    // The surfaces changed their pixel ratio after the load (a larger window, another screen): what they
    // show is to be drawn again.
    std::function<void()> onRepaint;
    // Once, just after the window's first frame has been painted: for what the first frame does not
    // need, so that it does not stand between the start and the title on screen.
    std::function<void()> onFirstFrame;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class InnerArea;
    void ApplyOuterSize();
    // What the outer size holds beside the inner area: the window system's frame and our title bar.
    QSize FrameExtra() const;
    int TitleBarHeight() const;
    void LayOutAreas();
    // The canvas, and boxes laid over the whole of it, take the designed size.
    void FollowDesignedSize();
    // Scales and centres the designed area in the inner area, and places every control to match.
    void FitInnerArea();
    Color MarginColor() const;
    void UpdateMargins();
    void PaintInner(QPaintEvent* event);
    // Holds every surface at the device pixels of the screen the window is on.
    void FollowPixelRatio();
    // The most device pixels per game pixel any attached screen can show.
    double MostAScreenShows() const;

    Clock& clock_;
    QSize outerSize_;    // what the game asked for, frame included
    QSize frameExtra_;   // what the frame took when the outer size was last applied
    QSize designSize_;   // the inner area that outer size leaves
    Fit fit_;
    bool ownResize_ = false;      // the window is being sized to the game's size
    bool sizedByPlayer_ = false;  // the window has a size the game did not set; it keeps it
    bool maximizedBeforeFullScreen_ = false;
    QRect sizeBeforeFilling_;  // where the window was before it filled the screen by itself
    bool filling_ = false;     // it is filling the screen by itself
    bool loaded_ = false;
    bool loading_ = false;  // inside the load event
    bool closed_ = false;
    bool painted_ = false;

    // The game's own area, below the title bar where there is one: the canvas and every control.
    InnerArea* inner_;
    TitleBar* titleBar_ = nullptr;
    QtSurface canvas_;
    QtPictureBox boardView_;
    QtPictureBox boardCopy_;
    QtButton exitButton_;
    QtButton newGameButton_;
    QtButton startStopButton_;
    QtButton gaugeFrame_;
    QtButton gaugeBar_;
    QtPictureBox helpView_;  // made after every other control, so that it lies over them all
    // The one timer that wakes the game. A wake asked for again at the same tick (after every event
    // of a run, say) leaves it running, rather than setting it afresh.
    QTimer wake_;
    std::uint32_t wakeAt_ = 0;
};

}  // namespace kanuvo
