// SPDX-License-Identifier: MIT
// Fast-forward: when it may begin, and its offer in the board's free corner.
#include "game/fast_forward.h"

#include "game/assist.h"
#include "game/corner.h"

namespace kanuvo {

bool CanFastForward(const GameState& s) {
    // Nothing the player may still do changes how the run ends once the road reaches the goal: slides
    // are refused from then on.
    return s.Playing && !IsRouteStage(s.Stage) && !s.FastForward && RoadAheadReachesGoal(s);
}

bool FastForwarding(const GameState& s) { return s.FastForward && s.Playing && !s.Paused && !s.HelpShown; }

void StartFastForward(Game& g) {
    if (!CanFastForward(g)) return;
    g.FastForward = true;
    OfferFastForward(g);
}

void OfferFastForward(Game& g) {
    // On a touch screen the platform's own control stands for the hint, in letters a finger's screen can read.
    const bool offered = CanFastForward(g) && !g.TouchScreen;
    if (offered == g.FastForwardOffered) return;
    g.FastForwardOffered = offered;
    RefreshCorner(g);
}

}  // namespace kanuvo
