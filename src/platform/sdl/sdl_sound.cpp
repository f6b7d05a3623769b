// SPDX-License-Identifier: MIT
// Music and effects over SDL2_mixer: the command interpreter, the effect cache, the loader thread and
// the device that closes while nothing plays.
#include "sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

#include "mci_command.h"
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

// SDL_mixer's state is global to the process, so only one instance may own it.
std::atomic<bool> g_mixerOwned{false};

using SteadyClock = std::chrono::steady_clock;

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now().time_since_epoch()).count();
}

// A Standard MIDI File, bare or wrapped in RIFF; the player would take other data for silence.
bool IsMidi(const std::vector<std::uint8_t>& bytes) {
    auto at = [&](std::size_t offset, const char* tag) {
        return bytes.size() >= offset + 4 && std::equal(tag, tag + 4, bytes.begin() + static_cast<long>(offset));
    };
    return at(0, "MThd") || (at(0, "RIFF") && at(8, "RMID"));
}

// The soundfont a tune brings with it, beside it.
std::string OwnSoundFont(const std::string& tunePath) {
    return std::filesystem::path(tunePath).replace_extension(".sf2").string();
}

// With the tune's own soundfont, or where that cannot be loaded with the system's. Each is checked
// just before the synthesizer reads it by its path, which must not wait on a pipe or read a device
// without end either.
TuneSynth* Decode(const std::vector<std::uint8_t>& bytes, const std::string& ownSoundFont, int rate) {
    if (!IsMidi(bytes)) return nullptr;
    for (const std::string& soundFont : {ownSoundFont, std::string(kSoundFontPath)}) {
        if (!IsRegularFileWithin(soundFont, kMaxSoundFontBytes)) continue;
        if (TuneSynth* tune = TuneSynth::Make(soundFont.c_str(), bytes, rate)) return tune;
    }
    return nullptr;
}

}  // namespace

SdlSound::SdlSound(std::chrono::milliseconds idleClose) : idleClose_(idleClose) {
    bool expected = false;
    owner_ = g_mixerOwned.compare_exchange_strong(expected, true);
    if (!owner_) {
        start_ = Start::Failed;
        return;
    }
    loader_ = std::thread([this] { RunLoader(); });
}

SdlSound::~SdlSound() { Shutdown(); }

void SdlSound::StartMixer() {
    // Left to itself SDL turns Ctrl+C and kill into a quit event nobody in a Qt program reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::lock_guard lock(mutex_);
    start_ = OpenDevice() ? Start::Ready : Start::Failed;
    if (start_ == Start::Failed) {
        for (auto& [alias, tune] : tunes_) tune.loading = false;
    }
    loaded_.notify_all();
}

void SdlSound::RunLoader() {
    StartMixer();
    std::unique_lock wake(wakeMutex_);
    while (!stopping_) {
        wakePending_ = false;
        wake.unlock();
        LoadTunes();
        std::optional<SteadyClock::time_point> closeAt;
        {
            std::lock_guard lock(mutex_);
            if (device_) {
                const std::int64_t idleFrom = Busy() ? NowMs() : lastSoundMs_.load();
                const std::int64_t left = idleFrom + idleClose_.count() - NowMs();
                if (left <= 0 || (!playedSinceOpen_ && !Busy())) {
                    CloseDevice();
                    // The effects heard so far go too, converted for the device as they are: the next
                    // play reads its file again, in a millisecond or two.
                    for (auto& [path, chunk] : chunks_) Mix_FreeChunk(chunk);
                    chunks_.clear();
                } else {
                    closeAt = SteadyClock::now() + std::chrono::milliseconds(left);
                }
            }
        }
        wake.lock();
        if (stopping_ || wakePending_) continue;
        const auto woken = [this] { return stopping_ || wakePending_; };
        if (closeAt) {
            wake_.wait_until(wake, *closeAt, woken);
        } else {
            wake_.wait(wake, woken);
        }
    }
}

void SdlSound::LoadTunes() {
    for (;;) {
        std::string alias;
        std::vector<std::uint8_t> bytes;
        std::string soundFont;
        int rate = 0;
        {
            std::unique_lock lock(mutex_);
            const auto it = std::find_if(tunes_.begin(), tunes_.end(), [](const auto& t) { return t.second.loading; });
            if (it == tunes_.end()) return;
            if (start_ != Start::Ready || !midi_ || !EnsureDevice(lock)) {
                it->second.loading = false;
                loaded_.notify_all();
                continue;
            }
            alias = it->first;
            bytes = it->second.bytes;
            soundFont = it->second.soundFont;
            rate = rate_;
        }
        // Outside the lock: the soundfont takes a while to load, and the game may play an effect meanwhile.
        TuneSynth* music = Decode(bytes, soundFont, rate);
        {
            std::lock_guard lock(mutex_);
            const auto it = tunes_.find(alias);
            if (it != tunes_.end() && it->second.loading && it->second.bytes == bytes && rate == rate_) {
                it->second.fresh = music;
                it->second.loading = false;
                music = nullptr;
            }
            lastSoundMs_ = NowMs();  // the device's idle time starts after loading
            loaded_.notify_all();
        }
        delete music;  // its tune was closed meanwhile, or the device's rate changed
    }
}

bool SdlSound::OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int channels = 2;
    int rate = kRate;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&rate, &format, &channels);
    const int frameBytes = std::max(1, channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8));
    if (start_ == Start::Ready && (rate != rate_ || frameBytes != frameBytes_)) {
        // Effects and tunes were converted for the device as it was before; they load again for this one.
        for (auto& [path, chunk] : chunks_) Mix_FreeChunk(chunk);
        chunks_.clear();
        for (auto& [alias, tune] : tunes_) {
            FreeTune(tune);
            tune.loading = true;
        }
        WakeLoader();
    }
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
    playingAlias_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = false;
}

bool SdlSound::EnsureDevice(std::unique_lock<std::mutex>& lock) {
    loaded_.wait(lock, [this] { return start_ != Start::Pending; });
    if (start_ != Start::Ready) return false;
    if (device_) return true;
    if (!OpenDevice()) return false;
    WakeLoader();  // it closes the device again once nothing has played for a while
    return true;
}

void SdlSound::WakeLoader() {
    {
        std::lock_guard lock(wakeMutex_);
        wakePending_ = true;
    }
    wake_.notify_one();
}

bool SdlSound::Busy() const { return device_ && (musicOn_ || Mix_Playing(-1) > 0); }

void SdlSound::HaltMusic() {
    std::lock_guard lock(musicMutex_);
    music_ = nullptr;
    musicOn_ = false;
}

void SdlSound::MarkSounding() {
    lastSoundMs_ = NowMs();
    playedSinceOpen_ = true;
}

void SdlSound::Shutdown() {
    {
        std::lock_guard lock(wakeMutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (loader_.joinable()) loader_.join();

    std::lock_guard lock(mutex_);
    if (!owner_) return;
    CloseDevice();
    for (auto& [alias, tune] : tunes_) FreeTune(tune);
    tunes_.clear();
    for (auto& [path, chunk] : chunks_) Mix_FreeChunk(chunk);
    chunks_.clear();
    Mix_Quit();
    start_ = Start::Failed;
    owner_ = false;
    g_mixerOwned = false;
    loaded_.notify_all();
}

int SdlSound::mciSendStringA(std::string_view command) {
    // Of the ways to read a path with quotes in its folder names, the one naming a file that is there.
    const auto cmd = ParseMciCommand(command, [](const MciCommand& c) {
        std::error_code ec;
        return c.verb != MciVerb::Open || std::filesystem::is_regular_file(NativePath(c.path), ec);
    });
    if (!cmd) return kMciUnknownCommand;
    std::unique_lock lock(mutex_);
    const std::string alias = LowerAscii(cmd->alias);
    switch (cmd->verb) {
        case MciVerb::Open: return Open(cmd->path, cmd->type, alias);
        case MciVerb::Play: return Play(lock, alias);
        case MciVerb::Stop: return Stop(alias);
        case MciVerb::Close: return Close(alias);
    }
    return kMciUnknownCommand;
}

int SdlSound::Open(const std::string& path, const std::string& type, const std::string& alias) {
    if (!type.empty() && type != "sequencer") return kMciUnknownCommand;
    if (tunes_.count(alias) != 0) return kMciAliasInUse;
    if (start_ == Start::Failed) return kMciNoDevice;
    Tune tune;
    const std::string file = NativePath(path);
    auto bytes = ReadRegularFile(file, kMaxMidiBytes);
    if (!bytes || !IsMidi(*bytes)) return kMciNoFile;
    tune.bytes = std::move(*bytes);
    tune.soundFont = OwnSoundFont(file);
    // The loader decodes it (and loads the soundfont with it); the first play waits for that if it must.
    tune.loading = true;
    tunes_[alias] = std::move(tune);
    WakeLoader();
    return kMciOk;
}

int SdlSound::Play(std::unique_lock<std::mutex>& lock, const std::string& alias) {
    const auto found = tunes_.find(alias);
    if (found == tunes_.end()) return kMciUnknownAlias;
    // Played again without a stop, the tune has no fresh decoder yet: one is made now, while the
    // old one goes on sounding.
    if (found->second.fresh == nullptr && !found->second.loading) {
        found->second.loading = true;
        WakeLoader();
    }
    loaded_.wait(lock, [&] {
        const auto it = tunes_.find(alias);
        return it == tunes_.end() || !it->second.loading;
    });
    const auto it = tunes_.find(alias);
    if (it == tunes_.end()) return kMciUnknownAlias;
    if (!EnsureDevice(lock)) return kMciNoDevice;
    Tune& tune = it->second;
    if (tune.fresh == nullptr) return kMciNoFile;  // the tune could not be decoded
    // The MIDI player resumes where it was halted rather than rewinding, so every play takes a
    // decoder that has never played: the tune always starts from its first note.
    HaltMusic();
    playingAlias_.clear();
    TuneSynth* const old = tune.used;
    tune.used = tune.fresh;
    tune.fresh = nullptr;
    musicFrames_ = 0;
    const bool started = tune.used->Start();
    if (started) {
        std::lock_guard musicLock(musicMutex_);
        music_ = tune.used;
        musicOn_ = true;
    }
    delete old;
    if (!started) return kMciNoFile;
    playingAlias_ = alias;
    MarkSounding();
    return kMciOk;
}

void SdlSound::FreeTune(Tune& tune) {
    delete tune.used;
    delete tune.fresh;
    tune.used = tune.fresh = nullptr;
}

int SdlSound::Stop(const std::string& alias) {
    const auto it = tunes_.find(alias);
    if (it == tunes_.end()) return kMciUnknownAlias;
    if (playingAlias_ == alias) {
        HaltMusic();
        playingAlias_.clear();
    }
    // A decoder holds a synthesizer with the whole soundfont: the played one goes before the loader
    // makes the next play's, so there is never more than one.
    Tune& tune = it->second;
    delete tune.used;
    tune.used = nullptr;
    if (tune.fresh == nullptr && !tune.loading) {
        tune.loading = true;
        WakeLoader();
    }
    return kMciOk;
}

int SdlSound::Close(const std::string& alias) {
    const auto it = tunes_.find(alias);
    if (it == tunes_.end()) return kMciUnknownAlias;
    Stop(alias);
    FreeTune(it->second);
    tunes_.erase(it);
    return kMciOk;
}

int SdlSound::sndPlaySoundA(std::string_view path, unsigned flags) {
    std::unique_lock lock(mutex_);
    if (path.empty() || !EnsureDevice(lock)) return 0;
    if ((flags & kSndNoStop) != 0 && Mix_Playing(kEffectChannel) != 0) return 0;
    // There is no default sound to fall back on: an unreadable file plays nothing, with or without
    // kSndNoDefault.
    Mix_Chunk* chunk = Chunk(NativePath(path));
    if (chunk == nullptr) return 0;
    Mix_HaltChannel(kEffectChannel);
    if (Mix_PlayChannel(kEffectChannel, chunk, 0) < 0) return 0;
    MarkSounding();
    return 1;
}

Mix_Chunk* SdlSound::Chunk(const std::string& path) {
    const auto it = chunks_.find(path);
    if (it != chunks_.end()) return it->second;
    // Read here rather than by SDL, which would wait on a pipe and read a device without end.
    const auto bytes = ReadRegularFile(path, kMaxWaveBytes);
    if (!bytes || bytes->empty()) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    Mix_Chunk* chunk = rw != nullptr ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    // A file that cannot be read is not remembered: it may be there next time.
    if (chunk != nullptr) chunks_[path] = chunk;
    return chunk;
}

void SdlSound::OnMusic(void* self, std::uint8_t* stream, int length) {
    auto* sound = static_cast<SdlSound*>(self);
    std::lock_guard lock(sound->musicMutex_);
    // The stream comes silent: nothing is rendered while no tune plays.
    if (sound->music_ == nullptr || !sound->musicOn_) return;
    const int channels = std::max(1, sound->frameBytes_ / 2);
    if (!sound->music_->Render(reinterpret_cast<std::int16_t*>(stream), length / sound->frameBytes_, channels)) {
        sound->musicOn_ = false;
    }
}

void SdlSound::OnPostMix(void* self, std::uint8_t*, int length) {
    auto* sound = static_cast<SdlSound*>(self);
    // The mixer is locked here, so asking it what plays is safe.
    const bool music = sound->musicOn_;
    if (music) sound->musicFrames_ += static_cast<std::uint64_t>(length / sound->frameBytes_);
    if (music || Mix_Playing(-1) > 0) sound->lastSoundMs_ = NowMs();
}

void SdlSound::WaitUntilLoaded() {
    std::unique_lock lock(mutex_);
    loaded_.wait(lock, [this] {
        return start_ != Start::Pending &&
               std::none_of(tunes_.begin(), tunes_.end(), [](const auto& t) { return t.second.loading; });
    });
}

bool SdlSound::HasDevice() const {
    std::unique_lock lock(mutex_);
    loaded_.wait(lock, [this] { return start_ != Start::Pending; });
    return start_ == Start::Ready;
}

bool SdlSound::DeviceOpen() const {
    std::lock_guard lock(mutex_);
    return device_;
}

bool SdlSound::EffectPlaying() const {
    std::lock_guard lock(mutex_);
    return device_ && Mix_Playing(kEffectChannel) != 0;
}

double SdlSound::MusicSeconds() const {
    return static_cast<double>(musicFrames_.load()) / std::max(1, rate_);
}

}  // namespace kanuvo
