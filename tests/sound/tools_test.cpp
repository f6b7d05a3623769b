// SPDX-License-Identifier: MIT
// The score reader and the effect synthesiser that build the game's sound files.
#include <gtest/gtest.h>

#include <cstdlib>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "../../tools/effects/synth.h"
#include "../../tools/music/score.h"
#include "audio_files.h"

namespace kanuvo {
namespace {

using music::ParseScore;
using music::ScoreError;

std::string Score(const std::string& pattern, const std::string& sectionLine = "lead: p") {
    return "tempo 120\ntrack lead channel=1 program=80\ntrack drums channel=10\n"
           "pattern p\n" + pattern + "\nend\nsection s\n" + sectionLine + "\nend\nsong s\n";
}

std::vector<int> Keys(const music::Song& song, std::size_t track = 0) {
    std::vector<int> keys;
    for (const auto& n : song.tracks.at(track).notes) keys.push_back(n.key);
    return keys;
}

TEST(Score, NotesWithoutOctaveLandNearestThePreviousNote) {
    EXPECT_EQ(Keys(ParseScore(Score("c5/8 e g c b c g a |"))), (std::vector<int>{72, 76, 79, 84, 83, 84, 79, 81}));
    // A fifth or more needs a mark: ' lifts and , lowers by an octave.
    EXPECT_EQ(Keys(ParseScore(Score("c4/4 g g' c, |"))), (std::vector<int>{60, 55, 67, 60}));
    EXPECT_EQ(Keys(ParseScore(Score("bb3/4 f# eb5 c#4 |"))), (std::vector<int>{58, 54, 75, 61}));
}

TEST(Score, DurationsChordsHoldsAndGateMakeTheNoteTimes) {
    const auto song = ParseScore(Score("%50 c4/8. d/16 [e g c]/4 _/8 r %100 f/4 |"));
    const auto& n = song.tracks[0].notes;
    ASSERT_EQ(n.size(), 6u);
    EXPECT_EQ(n[0].start, 0);
    EXPECT_EQ(n[0].length, 360 / 2) << "a dotted eighth at half gate";
    EXPECT_EQ(n[1].start, 360);
    for (int i = 2; i < 5; ++i) {
        EXPECT_EQ(n[i].start, 480) << "the chord sounds together";
        EXPECT_EQ(n[i].length, (480 + 240) / 2) << "held for an eighth more";
    }
    EXPECT_EQ(Keys(song), (std::vector<int>{60, 62, 64, 67, 72, 65}));
    EXPECT_EQ(n[5].start, 1440);
    EXPECT_EQ(n[5].length, 480);
    EXPECT_EQ(song.endTick, 1920 * 2) << "one bar plus a bar of ring-out";
}

TEST(Score, SectionsTransposeTunesButNeverDrums) {
    const std::string text =
        "tempo 150\ntrack lead channel=1\ntrack drums channel=10\n"
        "pattern tune\n c4/1 |\nend\npattern beat\n kick X...x...X...x...\n snare ....X.......X...\nend\n"
        "section s\n lead: tune@2 tune@-3*2\n drums: beat beat@5 rest\nend\nsong s s@12\n";
    const auto song = ParseScore(text);
    EXPECT_EQ(Keys(song, 0), (std::vector<int>{62, 57, 57, 74, 69, 69}));
    for (const auto& n : song.tracks[1].notes) EXPECT_TRUE(n.key == 36 || n.key == 38);
    EXPECT_EQ(song.tracks[1].notes.size(), 2u * 2u * 6u);
    EXPECT_EQ(song.tracks[1].notes[1].start, 480) << "a grid step is a sixteenth";
    EXPECT_NEAR(song.Seconds(), 7 * 1.6, 1e-9) << "six bars and the ring-out at 150 bpm";
}

TEST(Score, MistakesAreReportedWithTheirLine) {
    const struct {
        std::string text;
        int line;
    } cases[] = {
        {Score("c4/4 d e | f |"), 5},               // bar line in the middle of a bar
        {Score("c4/4 d e"), 4},                     // the pattern is not whole bars
        {Score("c4/4 h d e |"), 5},                 // not a note
        {Score("c4/3 d e |"), 5},                   // no such duration
        {Score("c4/1 |", "lead: p\ndrums: rest rest"), 7},  // tracks of a section differ in length
        {Score("c4/1 |", "drums: p"), 7},           // notes on the drum track
        {Score("c4/1 |", "lead: q"), 7},            // unknown pattern
        {Score("c9/1 |", "lead: p@12"), 7},         // transposed past the MIDI range
        {"tempo 120\ntrack a channel=17\n", 2},
        {"pattern p\n c4/1 |\n", 1},                // no end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseScore(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const ScoreError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
        }
    }
}

TEST(Score, TheMidiFileReadsBackWithARestruckNoteCutAtTheNewStroke) {
    // The long note is struck again before it ends: its release must come no later than the new
    // stroke, or it would silence the new note.
    const auto song = ParseScore(Score("%100 [c4 e]/2 r/8 c/8 r/4 |"));
    auto overlapping = song;
    overlapping.tracks[0].notes[0].length = 1920;  // now it lasts past the second stroke at 1200
    const auto bytes = music::WriteMidi(overlapping);
    const auto path = std::filesystem::path(std::getenv("HOME")) / "score.mid";  // the test's own home
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    const auto midi = testing::ReadMidi(path.string());
    EXPECT_EQ(midi.tracks, 3);
    EXPECT_EQ(midi.division, 480);
    EXPECT_EQ(midi.unmatchedOffs, 0);
    ASSERT_EQ(midi.notes.size(), 3u);
    auto offOf = [&](int key, std::int64_t on) {
        for (const auto& n : midi.notes) {
            if (n.key == key && n.on == on) return n.off;
        }
        return std::int64_t{-2};
    };
    EXPECT_EQ(offOf(60, 0), 1200);
    EXPECT_EQ(offOf(60, 1200), 1440);
    EXPECT_EQ(offOf(64, 0), 960);
    EXPECT_DOUBLE_EQ(midi.SecondsAt(midi.endTick), song.Seconds());
}

TEST(Synth, AToneHasItsPitchItsEnvelopeAndThePatchsPeak) {
    const auto patch = effects::ParsePatch(
        "length 1.0\npeak 0.5\n# a plain tone\nvoice wave=sine note=A4 at=0.2 dur=0.4 attack=0.01 release=0.1 level=1\n");
    const auto s = effects::Render(patch);
    ASSERT_EQ(s.size(), 44100u);
    float peak = 0;
    for (const float x : s) peak = std::max(peak, std::abs(x));
    EXPECT_NEAR(peak, 0.5f, 1e-6);
    for (std::size_t i = 0; i < 8820; ++i) ASSERT_EQ(s[i], 0.0f) << "silent before the voice starts";
    for (std::size_t i = 31000; i < s.size(); ++i) ASSERT_EQ(s[i], 0.0f) << "silent after the release";
    int crossings = 0;
    for (std::size_t i = 9261; i < 26460; ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
    EXPECT_NEAR(crossings, 2 * 440 * (26460 - 9261) / 44100.0, 3);
}

TEST(Synth, GlidesFiltersAndNoiseAreDeterministic) {
    const std::string text =
        "length 0.5\necho delay=0.1 feedback=0.3 mix=0.3\n"
        "voice wave=saw freq=200 freqto=100 dur=0.3 filter=lowpass cutoff=3000 cutoffto=300 q=2 detune=8\n"
        "voice wave=noise dur=0.1 release=0.2 filter=bandpass cutoff=2000 seed=4\n"
        "voice wave=square note=C#5 dur=0.2 duty=0.25\nvoice wave=triangle note=Bb3 dur=0.2\n";
    const auto a = effects::Render(effects::ParsePatch(text));
    const auto b = effects::Render(effects::ParsePatch(text));
    EXPECT_EQ(a, b);
    for (const float x : a) ASSERT_TRUE(std::isfinite(x) && std::abs(x) <= 0.9f + 1e-6f);
}

TEST(Synth, PatchMistakesAreReportedWithTheirLine) {
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"voice wave=pluck\n", 1},
        {"length 1\nvoice note=H4\n", 2},
        {"voice note=C\n", 1},
        {"voice colour=red\n", 1},
        {"voice at=-1\n", 1},
        {"length 0\nvoice\n", 1},
        {"length 1\n", 1},
        {"voice dur=fast\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            effects::ParsePatch(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const effects::PatchError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
        }
    }
}

TEST(Synth, TheWavEncodingReadsBack) {
    const std::vector<float> samples = {0.0f, 0.5f, -0.5f, 1.5f, -1.5f};
    const auto bytes = effects::EncodeWav(samples);
    const auto path = std::filesystem::path(std::getenv("HOME")) / "synth.wav";  // the test's own home
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    const auto wav = testing::ReadWav(path.string());
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.samples, (std::vector<std::int16_t>{0, 16384, -16384, 32767, -32767}));
}

}  // namespace
}  // namespace kanuvo
