// SPDX-License-Identifier: MIT
// The logical route trace of the route stages: follows the road from the start towards the goal.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Begins a trace at the cell next to the start (called by the key handler in route stages).
void BeginRouteTrace(GameState& s);
// One step of the trace: may carry the route over several cells, break silently, or reach the goal
// (Cleared); None otherwise.
RunEnd TraceRouteStep(GameState& s);

}  // namespace kanuvo
