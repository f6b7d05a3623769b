// SPDX-License-Identifier: MIT
// The sound thread: the module checked and loaded, then the game's calls run in order.
#include "app/sound_worker.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/regular_file.h"

namespace kanuvo {

namespace {

constexpr std::size_t kMaxModuleBytes = std::size_t{64} << 20;  // ours is well under 1 MB, even sanitized

void SayNoSound(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "kanuvo: no sound: %s: %s\n", file.c_str(), reason.c_str());
}

// Whether bytes hold a whole shared library of this machine's kind: its header, and every part of the
// file the header points to (segments, tables), are within it. The loader maps a file cut short and
// crashes reading past its end.
bool IsWholeLibrary(const std::vector<std::uint8_t>& bytes) {
    ElfW(Ehdr) header;
    if (bytes.size() < sizeof header) return false;
    std::memcpy(&header, bytes.data(), sizeof header);
    const unsigned char kind[] = {ELFMAG0, ELFMAG1, ELFMAG2, ELFMAG3, ELFCLASS64};
    if (std::memcmp(header.e_ident, kind, sizeof kind) != 0 || header.e_type != ET_DYN) return false;
    const auto within = [&](std::uint64_t offset, std::uint64_t length) {
        return offset <= bytes.size() && length <= bytes.size() - offset;
    };
    if (header.e_phentsize != sizeof(ElfW(Phdr)) ||
        !within(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr))) ||
        !within(header.e_shoff, std::uint64_t{header.e_shnum} * header.e_shentsize)) {
        return false;
    }
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment;
        std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (!within(segment.p_offset, segment.p_filesz)) return false;
    }
    return true;
}

}  // namespace

std::optional<std::uint64_t> ModuleDigest(const std::vector<std::uint8_t>& bytes) {
    if (!IsWholeLibrary(bytes)) return std::nullopt;
    ElfW(Ehdr) header;
    std::memcpy(&header, bytes.data(), sizeof header);
    // FNV-1a: the damage a disk or a broken install does is no attack, and anyone who could forge a
    // module could as well replace the program. The file's own header is left out: stripping the
    // module rewrites where its sections are listed, which the loader never reads.
    std::uint64_t digest = 0xcbf29ce484222325u;
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment;
        std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type != PT_LOAD) continue;
        for (std::uint64_t at = std::max<std::uint64_t>(segment.p_offset, sizeof header);
             at < segment.p_offset + segment.p_filesz; ++at) {
            digest = (digest ^ bytes[at]) * 0x100000001b3u;
        }
    }
    return digest;
}

std::unique_ptr<SoundEngine> LoadSoundModule(const std::string& path, std::uint64_t digest) {
    const auto bytes = ReadRegularFile(path, kMaxModuleBytes);
    if (!bytes) {
        SayNoSound(path, RegularFileProblem(path, kMaxModuleBytes));
        return nullptr;
    }
    const auto found = ModuleDigest(*bytes);
    if (!found) {
        SayNoSound(path, "not a whole shared library (cut short or damaged)");
        return nullptr;
    }
    if (*found != digest) {
        SayNoSound(path, "not the module this program was built with (damaged, or from another build)");
        return nullptr;
    }
    // The module stays loaded until the program ends: the sound libraries keep threads of their own.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        SayNoSound(path, dlerror());
        return nullptr;
    }
    const auto make = reinterpret_cast<MakeSoundFunction>(dlsym(module, kMakeSoundSymbol));
    if (make == nullptr) {
        SayNoSound(path, std::string("it has no ") + kMakeSoundSymbol);
        return nullptr;
    }
    return std::unique_ptr<SoundEngine>(make());
}

struct SoundWorker::Queue {
    std::mutex mutex;
    std::condition_variable changed;  // a call given, the end asked for, or the thread ended
    std::deque<std::function<void(SoundEngine&)>> calls;
    bool stopping = false;
    bool ended = false;
    SoundEngine* engine = nullptr;  // while the thread has it
    int playsQueued = 0;            // given and not yet run: until they run, the tune has not ended
};

SoundWorker::SoundWorker(std::string modulePath, std::uint64_t moduleDigest)
    : modulePath_(std::move(modulePath)), moduleDigest_(moduleDigest), queue_(std::make_shared<Queue>()) {}

SoundWorker::~SoundWorker() { Shutdown(); }

void SoundWorker::StartLoading() {
    std::lock_guard lock(queue_->mutex);
    if (thread_.joinable() || queue_->stopping) return;
    thread_ = std::thread(&SoundWorker::Work, modulePath_, moduleDigest_, queue_);
}

void SoundWorker::Work(const std::string& modulePath, std::uint64_t moduleDigest, const std::shared_ptr<Queue>& queue) {
    std::unique_ptr<SoundEngine> engine = LoadSoundModule(modulePath, moduleDigest);
    {
        std::lock_guard lock(queue->mutex);
        queue->engine = engine.get();
    }
    for (;;) {
        std::function<void(SoundEngine&)> call;
        {
            std::lock_guard lock(queue->mutex);
            if (queue->stopping) break;
            if (!queue->calls.empty()) {
                call = std::move(queue->calls.front());
                queue->calls.pop_front();
            }
        }
        if (call) {
            if (engine) call(*engine);
            continue;
        }
        // Nothing asked: the sound's own work, then sleep until asked or until its rest is up.
        const auto rest = engine ? engine->Rest() : std::nullopt;
        std::unique_lock lock(queue->mutex);
        const auto woken = [&] { return queue->stopping || !queue->calls.empty(); };
        if (rest) {
            queue->changed.wait_for(lock, *rest, woken);
        } else {
            queue->changed.wait(lock, woken);
        }
    }
    {
        std::lock_guard lock(queue->mutex);
        queue->engine = nullptr;
    }
    engine.reset();  // the music stops and the device closes, here on the thread that opened it
    {
        std::lock_guard lock(queue->mutex);
        queue->ended = true;
    }
    queue->changed.notify_all();
}

void SoundWorker::Give(std::function<void(SoundEngine&)> call) {
    {
        std::lock_guard lock(queue_->mutex);
        if (queue_->stopping) return;
        queue_->calls.push_back(std::move(call));
    }
    queue_->changed.notify_all();
}

void SoundWorker::OpenMusic(const std::string& path) {
    Give([path](SoundEngine& sound) { sound.OpenMusic(path); });
}
void SoundWorker::PlayMusicFromStart() {
    {
        std::lock_guard lock(queue_->mutex);
        ++queue_->playsQueued;
    }
    Give([queue = queue_.get()](SoundEngine& sound) {
        sound.PlayMusicFromStart();
        std::lock_guard lock(queue->mutex);
        --queue->playsQueued;
    });
}
void SoundWorker::StopMusic() {
    Give([](SoundEngine& sound) { sound.StopMusic(); });
}
void SoundWorker::CloseMusic() {
    Give([](SoundEngine& sound) { sound.CloseMusic(); });
}
void SoundWorker::PlayEffect(const std::string& path) {
    Give([path](SoundEngine& sound) { sound.PlayEffect(path); });
}
bool SoundWorker::MusicEnded() const {
    std::lock_guard lock(queue_->mutex);
    return queue_->playsQueued == 0 && queue_->engine != nullptr && queue_->engine->MusicEnded();
}

bool SoundWorker::Shutdown(std::chrono::milliseconds patience) {
    std::unique_lock lock(queue_->mutex);
    queue_->stopping = true;
    queue_->calls.clear();
    queue_->changed.notify_all();
    if (!thread_.joinable()) return true;
    const bool ended = queue_->changed.wait_for(lock, patience, [this] { return queue_->ended; });
    lock.unlock();
    if (ended) {
        thread_.join();
    } else {
        thread_.detach();
    }
    return ended;
}

}  // namespace kanuvo
