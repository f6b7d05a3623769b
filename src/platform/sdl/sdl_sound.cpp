// SPDX-License-Identifier: MIT
// Music and effects over SDL2_mixer: the tune, the effect cache and the device that closes while
// nothing plays.
#include "sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/regular_file.h"

namespace kanuvo {
namespace {

constexpr int kEffectChannel = 0;  // one channel: like the game's design, one effect at a time
constexpr int kRate = 44100;
constexpr int kBufferFrames = 1024;
// Far above any tune or effect of a game, far below what would strain memory: a file beyond its cap
// is no sound of ours and plays as silence.
constexpr std::size_t kMaxMidiBytes = std::size_t{4} << 20;
constexpr std::size_t kMaxWaveBytes = std::size_t{16} << 20;
constexpr std::size_t kMaxSoundFontBytes = std::size_t{64} << 20;  // the system's is 6 MB

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A Standard MIDI File, bare or wrapped in RIFF; the player would take other data for silence.
bool IsMidi(const std::vector<std::uint8_t>& bytes) {
    auto at = [&](std::size_t offset, const char* tag) {
        return bytes.size() >= offset + 4 && std::equal(tag, tag + 4, bytes.begin() + static_cast<long>(offset));
    };
    return at(0, "MThd") || (at(0, "RIFF") && at(8, "RMID"));
}

// While SDL looks for a device, ALSA prints lines of its own for each one it cannot open (eight on a
// machine without a sound card) before our one line says the same. They are silenced for the search
// only; ALSA's later words, about a device that was found, still reach standard error.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
struct QuietAlsaWhileProbing {
    QuietAlsaWhileProbing() { snd_lib_error_set_handler(&IgnoreAlsaError); }
    ~QuietAlsaWhileProbing() { snd_lib_error_set_handler(nullptr); }
    QuietAlsaWhileProbing(const QuietAlsaWhileProbing&) = delete;
    QuietAlsaWhileProbing& operator=(const QuietAlsaWhileProbing&) = delete;
};

}  // namespace

void SdlSound::FreeChunk::operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }

SdlSound::SdlSound(std::chrono::milliseconds idleClose) : idleClose_(idleClose) {
    // Left to itself SDL turns Ctrl+C and kill into a quit event nobody in a Qt program reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

SdlSound::~SdlSound() {
    CloseDevice();
    tune_.reset();
    chunks_.clear();
    Mix_Quit();
}

void SdlSound::Say(const std::string& what, const std::string& file, const std::string& reason) {
    if (!said_.insert(file + '\n' + reason).second) return;
    std::fprintf(stderr, "kanuvo: %s: %s: %s\n", what.c_str(), file.c_str(), reason.c_str());
}

bool SdlSound::EnsureDevice() {
    if (device_) return true;
    const char* driver = SDL_getenv("SDL_AUDIODRIVER");
    const std::string device = std::string("the audio device") + (driver ? std::string(" (") + driver + ")" : "");
    const QuietAlsaWhileProbing quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Say("no sound", device, SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) != 0) {
        Say("no sound", device, Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int channels = 2;
    int rate = kRate;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&rate, &format, &channels);
    const int frameBytes = std::max(1, channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8));
    // Effects were converted for the device as it was before; they load again for this one. The
    // tune is decoded again at its next play.
    if (rate != rate_ || frameBytes != frameBytes_) chunks_.clear();
    rate_ = rate;
    frameBytes_ = frameBytes;
    // The synthesizer writes 16-bit samples; a device that took another format plays effects only.
    midi_ = format == AUDIO_S16SYS;
    Mix_AllocateChannels(1);
    Mix_HookMusic(&SdlSound::OnMusic, this);
    Mix_SetPostMix(&SdlSound::OnPostMix, this);
    device_ = true;
    playedSinceOpen_ = false;
    lastSoundMs_ = NowMs();
    return true;
}

void SdlSound::CloseDevice() {
    if (!device_) return;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HookMusic(nullptr, nullptr);
    HaltMusic();
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = false;
}

bool SdlSound::Busy() const { return device_ && (musicOn_ || Mix_Playing(-1) > 0); }

std::optional<std::chrono::milliseconds> SdlSound::Rest() {
    if (tune_ && !tune_->fresh && !tune_->used && midi_) tune_->fresh = Decode(*tune_);
    if (!device_) return std::nullopt;
    const std::int64_t idleFrom = Busy() ? NowMs() : lastSoundMs_.load();
    const std::int64_t left = idleFrom + idleClose_.count() - NowMs();
    if (left > 0 && (playedSinceOpen_ || Busy())) return std::chrono::milliseconds(left);
    CloseDevice();
    // The effects heard so far go too, converted for the device as they are: the next play reads its
    // file again, in a millisecond or two.
    chunks_.clear();
    return std::nullopt;
}

void SdlSound::HaltMusic() {
    std::lock_guard lock(musicMutex_);
    music_ = nullptr;
    musicOn_ = false;
}

std::unique_ptr<TuneSynth> SdlSound::Decode(const Tune& tune) {
    // With the tune's own soundfont, or where that cannot be loaded with the system's. Each is checked
    // just before the synthesizer reads it by its path, which must not wait on a pipe or read a device
    // without end either.
    const std::string own = std::filesystem::path(tune.path).replace_extension(".sf2").string();
    for (const std::string& soundFont : {own, std::string(kSoundFontPath)}) {
        if (!IsRegularFileWithin(soundFont, kMaxSoundFontBytes)) continue;
        if (auto synth = TuneSynth::Make(soundFont, tune.bytes, rate_)) return synth;
    }
    Say("no music", kSoundFontPath,
        IsRegularFileWithin(kSoundFontPath, kMaxSoundFontBytes) ? "no soundfont FluidSynth can load"
                                                                : RegularFileProblem(kSoundFontPath, kMaxSoundFontBytes));
    return nullptr;
}

void SdlSound::OpenMusic(const std::string& path) {
    if (tune_) return;  // the game opens its one tune once, and closes it before opening it again
    auto bytes = ReadRegularFile(path, kMaxMidiBytes);
    if (!bytes) return Say("no music", path, RegularFileProblem(path, kMaxMidiBytes));
    if (!IsMidi(*bytes)) return Say("no music", path, "not a MIDI file");
    tune_ = Tune{path, std::move(*bytes), nullptr, nullptr};
    // Decoded now, so that the first play starts at once; the device tells the rate to decode for.
    if (EnsureDevice() && midi_) tune_->fresh = Decode(*tune_);
}

void SdlSound::PlayMusicFromStart() {
    if (!tune_ || !EnsureDevice() || !midi_) return;
    // Played again without a stop, the tune has no fresh synthesizer yet: one is made now, while the
    // old one goes on sounding. One made for a device of another rate is made again.
    if (!tune_->fresh || tune_->fresh->Rate() != rate_) tune_->fresh = Decode(*tune_);
    if (!tune_->fresh) return;
    if (!tune_->fresh->Start()) return Say("no music", tune_->path, "the tune cannot be started");
    // The old one sounds until the new one takes over, and goes only once the callback has let go of it.
    std::unique_ptr<TuneSynth> old = std::move(tune_->used);
    tune_->used = std::move(tune_->fresh);
    {
        std::lock_guard lock(musicMutex_);
        music_ = tune_->used.get();
        musicOn_ = true;
        musicEnded_ = false;
    }
    old.reset();
    lastSoundMs_ = NowMs();
    playedSinceOpen_ = true;
}

void SdlSound::StopMusic() {
    HaltMusic();
    // A synthesizer holds the soundfont's tables: the played one goes before the rest makes the next
    // play's, so that there is never more than one.
    if (tune_) tune_->used.reset();
}

void SdlSound::CloseMusic() {
    HaltMusic();
    tune_.reset();
}

void SdlSound::PlayEffect(const std::string& path) {
    if (path.empty() || !EnsureDevice()) return;
    if (Mix_Playing(kEffectChannel) != 0) return;  // the effect still sounding is left alone
    // There is no default sound to fall back on: an unreadable file plays nothing.
    Mix_Chunk* chunk = Chunk(path);
    if (chunk == nullptr) return;
    if (Mix_PlayChannel(kEffectChannel, chunk, 0) < 0) return Say("no effect", path, Mix_GetError());
    lastSoundMs_ = NowMs();
    playedSinceOpen_ = true;
}

Mix_Chunk* SdlSound::Chunk(const std::string& path) {
    const auto it = chunks_.find(path);
    if (it != chunks_.end()) return it->second.get();
    // Read here rather than by SDL, which would wait on a pipe and read a device without end.
    const auto bytes = ReadRegularFile(path, kMaxWaveBytes);
    if (!bytes) {
        Say("no effect", path, RegularFileProblem(path, kMaxWaveBytes));
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    Mix_Chunk* chunk = rw != nullptr ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (chunk == nullptr) {
        Say("no effect", path, bytes->empty() ? "an empty file" : Mix_GetError());
        return nullptr;  // not remembered: it may be whole next time
    }
    return chunks_.emplace(path, chunk).first->second.get();
}

void SdlSound::OnMusic(void* self, std::uint8_t* stream, int length) {
    auto* sound = static_cast<SdlSound*>(self);
    std::lock_guard lock(sound->musicMutex_);
    // The stream comes silent: nothing is rendered while no tune plays.
    if (sound->music_ == nullptr || !sound->musicOn_) return;
    const int channels = std::max(1, sound->frameBytes_ / 2);
    if (!sound->music_->Render(reinterpret_cast<std::int16_t*>(stream), length / sound->frameBytes_, channels)) {
        sound->musicOn_ = false;
        sound->musicEnded_ = true;
    }
}

void SdlSound::OnPostMix(void* self, std::uint8_t*, int) {
    auto* sound = static_cast<SdlSound*>(self);
    // The mixer is locked here, so asking it what plays is safe.
    if (sound->musicOn_ || Mix_Playing(-1) > 0) sound->lastSoundMs_ = NowMs();
}

}  // namespace kanuvo
