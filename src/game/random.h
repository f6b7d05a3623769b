// SPDX-License-Identifier: MIT
// The program's one random generator: single-precision values in [0, 1), the same sequence on every
// run and every machine. It is never seeded from the clock, so boards and colours repeat exactly.
#pragma once

#include <cstdint>

namespace kanuvo {

class Random {
public:
    // The next value r in [0, 1), with 24 random bits: every value is exact in single precision.
    float Next();
    // A value from 1 to k: floor(r x k + 1), computed in single precision.
    int Draw(int k);

private:
    // xorshift32 from a fixed, non-zero start.
    std::uint32_t state_ = 0x2545F491u;
};

}  // namespace kanuvo
