// SPDX-License-Identifier: MIT
// The sound module loaded on its own thread: commands given before it is ready reach it in order,
// and without the module everything is silence.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/module_sound.h"

namespace kanuvo {
namespace {

TEST(ModuleSound, CommandsGivenWhileItLoadsReachTheSoundInOrder) {
    ModuleSound sound(KANUVO_TEST_SOUND_MODULE);
    EXPECT_EQ(sound.mciSendStringA("open \"a.mid\" alias tune"), 0) << "accepted while the module waits";
    EXPECT_EQ(sound.sndPlaySoundA("goal.wav", 0x13), 1);
    sound.StartLoading();
    sound.mciSendStringA("play tune from 0");
    sound.Shutdown();  // waits for the loading thread
    sound.mciSendStringA("stop tune");  // after the end: silence

    void* module = dlopen(KANUVO_TEST_SOUND_MODULE, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr) << "the module stays loaded";
    const auto recorded = reinterpret_cast<std::vector<std::string> (*)()>(dlsym(module, "RecordedCommands"));
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(recorded(), (std::vector<std::string>{"mci open \"a.mid\" alias tune", "wav goal.wav",
                                                    "mci play tune from 0"}));
    dlclose(module);
}

TEST(ModuleSound, WithoutTheModuleEverythingIsSilence) {
    ModuleSound sound("/no/such/kanuvo_sound.so");
    sound.StartLoading();
    sound.mciSendStringA("open \"a.mid\" alias tune");
    sound.Shutdown();
    EXPECT_NE(sound.mciSendStringA("play tune from 0"), 0);
    EXPECT_EQ(sound.sndPlaySoundA("goal.wav", 0x13), 0);
}

}  // namespace
}  // namespace kanuvo
