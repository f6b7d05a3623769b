// SPDX-License-Identifier: MIT
// One tune ready to play: a FluidSynth synthesizer with the soundfont and a player holding the tune.
#pragma once

#include <cstdint>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace kanuvo {

// Made fresh for every play, since only a synthesizer that has never sounded starts the tune exactly
// as the first time: a reset one still carries its reverb, its releasing notes and its clock.
// Only the samples of the instruments the tune selects are read from the soundfont.
class TuneSynth {
public:
    // Null when the soundfont or the tune cannot be loaded.
    static TuneSynth* Make(const char* soundFont, const std::vector<std::uint8_t>& midi, int rate);
    ~TuneSynth();
    TuneSynth(const TuneSynth&) = delete;
    TuneSynth& operator=(const TuneSynth&) = delete;

    bool Start();
    // Renders the next frames as interleaved 16-bit samples for a device of 1 or more channels;
    // false once the tune has played to its end (nothing written then).
    bool Render(std::int16_t* out, int frames, int channels);

private:
    TuneSynth() = default;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    std::vector<float> mix_;
};

}  // namespace kanuvo
