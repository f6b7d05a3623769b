// SPDX-License-Identifier: MIT
// What a sound module makes: the music and effects, worked by one thread. The program loads the
// module at run time and makes its sound with the one function the module exports.
#pragma once

#include <chrono>
#include <optional>

#include "platform/system.h"

namespace kanuvo {

// Called from one thread only, and it may take its time there: opening the device, reading a file,
// loading the soundfont. MusicEnded alone may be asked from any thread, and answers at once.
class SoundEngine : public Sound {
public:
    // Closes the device once it has rested long enough. Returns how long until it should be asked
    // again, or nothing while the device is closed.
    virtual std::optional<std::chrono::milliseconds> Rest() = 0;
};

}  // namespace kanuvo

extern "C" kanuvo::SoundEngine* KanuvoMakeSound();  // a new sound, owned by the caller

namespace kanuvo {
constexpr const char* kMakeSoundSymbol = "KanuvoMakeSound";
using MakeSoundFunction = decltype(&KanuvoMakeSound);
}  // namespace kanuvo
