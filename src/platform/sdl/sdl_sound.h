// The game's music and effects played through SDL2_mixer: MIDI by media-control commands, WAV by file.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/system.h"

struct Mix_Chunk;
struct _Mix_Music;

namespace kanuvo {

// The soundfont the MIDI music is rendered with; without it SDL_mixer's own default is used.
constexpr const char* kSoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// Opens the audio device on construction. Without a device, file or soundfont everything is
// silence and commands report failure by their result; nothing is ever shown to the player.
// One instance at a time: SDL_mixer's state is global to the process.
class SdlSound : public Sound {
public:
    SdlSound();
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    int mciSendStringA(std::string_view command) override;
    int sndPlaySoundA(std::string_view path, unsigned flags) override;

    // Stops everything, frees all tunes and effects and releases the audio device. Later calls
    // are silent. Safe to call more than once.
    void Shutdown();

    // True while an audio device is open.
    bool HasDevice() const;
    // True while the device is mixing; it is paused whenever neither music nor an effect plays.
    bool DeviceRunning() const;
    // True while an effect plays.
    bool EffectPlaying() const;
    // Seconds of the current tune mixed since it was last started from its beginning.
    double MusicSeconds() const;

private:
    struct Tune {
        std::vector<std::uint8_t> bytes;  // the file, kept so every play can start from a fresh decoder
        _Mix_Music* fresh = nullptr;      // decoded, never played: the next play's
        _Mix_Music* used = nullptr;       // playing, or played before
    };

    bool OpenDevice();
    int Open(const std::string& path, const std::string& type, const std::string& alias);
    int Play(const std::string& alias);
    int Stop(const std::string& alias);
    int Close(const std::string& alias);
    static void FreeTune(Tune& tune);
    Mix_Chunk* Chunk(const std::string& path);
    // Pauses the device when nothing plays and runs it when something does. Caller holds mutex_.
    void UpdateDevice();
    void WatchForSilence();

    static void OnMusicFinished();
    static void OnChannelFinished(int channel);
    static void OnPostMix(void* self, std::uint8_t* stream, int length);

    mutable std::mutex mutex_;  // the mixer's state, between the game's thread and the watcher
    bool device_ = false;
    std::uint32_t deviceId_ = 0;
    int frameBytes_ = 4;
    int rate_ = 44100;
    std::map<std::string, Tune> tunes_;  // by lower-case alias
    std::string playingAlias_;            // lower case; empty when no tune plays
    std::map<std::string, Mix_Chunk*> chunks_;

    std::atomic<bool> musicOn_{false};
    std::atomic<std::uint64_t> musicFrames_{0};

    // The finished-callbacks run on the audio thread, where the device cannot be paused; they
    // wake this watcher, which pauses it from its own thread.
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool wakePending_ = false;
    bool stopping_ = false;
    std::thread watcher_;
};

}  // namespace kanuvo
