// SPDX-License-Identifier: MIT
// The program's random generator.
#include "game/random.h"

#include <algorithm>
#include <cmath>

namespace kanuvo {

float Random::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_ >> 8) * (1.0f / 16777216.0f);
}

int Random::Draw(int k) {
    const float r = Next();
    const int drawn = static_cast<int>(std::floor(r * static_cast<float>(k) + 1.0f));
    // r x k + 1 cannot reach k + 1 in single precision for the small k the game uses; the clamp
    // keeps that true for any k.
    return std::min(drawn, k);
}

}  // namespace kanuvo
