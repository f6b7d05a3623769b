// SPDX-License-Identifier: MIT
// The one function a sound module exports: the program loads the module at run time and makes its
// sound with it.
#pragma once

#include "platform/system.h"

extern "C" kanuvo::Sound* KanuvoMakeSound();  // a new sound, owned by the caller

namespace kanuvo {
constexpr const char* kMakeSoundSymbol = "KanuvoMakeSound";
using MakeSoundFunction = decltype(&KanuvoMakeSound);
}  // namespace kanuvo
