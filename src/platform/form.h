// The game's one window and its controls, as the game sees them: buttons, picture boxes and timers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "surface.h"

namespace kanuvo {

// Anything placed on the window's inner area. Positions and sizes are pixels and may be fractional.
class Control {
public:
    virtual ~Control() = default;
    virtual void Move(double left, double top, double width, double height) = 0;
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
};

class Button : public Control {
public:
    virtual void SetWidth(double width) = 0;
    virtual void SetCaption(std::string_view utf8Caption) = 0;
    virtual std::string Caption() const = 0;
    virtual void SetFontSize(double points) = 0;
    virtual double FontSize() const = 0;
    // Fixed when the window is made; no game procedure changes it.
    virtual bool Enabled() const = 0;
};

// A picture box: a control that is also a drawing surface.
class PictureBox : public Control, public Surface {
public:
    // Later key presses go to this picture box.
    virtual void SetFocus() = 0;
};

// Raises its event every Interval() milliseconds while enabled, only from the event dispatch.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual int Interval() const = 0;
};

// The main window: its own surface (where the title picture is painted), its controls, its size,
// and the event dispatch the game's main loop calls between passes.
class Form {
public:
    virtual ~Form() = default;

    virtual Surface& Canvas() = 0;  // the window's inner area; ScaleWidth/ScaleHeight are its size
    virtual PictureBox& Picture1() = 0;
    virtual PictureBox& Picture2() = 0;
    virtual Button& Command1() = 0;
    virtual Button& Command2() = 0;
    virtual Button& Command3() = 0;
    virtual Button& Command5() = 0;
    virtual Button& Command6() = 0;
    virtual Timer& Timer1() = 0;
    virtual Timer& Timer2() = 0;
    virtual Timer& Timer3() = 0;

    // Outer size of the window, frame and title bar included, in twips.
    virtual void SetWidth(int twips) = 0;
    virtual void SetHeight(int twips) = 0;

    // Closes the window, raising QueryUnload first.
    virtual void Unload() = 0;

    // Handles every pending window event (clicks, keys, timer ticks, repaints) and returns.
    virtual void DoEvents() = 0;
    // Waits until a window event arrives or the tick count reaches untilTick, whichever comes first,
    // handling the events that arrive as DoEvents would; returns at once when untilTick has passed.
    // Lets a loop with nothing to do sleep instead of spinning.
    virtual void WaitForEvents(std::uint32_t untilTick) = 0;
};

}  // namespace kanuvo
