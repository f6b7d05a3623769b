// SPDX-License-Identifier: MIT
// Rounding as the game does it everywhere: to the nearest integer, halves to even.
#pragma once

#include <cmath>

namespace kanuvo {

// 108.5 -> 108, 109.5 -> 110, -2.5 -> -2. Relies on the default floating-point rounding mode.
inline int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace kanuvo
