// SPDX-License-Identifier: MIT
// A tune rendered by FluidSynth with settings chosen for memory: samples loaded on demand, no more
// voices than the tune needs.
#include "tune_synth.h"

#include <fluidsynth.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>

namespace kanuvo {
namespace {

// FluidSynth at full gain clips on the loud, full-band passages of the tune: half of the mixer's
// full music volume, which it maps to a gain of 1.2.
constexpr double kGain = 0.6;
// Above the most notes the tune ever holds at once (89, counting the releases of ended notes), so
// no note is cut short; each voice costs memory whether it sounds or not.
constexpr int kPolyphony = 96;
constexpr int kPieceFrames = 1024;

std::int16_t ToSample(float v) {
    return static_cast<std::int16_t>(std::clamp(std::round(v * 32767.0f), -32768.0f, 32767.0f));
}

}  // namespace

void TuneSynth::Free::operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
void TuneSynth::Free::operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
void TuneSynth::Free::operator()(fluid_player_t* player) const { delete_fluid_player(player); }

std::unique_ptr<TuneSynth> TuneSynth::Make(const std::string& soundFont, const std::vector<std::uint8_t>& midi,
                                           int rate) {
    auto tune = std::unique_ptr<TuneSynth>(new TuneSynth());
    tune->rate_ = rate;
    tune->settings_.reset(new_fluid_settings());
    if (!tune->settings_) return nullptr;
    fluid_settings_t* settings = tune->settings_.get();
    fluid_settings_setnum(settings, "synth.sample-rate", rate);
    fluid_settings_setnum(settings, "synth.gain", kGain);
    fluid_settings_setint(settings, "synth.polyphony", kPolyphony);
    // Until the tune plays, only the samples of the presets every channel starts with are read:
    // with the tune's own soundfont that is a megabyte less while the game waits for a run, and
    // with the system's the tune's instruments are about a fifth of its samples.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    tune->synth_.reset(new_fluid_synth(settings));
    bool ok = tune->synth_ && fluid_synth_sfload(tune->synth_.get(), soundFont.c_str(), 1) != FLUID_FAILED;
    if (ok) tune->player_.reset(new_fluid_player(tune->synth_.get()));
    ok = ok && tune->player_ && fluid_player_add_mem(tune->player_.get(), midi.data(), midi.size()) == FLUID_OK;
    // Reading the soundfont's tables leaves megabytes of freed memory behind; give them back.
    malloc_trim(0);
    if (!ok) return nullptr;
    tune->mix_.assign(2 * kPieceFrames, 0.0f);
    return tune;
}

bool TuneSynth::Start() { return fluid_player_play(player_.get()) == FLUID_OK; }

bool TuneSynth::Render(std::int16_t* out, int frames, int channels) {
    // Played once through: the tune ends with its last bar, as the game expects.
    if (fluid_player_get_status(player_.get()) == FLUID_PLAYER_DONE) return false;
    float* mix = mix_.data();
    while (frames > 0) {
        const int piece = std::min(frames, kPieceFrames);
        fluid_synth_write_float(synth_.get(), piece, mix, 0, 2, mix, 1, 2);
        for (int f = 0; f < piece; ++f, out += channels) {
            if (channels == 1) {
                out[0] = ToSample((mix[2 * f] + mix[2 * f + 1]) / 2);
                continue;
            }
            out[0] = ToSample(mix[2 * f]);
            out[1] = ToSample(mix[2 * f + 1]);
            std::fill(out + 2, out + channels, std::int16_t{0});
        }
        frames -= piece;
    }
    return true;
}

}  // namespace kanuvo
