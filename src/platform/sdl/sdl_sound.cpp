// Music and effects over SDL2_mixer: the command interpreter, the effect cache and the idle pause.
#include "sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <filesystem>

#include "mci_command.h"
#include "platform/regular_file.h"

namespace kanuvo {
namespace {

constexpr int kEffectChannel = 0;  // one channel: like the game's design, one effect at a time
constexpr int kRate = 44100;
constexpr int kBufferFrames = 1024;
// FluidSynth at full gain clips on the loud, full-band passages of the tune.
constexpr int kMusicVolume = MIX_MAX_VOLUME / 2;
// Far above any tune or effect of a game, far below what would strain memory: a file beyond its cap
// is no sound of ours and plays as silence.
constexpr std::size_t kMaxMidiBytes = std::size_t{4} << 20;
constexpr std::size_t kMaxWaveBytes = std::size_t{16} << 20;

// SDL_mixer's callbacks carry no context, so they find the one live instance here.
std::atomic<SdlSound*> g_active{nullptr};

// A Standard MIDI File, bare or wrapped in RIFF; the player would take other data for silence.
bool IsMidi(const std::vector<std::uint8_t>& bytes) {
    auto at = [&](std::size_t offset, const char* tag) {
        return bytes.size() >= offset + 4 && std::equal(tag, tag + 4, bytes.begin() + static_cast<long>(offset));
    };
    return at(0, "MThd") || (at(0, "RIFF") && at(8, "RMID"));
}

_Mix_Music* Decode(const std::vector<std::uint8_t>& bytes) {
    if (!IsMidi(bytes)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr) return nullptr;
    return Mix_LoadMUSType_RW(rw, MUS_MID, 1);
}

}  // namespace

SdlSound::SdlSound() {
    if (OpenDevice()) watcher_ = std::thread([this] { WatchForSilence(); });
}

SdlSound::~SdlSound() { Shutdown(); }

bool SdlSound::OpenDevice() {
    SdlSound* expected = nullptr;
    if (!g_active.compare_exchange_strong(expected, this)) return false;
    // Left to itself SDL turns Ctrl+C and kill into a quit event nobody in a Qt program reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        g_active = nullptr;
        return false;
    }
    std::error_code ec;
    if (std::filesystem::exists(kSoundFontPath, ec)) Mix_SetSoundFonts(kSoundFontPath);
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_active = nullptr;
        return false;
    }
    int channels = 2;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&rate_, &format, &channels);
    frameBytes_ = std::max(1, channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8));
    // SDL_mixer does not say which device it opened; it is the only one this program opens.
    for (SDL_AudioDeviceID id = 1; id < 64; ++id) {
        if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) {
            deviceId_ = id;
            break;
        }
    }
    Mix_AllocateChannels(1);
    Mix_VolumeMusic(kMusicVolume);
    Mix_HookMusicFinished(&SdlSound::OnMusicFinished);
    Mix_ChannelFinished(&SdlSound::OnChannelFinished);
    Mix_SetPostMix(&SdlSound::OnPostMix, this);
    std::lock_guard lock(mutex_);
    device_ = true;
    UpdateDevice();
    return true;
}

void SdlSound::Shutdown() {
    {
        std::lock_guard lock(wakeMutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (watcher_.joinable()) watcher_.join();

    std::lock_guard lock(mutex_);
    if (!device_) return;
    Mix_HookMusicFinished(nullptr);
    Mix_ChannelFinished(nullptr);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    for (auto& [alias, tune] : tunes_) FreeTune(tune);
    tunes_.clear();
    playingAlias_.clear();
    for (auto& [path, chunk] : chunks_) Mix_FreeChunk(chunk);
    chunks_.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = false;
    deviceId_ = 0;
    musicOn_ = false;
    g_active = nullptr;
}

int SdlSound::mciSendStringA(std::string_view command) {
    // Of the ways to read a path with quotes in its folder names, the one naming a file that is there.
    const auto cmd = ParseMciCommand(command, [](const MciCommand& c) {
        std::error_code ec;
        return c.verb != MciVerb::Open || std::filesystem::is_regular_file(NativePath(c.path), ec);
    });
    if (!cmd) return kMciUnknownCommand;
    std::lock_guard lock(mutex_);
    const std::string alias = LowerAscii(cmd->alias);
    switch (cmd->verb) {
        case MciVerb::Open: return Open(cmd->path, cmd->type, alias);
        case MciVerb::Play: return Play(alias);
        case MciVerb::Stop: return Stop(alias);
        case MciVerb::Close: return Close(alias);
    }
    return kMciUnknownCommand;
}

int SdlSound::Open(const std::string& path, const std::string& type, const std::string& alias) {
    if (!type.empty() && type != "sequencer") return kMciUnknownCommand;
    if (tunes_.count(alias) != 0) return kMciAliasInUse;
    if (!device_) return kMciNoDevice;
    Tune tune;
    auto bytes = ReadRegularFile(NativePath(path), kMaxMidiBytes);
    if (!bytes || bytes->empty()) return kMciNoFile;
    tune.bytes = std::move(*bytes);
    tune.fresh = Decode(tune.bytes);
    if (tune.fresh == nullptr) return kMciNoFile;
    tunes_[alias] = std::move(tune);
    return kMciOk;
}

int SdlSound::Play(const std::string& alias) {
    const auto it = tunes_.find(alias);
    if (it == tunes_.end()) return kMciUnknownAlias;
    Mix_HaltMusic();
    playingAlias_.clear();
    musicOn_ = false;
    // The MIDI player resumes where it was halted rather than rewinding, so every play takes a
    // decoder that has never played: the tune always starts from its first note.
    // The old decoder is freed only once the new one plays, so a restart leaves no gap.
    Tune& tune = it->second;
    _Mix_Music* const old = tune.used;
    tune.used = tune.fresh != nullptr ? tune.fresh : Decode(tune.bytes);
    tune.fresh = nullptr;
    bool started = false;
    if (tune.used != nullptr) {
        musicFrames_ = 0;
        musicOn_ = true;
        started = Mix_PlayMusic(tune.used, 0) == 0;
        if (!started) musicOn_ = false;
    }
    if (old != nullptr) Mix_FreeMusic(old);
    if (!started) {
        UpdateDevice();
        return kMciNoFile;
    }
    playingAlias_ = alias;
    UpdateDevice();
    // The next play's decoder is made now, while this one already sounds: loading the soundfont
    // takes tens of milliseconds, which would otherwise delay the music after every Start.
    tune.fresh = Decode(tune.bytes);
    return kMciOk;
}

void SdlSound::FreeTune(Tune& tune) {
    if (tune.used != nullptr) Mix_FreeMusic(tune.used);
    if (tune.fresh != nullptr) Mix_FreeMusic(tune.fresh);
    tune.used = tune.fresh = nullptr;
}

int SdlSound::Stop(const std::string& alias) {
    if (tunes_.count(alias) == 0) return kMciUnknownAlias;
    if (playingAlias_ == alias) {
        Mix_HaltMusic();
        playingAlias_.clear();
        musicOn_ = false;
    }
    UpdateDevice();
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
    Mix_Chunk* chunk = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (!device_ || path.empty()) return 0;
        if ((flags & kSndNoStop) != 0 && Mix_Playing(kEffectChannel) != 0) return 0;
        // There is no default sound to fall back on: an unreadable file plays nothing, with or
        // without kSndNoDefault.
        chunk = Chunk(NativePath(path));
        if (chunk == nullptr) return 0;
        Mix_HaltChannel(kEffectChannel);
        if (Mix_PlayChannel(kEffectChannel, chunk, 0) < 0) {
            UpdateDevice();
            return 0;
        }
        UpdateDevice();
    }
    if ((flags & kSndAsync) == 0) {
        // Played synchronously: wait for the end, but never longer than the effect plus a margin,
        // so a stalled device cannot hang the game.
        const Uint32 limit = chunk->alen / static_cast<Uint32>(frameBytes_ * rate_ / 1000) + 1000;
        const Uint32 start = SDL_GetTicks();
        while (EffectPlaying() && SDL_GetTicks() - start < limit) SDL_Delay(5);
    }
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

void SdlSound::UpdateDevice() {
    if (!device_) return;
    if (!playingAlias_.empty() && Mix_PlayingMusic() == 0) playingAlias_.clear();
    const bool busy = Mix_PlayingMusic() != 0 || Mix_Playing(-1) > 0;
    if (deviceId_ != 0) SDL_PauseAudioDevice(deviceId_, busy ? 0 : 1);
}

void SdlSound::WatchForSilence() {
    while (true) {
        {
            std::unique_lock lock(wakeMutex_);
            wake_.wait(lock, [this] { return wakePending_ || stopping_; });
            if (stopping_) return;
            wakePending_ = false;
        }
        std::lock_guard lock(mutex_);
        UpdateDevice();
    }
}

void SdlSound::OnMusicFinished() {
    SdlSound* self = g_active.load();
    if (self == nullptr) return;
    self->musicOn_ = false;
    {
        std::lock_guard lock(self->wakeMutex_);
        self->wakePending_ = true;
    }
    self->wake_.notify_one();
}

void SdlSound::OnChannelFinished(int) {
    SdlSound* self = g_active.load();
    if (self == nullptr) return;
    {
        std::lock_guard lock(self->wakeMutex_);
        self->wakePending_ = true;
    }
    self->wake_.notify_one();
}

void SdlSound::OnPostMix(void* self, std::uint8_t*, int length) {
    auto* sound = static_cast<SdlSound*>(self);
    if (sound->musicOn_) sound->musicFrames_ += static_cast<std::uint64_t>(length / sound->frameBytes_);
}

bool SdlSound::HasDevice() const {
    std::lock_guard lock(mutex_);
    return device_;
}

bool SdlSound::DeviceRunning() const {
    std::lock_guard lock(mutex_);
    return device_ && deviceId_ != 0 && SDL_GetAudioDeviceStatus(deviceId_) == SDL_AUDIO_PLAYING;
}

bool SdlSound::EffectPlaying() const {
    std::lock_guard lock(mutex_);
    return device_ && Mix_Playing(kEffectChannel) != 0;
}

double SdlSound::MusicSeconds() const {
    return static_cast<double>(musicFrames_.load()) / std::max(1, rate_);
}

}  // namespace kanuvo
