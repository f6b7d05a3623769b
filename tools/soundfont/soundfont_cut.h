// SPDX-License-Identifier: MIT
// Cutting a soundfont down to what one tune plays, so that the game loads and holds only the sounds
// it needs: the same presets, instruments, samples and modulators, byte for byte, with everything the
// tune never sounds left out.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

namespace kanuvo::soundfont {

struct Preset {
    int bank = 0;
    int program = 0;
    auto operator<=>(const Preset&) const = default;
};

struct Note {
    int key = 0;
    int velocity = 0;
    auto operator<=>(const Note&) const = default;
};

// Each preset a tune selects, with the notes (key and velocity) it plays on it.
using TuneNotes = std::map<Preset, std::set<Note>>;

// A file that is not what it claims to be: a broken soundfont or MIDI file, or a tune that asks for a
// preset the soundfont lacks.
class CutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The presets the synthesizer selects while playing a Standard MIDI File, read as it reads them, with
// the notes struck on each: channel 10 is the drum kits' bank 128 and ignores bank selects, other
// channels take their bank from bank select (controller 0); a channel's preset counts from each
// program change. The presets every channel holds before the tune's first event (bank 0 and bank 128,
// program 0) are always among them.
TuneNotes NotesOfTune(const std::vector<std::uint8_t>& midi);

// A soundfont (RIFF sfbk) holding only the presets of `keep`, and of them only the zones some of
// their notes sound (a zone's key and velocity range holds the note, at preset and at instrument
// level), with the instruments and samples those zones use (and the stereo partners of those samples)
// in their original order, indices rewritten; the INFO list is copied unchanged. The notes of `keep`
// sound from it exactly as from the original. Throws CutError when the file is broken or lacks a
// preset of `keep`.
std::vector<std::uint8_t> CutSoundFont(const std::vector<std::uint8_t>& sf2, const TuneNotes& keep);

}  // namespace kanuvo::soundfont
