// SPDX-License-Identifier: MIT
// The sound module loaded on a thread of its own, with the commands given meanwhile kept in order.
#include "app/module_sound.h"

#include <dlfcn.h>

#include "platform/sdl/mci_command.h"
#include "platform/sound_module.h"

namespace kanuvo {

ModuleSound::ModuleSound(std::string modulePath) : modulePath_(std::move(modulePath)) {}

void ModuleSound::StartLoading() {
    std::lock_guard lock(mutex_);
    if (!loader_.joinable() && !ready_) loader_ = std::thread([this] { Load(); });
}

ModuleSound::~ModuleSound() { Shutdown(); }

void ModuleSound::Load() {
    // The module stays loaded until the program ends: the sound library keeps threads of its own.
    std::unique_ptr<Sound> sound;
    if (void* module = dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (auto make = reinterpret_cast<MakeSoundFunction>(dlsym(module, kMakeSoundSymbol))) sound.reset(make());
    }
    // The queue is handed over outside the lock, so a command given meanwhile never waits for the
    // sound: it joins the queue, and the queue is ready only once it is empty.
    std::unique_lock lock(mutex_);
    while (!pending_.empty()) {
        auto commands = std::move(pending_);
        pending_.clear();
        lock.unlock();
        if (sound) {
            for (const auto& command : commands) command(*sound);
        }
        lock.lock();
    }
    sound_ = std::move(sound);
    ready_ = true;
}

int ModuleSound::mciSendStringA(std::string_view command) {
    std::lock_guard lock(mutex_);
    if (!ready_) {
        pending_.push_back([text = std::string(command)](Sound& sound) { sound.mciSendStringA(text); });
        return 0;
    }
    return sound_ ? sound_->mciSendStringA(command) : kMciNoDevice;
}

int ModuleSound::sndPlaySoundA(std::string_view path, unsigned flags) {
    std::lock_guard lock(mutex_);
    if (!ready_) {
        pending_.push_back([file = std::string(path), flags](Sound& sound) { sound.sndPlaySoundA(file, flags); });
        return 1;
    }
    return sound_ ? sound_->sndPlaySoundA(path, flags) : 0;
}

void ModuleSound::Shutdown() {
    std::thread loader;
    {
        std::lock_guard lock(mutex_);
        loader = std::move(loader_);
    }
    if (loader.joinable()) loader.join();
    std::lock_guard lock(mutex_);
    sound_.reset();
    pending_.clear();
    ready_ = true;  // never loaded now: silence
}

}  // namespace kanuvo
