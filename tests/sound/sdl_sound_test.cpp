// SPDX-License-Identifier: MIT
// SdlSound against a real SDL_mixer: the dummy driver for the command rules, the disk driver where
// the sound itself is measured (it writes what it mixes to a file, faster than real time).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "audio_files.h"
#include "platform/sdl/mci_command.h"
#include "platform/sdl/sdl_sound.h"

namespace kanuvo {
namespace {

const std::string kSoundDir = KANUVO_SOUND_DIR;
const std::string kMusic = kSoundDir + "/Shellshk.mid";
const std::string kGoal = kSoundDir + "/goal.wav";
const std::string kStop1 = kSoundDir + "/stop1.wav";
constexpr unsigned kGameFlags = kSndAsync | kSndNoDefault | kSndNoStop;

std::string OpenCommand(const std::string& path) {
    return "open \"" + path + "\" type sequencer alias gBGMfile";
}

// Polls a condition of the audio thread; the audio runs on its own clock, not the game's.
bool WaitFor(const std::function<bool()>& done, double seconds = 10.0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class DummyDevice : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

// The disk driver with 1 ms per buffer of 1024 frames: about twenty times faster than real time.
class DiskDevice : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("kanuvo_sound_" + std::to_string(::getpid()) + "_" +
                                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        output_ = (dir_ / "out.raw").string();
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
        ::setenv("SDL_DISKAUDIODELAY", "1", 1);
    }
    void TearDown() override {
        ::unsetenv("SDL_DISKAUDIOFILE");
        ::unsetenv("SDL_DISKAUDIODELAY");
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::string output_;
};

TEST_F(DummyDevice, TheTuneIsOpenedPlayedStoppedAndClosedByTheGamesCommands) {
    SdlSound sound;
    ASSERT_TRUE(sound.HasDevice());

    EXPECT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciOk);
    EXPECT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciAliasInUse);

    EXPECT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciOk) << "the first play waits for the loader";
    EXPECT_EQ(sound.mciSendStringA("PLAY  GBGMFILE  FROM 0"), kMciOk) << "aliases ignore case";

    EXPECT_EQ(sound.mciSendStringA("stop gBGMfile "), kMciOk);
    EXPECT_EQ(sound.mciSendStringA("stop gBGMfile "), kMciOk) << "stopping a stopped tune is fine";
    EXPECT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciOk) << "a stopped tune stays open";

    EXPECT_EQ(sound.mciSendStringA("close gBGMfile "), kMciOk);
    EXPECT_EQ(sound.mciSendStringA("close gBGMfile "), kMciUnknownAlias) << "a second close only reports";
    EXPECT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciUnknownAlias);
    EXPECT_EQ(sound.mciSendStringA("stop gBGMfile "), kMciUnknownAlias);
    EXPECT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciOk) << "the alias is free again";
}

TEST_F(DummyDevice, UnknownCommandsAndMissingFilesAreIgnoredQuietly) {
    SdlSound sound;
    ASSERT_TRUE(sound.HasDevice());
    EXPECT_EQ(sound.mciSendStringA("pause gBGMfile"), kMciUnknownCommand);
    EXPECT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciUnknownAlias);
    EXPECT_EQ(sound.mciSendStringA(OpenCommand(kSoundDir + "/NoSuchTune.mid")), kMciNoFile);
    EXPECT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciUnknownAlias) << "a failed open leaves no alias";
    EXPECT_EQ(sound.mciSendStringA(OpenCommand(kGoal)), kMciNoFile) << "a WAV file is no MIDI tune";
    EXPECT_EQ(sound.mciSendStringA("open \"" + kMusic + "\" type waveaudio alias other"), kMciUnknownCommand);

    EXPECT_EQ(sound.sndPlaySoundA(kSoundDir + "/missing.wav", kGameFlags), 0);
    EXPECT_EQ(sound.sndPlaySoundA(kSoundDir + "/missing.wav", 0), 0) << "there is no default sound";
    EXPECT_EQ(sound.sndPlaySoundA("", kGameFlags), 0);
    EXPECT_FALSE(sound.EffectPlaying());
}

TEST_F(DummyDevice, WithoutADeviceEverythingIsSilentAndNothingFails) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlSound sound;
    EXPECT_FALSE(sound.HasDevice());
    EXPECT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciNoDevice);
    EXPECT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciUnknownAlias);
    EXPECT_EQ(sound.mciSendStringA("close gBGMfile "), kMciUnknownAlias);
    EXPECT_EQ(sound.sndPlaySoundA(kGoal, kGameFlags), 0);
    sound.Shutdown();
    sound.Shutdown();
}

TEST_F(DummyDevice, ShutdownReleasesTheDeviceForTheNextOwner) {
    SdlSound first;
    ASSERT_TRUE(first.HasDevice());
    SdlSound second;
    EXPECT_FALSE(second.HasDevice()) << "SDL_mixer is one per process";
    EXPECT_EQ(first.mciSendStringA(OpenCommand(kMusic)), kMciOk);
    EXPECT_EQ(first.mciSendStringA("play gBGMfile from 0 "), kMciOk);
    first.Shutdown();
    EXPECT_FALSE(first.HasDevice());
    EXPECT_EQ(first.mciSendStringA("play gBGMfile from 0 "), kMciUnknownAlias);
    SdlSound third;
    EXPECT_TRUE(third.HasDevice());
}

TEST_F(DiskDevice, AnEffectWithNoStopIsDroppedWhileAnotherPlaysAndTheDeviceClosesAfterwards) {
    SdlSound sound(std::chrono::milliseconds(100));
    ASSERT_TRUE(sound.HasDevice());
    EXPECT_EQ(sound.sndPlaySoundA(kGoal, kGameFlags), 1);
    EXPECT_TRUE(sound.EffectPlaying());
    EXPECT_EQ(sound.sndPlaySoundA(kStop1, kGameFlags), 0) << "the goal fanfare is still playing";
    EXPECT_EQ(sound.sndPlaySoundA(kStop1, kSndAsync | kSndNoDefault), 1) << "without 0x10 it takes over";

    ASSERT_TRUE(WaitFor([&] { return !sound.EffectPlaying(); }));
    ASSERT_TRUE(WaitFor([&] { return !sound.DeviceOpen(); })) << "closed once nothing has played for a while";
    EXPECT_EQ(sound.sndPlaySoundA(kGoal, kGameFlags), 1) << "a play opens the device again";
    EXPECT_TRUE(sound.DeviceOpen());
    EXPECT_TRUE(sound.EffectPlaying());
}

TEST_F(DummyDevice, ADeviceOpenedOnlyToMakeTheMusicReadyClosesWithoutWaitingForARest) {
    // A minute's rest: only a device nothing has played on may close before it is up.
    SdlSound sound(std::chrono::minutes(1));
    ASSERT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciOk);
    sound.WaitUntilLoaded();
    ASSERT_TRUE(sound.HasDevice());
    EXPECT_TRUE(WaitFor([&] { return !sound.DeviceOpen(); }, 5.0)) << "nothing keeps an idle title's thread awake";
    EXPECT_EQ(sound.sndPlaySoundA(kGoal, kGameFlags), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(sound.DeviceOpen()) << "after a play it rests its full time";
}

TEST_F(DiskDevice, TheTuneLoadedBeforeTheDeviceClosedIsHeardFromItsStartWhenItOpensAgain) {
    {
        SdlSound sound(std::chrono::milliseconds(50));
        ASSERT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciOk);
        sound.WaitUntilLoaded();
        ASSERT_TRUE(WaitFor([&] { return !sound.DeviceOpen(); })) << "nothing played after loading";
        ASSERT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciOk);
        ASSERT_TRUE(WaitFor([&] { return sound.MusicSeconds() >= 1.0; }));
        sound.Shutdown();
    }
    // The device writes a new file each time it opens: this one holds the play after the reopening.
    const auto out = testing::ReadRawS16(output_);
    ASSERT_GE(out.size(), std::size_t{2 * 44100});
    const auto first = std::find_if(out.begin(), out.end(), [](std::int16_t v) { return v != 0; });
    ASSERT_LT(first - out.begin(), 44100) << "the tune sounds within half a second";
    ASSERT_GE(out.end() - first, 44100);
    double sum = 0;
    for (auto it = first; it < first + 44100; ++it) sum += double(*it) * *it;
    EXPECT_GT(std::sqrt(sum / 44100) / 32768.0, 0.005) << "its first second is heard";
}

TEST_F(DiskDevice, MusicAndAnEffectSoundTogether) {
    SdlSound sound;
    ASSERT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciOk);
    ASSERT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciOk);
    ASSERT_TRUE(WaitFor([&] { return sound.MusicSeconds() >= 0.5; }));
    EXPECT_EQ(sound.sndPlaySoundA(kStop1, kGameFlags), 1);
    ASSERT_TRUE(WaitFor([&] { return !sound.EffectPlaying(); }));
    EXPECT_GE(sound.MusicSeconds(), 1.0) << "the effect did not stop the music";
    EXPECT_TRUE(sound.DeviceOpen()) << "the music still plays";
}

// Splits the device output into the stretches played between rests of exact silence.
std::vector<std::pair<std::size_t, std::size_t>> SoundingStretches(const std::vector<std::int16_t>& s) {
    constexpr std::size_t kRest = 2 * 2048;  // two buffers of stereo silence
    std::vector<std::pair<std::size_t, std::size_t>> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == 0) ++i;
        if (i == s.size()) break;
        const std::size_t start = i;
        std::size_t zeros = 0, end = i;
        for (; i < s.size() && zeros < kRest; ++i) {
            if (s[i] == 0) {
                ++zeros;
            } else {
                zeros = 0;
                end = i + 1;
            }
        }
        out.push_back({start, end});
    }
    return out;
}

TEST_F(DiskDevice, TheMusicIsHeardAndEveryPlayStartsItFromTheBeginning) {
    {
        SdlSound sound;
        ASSERT_EQ(sound.mciSendStringA(OpenCommand(kMusic)), kMciOk);
        ASSERT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciOk);
        ASSERT_TRUE(WaitFor([&] { return sound.MusicSeconds() >= 1.5; }));
        // Played again while playing.
        ASSERT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciOk);
        ASSERT_TRUE(WaitFor([&] { return sound.MusicSeconds() >= 1.5; }));
        ASSERT_EQ(sound.mciSendStringA("stop gBGMfile "), kMciOk);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // a rest of silence in the output
        // Played after a stop.
        ASSERT_EQ(sound.mciSendStringA("play gBGMfile from 0 "), kMciOk);
        ASSERT_TRUE(WaitFor([&] { return sound.MusicSeconds() >= 1.5; }));
        sound.Shutdown();
    }
    const auto out = testing::ReadRawS16(output_);
    const auto stretches = SoundingStretches(out);
    ASSERT_EQ(stretches.size(), 2u) << "two plays with a stop between them";

    // Heard: the first stretch holds three seconds of music, and every second of it is well above
    // silence (-46 dBFS; the tune runs near -20).
    const auto [start, end] = stretches[0];
    ASSERT_GE(end - start, std::size_t{2 * 44100 * 3 - 4096});
    for (std::size_t at = start; at + 44100 <= end; at += 44100) {
        double sum = 0;
        for (std::size_t i = at; i < at + 44100; ++i) sum += double(out[i]) * out[i];
        EXPECT_GT(std::sqrt(sum / 44100) / 32768.0, 0.005) << "at " << (at - start) / 88200.0 << " s";
    }

    // From the beginning: the tune's first samples come again where it was restarted while
    // playing (1.5 s in or a little later) and at the start of the play after the stop.
    constexpr std::size_t kProbe = 2 * 4096;
    const std::vector<std::int16_t> opening(out.begin() + start, out.begin() + start + kProbe);
    std::vector<double> restarts;
    for (std::size_t i = start + 1; i + kProbe <= out.size(); ++i) {
        if (out[i] == opening[0] && std::equal(opening.begin(), opening.end(), out.begin() + i)) {
            restarts.push_back((i - start) / 88200.0);
        }
    }
    ASSERT_EQ(restarts.size(), 2u);
    // The audio runs ahead of the test's polling, so the restart comes at 1.5 s or somewhat later.
    EXPECT_GE(restarts[0], 1.45);
    EXPECT_LT(restarts[0] * 88200.0 + start, double(end));
    EXPECT_EQ(static_cast<std::size_t>(restarts[1] * 88200.0 + 0.5) + start, stretches[1].first);
}

}  // namespace
}  // namespace kanuvo
