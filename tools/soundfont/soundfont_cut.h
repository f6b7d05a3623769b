// Cutting a soundfont down to the presets one tune plays, so that the game loads and holds only the
// instruments it needs: the same presets, instruments, samples and modulators, byte for byte, with
// everything else left out.
#pragma once

#include <compare>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <vector>

namespace kanuvo::soundfont {

struct Preset {
    int bank = 0;
    int program = 0;
    auto operator<=>(const Preset&) const = default;
};

// A file that is not what it claims to be: a broken soundfont or MIDI file, or a tune that asks for a
// preset the soundfont lacks.
class CutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The presets the synthesizer selects while playing a Standard MIDI File, read as it reads them:
// channel 10 is the drum kits' bank 128 and ignores bank selects, other channels take their bank from
// bank select (controller 0); a channel's preset counts at each program change and each note. The
// presets every channel holds before the tune's first event (bank 0 and bank 128, program 0) are
// always among them.
std::set<Preset> PresetsOfTune(const std::vector<std::uint8_t>& midi);

// A soundfont (RIFF sfbk) holding only the presets in `keep`, with the instruments and samples they
// use (and the stereo partners of those samples) in their original order, indices rewritten; the
// INFO list is copied unchanged. Throws CutError when the file is broken or lacks a preset of `keep`.
std::vector<std::uint8_t> CutSoundFont(const std::vector<std::uint8_t>& sf2, const std::set<Preset>& keep);

}  // namespace kanuvo::soundfont
