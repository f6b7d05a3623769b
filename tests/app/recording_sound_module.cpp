// SPDX-License-Identifier: MIT
// A sound module for tests: its sound writes every call it gets, in order, to a log the test reads.
// Built a second time with KANUVO_LOAD_SECONDS, it takes that long to load, as from a slow disk.
#include <unistd.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sound_module.h"

namespace {

std::mutex logMutex;
std::vector<std::string> callLog;

void Log(std::string entry) {
    std::lock_guard lock(logMutex);
    callLog.push_back(std::move(entry));
}

class LoggingSound : public kanuvo::SoundEngine {
public:
    void OpenMusic(const std::string& path) override { Log("open " + path); }
    void PlayMusicFromStart() override { Log("play"); }
    void StopMusic() override { Log("stop"); }
    void CloseMusic() override { Log("close"); }
    void PlayEffect(const std::string& path) override { Log("effect " + path); }
    bool MusicEnded() const override { return false; }
    std::optional<std::chrono::milliseconds> Rest() override { return std::nullopt; }
    ~LoggingSound() override { Log("end"); }
};

#ifdef KANUVO_LOAD_SECONDS
__attribute__((constructor)) void LoadSlowly() { ::sleep(KANUVO_LOAD_SECONDS); }
#endif

}  // namespace

extern "C" __attribute__((visibility("default"))) kanuvo::SoundEngine* KanuvoMakeSound() { return std::make_unique<LoggingSound>().release(); }

extern "C" __attribute__((visibility("default"))) std::vector<std::string> RecordedCalls() {
    std::lock_guard lock(logMutex);
    return callLog;
}
