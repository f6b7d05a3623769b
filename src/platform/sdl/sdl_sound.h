// SPDX-License-Identifier: MIT
// The game's music and effects played through SDL2_mixer: MIDI by media-control commands, WAV by file.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/tune_synth.h"
#include "platform/system.h"

struct Mix_Chunk;

namespace kanuvo {

// The soundfont the MIDI music is rendered with, unless a tune brings its own; without it the music
// is silent. A tune's own soundfont is the file of its name with .sf2 beside it (sound/Shellshk.sf2),
// cut at build time from this one to the presets the tune plays, so that only those are parsed and
// held; where it is missing, no regular file within the size cap or no soundfont, the tune plays with
// this one.
constexpr const char* kSoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// How long the audio device stays open after the last sound ended. Closed, it costs nothing; the
// next play opens it again within milliseconds.
constexpr std::chrono::milliseconds kDeviceIdleClose{3000};

// Starts the audio device and loads the soundfont and every opened tune on a loader thread of its
// own, so the window never waits for them; a play waits only for what it needs and is not loaded yet.
// The music is rendered by a FluidSynth synthesizer of our own, fed to SDL_mixer as its music, so
// that only the samples of the instruments a tune uses are held in memory (see tune_synth.h).
// Without a device, file or soundfont everything is silence and commands report failure by their
// result; nothing is ever shown to the player. One instance at a time: SDL_mixer's state is global
// to the process.
class SdlSound : public Sound {
public:
    explicit SdlSound(std::chrono::milliseconds idleClose = kDeviceIdleClose);
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    int mciSendStringA(std::string_view command) override;
    // Always plays in the background: the game asks for nothing else.
    int sndPlaySoundA(std::string_view path, unsigned flags) override;

    // Stops everything, frees all tunes and effects and releases the audio device. Later calls
    // are silent. Safe to call more than once.
    void Shutdown();

    // Waits until the device has been tried and every tune opened so far is loaded.
    void WaitUntilLoaded();
    // True when sound works: the device could be opened (it may be closed while idle).
    bool HasDevice() const;
    // True while the audio device is open.
    bool DeviceOpen() const;
    // True while an effect plays.
    bool EffectPlaying() const;
    // Seconds of the current tune mixed since it was last started from its beginning.
    double MusicSeconds() const;

private:
    struct Tune {
        std::vector<std::uint8_t> bytes;  // the file, kept so every play can start from a fresh decoder
        std::string soundFont;            // its own soundfont, tried before the system's
        TuneSynth* fresh = nullptr;       // decoded, never played: the next play's
        TuneSynth* used = nullptr;        // playing, or played and not stopped yet
        bool loading = false;             // the loader owes it a fresh decoder
    };
    enum class Start { Pending, Ready, Failed };

    int Open(const std::string& path, const std::string& type, const std::string& alias);
    int Play(std::unique_lock<std::mutex>& lock, const std::string& alias);
    int Stop(const std::string& alias);
    int Close(const std::string& alias);
    static void FreeTune(Tune& tune);
    void HaltMusic();
    Mix_Chunk* Chunk(const std::string& path);

    // The device, opened or reopened; caller holds mutex_. False when sound is off.
    bool EnsureDevice(std::unique_lock<std::mutex>& lock);
    bool OpenDevice();
    void CloseDevice();
    bool Busy() const;
    void MarkSounding();
    void WakeLoader();

    void RunLoader();
    void StartMixer();
    void LoadTunes();

    static void OnMusic(void* self, std::uint8_t* stream, int length);
    static void OnPostMix(void* self, std::uint8_t* stream, int length);

    const std::chrono::milliseconds idleClose_;

    mutable std::mutex mutex_;          // the mixer's state, between the game's thread and the loader
    mutable std::condition_variable loaded_;  // the start or a tune finished loading
    Start start_ = Start::Pending;
    bool device_ = false;               // open now
    bool owner_ = false;                // this instance holds the process's one mixer
    bool midi_ = false;                 // the device takes the synthesizer's samples
    int frameBytes_ = 4;
    int rate_ = 44100;
    std::map<std::string, Tune> tunes_;  // by lower-case alias
    std::string playingAlias_;            // lower case; empty when no tune plays
    std::map<std::string, Mix_Chunk*> chunks_;

    // The tune the audio callback renders, between the game's thread and that callback. Never held
    // while calling SDL_mixer, which holds the audio lock around the callback.
    std::mutex musicMutex_;
    TuneSynth* music_ = nullptr;
    std::atomic<bool> musicOn_{false};  // the playing tune has notes left

    std::atomic<std::uint64_t> musicFrames_{0};
    std::atomic<std::int64_t> lastSoundMs_{0};  // steady-clock time of the last mixed sound
    // Whether anything was played since the device last opened: one opened only to learn its format
    // and make the music ready closes as soon as that is done, not after a rest.
    bool playedSinceOpen_ = false;

    // The loader sleeps until it is given work or the open device's idle time is up; it never
    // wakes while the device is closed and nothing is to be loaded.
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool wakePending_ = false;
    bool stopping_ = false;
    std::thread loader_;
};

}  // namespace kanuvo
