// SPDX-License-Identifier: MIT
// The music's own soundfont, cut by tools/soundfont from the system's: it holds the presets the tune
// plays and no others, and the whole tune sounds from it exactly as from the system's soundfont.
#include <gtest/gtest.h>

#include <fluidsynth.h>

#include <cmath>
#include <memory>
#include <set>

#include "../../tools/soundfont/soundfont_cut.h"
#include "audio_files.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/tune_synth.h"

namespace kanuvo {
namespace {

using soundfont::Preset;

std::set<Preset> PresetsIn(const soundfont::TuneNotes& notes) {
    std::set<Preset> out;
    for (const auto& [preset, played] : notes) out.insert(preset);
    return out;
}

const std::string kSoundDir = KANUVO_SOUND_DIR;
const std::string kMusic = kSoundDir + "/Shellshk.mid";
const std::string kOwnSoundFont = kSoundDir + "/Shellshk.sf2";

// The tune's twelve instruments (lead, trumpet, xylophone, sax, brass, guitar, organ, bass, strings,
// drums, piano, bell) as the score names them, the drums in bank 128.
const std::set<Preset> kTunePresets{{0, 0},  {0, 9},  {0, 13}, {0, 17}, {0, 27}, {0, 33},
                                    {0, 48}, {0, 56}, {0, 61}, {0, 65}, {0, 80}, {128, 0}};

TEST(SoundFontCut, ThePresetsAndNotesAreThoseTheSynthesizerPlays) {
    const auto tune = soundfont::NotesOfTune(testing::ReadBytes(kMusic));
    EXPECT_EQ(PresetsIn(tune), kTunePresets);

    // Two tracks in one file: a bank select on channel 1 counts from its program change; channel 10 keeps
    // bank 128 whatever it is told; channel 3 plays the program every channel starts with; channel 2
    // changes program twice before its notes at the same time (running status): only the last one
    // plays them, both are selected. A note-on of velocity 0 is a release.
    const std::vector<std::uint8_t> midi{
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 96,
        'M', 'T', 'r', 'k', 0, 0, 0, 26,
        0, 0xB0, 0, 5, 0, 0xC0, 7, 0, 0x90, 60, 100, 0, 0xB9, 0, 3, 0, 0xC9, 16, 0, 0x99, 36, 90,
        0, 0xFF, 0x2F, 0,
        'M', 'T', 'r', 'k', 0, 0, 0, 24,
        0, 0xC1, 40, 0, 41, 0, 0x91, 62, 100, 0, 64, 30, 0, 0x92, 60, 100, 0x60, 0x92, 60, 0, 0, 0xFF, 0x2F, 0,
    };
    const soundfont::TuneNotes expected{{{0, 0}, {{60, 100}}},         {{0, 40}, {}},
                                        {{0, 41}, {{62, 100}, {64, 30}}}, {{5, 7}, {{60, 100}}},
                                        {{128, 0}, {}},                    {{128, 16}, {{36, 90}}}};
    EXPECT_EQ(soundfont::NotesOfTune(midi), expected);
}

TEST(SoundFontCut, BrokenFilesAreRefusedWithAReason) {
    const auto font = testing::ReadBytes(kSoundFontPath);
    EXPECT_THROW(soundfont::CutSoundFont(font, {{{0, 0}, {}}, {{5, 7}, {}}}), soundfont::CutError) << "a preset it lacks";
    const auto midi = testing::ReadBytes(kMusic);
    const std::vector<std::uint8_t> cutShort(font.begin(), font.begin() + static_cast<long>(font.size() / 2));
    EXPECT_THROW(soundfont::CutSoundFont(cutShort, soundfont::NotesOfTune(midi)), soundfont::CutError);
    EXPECT_THROW(soundfont::NotesOfTune({midi.begin(), midi.begin() + 200}), soundfont::CutError);
}

// The presets of a soundfont as the synthesizer reads them.
std::set<Preset> PresetsOf(const std::string& path) {
    std::set<Preset> out;
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = new_fluid_synth(settings);
    const int id = fluid_synth_sfload(synth, path.c_str(), 0);
    if (fluid_sfont_t* font = id == FLUID_FAILED ? nullptr : fluid_synth_get_sfont_by_id(synth, id)) {
        fluid_sfont_iteration_start(font);
        while (fluid_preset_t* p = fluid_sfont_iteration_next(font)) {
            out.insert({fluid_preset_get_banknum(p), fluid_preset_get_num(p)});
        }
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return out;
}

// The whole tune, at half the game's rate to take half the time: which sounds a note starts does not
// depend on the rate.
std::vector<std::int16_t> RenderTune(const std::string& soundFont, const std::vector<std::uint8_t>& midi) {
    const auto tune = TuneSynth::Make(soundFont, midi, 22050);
    if (!tune || !tune->Start()) return {};
    std::vector<std::int16_t> out;
    std::vector<std::int16_t> piece(2 * 4096);
    while (tune->Render(piece.data(), 4096, 2)) out.insert(out.end(), piece.begin(), piece.end());
    return out;
}

TEST(SoundFontCut, TheMusicsOwnSoundFontHoldsItsPresetsAndSoundsAsTheSystemsDoes) {
    EXPECT_EQ(PresetsOf(kOwnSoundFont), kTunePresets);

    const auto midi = testing::ReadBytes(kMusic);
    const auto system = RenderTune(kSoundFontPath, midi);
    const auto own = RenderTune(kOwnSoundFont, midi);
    ASSERT_GE(system.size(), 2u * 22050 * 180);
    ASSERT_EQ(own.size(), system.size());
    double sum = 0;
    for (const auto s : own) sum += double(s) * s;
    EXPECT_GT(std::sqrt(sum / own.size()) / 32768.0, 0.02) << "the tune is heard";
    std::size_t differing = 0, first = own.size();
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (own[i] != system[i]) {
            ++differing;
            first = std::min(first, i);
        }
    }
    EXPECT_EQ(differing, 0u) << "first at " << first / 2 / 22050.0 << " s";
}

}  // namespace
}  // namespace kanuvo
