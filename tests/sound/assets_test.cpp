// SPDX-License-Identifier: MIT
// The built music and effects: they parse, last as long as promised, and are really heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "audio_files.h"

namespace kanuvo::testing {
namespace {

const std::string kSoundDir = KANUVO_SOUND_DIR;

double Rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t count) {
    double sum = 0;
    count = std::min(count, s.size() - std::min(from, s.size()));
    for (std::size_t i = from; i < from + count; ++i) sum += double(s[i]) * s[i];
    return count == 0 ? 0.0 : std::sqrt(sum / count) / 32768.0;
}

struct EffectCase {
    const char* file;
    double minSeconds, maxSeconds;
};

TEST(Effects, ParseLastAsPromisedAndAreLoudFromTheFirstMoment) {
    const EffectCase cases[] = {
        {"goal.wav", 1.0, 2.0}, {"stop1.wav", 0.8, 1.3}, {"stop2.wav", 0.8, 1.3}, {"GameOvaer.wav", 2.0, 3.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Wav wav = ReadWav(kSoundDir + "/" + c.file);
        EXPECT_EQ(wav.bits, 16);
        EXPECT_EQ(wav.channels, 1);
        EXPECT_EQ(wav.rate, 44100);
        EXPECT_GE(wav.Seconds(), c.minSeconds);
        EXPECT_LE(wav.Seconds(), c.maxSeconds);
        const auto peak = std::max_element(wav.samples.begin(), wav.samples.end(),
                                           [](auto a, auto b) { return std::abs(a) < std::abs(b); });
        EXPECT_GT(std::abs(*peak), 20000) << "normalised close to full scale";
        // An effect answers an event: it must be heard at once, and for most of its length.
        EXPECT_GT(Rms(wav.samples, 0, 4410), 0.03) << "the first 100 ms";
        int loudWindows = 0, windows = 0;
        for (std::size_t at = 0; at + 2205 <= wav.samples.size(); at += 2205, ++windows) {
            if (Rms(wav.samples, at, 2205) > 0.01) ++loudWindows;
        }
        EXPECT_GE(loudWindows * 2, windows) << "audible for at least half its length";
        // Ends without a click: the last samples are near zero.
        EXPECT_LT(std::abs(wav.samples.back()), 200);
    }
}

TEST(Music, LastsAWholeRunWithDrumsAndSeveralInstruments) {
    const Midi midi = ReadMidi(kSoundDir + "/Shellshk.mid");
    EXPECT_EQ(midi.format, 1);
    ASSERT_FALSE(midi.tempos.empty());
    ASSERT_FALSE(midi.notes.empty());

    EXPECT_GE(midi.SecondsAt(midi.endTick), 180.0);
    std::int64_t lastOn = 0;
    for (const auto& n : midi.notes) lastOn = std::max(lastOn, n.on);
    EXPECT_GE(midi.SecondsAt(lastOn), 175.0) << "notes to the end, not a short tune followed by silence";

    std::map<int, int> perChannel;
    for (const auto& n : midi.notes) ++perChannel[n.channel];
    EXPECT_GE(perChannel.size(), 6u);
    EXPECT_GT(perChannel[9], 500) << "drums on channel 10 through the tune";
    std::set<int> instruments;
    for (const auto& [ch, program] : midi.programs) {
        if (ch != 9 && perChannel.count(ch) != 0) instruments.insert(program);
    }
    EXPECT_GE(instruments.size(), 6u);

    // Every note ends, and no release arrives for a note that is not sounding.
    EXPECT_EQ(midi.unmatchedOffs, 0);
    for (const auto& n : midi.notes) {
        if (n.channel == 9) continue;
        ASSERT_GT(n.off, n.on) << "a hanging note on channel " << n.channel + 1 << " key " << n.key;
    }
}

}  // namespace
}  // namespace kanuvo::testing
