// SPDX-License-Identifier: MIT
// A small synthesiser for the game's sound effects: voices of oscillators or noise with envelopes,
// glides, vibrato and filters, mixed with an echo and written as 16-bit PCM WAV.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kanuvo::effects {

constexpr int kSampleRate = 44100;

class PatchError : public std::runtime_error {
public:
    PatchError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

enum class Wave { Sine, Square, Saw, Triangle, Noise };
enum class Filter { None, LowPass, HighPass, BandPass };

struct Voice {
    Wave wave = Wave::Sine;
    double freq = 440.0;
    double freqTo = 0.0;  // 0: no glide
    double glide = 0.0;   // seconds to reach freqTo; 0: over the whole gate
    double at = 0.0;      // start, seconds
    double dur = 0.1;     // gate length, seconds
    double attack = 0.005, decay = 0.05, sustain = 1.0, release = 0.05;
    double level = 0.5;
    double duty = 0.5;            // square only
    double vibrato = 0.0;         // depth in semitones
    double vibratoRate = 5.5;     // Hz
    double vibratoDelay = 0.0;    // seconds before the vibrato fades in
    double detune = 0.0;          // cents; a second oscillator this far sharp thickens the tone
    Filter filter = Filter::None;
    double cutoff = 2000.0, cutoffTo = 0.0, q = 0.707;
    std::uint32_t seed = 1;       // noise only
};

struct Patch {
    double length = 1.0;  // seconds of the file
    double peak = 0.9;    // the loudest sample after normalising, of full scale
    double echoDelay = 0.0, echoFeedback = 0.0, echoMix = 0.0;
    std::vector<Voice> voices;
};

// Reads a patch; throws PatchError on the first mistake.
Patch ParsePatch(const std::string& text);

// The patch rendered at kSampleRate, mono, normalised to its peak.
std::vector<float> Render(const Patch& patch);

// A mono 16-bit PCM WAV file of the samples (clipped to -1..1).
std::vector<std::uint8_t> EncodeWav(const std::vector<float>& samples);

}  // namespace kanuvo::effects
