// SPDX-License-Identifier: MIT
// Ending the game when the session asks: a logout, `kill`, or Ctrl+C in the terminal that started it.
#pragma once

#include <functional>

class QObject;

namespace kanuvo {

// From now on SIGTERM, SIGINT and SIGHUP call end on the event loop's thread, as a click on the close
// box would, so that the game stops its music, keeps its settings and gives up its lock on the way
// out. A second such signal while the first is being handled ends the program at once, as it would
// have without this, but without leaving its lock or a half-written file behind. A hang-up or an interrupt the program was started to ignore (by nohup, or in the
// background of a script) stays ignored. The handling lives as long as owner; call once.
void EndOnSessionSignals(QObject* owner, std::function<void()> end);

}  // namespace kanuvo
