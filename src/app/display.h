// SPDX-License-Identifier: MIT
// Opening the graphical display: where there is none, the player is told so in plain words.
#pragma once

#include "platform/text.h"

namespace kanuvo {

// Call just before the application object is made. Until DisplayOpened, the toolkit's messages are
// held back, and if it cannot open a display the program says on standard error that Kanuvo needs a
// graphical display and ends with status 1, instead of aborting with advice that does not apply;
// any other failure of the window system is reported with the toolkit's own reasons, and status 1.
void ExpectDisplay();
// Call once the application object exists: the held-back messages are written, and the toolkit's
// messages go their usual way again.
void DisplayOpened();

// Call before the application object is made. On an X display the window's frames travel through
// the server's socket rather than a shared memory segment: a truck step or a slide repaints a few
// cells, and for so little the segment costs more than it saves, since every frame first waits for
// the server to let go of the last (a round trip). Without it a truck run took a fifth less CPU, and
// the server no more. A player who sets the toolkit's own variable keeps their choice.
void SendFramesThroughTheSocket();

// Call before the application object is made. Under Wayland the toolkit would load its GL buffer
// integration, and with it the GL driver (tens of megabytes, and tens of milliseconds before the
// first frame), only to learn whether it may draw window frames; the game draws every pixel with the
// raster engine. It is told to draw no frames, which loads nothing and says nothing, and the window
// draws its own title bar instead (see GameDrawsItsTitleBar). A player who sets either of the
// toolkit's own variables keeps their choice, frame and all. Under X this changes nothing.
void LeaveGlUnloaded();
// Once the application object exists: whether the window should draw its own title bar, that is
// whether it is on Wayland with the toolkit's frames turned off by LeaveGlUnloaded.
bool GameDrawsItsTitleBar();

// The program's last call, once everything it made is gone: returns the exit status, or on Wayland
// ends the program with it at once. There the toolkit, taking its connection down, can wait forever
// for its event thread, which waits for a read the main thread never finishes (1 exit in 6 or so).
int LeaveDisplay(int status);

// What the player reads on standard error when there is no display.
inline constexpr Text kNoDisplayMessage = KANUVO_TEXT(
    "CommandLine", "Kanuvo を動かすにはグラフィカルなディスプレイが必要です。デスクトップから起動してください。");
// The first line when the window system fails for another reason; the toolkit's own words follow.
inline constexpr Text kNoWindowSystem = KANUVO_TEXT("CommandLine", "kanuvo: ウィンドウシステムを始められませんでした");

}  // namespace kanuvo
