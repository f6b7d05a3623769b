// SPDX-License-Identifier: MIT
// The stage rules.
#include "game/state.h"

namespace kanuvo {

namespace {
// Board size by stage 1..8; stage 9 keeps the 7 x 7 board of stage 8.
constexpr std::array<int, 9> kBoardSizeByStage{0, 4, 4, 5, 5, 6, 6, 7, 7};
constexpr int kLastSizedStage = 8;
}  // namespace

void AdvanceStage(GameState& s) {
    s.Stage = s.Stage > kLastSizedStage ? kFirstStage : s.Stage + 1;
    if (s.Stage >= 1 && s.Stage <= kLastSizedStage) s.BoardSize = kBoardSizeByStage[s.Stage];
}

void SpendLife(GameState& s) {
    if (s.Lives > 0) {
        s.BoardReady = false;
        s.Lives = s.Lives - 1;
    } else {
        s.Playing = false;
        s.Lives = kLivesPerStage;
        s.Stage = kFirstStage;
        s.BoardSize = kFirstBoardSize;
        s.BoardReady = false;
    }
}

}  // namespace kanuvo
