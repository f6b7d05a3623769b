// SPDX-License-Identifier: MIT
// The game's music and effects played through SDL2_mixer: the tune rendered by FluidSynth, effects
// from WAV files, and the device that closes while nothing plays.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/sdl/tune_synth.h"
#include "platform/sound_module.h"

struct Mix_Chunk;

namespace kanuvo {

// The soundfont the music is rendered with, unless the tune brings its own; without it the music is
// silent. A tune's own soundfont is the file of its name with .sf2 beside it (sound/Shellshk.sf2),
// cut at build time from this one to the presets the tune plays, so that only those are parsed and
// held; where it is missing, no regular file within the size cap or no soundfont, the tune plays
// with this one.
constexpr const char* kSoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// How long the audio device stays open after the last sound ended. Closed, it costs nothing; the
// next play opens it again within milliseconds.
constexpr std::chrono::milliseconds kDeviceIdleClose{3000};

// Everything happens on the thread that calls it, which may wait for the device to open or the
// soundfont to load; SDL's own audio thread only renders the tune and mixes. Every play takes a
// synthesizer that has never played (see tune_synth.h), made when the tune is opened and again in the
// rest after a stop. The device opens for the
// first sound (and when the music is opened, to learn its rate, closing again at once) and closes
// once Rest finds it silent for idleClose. One instance at a time: SDL_mixer's state is global to
// the process, and the program makes one.
class SdlSound : public SoundEngine {
public:
    explicit SdlSound(std::chrono::milliseconds idleClose = kDeviceIdleClose);
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    void OpenMusic(const std::string& path) override;
    void PlayMusicFromStart() override;
    void StopMusic() override;
    void CloseMusic() override;
    void PlayEffect(const std::string& path) override;
    bool MusicEnded() const override { return musicEnded_; }
    // Also makes the next play's synthesizer, while nothing else is asked and no tune plays.
    std::optional<std::chrono::milliseconds> Rest() override;


private:
    struct FreeChunk {
        void operator()(Mix_Chunk* chunk) const;
    };
    struct Tune {
        std::string path;
        std::vector<std::uint8_t> bytes;  // kept to make a fresh synthesizer for every play
        std::unique_ptr<TuneSynth> fresh;  // never played: the next play's
        std::unique_ptr<TuneSynth> used;   // playing, or played and not stopped yet
    };

    bool EnsureDevice();
    void CloseDevice();
    std::unique_ptr<TuneSynth> Decode(const Tune& tune);
    void HaltMusic();
    Mix_Chunk* Chunk(const std::string& path);
    bool Busy() const;
    // One line on standard error, the first time a file fails for a reason.
    void Say(const std::string& what, const std::string& file, const std::string& reason);

    static void OnMusic(void* self, std::uint8_t* stream, int length);
    static void OnPostMix(void* self, std::uint8_t* stream, int length);

    const std::chrono::milliseconds idleClose_;
    bool device_ = false;           // open now
    bool midi_ = false;             // the device takes the synthesizer's 16-bit samples
    bool playedSinceOpen_ = false;  // a device opened only to learn its rate closes without a rest
    int rate_ = 0;                  // of the device as it last opened
    int frameBytes_ = 4;
    std::optional<Tune> tune_;
    std::map<std::string, std::unique_ptr<Mix_Chunk, FreeChunk>> chunks_;  // effects by path
    std::set<std::string> said_;

    // The tune the audio callback renders, between this thread and that callback, which holds the
    // lock while it renders; never held while calling SDL_mixer, which holds the audio lock around
    // the callback.
    std::mutex musicMutex_;
    TuneSynth* music_ = nullptr;  // the tune's used synthesizer while it plays
    std::atomic<bool> musicOn_{false};
    std::atomic<bool> musicEnded_{false};  // the last play went on to the tune's end
    std::atomic<std::int64_t> lastSoundMs_{0};  // steady-clock time of the last mixed sound
};

}  // namespace kanuvo
