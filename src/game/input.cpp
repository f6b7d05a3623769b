// SPDX-License-Identifier: MIT
// The game's one key handler, and the choices its keys change.
#include "game/input.h"

#include "game/assist.h"
#include "game/corner.h"
#include "game/fast_forward.h"
#include "game/flow.h"
#include "game/help.h"
#include "game/media.h"
#include "game/play.h"
#include "game/texts.h"

namespace kanuvo {

namespace {

void ToggleSound(Game& g) {
    SetSoundOff(g, !g.SoundOff);
    if (g.choices != nullptr) g.choices->KeepSoundOff(g.SoundOff);
    ShowCornerNote(g, g.SoundOff ? texts::kSoundOff : texts::kSoundOn);
}

void ToggleAssist(Game& g) {
    ToggleRoadAssist(g);
    if (g.choices != nullptr) g.choices->KeepRoadAssist(g.RoadAssist);
}

void SwitchLanguage(Game& g) {
    if (g.choices == nullptr || !g.choices->SwitchLanguage()) return;
    RewordWindow(g);
}

}  // namespace

void KeyDown(Game& g, int keyCode) {
    const bool helpShown = g.HelpShown;
    // The buttons show, uncovered, and no run took the key: Enter and N may press them.
    const bool buttonsFree = !helpShown && !g.TitleTimer.Enabled() && !g.Playing;
    if (!helpShown) BoardKeyDown(g, keyCode);
    switch (keyCode) {
        case kKeySound: ToggleSound(g); break;
        case kKeyAssist: ToggleAssist(g); break;
        case kKeyLanguage:
            if (helpShown) SwitchLanguage(g);
            break;
        case kKeyFastForward:
            if (!helpShown) StartFastForward(g);
            break;
        case kKeyHelp: helpShown ? CloseHelp(g) : ShowHelp(g); break;
        case kKeyEscape:
            if (helpShown) CloseHelp(g);
            break;
        case kKeyStart:
            if (buttonsFree && g.BoardReady) StartStopClick(g);
            break;
        case kKeyNewGame:
            if (buttonsFree) NewGameClick(g);
            break;
        default: break;
    }
}

}  // namespace kanuvo
