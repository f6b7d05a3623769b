// SPDX-License-Identifier: MIT
// The player's choices that outlast a start: the game reports each change, the program keeps it.
#pragma once

namespace kanuvo {

class Choices {
public:
    virtual ~Choices() = default;
    virtual void KeepSoundOff(bool off) = 0;
    virtual void KeepRoadAssist(bool on) = 0;
    // Speaks the other language from now on and keeps it for the next start; false when it cannot.
    virtual bool SwitchLanguage() = 0;
};

}  // namespace kanuvo
