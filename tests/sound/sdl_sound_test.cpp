// SPDX-License-Identifier: MIT
// SdlSound against a real SDL_mixer: the dummy driver for the rules of its calls, the disk driver where
// the sound itself is measured (it writes what it mixes to a file, faster than real time).
#include <gtest/gtest.h>


#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "audio_files.h"
#include "disk_output.h"
#include "platform/sdl/sdl_sound.h"

namespace kanuvo {
namespace {

const std::string kSoundDir = KANUVO_SOUND_DIR;
const std::string kMusic = kSoundDir + "/Shellshk.mid";
const std::string kGoal = kSoundDir + "/goal.wav";
const std::string kStop1 = kSoundDir + "/stop1.wav";

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

// The disk driver, in the test's own home.
class DiskDevice : public ::testing::Test {
protected:
    static constexpr std::uintmax_t kBytesPerSecond = testing::DiskOutput::kBytesPerSecond;
    static std::filesystem::path Dir() {
        const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::path dir = std::filesystem::path(std::getenv("HOME")) / test;
        std::filesystem::create_directories(dir);
        return dir;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::uintmax_t Written() const { return disk_.Written(); }
    std::uintmax_t WaitForMore(double seconds) { return disk_.WaitForMore(seconds); }
    bool SoundsNext() { return disk_.SoundsNext(); }

    const std::filesystem::path dir_ = Dir();
    testing::DiskOutput disk_{(dir_ / "out.raw").string()};
    const std::string& output_ = disk_.File();
};

TEST_F(DiskDevice, TheTuneIsOpenedPlayedStoppedAndClosedByTheGamesCalls) {
    SdlSound sound;
    sound.OpenMusic(kMusic);
    sound.OpenMusic(kGoal);  // ignored: the tune is already open
    sound.PlayMusicFromStart();
    EXPECT_TRUE(SoundsNext());
    sound.StopMusic();
    EXPECT_FALSE(SoundsNext());
    sound.PlayMusicFromStart();
    EXPECT_TRUE(SoundsNext()) << "a stopped tune stays open";
    sound.CloseMusic();
    sound.PlayMusicFromStart();
    EXPECT_FALSE(SoundsNext()) << "closed";
    sound.OpenMusic(kMusic);
    sound.PlayMusicFromStart();
    EXPECT_TRUE(SoundsNext()) << "opened again";
}

TEST_F(DiskDevice, MissingOrWrongFilesAreSilence) {
    SdlSound sound;
    for (const std::string& file : {kSoundDir + "/NoSuchTune.mid", kGoal}) {
        sound.OpenMusic(file);
        sound.PlayMusicFromStart();
    }
    sound.PlayEffect(kSoundDir + "/missing.wav");
    sound.PlayEffect("");
    EXPECT_FALSE(SoundsNext());
}

TEST_F(DummyDevice, WithoutADeviceEverythingIsSilentAndOneLineSaysSo) {
    // No such driver; and ALSA without the device asked for, which ALSA would report in lines of its own.
    ::setenv("AUDIODEV", "no-such-device", 1);
    for (const std::string driver : {"no-such-driver", "alsa"}) {
        ::setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
        ::testing::internal::CaptureStderr();
        {
            SdlSound sound;
            sound.OpenMusic(kMusic);
            sound.PlayMusicFromStart();
            sound.PlayEffect(kGoal);
            sound.PlayEffect(kGoal);
            EXPECT_EQ(sound.Rest(), std::nullopt) << "no device open";
        }
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("kanuvo: no sound: the audio device (" + driver + "): ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    ::unsetenv("AUDIODEV");
}

TEST_F(DiskDevice, AnEffectStillSoundingIsLeftAloneAndTheDeviceClosesAfterARest) {
    SdlSound sound(std::chrono::seconds(1));
    sound.PlayEffect(kGoal);
    sound.PlayEffect(kStop1);  // dropped: the goal fanfare still sounds
    WaitForMore(testing::ReadWav(kGoal).Seconds() + 0.2);
    EXPECT_NE(sound.Rest(), std::nullopt) << "it rests first";
    // The device wrote the fanfare whole, and nothing of the dropped effect after it.
    const auto out = testing::ReadRawS16(output_);
    const auto first = std::find_if(out.begin(), out.end(), [](std::int16_t v) { return v != 0; });
    const auto last = std::find_if(out.rbegin(), out.rend(), [](std::int16_t v) { return v != 0; });
    const double seconds = double(out.rend() - last - (first - out.begin())) / 2 / 44100;
    EXPECT_NEAR(seconds, testing::ReadWav(kGoal).Seconds(), 0.05);
    EXPECT_GT(std::abs(testing::ReadWav(kStop1).Seconds() - seconds), 0.2) << "not the dropped one's length";

    ASSERT_TRUE(WaitFor([&] { return !sound.Rest(); })) << "closed once nothing has played for a while";
    sound.PlayEffect(kGoal);
    EXPECT_NE(sound.Rest(), std::nullopt) << "a play opens the device again";
}

TEST_F(DummyDevice, ADeviceOpenedOnlyToMakeTheMusicReadyClosesWithoutWaitingForARest) {
    // A minute's rest: only a device nothing has played on may close before it is up.
    SdlSound sound(std::chrono::minutes(1));
    sound.OpenMusic(kMusic);
    EXPECT_EQ(sound.Rest(), std::nullopt) << "nothing keeps an idle title's thread awake";
    sound.PlayEffect(kGoal);
    EXPECT_GT(sound.Rest(), std::chrono::seconds(50)) << "after a play it rests its full time";
}

TEST_F(DiskDevice, TheTuneLoadedBeforeTheDeviceClosedIsHeardFromItsStartWhenItOpensAgain) {
    {
        SdlSound sound(std::chrono::milliseconds(50));
        sound.OpenMusic(kMusic);
        ASSERT_EQ(sound.Rest(), std::nullopt) << "nothing played after loading";
        sound.PlayMusicFromStart();
        // The device writes a new file each time it opens: this one holds the play after the reopening.
        ASSERT_TRUE(WaitFor([&] { return Written() >= kBytesPerSecond * 3 / 2; }));
    }
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
    sound.OpenMusic(kMusic);
    sound.PlayMusicFromStart();
    WaitForMore(0.5);
    sound.PlayEffect(kStop1);
    WaitForMore(testing::ReadWav(kStop1).Seconds());
    EXPECT_TRUE(SoundsNext()) << "the effect did not stop the music";
    EXPECT_FALSE(sound.MusicEnded());
}

TEST_F(DiskDevice, ATuneEndsOnlyByPlayingToItsEndAndAPlayStartsItAfresh) {
    // A tune of one half-second note, played with the system's soundfont.
    const std::string tune = (dir_ / "note.mid").string();
    const unsigned char note[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,    // format 0, 96 per beat
                                  'M', 'T', 'r', 'k', 0, 0, 0, 12, 0, 0x90, 60, 100,  // middle C on,
                                  96, 0x80, 60, 64, 0, 0xFF, 0x2F, 0};               // off a beat later; end
    std::ofstream(tune, std::ios::binary).write(reinterpret_cast<const char*>(note), sizeof note);
    SdlSound sound;
    sound.OpenMusic(tune);
    sound.PlayMusicFromStart();
    WaitForMore(0.1);
    sound.StopMusic();  // muted before its end
    EXPECT_FALSE(sound.MusicEnded());
    sound.PlayMusicFromStart();
    ASSERT_TRUE(WaitFor([&] { return sound.MusicEnded(); })) << "the tune plays to its end";
    sound.StopMusic();  // muted after its end
    EXPECT_TRUE(sound.MusicEnded());
    sound.PlayMusicFromStart();
    EXPECT_FALSE(sound.MusicEnded()) << "the game's own play starts it again";
    EXPECT_TRUE(SoundsNext());
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
        sound.OpenMusic(kMusic);
        sound.PlayMusicFromStart();
        WaitForMore(1.5);
        // Played again while playing.
        sound.PlayMusicFromStart();
        WaitForMore(1.5);
        sound.StopMusic();
        // A rest of silence in the output: eight buffers written after the stop (one may still hold music).
        const auto stoppedAt = std::filesystem::file_size(output_);
        ASSERT_TRUE(WaitFor([&] { return std::filesystem::file_size(output_) >= stoppedAt + 8 * 4096; }));
        // Played after a stop.
        sound.PlayMusicFromStart();
        WaitForMore(1.5);
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
