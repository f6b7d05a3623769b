// Opening the graphical display: where there is none, the player is told so in plain words.
#pragma once

namespace kanuvo {

// Call just before the application object is made. Until DisplayOpened, the toolkit's messages are
// held back, and if it cannot open a display the program says on standard error that Kanuvo needs a
// graphical display and ends with status 1, instead of aborting with advice that does not apply.
void ExpectDisplay();
// Call once the application object exists: the held-back messages are written, and the toolkit's
// messages go their usual way again.
void DisplayOpened();

// What the player reads on standard error when there is no display.
inline constexpr const char* kNoDisplayMessage =
    "Kanuvo needs a graphical display, and none could be opened: start it from a desktop session.\n"
    "Kanuvo を動かすにはグラフィカルなディスプレイが必要です。デスクトップから起動してください。\n";

}  // namespace kanuvo
