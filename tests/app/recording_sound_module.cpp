// SPDX-License-Identifier: MIT
// A sound module for tests: its sound writes every command it gets, in order, to a log the test reads.
#include <mutex>
#include <string>
#include <vector>

#include "platform/sound_module.h"

namespace {

std::mutex logMutex;
std::vector<std::string> commandLog;

class LoggingSound : public kanuvo::Sound {
public:
    int mciSendStringA(std::string_view command) override { return Log("mci " + std::string(command)); }
    int sndPlaySoundA(std::string_view path, unsigned) override { return Log("wav " + std::string(path)); }

private:
    static int Log(std::string entry) {
        std::lock_guard lock(logMutex);
        commandLog.push_back(std::move(entry));
        return 0;
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) kanuvo::Sound* KanuvoMakeSound() { return new LoggingSound(); }

extern "C" __attribute__((visibility("default"))) std::vector<std::string> RecordedCommands() {
    std::lock_guard lock(logMutex);
    return commandLog;
}
