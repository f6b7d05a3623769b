// SPDX-License-Identifier: MIT
// The mute switch in front of the sound device.
#include "app/muted_sound.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace kanuvo {

namespace {

// The verb and the alias of a command ("play gBGMfile from 0 "): its first two words.
std::pair<std::string, std::string> VerbAndAlias(std::string_view text) {
    std::string words[2];
    std::size_t at = 0;
    for (std::string& word : words) {
        while (at < text.size() && text[at] == ' ') ++at;
        const std::size_t end = std::min(text.find(' ', at), text.size());
        word = text.substr(at, end - at);
        at = end;
    }
    return {words[0], words[1]};
}

// Command words and aliases compare without regard to case.
bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

int MutableSound::mciSendStringA(std::string_view command) {
    const auto [verb, alias] = VerbAndAlias(command);
    if (SameWord(verb, "open") && muted_) {
        heldOpen_ = command;  // passed on when the sound comes back
        return 0;
    }
    if (SameWord(verb, "play")) {
        playing_ = command;
        playingAlias_ = alias;
    } else if ((SameWord(verb, "stop") || SameWord(verb, "close")) && SameWord(alias, playingAlias_)) {
        playing_.clear();
        playingAlias_.clear();
    }
    if (!muted_) return device_.mciSendStringA(command);
    if (SameWord(verb, "close")) heldOpen_.clear();  // the music was never opened on the device
    return 0;
}

int MutableSound::sndPlaySoundA(std::string_view path, unsigned flags) {
    if (muted_) return 0;
    return device_.sndPlaySoundA(path, flags);
}

void MutableSound::SetMuted(bool muted) {
    if (muted == muted_) return;
    if (muted) {
        if (!playing_.empty()) device_.mciSendStringA("stop " + playingAlias_);
        muted_ = true;
        return;
    }
    muted_ = false;
    if (!heldOpen_.empty()) device_.mciSendStringA(heldOpen_);
    heldOpen_.clear();
    if (!playing_.empty()) device_.mciSendStringA(playing_);
}

}  // namespace kanuvo
