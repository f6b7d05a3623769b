// SPDX-License-Identifier: MIT
// The game's sound, worked by one thread of its own: it loads the sound module, then opens the
// device, decodes and plays, so the window never waits for any of it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/sound_module.h"

namespace kanuvo {

// How long the end of the program waits for the sound thread to stop the music and close the
// device. A thread still busy then (a module that takes seconds to load, a sound server that never
// answers) is left behind, and the program ends without it.
constexpr std::chrono::milliseconds kSoundShutdownPatience{100};

// A digest of the part of a shared library the loader maps (its loadable segments, the same however
// the file is stripped); nothing when bytes are not a whole shared library of this machine's kind.
std::optional<std::uint64_t> ModuleDigest(const std::vector<std::uint8_t>& bytes);

// The digest of the sound module the program was built with, recorded by the build.
extern const std::uint64_t kBuiltSoundModuleDigest;

// The module at path made into the sound, after checking that it is a regular file, a whole shared
// library (a half-written one would crash the loader) and the very module of the given digest (one
// whose code is damaged would crash the program, or do anything); null when it cannot be, with the
// reason in one line on standard error.
std::unique_ptr<SoundEngine> LoadSoundModule(const std::string& path, std::uint64_t digest);

// Every call joins a queue and returns at once; the thread runs them in order, never holding the
// queue's lock while it does. Calls given before the module is loaded wait in the queue; without the
// module they are dropped.
class SoundWorker : public Sound {
public:
    // The module at modulePath, loaded only if it is the one of the given digest.
    SoundWorker(std::string modulePath, std::uint64_t moduleDigest);
    ~SoundWorker() override;
    SoundWorker(const SoundWorker&) = delete;
    SoundWorker& operator=(const SoundWorker&) = delete;

    // Starts the thread, which loads the module. Called once the window is up: loading a library
    // holds a lock that the window system's own plugins need while the window is being made.
    void StartLoading();

    void OpenMusic(const std::string& path) override;
    void PlayMusicFromStart() override;
    void StopMusic() override;
    void CloseMusic() override;
    void PlayEffect(const std::string& path) override;
    // Asked of the sound from this thread; false while a play given is still queued.
    bool MusicEnded() const override;

    // Drops the calls not yet run, and lets the thread stop the music, close the device and end.
    // Waits for that at most `patience`: true when the thread has ended, false when it was left
    // behind still busy, and then the program must end at once, without returning from main (its
    // libraries' clean-up could wait for that thread). Later calls are silent.
    bool Shutdown(std::chrono::milliseconds patience = kSoundShutdownPatience);

private:
    struct Queue;
    static void Work(const std::string& modulePath, std::uint64_t moduleDigest, const std::shared_ptr<Queue>& queue);
    void Give(std::function<void(SoundEngine&)> call);

    const std::string modulePath_;
    const std::uint64_t moduleDigest_;
    std::shared_ptr<Queue> queue_;  // shared with the thread, which may outlive this when left behind
    std::thread thread_;
};

}  // namespace kanuvo
