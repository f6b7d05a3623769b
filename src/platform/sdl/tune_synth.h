// SPDX-License-Identifier: MIT
// One tune ready to play: a FluidSynth synthesizer with the soundfont and a player holding the tune.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace kanuvo {

// Made fresh for every play, since only a synthesizer that has never sounded starts the tune exactly
// as the first time: a reset one still carries the phase of its effects' modulators, and a player
// taken back to the first tick skips the notes that start there. Only the samples of the
// instruments the tune selects are read from the soundfont.
class TuneSynth {
public:
    // Null when the soundfont or the tune cannot be loaded.
    static std::unique_ptr<TuneSynth> Make(const std::string& soundFont, const std::vector<std::uint8_t>& midi,
                                           int rate);
    int Rate() const { return rate_; }

    bool Start();
    // Renders the next frames as interleaved 16-bit samples for a device of 1 or more channels;
    // false once the tune has played to its end (nothing written then).
    bool Render(std::int16_t* out, int frames, int channels);

private:
    struct Free {
        void operator()(fluid_settings_t* settings) const;
        void operator()(fluid_synth_t* synth) const;
        void operator()(fluid_player_t* player) const;
    };
    // Declared in the order they are made: freed the other way round.
    std::unique_ptr<fluid_settings_t, Free> settings_;
    std::unique_ptr<fluid_synth_t, Free> synth_;
    std::unique_ptr<fluid_player_t, Free> player_;
    std::vector<float> mix_;
    int rate_ = 0;
};

}  // namespace kanuvo
