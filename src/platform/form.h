// SPDX-License-Identifier: MIT
// The game's one window and its controls, as the game sees them: buttons, picture boxes and timers.
//
// Glossary of the window's controls, by role (the game's four timers are its own: game/game.h):
//   BoardView        the picture box the board is drawn on; it takes the keys while the board shows
//   BoardCopy        a hidden picture box holding a copy of the drawn board; a slide or a truck step
//                    repaints the board from it
//   ExitButton       "終了": ends the program (ExitClick)
//   NewGameButton    "新ゲーム": deals and draws the next board (NewGameClick)
//   StartStopButton  "スタート" / "ストップ": starts a run on a fresh board, or gives it up (StartStopClick)
//   GaugeFrame       a disabled white button framing the time gauge above the board
//   GaugeBar         a disabled red button inside the frame, shrinking as the time limit runs down
//   HelpView         a picture box over everything else, shown only while the help page is up; it
//                    takes the keys meanwhile
//
// The window's own calls, by role, with the design's names: SetSize (Width and Height, here in pixels
// rather than twips), Close (Unload). The design's run is a loop inside the Start click that calls
// DoEvents between passes; here the window hands the game each event as it comes and wakes it at the
// time it asks for (SetWake, the one timer of a platform), and the game makes a pass of the run then
// (AdvanceTime in game/flow.h), so no handler waits for anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys.h"
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
};

// A button. Whether it is enabled is fixed when the window is made; no game procedure changes it.
// Dimmed is only a look, for a button whose click would do nothing now: it still takes clicks and
// reports the pointer as before.
class Button : public Control {
public:
    virtual void SetWidth(double width) = 0;
    virtual void SetCaption(std::string_view utf8Caption) = 0;
    virtual void SetFontSize(double points) = 0;
    virtual void SetDimmed(bool dimmed) = 0;
    // What the button shows while the pointer rests on it.
    virtual void SetHint(std::string_view utf8Hint) = 0;
};

// Mouse buttons as a click reports them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// A picture box: a control that is also a drawing surface.
class PictureBox : public Control, public virtual Surface {
public:
    // Later key presses go to this picture box.
    virtual void SetFocus() = 0;
};

// The main window: its own surface (where the title picture is painted), its controls, its size,
// and the one timer that wakes the game.
class Form {
public:
    virtual ~Form() = default;

    virtual Surface& Canvas() = 0;  // the window's inner area; ScaleWidth/ScaleHeight are its size
    virtual PictureBox& BoardView() = 0;
    virtual PictureBox& BoardCopy() = 0;
    virtual Button& ExitButton() = 0;
    virtual Button& NewGameButton() = 0;
    virtual Button& StartStopButton() = 0;
    virtual Button& GaugeFrame() = 0;
    virtual Button& GaugeBar() = 0;
    virtual PictureBox& HelpView() = 0;

    // Outer size of the window, frame and title bar included, in pixels.
    virtual void SetSize(int width, int height) = 0;

    // Closes the window, raising QueryUnload first.
    virtual void Close() = 0;

    // Wakes the game once, in ms milliseconds (at once for 0 or less), in place of any wake set
    // before; none sets no wake. Between events and wakes the window sleeps.
    virtual void SetWake(std::optional<int> ms) = 0;
};

}  // namespace kanuvo
