// SPDX-License-Identifier: MIT
// Reading effect patches and rendering them: band-limited oscillators, ADSR, state-variable filters, echo.
#include "synth.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <sstream>

namespace kanuvo::effects {
namespace {

constexpr double kPi = 3.14159265358979323846;

double ToNumber(const std::string& s, int line, const std::string& key) {
    try {
        std::size_t used = 0;
        const double v = std::stod(s, &used);
        if (used != s.size() || !std::isfinite(v)) throw std::invalid_argument(s);
        return v;
    } catch (const std::exception&) {
        throw PatchError(line, "expected a number for " + key + ", found \"" + s + "\"");
    }
}

// "A4" is 440 Hz; "C#5", "Bb3".
double NoteFrequency(const std::string& s, int line) {
    static const int kPitchClass[7] = {9, 11, 0, 2, 4, 5, 7};
    const char name = static_cast<char>(std::toupper(static_cast<unsigned char>(s.empty() ? '?' : s[0])));
    if (name < 'A' || name > 'G') throw PatchError(line, "not a note: \"" + s + "\"");
    int semitone = kPitchClass[name - 'A'];
    std::size_t i = 1;
    for (; i < s.size() && (s[i] == '#' || s[i] == 'b'); ++i) semitone += s[i] == '#' ? 1 : -1;
    if (i >= s.size()) throw PatchError(line, "note without octave: \"" + s + "\"");
    const int octave = static_cast<int>(ToNumber(s.substr(i), line, "an octave"));
    const int midi = 12 * (octave + 1) + semitone;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void SetVoice(Voice& v, const std::string& key, const std::string& value, int line) {
    auto num = [&] { return ToNumber(value, line, key); };
    auto positive = [&] {
        const double x = num();
        if (x < 0) throw PatchError(line, key + " must not be negative");
        return x;
    };
    if (key == "wave") {
        static const std::map<std::string, Wave> waves = {{"sine", Wave::Sine},     {"square", Wave::Square},
                                                          {"saw", Wave::Saw},       {"triangle", Wave::Triangle},
                                                          {"noise", Wave::Noise}};
        const auto it = waves.find(value);
        if (it == waves.end()) throw PatchError(line, "unknown wave " + value);
        v.wave = it->second;
    } else if (key == "filter") {
        static const std::map<std::string, Filter> filters = {{"none", Filter::None},
                                                              {"lowpass", Filter::LowPass},
                                                              {"highpass", Filter::HighPass},
                                                              {"bandpass", Filter::BandPass}};
        const auto it = filters.find(value);
        if (it == filters.end()) throw PatchError(line, "unknown filter " + value);
        v.filter = it->second;
    } else if (key == "note") {
        v.freq = NoteFrequency(value, line);
    } else if (key == "to") {
        v.freqTo = NoteFrequency(value, line);
    } else if (key == "freq") {
        v.freq = positive();
    } else if (key == "freqto") {
        v.freqTo = positive();
    } else if (key == "glide") {
        v.glide = positive();
    } else if (key == "at") {
        v.at = positive();
    } else if (key == "dur") {
        v.dur = positive();
    } else if (key == "attack") {
        v.attack = positive();
    } else if (key == "decay") {
        v.decay = positive();
    } else if (key == "sustain") {
        v.sustain = positive();
    } else if (key == "release") {
        v.release = positive();
    } else if (key == "level") {
        v.level = positive();
    } else if (key == "duty") {
        v.duty = std::clamp(num(), 0.05, 0.95);
    } else if (key == "vibrato") {
        v.vibrato = positive();
    } else if (key == "vrate") {
        v.vibratoRate = positive();
    } else if (key == "vdelay") {
        v.vibratoDelay = positive();
    } else if (key == "detune") {
        v.detune = num();
    } else if (key == "cutoff") {
        v.cutoff = positive();
    } else if (key == "cutoffto") {
        v.cutoffTo = positive();
    } else if (key == "q") {
        v.q = std::max(0.1, positive());
    } else if (key == "seed") {
        v.seed = static_cast<std::uint32_t>(positive()) | 1u;
    } else {
        throw PatchError(line, "unknown voice setting " + key);
    }
}

// Removes the step of a naive saw or square at a phase wrap (polynomial band-limited step), so
// high notes do not alias into a harsh hiss.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

struct Oscillator {
    double phase = 0.0;
    double triangle = 0.0;  // integrated square for the triangle wave

    double Next(Wave wave, double freq, double duty) {
        const double dt = std::min(freq / kSampleRate, 0.5);
        double out = 0.0;
        switch (wave) {
            case Wave::Sine: out = std::sin(2.0 * kPi * phase); break;
            case Wave::Saw: out = 2.0 * phase - 1.0 - PolyBlep(phase, dt); break;
            case Wave::Square:
            case Wave::Triangle: {
                out = phase < duty ? 1.0 : -1.0;
                out += PolyBlep(phase, dt);
                out -= PolyBlep(std::fmod(phase + 1.0 - duty, 1.0), dt);
                if (wave == Wave::Triangle) {
                    triangle = dt * out * 4.0 + (1.0 - dt * 0.05) * triangle;
                    out = triangle;
                }
                break;
            }
            case Wave::Noise: break;
        }
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
        return out;
    }
};

// A state-variable filter in its trapezoidal form: stable while the cutoff sweeps.
struct SvFilter {
    double ic1 = 0.0, ic2 = 0.0;

    double Next(Filter type, double input, double cutoff, double q) {
        const double g = std::tan(kPi * std::clamp(cutoff, 10.0, kSampleRate * 0.45) / kSampleRate);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = input - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        switch (type) {
            case Filter::LowPass: return v2;
            case Filter::BandPass: return v1;
            case Filter::HighPass: return input - k * v1 - v2;
            case Filter::None: break;
        }
        return input;
    }
};

double Envelope(const Voice& v, double t) {
    auto held = [&](double u) {
        if (u < v.attack) return u / v.attack;
        u -= v.attack;
        if (u < v.decay) return 1.0 + (v.sustain - 1.0) * (u / v.decay);
        return v.sustain;
    };
    if (t < v.dur) return held(t);
    if (v.release <= 0.0) return 0.0;
    const double r = (t - v.dur) / v.release;
    // An exponential-looking tail: quick at first, then fading gently, as struck things ring out.
    return r >= 1.0 ? 0.0 : held(v.dur) * (1.0 - r) * (1.0 - r);
}

void RenderVoice(const Voice& v, std::vector<double>& mix) {
    const auto first = static_cast<std::size_t>(v.at * kSampleRate);
    const auto count = static_cast<std::size_t>((v.dur + v.release) * kSampleRate);
    const double span = v.dur + v.release;
    const double glide = v.glide > 0.0 ? v.glide : v.dur;
    Oscillator main, second;
    SvFilter filter;
    std::uint32_t noise = v.seed * 2654435761u + 12345u;
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double freq = v.freq;
        if (v.freqTo > 0.0) freq *= std::pow(v.freqTo / v.freq, std::min(t / glide, 1.0));
        if (v.vibrato > 0.0 && t > v.vibratoDelay) {
            const double fadeIn = std::min((t - v.vibratoDelay) / 0.15, 1.0);
            freq *= std::pow(2.0, v.vibrato * fadeIn * std::sin(2.0 * kPi * v.vibratoRate * t) / 12.0);
        }
        double sample = 0.0;
        if (v.wave == Wave::Noise) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            sample = static_cast<double>(noise) / 2147483648.0 - 1.0;
        } else {
            sample = main.Next(v.wave, freq, v.duty);
            if (v.detune != 0.0) {
                sample = 0.6 * (sample + second.Next(v.wave, freq * std::pow(2.0, v.detune / 1200.0), v.duty));
            }
        }
        if (v.filter != Filter::None) {
            double cutoff = v.cutoff;
            if (v.cutoffTo > 0.0) cutoff *= std::pow(v.cutoffTo / v.cutoff, std::min(t / span, 1.0));
            sample = filter.Next(v.filter, sample, cutoff, v.q);
        }
        mix[first + i] += sample * v.level * Envelope(v, t);
    }
}

}  // namespace

Patch ParsePatch(const std::string& text) {
    Patch patch;
    std::istringstream in(text);
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        const auto hash = raw.find('#');
        // A sharp note ("F#4") is no comment: only a '#' at the start of a word is.
        std::string line = raw;
        for (std::size_t i = 0; i < raw.size() && hash != std::string::npos; ++i) {
            if (raw[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(raw[i - 1])))) {
                line = raw.substr(0, i);
                break;
            }
        }
        std::istringstream words(line);
        std::string head;
        if (!(words >> head)) continue;
        std::vector<std::pair<std::string, std::string>> settings;
        std::vector<std::string> plain;
        for (std::string w; words >> w;) {
            const auto eq = w.find('=');
            if (eq == std::string::npos) {
                plain.push_back(w);
            } else {
                settings.push_back({w.substr(0, eq), w.substr(eq + 1)});
            }
        }
        if (head == "length" && plain.size() == 1 && settings.empty()) {
            patch.length = ToNumber(plain[0], number, "length");
            if (patch.length <= 0.0 || patch.length > 30.0) throw PatchError(number, "length must be 0..30 s");
        } else if (head == "peak" && plain.size() == 1 && settings.empty()) {
            patch.peak = ToNumber(plain[0], number, "peak");
            if (patch.peak <= 0.0 || patch.peak > 1.0) throw PatchError(number, "peak must be 0..1");
        } else if (head == "echo" && plain.empty()) {
            for (const auto& [key, value] : settings) {
                const double x = ToNumber(value, number, key);
                if (key == "delay") patch.echoDelay = x;
                else if (key == "feedback") patch.echoFeedback = std::clamp(x, 0.0, 0.9);
                else if (key == "mix") patch.echoMix = std::clamp(x, 0.0, 1.0);
                else throw PatchError(number, "unknown echo setting " + key);
            }
        } else if (head == "voice" && plain.empty()) {
            Voice v;
            for (const auto& [key, value] : settings) SetVoice(v, key, value, number);
            patch.voices.push_back(v);
        } else {
            throw PatchError(number, "cannot read \"" + line + "\"");
        }
    }
    if (patch.voices.empty()) throw PatchError(number, "the patch has no voice");
    return patch;
}

std::vector<float> Render(const Patch& patch) {
    const auto total = static_cast<std::size_t>(patch.length * kSampleRate);
    std::vector<double> mix(total, 0.0);
    for (const auto& v : patch.voices) RenderVoice(v, mix);

    if (patch.echoDelay > 0.0 && patch.echoMix > 0.0) {
        const auto delay = static_cast<std::size_t>(patch.echoDelay * kSampleRate);
        std::vector<double> line(total, 0.0);
        for (std::size_t i = 0; i < total; ++i) {
            const double echoed = i >= delay ? line[i - delay] : 0.0;
            line[i] = mix[i] + echoed * patch.echoFeedback;
            mix[i] += echoed * patch.echoMix;
        }
    }

    // A short fade at the end, so a tail cut by the file's length ends without a click.
    const auto fade = std::min<std::size_t>(total, kSampleRate / 50);
    for (std::size_t i = 0; i < fade; ++i) mix[total - 1 - i] *= static_cast<double>(i) / fade;

    double loudest = 0.0;
    for (const double s : mix) loudest = std::max(loudest, std::abs(s));
    const double scale = loudest > 0.0 ? patch.peak / loudest : 0.0;
    std::vector<float> out(total);
    for (std::size_t i = 0; i < total; ++i) out[i] = static_cast<float>(mix[i] * scale);
    return out;
}

std::vector<std::uint8_t> EncodeWav(const std::vector<float>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(kSampleRate, 4);
    put(kSampleRate * 2, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (const float s : samples) {
        const auto v = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        put(static_cast<std::uint16_t>(v), 2);
    }
    return out;
}

}  // namespace kanuvo::effects
