// SPDX-License-Identifier: MIT
// The game's window and its controls over Qt Widgets: picture boxes, buttons, the one timer that
// wakes the game, and the events the program wires to the game.
#include "platform/qt/main_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "platform/captions.h"
#include "platform/qt/key_codes.h"
#include "platform/qt/language.h"
#include "platform/qt/qt_system.h"

namespace kanuvo {

namespace {

constexpr char kCaption[] = "Kanuvo";
constexpr double kButtonFontPoints = 9;
constexpr int kTitleBarHeight = 28;
// Smaller than any window the game sets for itself, but not so small that nothing can be read.
constexpr int kSmallestWindow = 200;
// Time enough for a window manager to put a window full screen.
constexpr int kFullScreenGraceMs = 300;
// Pixels of a button's width a caption leaves free: the frame of two on each side and one more.
constexpr double kCaptionMargins = 6;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The scale at which an area of the game's design fits whole in room.
double ScaleToFit(QSize room, QSize design) {
    design = design.expandedTo(QSize(1, 1));
    return std::min(static_cast<double>(room.width()) / design.width(), static_cast<double>(room.height()) / design.height());
}

// Looks of a button besides its own colour at rest: lit under the pointer, darker while pressed, and
// faded towards grey, with grey letters, while a click would do nothing.
constexpr double kHoverLight = 0.35;
constexpr double kPressedDark = 0.2;
constexpr double kDimmedFade = 0.6;
constexpr Color kDimmedGrey = Rgb(170, 170, 170);

QString ColourName(Color c) { return QStringLiteral("#%1").arg(c, 6, 16, QLatin1Char('0')); }

// The frame of a button is two of the game's pixels wide, at any scale.
constexpr double kButtonBorder = 2;

QString ButtonStyle(Color back, bool dimmed, double scale) {
    const int border = std::max(1, static_cast<int>(std::lround(kButtonBorder * scale)));
    // A border of its own makes every style paint the background colour, disabled or not.
    if (dimmed) {
        const QString faded = ColourName(Mix(back, kDimmedGrey, kDimmedFade));
        return QStringLiteral("QPushButton { background-color: %1; color: #808080; border: %2px solid %1; }")
            .arg(faded)
            .arg(border);
    }
    return QStringLiteral(
               "QPushButton { background-color: %1; color: black; border: %4px outset %1; }"
               "QPushButton:hover:enabled { background-color: %2; border-color: %2; }"
               "QPushButton:pressed:enabled { background-color: %3; border: %4px inset %3; }"
               "QPushButton:disabled { background-color: %1; color: gray; }")
        .arg(ColourName(back), ColourName(Mix(back, Rgb(255, 255, 255), kHoverLight)),
             ColourName(Mix(back, Rgb(0, 0, 0), kPressedDark)))
        .arg(border);
}

// A widget moved from under a pointer at rest, or under it, learns so now, as a move of the pointer
// would tell it: else a button would keep its lit look (or not take it) until the pointer next moves.
// Only an enabled button has a lit look; asking where the pointer is costs a trip to the display.
void FollowPointer(QWidget& widget) {
    if (!widget.isVisible() || !widget.isEnabled()) return;
    const QPoint at = widget.mapFromGlobal(QCursor::pos());
    const bool under = widget.rect().contains(at);
    if (under == widget.underMouse()) return;
    if (under) {
        QEnterEvent enter(at, widget.mapTo(widget.window(), at), QCursor::pos());
        QCoreApplication::sendEvent(&widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&widget, &leave);
    }
    widget.update();
}

int MouseButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return kLeftButton;
        case Qt::RightButton: return kRightButton;
        case Qt::MiddleButton: return kMiddleButton;
        default: return 0;
    }
}

}  // namespace

// The widget of a button: reports pointer movement to its control.
class ButtonWidget : public QPushButton {
public:
    ButtonWidget(QtButton& control, QWidget* parent) : QPushButton(parent), control_(control) {}

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        if (control_.onMouseMove) control_.onMouseMove();
        QPushButton::mouseMoveEvent(event);
    }

private:
    QtButton& control_;
};

// The widget of a picture box: shows the box's surface, takes key presses while it has the focus
// and keeps clicks on it from reaching the window below.
class PictureWidget : public QWidget {
public:
    PictureWidget(QtPictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
    }

protected:
    bool event(QEvent* event) override {
        // Tab would move the focus away; on the board it is just another key.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                keyPressEvent(static_cast<QKeyEvent*>(event));
                return true;
            }
        }
        return QWidget::event(event);
    }
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const Fit fit = box_.WidgetFit();
        for (const QRect& area : event->region()) ShowSurface(painter, area, box_, fit);
    }
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        if (!box_.onMouseDown) return;
        // The game's pixel under the pointer, at whatever size the window shows the box.
        const Fit fit = box_.WidgetFit();
        const QPointF at = (event->position() - fit.offset) / fit.scale;
        box_.onMouseDown(MouseButtonCode(event->button()), static_cast<int>(std::floor(at.x())),
                         static_cast<int>(std::floor(at.y())));
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (box_.onMouseMove) box_.onMouseMove();
        event->accept();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F11 && !event->isAutoRepeat()) {
            if (auto* form = dynamic_cast<MainForm*>(window())) form->ToggleFullScreen();
        }
        if (!box_.onKeyDown) {
            event->ignore();
            return;
        }
        box_.onKeyDown(VirtualKeyCode(event->key(), event->modifiers()));
    }

private:
    QtPictureBox& box_;
};

// The game's own area of the window: shows the canvas, under the controls.
class InnerArea : public QWidget {
public:
    explicit InnerArea(MainForm& form) : QWidget(&form), form_(form) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent* event) override { form_.PaintInner(event); }

private:
    MainForm& form_;
};

// A title bar drawn by the window itself: its name at the left, then at the right a box that
// minimises the window and a close box. A box acts when the button is let go over it; a press
// anywhere else starts moving the window.
class TitleBar : public QWidget {
public:
    explicit TitleBar(QWidget* window) : QWidget(window) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::ArrowCursor);
    }
    QRect CloseBox() const { return QRect(width() - height(), 0, height(), height()); }
    QRect MaximiseBox() const { return CloseBox().translated(-height(), 0); }
    QRect MinimiseBox() const { return MaximiseBox().translated(-height(), 0); }
    // The name comes after the first frame: the fonts it needs would take a quarter of the time to it.
    void ShowName() {
        setFont(GameFont(kButtonFontPoints));
        named_ = true;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(48, 48, 48));
        painter.setPen(Qt::white);
        if (named_)
            painter.drawText(rect().adjusted(height() / 3, 0, -3 * height(), 0), Qt::AlignLeft | Qt::AlignVCenter,
                             window()->windowTitle());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::white, 1.5));
        const int m = height() * 3 / 8;
        const QRect close = CloseBox().adjusted(m, m, -m, -m);
        painter.drawLine(close.topLeft(), close.bottomRight());
        painter.drawLine(close.topRight(), close.bottomLeft());
        const QRect maximise = MaximiseBox().adjusted(m, m, -m, -m);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(maximise);
        const QRect minimise = MinimiseBox().adjusted(m, m, -m, -m);
        painter.drawLine(minimise.bottomLeft(), minimise.bottomRight());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        const QPoint at = event->position().toPoint();
        if (event->button() == Qt::LeftButton && !CloseBox().contains(at) && !MaximiseBox().contains(at) &&
            !MinimiseBox().contains(at))
            ToggleMaximised();
    }
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        pressed_ = QRect();
        if (event->button() != Qt::LeftButton) return;
        const QPoint at = event->position().toPoint();
        if (CloseBox().contains(at)) {
            pressed_ = CloseBox();
        } else if (MaximiseBox().contains(at)) {
            pressed_ = MaximiseBox();
        } else if (MinimiseBox().contains(at)) {
            pressed_ = MinimiseBox();
        } else if (QWindow* handle = window()->windowHandle()) {
            handle->startSystemMove();
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        const QRect box = pressed_;
        pressed_ = QRect();
        if (event->button() != Qt::LeftButton || !box.contains(event->position().toPoint())) return;
        if (box == CloseBox()) {
            window()->close();
        } else if (box == MaximiseBox()) {
            ToggleMaximised();
        } else {
            window()->showMinimized();
        }
    }

private:
    void ToggleMaximised() {
        if (window()->isMaximized()) {
            window()->showNormal();
        } else {
            window()->showMaximized();
        }
    }

    QRect pressed_;  // the box the button went down on
    bool named_ = false;
};

QtButton::QtButton(QWidget* parent, std::string_view utf8Caption, Color backColor, bool enabled)
    : widget_(new ButtonWidget(*this, parent)), caption_(FromUtf8(utf8Caption)), enabled_(enabled), backColor_(backColor) {
    ApplyFont();
    // Buttons never keep the focus: the arrow keys belong to the board.
    widget_->setFocusPolicy(Qt::NoFocus);
    widget_->setMouseTracking(true);
    // A click on a button, even a disabled one, is never a click on the window.
    widget_->setAttribute(Qt::WA_NoMousePropagation);
    widget_->setVisible(false);
    QObject::connect(widget_, &QPushButton::clicked, widget_, [this] {
        if (onClick) onClick();
    });
}

QPushButton& QtButton::Widget() { return *widget_; }

void QtButton::SetWidth(double width) {
    width_ = width;
    Place();
}

void QtButton::Place() {
    widget_->setGeometry(Fitted().Place(Rounded()));
    FollowPointer(*widget_);
    ApplyFont();
    if (dressed_ && styledAt_ != Fitted().scale) {
        widget_->setStyleSheet(ButtonStyle(backColor_, dimmed_, Fitted().scale));
        styledAt_ = Fitted().scale;
    }
}

void QtButton::ApplyFont() {
    // Letters grow with the window, and are drawn at its full resolution.
    const double scale = Fitted().scale;
    QFont font = GameFont(fontSize_ * scale);
    // The game's own Japanese keeps the sizes it was designed with. A translated caption too long for
    // its button is made smaller, half a point at a time, until it fits inside the frame.
    if (SpokenLanguage() != Language::Japanese) {
        const double room = (Rounded().width() - kCaptionMargins) * scale;
        while (font.pointSizeF() > 1 && QFontMetricsF(font, widget_).horizontalAdvance(caption_) > room)
            font.setPointSizeF(std::max(1.0, font.pointSizeF() - 0.5));
    }
    if (font != widget_->font()) widget_->setFont(font);
}

void QtButton::Show(bool visible) {
    if (visible && !dressed_) {
        widget_->setText(caption_);
        widget_->setEnabled(enabled_);
        widget_->setStyleSheet(ButtonStyle(backColor_, dimmed_, Fitted().scale));
        styledAt_ = Fitted().scale;
        dressed_ = true;
    }
    widget_->setVisible(visible);
}

void QtButton::SetCaption(std::string_view utf8Caption) {
    caption_ = FromUtf8(utf8Caption);
    ApplyFont();
    if (dressed_) widget_->setText(caption_);
}

void QtButton::SetHint(std::string_view utf8Hint) { widget_->setToolTip(FromUtf8(utf8Hint)); }

void QtButton::SetDimmed(bool dimmed) {
    if (dimmed == dimmed_) return;
    dimmed_ = dimmed;
    if (dressed_) widget_->setStyleSheet(ButtonStyle(backColor_, dimmed_, Fitted().scale));
}

std::string QtButton::Caption() const { return caption_.toStdString(); }

void QtButton::SetFontSize(double points) {
    fontSize_ = points;
    ApplyFont();
}

bool QtButton::Enabled() const { return dressed_ ? widget_->isEnabled() : enabled_; }

QtPictureBox::QtPictureBox(QWidget* parent) {
    if (parent == nullptr) return;
    widget_ = new PictureWidget(*this, parent);
    widget_->setVisible(false);
    SetChangedHandler([this](const QRect& area) {
        const Fit fit = WidgetFit();
        // Smoothed, a changed pixel colours its neighbours' too.
        widget_->update(fit.scale == 1 ? fit.Cover(area) : fit.Cover(area).adjusted(-1, -1, 1, 1));
    });
}

// The widget outlives the box (its parent window deletes it), so it must no longer be told of changes.
QtPictureBox::~QtPictureBox() { SetChangedHandler(nullptr); }

QWidget* QtPictureBox::Widget() { return widget_; }

void QtPictureBox::Place() {
    const QRect place = Rounded();
    Resize(place.size());
    if (widget_ != nullptr) widget_->setGeometry(Fitted().Place(place));
}

Fit QtPictureBox::WidgetFit() const {
    if (widget_ == nullptr) return Fitted();
    return Fitted().Seen(widget_->pos(), Rounded().topLeft());
}

void QtPictureBox::Clear(Color color) {
    QtSurface::Clear(color);
    if (onLookChanged) onLookChanged();
}

void QtPictureBox::Show(bool visible) {
    if (widget_ != nullptr) widget_->setVisible(visible);
    if (onLookChanged) onLookChanged();
}

void QtPictureBox::SetFocus() {
    if (widget_ != nullptr) widget_->setFocus(Qt::OtherFocusReason);
}

MainForm::MainForm(Clock& clock)
    : clock_(clock),
      outerSize_(size()),
      inner_(new InnerArea(*this)),
      boardView_(inner_),
      boardCopy_(nullptr),
      exitButton_(inner_, Translated(kExitCaption).toStdString(), Rgb(128, 255, 128), true),
      newGameButton_(inner_, Translated(kNewGameCaption).toStdString(), Rgb(255, 128, 255), true),
      startStopButton_(inner_, Translated(kStartCaption).toStdString(), Rgb(255, 128, 128), true),
      gaugeFrame_(inner_, "", Rgb(255, 255, 255), false),
      gaugeBar_(inner_, "", Rgb(255, 0, 0), false),
      helpView_(inner_) {
    setWindowTitle(QString::fromLatin1(kCaption));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kSmallestWindow, kSmallestWindow);
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    connect(&wake_, &QTimer::timeout, this, [this] {
        if (onWake && !closed_) onWake();
    });
    canvas_.SetChangedHandler([this](const QRect& area) {
        inner_->update(fit_.scale == 1 ? fit_.Cover(area) : fit_.Cover(area).adjusted(-1, -1, 1, 1));
    });
    for (QtButton* button : {&exitButton_, &newGameButton_, &startStopButton_, &gaugeFrame_, &gaugeBar_}) {
        button->SetFontSize(kButtonFontPoints);
        button->SetFit(&fit_);
    }
    for (QtPictureBox* box : {&boardView_, &helpView_}) {
        box->SetFit(&fit_);
        box->onLookChanged = [this] { UpdateMargins(); };
    }
    FollowPixelRatio();
    ApplyOuterSize();
}

void MainForm::FollowPixelRatio() {
    // The surfaces hold a whole number of pixels for each of the game's, never fewer than the window
    // shows: shapes and letters are drawn at its full resolution and at most smoothed down. Nor more
    // than any screen can show: a window larger than every screen is smoothed up from there, and the
    // surfaces' memory stays bounded however large it grows.
    const int ratio = SurfacePixelRatio(devicePixelRatioF() * fit_.scale, MostAScreenShows());
    if (ratio == canvas_.PixelRatio()) return;
    [[maybe_unused]] const bool fewer = ratio < canvas_.PixelRatio();
    for (QtSurface* surface : std::initializer_list<QtSurface*>{&canvas_, &boardView_, &boardCopy_, &helpView_})
        surface->SetPixelRatio(ratio);
#ifdef __GLIBC__
    // The allocator keeps the denser pixels just let go for later use; a player who made the window
    // small again wants them back: 13 MB of 67 after a 12000-pixel window (kanuvo_bench 1 --size
    // 12000x12000, memory back at the game's size).
    if (fewer) malloc_trim(0);
#endif
    // What they held is only enlarged or reduced: the game draws it all again at the new ratio.
    if (loaded_ && !loading_ && onRepaint) onRepaint();
}

double MainForm::MostAScreenShows() const {
    // The game filling the screen, as full screen shows it; on a screen too small for that, the game
    // at its designed size.
    double most = 0;
    for (const QScreen* screen : QGuiApplication::screens())
        most = std::max(most, screen->devicePixelRatio() * std::max(1.0, ScaleToFit(screen->geometry().size(), designSize_)));
    return most;
}

MainForm::~MainForm() { canvas_.SetChangedHandler(nullptr); }

void MainForm::SetSize(int width, int height) {
    outerSize_ = QSize(width, height);
    ApplyOuterSize();
}

void MainForm::AddTitleBar() {
    if (titleBar_ != nullptr) return;
    titleBar_ = new TitleBar(this);
    // Asked for no frame, a window system that would draw one leaves it to us.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    ApplyOuterSize();
}

QWidget* MainForm::OwnTitleBar() const { return titleBar_; }

int MainForm::TitleBarHeight() const { return titleBar_ != nullptr && !isFullScreen() ? kTitleBarHeight : 0; }

QSize MainForm::FrameExtra() const {
    // The frame is whatever the window system gave this window (none offscreen or without a window
    // manager, and unknown until the window has been shown), never a guess.
    return frameGeometry().size() - geometry().size() + QSize(0, TitleBarHeight());
}

void MainForm::ApplyOuterSize() {
    // Maximised or full screen the window has no frame to learn from: the game's size stands.
    if (isMaximized() || isFullScreen()) return;
    frameExtra_ = FrameExtra();
    designSize_ = QSize(std::max(1, outerSize_.width() - frameExtra_.width()),
                        std::max(1, outerSize_.height() - frameExtra_.height()));
    // A window the player sized keeps its size and shows the game's scaled; otherwise it has the
    // game's size.
    if (!sizedByPlayer_) {
        ownResize_ = true;
        resize(designSize_ + QSize(0, TitleBarHeight()));
        ownResize_ = false;
    }
    LayOutAreas();
}

void MainForm::LayOutAreas() {
    const int bar = TitleBarHeight();
    if (titleBar_ != nullptr) {
        titleBar_->setVisible(bar > 0);
        titleBar_->setGeometry(0, 0, width(), bar);
    }
    inner_->setGeometry(0, bar, width(), std::max(1, height() - bar));
    FollowDesignedSize();
    FitInnerArea();
}

void MainForm::FollowDesignedSize() {
    const QSize before(canvas_.PixelWidth(), canvas_.PixelHeight());
    const QSize size = designSize_;
    if (size == before) return;
    canvas_.Resize(size);
    // A picture box laid over the whole inner area (the board) keeps covering it when the window
    // system changes that area, as it does when it frames the window after the game has laid it out.
    // A box not laid out yet covers nothing.
    for (QtPictureBox* box : {&boardView_, &boardCopy_}) {
        if (!before.isEmpty() && box->PixelWidth() == before.width() && box->PixelHeight() == before.height() &&
            RoundToPixel(box->Left()) == 0 && RoundToPixel(box->Top()) == 0)
            box->Move(0, 0, size.width(), size.height());
    }
    // The load sizes the window itself and lays out what it needs afterwards.
    if (loaded_ && !loading_ && onResize) onResize();
}

void MainForm::FitInnerArea() {
    const QSize room = inner_->size();
    const QSize design = designSize_.expandedTo(QSize(1, 1));
    Fit fit;
    fit.scale = ScaleToFit(room, design);
    // Centred, on whole pixels.
    fit.offset = QPointF(std::floor((room.width() - fit.scale * design.width()) / 2),
                         std::floor((room.height() - fit.scale * design.height()) / 2));
    if (fit == fit_) return;
    fit_ = fit;
    FollowPixelRatio();
    for (QtButton* button : {&exitButton_, &newGameButton_, &startStopButton_, &gaugeFrame_, &gaugeBar_})
        button->SetFit(&fit_);
    for (QtPictureBox* box : {&boardView_, &helpView_}) box->SetFit(&fit_);
    inner_->update();
}

Color MainForm::MarginColor() const {
    if (helpView_.Visible()) return helpView_.ClearColor();
    if (boardView_.Visible()) return boardView_.ClearColor();
    return canvas_.ClearColor();
}

void MainForm::UpdateMargins() {
    const QRect shown = fit_.Place(QRectF(QPointF(0, 0), QSizeF(designSize_)));
    const QRegion margins = QRegion(inner_->rect()) - shown;
    if (!margins.isEmpty()) inner_->update(margins);
}

void MainForm::ToggleFullScreen() {
    if (isFullScreen()) {
        if (maximizedBeforeFullScreen_) {
            showMaximized();
        } else {
            showNormal();
        }
        return;
    }
    maximizedBeforeFullScreen_ = isMaximized();
    showFullScreen();
}

WindowPlacement MainForm::Placement() const {
    WindowPlacement placement;
    placement.maximized = isMaximized();
    placement.fullScreen = isFullScreen();
    // Maximised or full, the size to come back to is the one it had before.
    placement.size = !sizeBeforeFilling_.isEmpty()              ? sizeBeforeFilling_.size()
                     : isMaximized() || isFullScreen() ? normalGeometry().size()
                                                       : size();
    if (placement.size.isEmpty()) placement.size = size();
    return placement;
}

void MainForm::RestorePlacement(const WindowPlacement& placement) {
    const QScreen* on = screen();
    const QSize room = on != nullptr ? on->availableGeometry().size() : QSize();
    const QSize& size = placement.size;
    if (size.width() >= kSmallestWindow && size.height() >= kSmallestWindow && size.width() <= room.width() &&
        size.height() <= room.height() && size != this->size()) {
        sizedByPlayer_ = true;
        resize(size);
    }
    if (placement.fullScreen) {
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else if (placement.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void MainForm::resizeEvent(QResizeEvent* event) {
    if (!ownResize_ && !isMaximized() && !isFullScreen() &&
        size() != designSize_ + QSize(0, TitleBarHeight()))
        sizedByPlayer_ = true;
    LayOutAreas();
    QWidget::resizeEvent(event);
}

void MainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const auto before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        if (isFullScreen() && !(before & Qt::WindowFullScreen)) {
            // An X display without a window manager leaves the window as it was: it fills the
            // screen itself, once the window manager there would have had its time.
            QTimer::singleShot(kFullScreenGraceMs, this, [this] {
                const QScreen* on = screen();
                if (!isFullScreen() || on == nullptr || geometry() == on->geometry()) return;
                const QRect normal = geometry();
                // Placing a window takes it out of full screen: it is put back.
                filling_ = true;
                setGeometry(on->geometry());
                setWindowState(windowState() | Qt::WindowFullScreen);
                filling_ = false;
                sizeBeforeFilling_ = normal;
            });
        } else if (!filling_ && !isFullScreen() && (before & Qt::WindowFullScreen) && !sizeBeforeFilling_.isEmpty()) {
            setGeometry(sizeBeforeFilling_);
            sizeBeforeFilling_ = QRect();
        }
        // Full screen hides the title bar the window draws itself.
        LayOutAreas();
    }
    QWidget::changeEvent(event);
}

void MainForm::moveEvent(QMoveEvent* event) {
    // A window manager frames the window after it is shown, and tells us by moving it; a move may
    // also take the window to a screen of another density.
    FollowPixelRatio();
    if (FrameExtra() != frameExtra_) ApplyOuterSize();
    QWidget::moveEvent(event);
}

void MainForm::showEvent(QShowEvent* event) {
    FollowPixelRatio();
    if (FrameExtra() != frameExtra_) ApplyOuterSize();
    QWidget::showEvent(event);
}

void MainForm::PaintInner(QPaintEvent* event) {
    QPainter painter(inner_);
    const Color back = canvas_.ClearColor();
    const Color margin = MarginColor();
    const QRect shown = fit_.Place(QRectF(QPointF(0, 0), QSizeF(designSize_)));
    for (const QRect& area : event->region()) {
        for (const QRect& part : QRegion(area) - shown) painter.fillRect(part, QColor(RedOf(margin), GreenOf(margin), BlueOf(margin)));
        const QRect inside = area & shown;
        if (inside.isEmpty()) continue;
        painter.fillRect(inside, QColor(RedOf(back), GreenOf(back), BlueOf(back)));
        ShowSurface(painter, inside, canvas_, fit_);
    }
    if (!painted_) {
        painted_ = true;
        // Queued, so that the frame reaches the screen first.
        QTimer::singleShot(0, this, [this] {
            if (titleBar_ != nullptr) titleBar_->ShowName();
            if (onFirstFrame) onFirstFrame();
        });
    }
}

void MainForm::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onMouseDown) onMouseDown();
}

void MainForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F11 && !event->isAutoRepeat()) ToggleFullScreen();
    const int code = VirtualKeyCode(event->key(), event->modifiers());
    if (code == 0 || !onKeyDown) {
        QWidget::keyPressEvent(event);
        return;
    }
    onKeyDown(code);
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        if (onQueryUnload) onQueryUnload();
    }
    event->accept();
    // The program's event loop ends once control is back in it, after every running handler (a
    // click, say) has returned; nothing is destroyed here.
    QCoreApplication::quit();
}

void MainForm::Close() {
    if (closed_) return;
    close();
}

void MainForm::RaiseLoad() {
    if (loaded_) return;
    loaded_ = true;
    loading_ = true;
    if (onLoad) onLoad();
    loading_ = false;
}

void MainForm::SetWake(std::optional<int> ms) {
    if (!ms || closed_) {
        wake_.stop();
        return;
    }
    const int wait = std::max(0, *ms);
    const std::uint32_t at = clock_.Now() + static_cast<std::uint32_t>(wait);
    // Kept only while it rings no later than asked: a clock that jumped meanwhile needs it set afresh.
    if (wake_.isActive() && wakeAt_ == at && wake_.remainingTime() <= wait) return;
    wake_.start(wait);
    wakeAt_ = at;
}

}  // namespace kanuvo
