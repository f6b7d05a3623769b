// SPDX-License-Identifier: MIT
// The game's sound, loaded from its own module on a thread of its own, so that the window never
// waits for the sound libraries to load.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/system.h"

namespace kanuvo {

// Commands given before the module is ready wait in a queue and are reported as accepted; the
// loading thread hands them over, in order, as soon as the sound exists. Without the module every
// command is silence.
class ModuleSound : public Sound {
public:
    explicit ModuleSound(std::string modulePath);
    // Starts loading the module. Called once the window is up: loading a library holds a lock that
    // the window system's own plugins need while the window is being made.
    void StartLoading();
    ~ModuleSound() override;
    ModuleSound(const ModuleSound&) = delete;
    ModuleSound& operator=(const ModuleSound&) = delete;

    int mciSendStringA(std::string_view command) override;
    int sndPlaySoundA(std::string_view path, unsigned flags) override;

    // Waits for the loading thread, then ends the sound and releases its device. Later calls are silent.
    void Shutdown();

private:
    void Load();

    const std::string modulePath_;

    std::mutex mutex_;
    bool ready_ = false;
    std::unique_ptr<Sound> sound_;  // null without the module
    std::vector<std::function<void(Sound&)>> pending_;
    std::thread loader_;
};

}  // namespace kanuvo
