// SPDX-License-Identifier: MIT
// The game's sound behind a mute switch: while muted nothing reaches the device, and the game, which
// never knows, asks for its music and effects exactly as before.
#pragma once

#include <optional>
#include <string>

#include "platform/system.h"

namespace kanuvo {

class MutableSound : public Sound {
public:
    explicit MutableSound(Sound& device) : device_(device) {}

    void OpenMusic(const std::string& path) override;
    void PlayMusicFromStart() override;
    void StopMusic() override;
    void CloseMusic() override;
    void PlayEffect(const std::string& path) override;
    void ResumeMusic() override;

    // Muting stops the music the game has playing. Unmuting opens the music if the game opened it
    // meanwhile, and plays the game's music again, from its beginning, if the game has it playing and
    // it had not already played to its end. An effect already sounding when the sound is muted plays
    // to its end.
    void SetMuted(bool muted);
    bool Muted() const { return muted_; }

private:
    Sound& device_;
    bool muted_ = false;
    std::optional<std::string> heldOpen_;  // music the game opened while muted, not yet passed on
    bool playing_ = false;                 // the game has its music playing
};

}  // namespace kanuvo
