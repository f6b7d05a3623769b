// SPDX-License-Identifier: MIT
// The sound as a module the program loads at run time: SDL_mixer brings some sixty libraries, and
// loading them with the program would delay its window.
#include "platform/sound_module.h"

#include <memory>

#include "platform/sdl/sdl_sound.h"

extern "C" __attribute__((visibility("default"))) kanuvo::SoundEngine* KanuvoMakeSound() {
    return std::make_unique<kanuvo::SdlSound>().release();  // the program takes it into a unique_ptr
}
