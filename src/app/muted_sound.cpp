// SPDX-License-Identifier: MIT
// The mute switch in front of the sound device.
#include "app/muted_sound.h"

namespace kanuvo {

void MutableSound::OpenMusic(const std::string& path) {
    if (muted_) {
        heldOpen_ = path;  // passed on when the sound comes back
        return;
    }
    device_.OpenMusic(path);
}

void MutableSound::PlayMusicFromStart() {
    playing_ = true;
    if (!muted_) device_.PlayMusicFromStart();
}

void MutableSound::StopMusic() {
    playing_ = false;
    if (!muted_) device_.StopMusic();
}

void MutableSound::CloseMusic() {
    playing_ = false;
    heldOpen_.reset();  // opened while muted: it never reached the device
    if (!muted_) device_.CloseMusic();
}

void MutableSound::PlayEffect(const std::string& path) {
    if (!muted_) device_.PlayEffect(path);
}

void MutableSound::ResumeMusic() {
    if (!muted_) device_.ResumeMusic();
}

void MutableSound::SetMuted(bool muted) {
    if (muted == muted_) return;
    if (muted) {
        if (playing_) device_.StopMusic();
        muted_ = true;
        return;
    }
    muted_ = false;
    if (heldOpen_) device_.OpenMusic(*heldOpen_);
    heldOpen_.reset();
    if (playing_) device_.ResumeMusic();
}

}  // namespace kanuvo
