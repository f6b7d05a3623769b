// SPDX-License-Identifier: MIT
// Independent readers of the files the sound tests inspect: PCM WAV, raw device output, Standard MIDI.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kanuvo::testing {

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int n) {
    if (at + n > b.size()) throw std::runtime_error("file ends early");
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

inline std::uint32_t Be(const std::vector<std::uint8_t>& b, std::size_t at, int n) {
    if (at + n > b.size()) throw std::runtime_error("file ends early");
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | b[at + i];
    return v;
}

struct Wav {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<std::int16_t> samples;  // interleaved
    double Seconds() const { return channels == 0 ? 0.0 : double(samples.size()) / channels / rate; }
};

// A RIFF WAVE file of 16-bit PCM; chunks other than fmt and data are skipped.
inline Wav ReadWav(const std::string& path) {
    const auto b = ReadBytes(path);
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
        throw std::runtime_error(path + ": not a WAVE file");
    }
    Wav wav;
    bool haveFormat = false, haveData = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + at, b.begin() + at + 4);
        const std::uint32_t size = Le(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (body + size > b.size()) throw std::runtime_error(path + ": chunk " + id + " runs past the end");
        if (id == "fmt ") {
            if (Le(b, body, 2) != 1) throw std::runtime_error(path + ": not PCM");
            wav.channels = static_cast<int>(Le(b, body + 2, 2));
            wav.rate = static_cast<int>(Le(b, body + 4, 4));
            wav.bits = static_cast<int>(Le(b, body + 14, 2));
            haveFormat = true;
        } else if (id == "data") {
            for (std::size_t i = 0; i + 1 < size; i += 2) {
                wav.samples.push_back(static_cast<std::int16_t>(Le(b, body + i, 2)));
            }
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFormat || !haveData) throw std::runtime_error(path + ": fmt or data chunk missing");
    return wav;
}

// Raw signed 16-bit samples as the disk audio driver writes them.
inline std::vector<std::int16_t> ReadRawS16(const std::string& path) {
    const auto b = ReadBytes(path);
    std::vector<std::int16_t> s(b.size() / 2);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::int16_t>(Le(b, 2 * i, 2));
    return s;
}

struct MidiNote {
    int channel = 0;  // 0-based
    int key = 0;
    std::int64_t on = 0, off = -1;  // ticks
};

struct Midi {
    int format = 0;
    int tracks = 0;
    int division = 0;
    std::map<std::int64_t, std::uint32_t> tempos;  // tick -> microseconds per quarter
    std::vector<MidiNote> notes;
    std::map<int, int> programs;  // channel -> last program change
    std::int64_t endTick = 0;     // the latest event of any track
    int unmatchedOffs = 0;

    // Seconds from the start to a tick, following the tempo map (120 bpm until the first change).
    double SecondsAt(std::int64_t tick) const {
        double seconds = 0;
        std::int64_t last = 0;
        std::uint32_t tempo = 500000;
        for (const auto& [at, value] : tempos) {
            if (at >= tick) break;
            seconds += double(at - last) * tempo / 1e6 / division;
            last = at;
            tempo = value;
        }
        return seconds + double(tick - last) * tempo / 1e6 / division;
    }
};

inline std::uint32_t VarLen(const std::vector<std::uint8_t>& b, std::size_t& at, std::size_t end) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end) throw std::runtime_error("variable-length number runs past its track");
        const auto c = b[at++];
        v = (v << 7) | (c & 0x7F);
        if ((c & 0x80) == 0) return v;
    }
    throw std::runtime_error("variable-length number too long");
}

// A Standard MIDI File with running status, metric division only.
inline Midi ReadMidi(const std::string& path) {
    const auto b = ReadBytes(path);
    if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd") throw std::runtime_error("no MThd");
    Midi midi;
    midi.format = static_cast<int>(Be(b, 8, 2));
    midi.tracks = static_cast<int>(Be(b, 10, 2));
    midi.division = static_cast<int>(Be(b, 12, 2));
    if (midi.division <= 0 || (midi.division & 0x8000) != 0) throw std::runtime_error("unsupported division");
    std::size_t at = 8 + Be(b, 4, 4);
    for (int t = 0; t < midi.tracks; ++t) {
        if (at + 8 > b.size() || std::string(b.begin() + at, b.begin() + at + 4) != "MTrk") {
            throw std::runtime_error("track " + std::to_string(t) + " missing");
        }
        const std::size_t end = at + 8 + Be(b, at + 4, 4);
        if (end > b.size()) throw std::runtime_error("track runs past the file");
        std::size_t p = at + 8;
        std::int64_t tick = 0;
        std::uint8_t status = 0;
        std::map<std::pair<int, int>, std::vector<std::size_t>> sounding;
        bool ended = false;
        while (p < end) {
            tick += VarLen(b, p, end);
            if (p >= end) throw std::runtime_error("event missing");
            if (b[p] & 0x80) status = b[p++];
            if (status == 0xFF) {
                const auto type = b.at(p++);
                const auto len = VarLen(b, p, end);
                if (type == 0x51 && len == 3) midi.tempos[tick] = Be(b, p, 3);
                if (type == 0x2F) ended = true;
                p += len;
            } else if (status == 0xF0 || status == 0xF7) {
                p += VarLen(b, p, end);
            } else {
                const int kind = status & 0xF0, ch = status & 0x0F;
                const int d1 = b.at(p++);
                const int d2 = (kind == 0xC0 || kind == 0xD0) ? 0 : b.at(p++);
                auto& open = sounding[{ch, d1}];
                if (kind == 0x90 && d2 > 0) {
                    open.push_back(midi.notes.size());
                    midi.notes.push_back({ch, d1, tick, -1});
                } else if (kind == 0x80 || kind == 0x90) {
                    if (open.empty()) {
                        ++midi.unmatchedOffs;
                    } else {
                        midi.notes[open.front()].off = tick;
                        open.erase(open.begin());
                    }
                } else if (kind == 0xC0) {
                    midi.programs[ch] = d1;
                }
            }
            midi.endTick = std::max(midi.endTick, tick);
        }
        if (!ended) throw std::runtime_error("track " + std::to_string(t) + " has no end");
        at = end;
    }
    return midi;
}

}  // namespace kanuvo::testing
