// SPDX-License-Identifier: MIT
// The game's sound behind a mute switch: while muted nothing reaches the device, and the game, which
// never knows, asks for its music and effects exactly as before.
#pragma once

#include <string>
#include <string_view>

#include "platform/system.h"

namespace kanuvo {

class MutableSound : public Sound {
public:
    explicit MutableSound(Sound& device) : device_(device) {}

    // While muted, commands report success and effects report that none was started.
    int mciSendStringA(std::string_view command) override;
    int sndPlaySoundA(std::string_view path, unsigned flags) override;

    // Muting stops the music the game has playing. Unmuting opens the music if the game opened it
    // meanwhile, and plays the game's music again, from its beginning, if the game has it playing.
    // An effect already sounding when the sound is muted plays to its end.
    void SetMuted(bool muted);
    bool Muted() const { return muted_; }

private:
    Sound& device_;
    bool muted_ = false;
    std::string heldOpen_;    // an open command the game sent while muted, not yet passed on
    std::string playing_;     // the play command of the music the game has playing; empty when none
    std::string playingAlias_;
};

}  // namespace kanuvo
