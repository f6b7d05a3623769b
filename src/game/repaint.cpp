// SPDX-License-Identifier: MIT
// The whole screen drawn again from the game's state.
#include "game/repaint.h"

#include "game/help.h"
#include "game/pause.h"
#include "game/play.h"
#include "game/run_end.h"

namespace kanuvo {

void RepaintScreen(Game& g) {
    if (g.TitleTimer.Enabled()) {
        // The board is laid out but drawn only when the title ends.
        if (g.TitlePicture) PaintTitle(g);
    } else {
        RedrawBoard(g);
        PrintStageCaption(g);
        ShowRunEnd(g);
        DrawGameOver(g);
        if (g.Paused) DrawPausePlate(g);
    }
    if (g.HelpShown) DrawHelpPage(g);
}

}  // namespace kanuvo
