// SPDX-License-Identifier: MIT
// The presets of a tune, and a soundfont cut down to them.
#include "soundfont_cut.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>

namespace kanuvo::soundfont {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le(const std::uint8_t* p, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

void SetLe(std::uint8_t* p, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i, v >>= 8) p[i] = static_cast<std::uint8_t>(v & 0xFF);
}

void PutLe(Bytes& out, std::uint32_t v, int n) {
    out.resize(out.size() + static_cast<std::size_t>(n));
    SetLe(out.data() + out.size() - n, v, n);
}

// ---------------------------------------------------------------- the tune

std::uint32_t Be(const Bytes& b, std::size_t at, int n) {
    if (at + static_cast<std::size_t>(n) > b.size()) throw CutError("the MIDI file ends early");
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

std::uint32_t VarLen(const Bytes& b, std::size_t& p, std::size_t end) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (p >= end) throw CutError("the MIDI file ends inside a number");
        const std::uint8_t byte = b[p++];
        v = (v << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) return v;
    }
    throw CutError("the MIDI file holds a number of more than four bytes");
}

struct ChannelEvent {
    std::uint64_t tick;
    std::uint8_t status, data1, data2;
};

}  // namespace

TuneNotes NotesOfTune(const std::vector<std::uint8_t>& midi) {
    if (Be(midi, 0, 4) != 0x4D546864) throw CutError("not a Standard MIDI File");  // "MThd"
    const std::uint32_t tracks = Be(midi, 10, 2);
    // Every track's channel events, merged by time; at the same time, tracks in file order.
    std::vector<ChannelEvent> events;
    std::size_t at = 8 + std::size_t{Be(midi, 4, 4)};
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (Be(midi, at, 4) != 0x4D54726B) throw CutError("MIDI track " + std::to_string(t) + " is missing");  // "MTrk"
        const std::size_t end = at + 8 + Be(midi, at + 4, 4);
        if (end > midi.size()) throw CutError("MIDI track " + std::to_string(t) + " runs past the file");
        std::size_t p = at + 8;
        std::uint64_t tick = 0;
        std::uint8_t status = 0;
        std::vector<ChannelEvent> track;
        while (p < end) {
            tick += VarLen(midi, p, end);
            if (p >= end) throw CutError("a MIDI event is missing");
            if ((midi[p] & 0x80) != 0) status = midi[p++];
            if (status == 0xFF) {
                if (p >= end) throw CutError("a MIDI meta event is cut short");
                ++p;
                p += VarLen(midi, p, end);
            } else if (status == 0xF0 || status == 0xF7) {
                p += VarLen(midi, p, end);
            } else if (status >= 0x80 && status < 0xF0) {
                const int kind = status & 0xF0;
                const std::size_t size = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                if (p + size > end) throw CutError("a MIDI event is cut short");
                track.push_back({tick, status, midi[p], size == 2 ? midi[p + 1] : std::uint8_t{0}});
                p += size;
            } else {
                throw CutError("a MIDI event has no status");
            }
        }
        if (p > end) throw CutError("MIDI track " + std::to_string(t) + " runs past its end");
        events.insert(events.end(), track.begin(), track.end());
        at = end;
    }
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.tick < b.tick; });

    constexpr int kDrumChannel = 9;
    constexpr int kDrumBank = 128;
    TuneNotes presets{{{0, 0}, {}}, {{kDrumBank, 0}, {}}};
    int bank[16] = {};
    int program[16] = {};
    auto current = [&](int ch) { return ch == kDrumChannel ? Preset{kDrumBank, program[ch]} : Preset{bank[ch], program[ch]}; };
    for (const auto& e : events) {
        const int ch = e.status & 0x0F;
        switch (e.status & 0xF0) {
            case 0xB0:
                if (e.data1 == 0 && ch != kDrumChannel) bank[ch] = e.data2;
                break;
            case 0xC0:
                program[ch] = e.data1;
                presets[current(ch)];
                break;
            case 0x90:
                if (e.data2 > 0) presets[current(ch)].insert({e.data1, e.data2});
                break;
            default:
                break;
        }
    }
    return presets;
}

namespace {

// ---------------------------------------------------------------- the soundfont

struct Chunk {
    std::string id;
    std::size_t body = 0;
    std::size_t size = 0;
};

// The chunks in [from, to) of a RIFF file.
std::vector<Chunk> Chunks(const Bytes& b, std::size_t from, std::size_t to) {
    std::vector<Chunk> out;
    while (from + 8 <= to) {
        Chunk c{std::string(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + 4)), from + 8,
                Le(&b[from + 4], 4)};
        if (c.size > to - c.body) throw CutError("the soundfont's chunk " + c.id + " runs past its list");
        out.push_back(c);
        from = c.body + c.size + (c.size & 1);
    }
    return out;
}

// The chunks of the list of the given type among `chunks`.
std::vector<Chunk> List(const Bytes& b, const std::vector<Chunk>& chunks, const char* type) {
    for (const auto& c : chunks) {
        if (c.id == "LIST" && c.size >= 4 && std::equal(type, type + 4, b.begin() + static_cast<long>(c.body))) {
            return Chunks(b, c.body + 4, c.body + c.size);
        }
    }
    throw CutError(std::string("the soundfont has no ") + type + " list");
}

const Chunk& Find(const std::vector<Chunk>& chunks, const char* id) {
    for (const auto& c : chunks) {
        if (c.id == id) return c;
    }
    throw CutError(std::string("the soundfont has no ") + id + " chunk");
}

constexpr std::uint16_t kInstrumentGenerator = 41;
constexpr std::uint16_t kKeyRange = 43;
constexpr std::uint16_t kVelocityRange = 44;
constexpr std::uint16_t kSampleGenerator = 53;

// A table of fixed-size records ending in a terminal record.
struct Table {
    const std::uint8_t* data = nullptr;
    std::size_t record = 0;
    std::size_t count = 0;  // with the terminal record

    const std::uint8_t* operator[](std::size_t i) const { return data + i * record; }
    std::uint32_t Field(std::size_t i, std::size_t offset, int n) const { return Le((*this)[i] + offset, n); }
};

Table ReadTable(const Bytes& b, const std::vector<Chunk>& pdta, const char* id, std::size_t record) {
    const Chunk& c = Find(pdta, id);
    if (c.size % record != 0 || c.size < record) throw CutError(std::string("the soundfont's ") + id + " is malformed");
    return {b.data() + c.body, record, c.size / record};
}

// Presets or instruments: headers naming their zones (bags), each zone its generators and modulators.
struct Level {
    Table headers, bags, modulators, generators;
    std::size_t bagField;       // where a header holds its first zone
    std::uint16_t reference;    // the generator naming what the zone plays from the level below
    const char* name;

    // [first, last) of the zones of header h, of the generators (field 0) or modulators (field 2) of zone z.
    std::pair<std::size_t, std::size_t> Zones(std::size_t h) const {
        return Range(headers, h, bagField, bags.count, "zones");
    }
    std::pair<std::size_t, std::size_t> Generators(std::size_t z) const {
        return Range(bags, z, 0, generators.count, "generators");
    }
    std::pair<std::size_t, std::size_t> Modulators(std::size_t z) const {
        return Range(bags, z, 2, modulators.count, "modulators");
    }

    // What zone z plays from the level below; none for a global zone.
    std::optional<std::size_t> Reference(std::size_t z) const {
        const auto [g0, g1] = Generators(z);
        for (std::size_t g = g0; g < g1; ++g) {
            if (generators.Field(g, 0, 2) == reference) return generators.Field(g, 2, 2);
        }
        return std::nullopt;
    }

    // Whether zone z sounds a note: its own key and velocity ranges (all notes where it has none)
    // hold it.
    bool Sounds(std::size_t z, const Note& note) const {
        const auto [g0, g1] = Generators(z);
        for (std::size_t g = g0; g < g1; ++g) {
            const std::uint32_t oper = generators.Field(g, 0, 2);
            const int low = generators[g][2], high = generators[g][3];
            if (oper == kKeyRange && (note.key < low || note.key > high)) return false;
            if (oper == kVelocityRange && (note.velocity < low || note.velocity > high)) return false;
        }
        return true;
    }

private:
    std::pair<std::size_t, std::size_t> Range(const Table& t, std::size_t i, std::size_t offset, std::size_t limit,
                                               const char* what) const {
        const std::size_t first = t.Field(i, offset, 2), last = t.Field(i + 1, offset, 2);
        if (first > last || last >= limit) throw CutError(std::string("the soundfont's ") + name + " " + what + " are out of order");
        return {first, last};
    }
};

struct LevelOut {
    Bytes headers, bags, modulators, generators;
};

std::size_t Count(const Bytes& table, std::size_t record) { return table.size() / record; }

// The headers `keep` (ascending) of a level with their zones in `zones`, the reference generators
// renumbered by `renumber`, and the level's terminal records with the new counts.
LevelOut CopyLevel(const Level& level, const std::vector<std::size_t>& keep, const std::set<std::size_t>& zones,
                   const std::map<std::size_t, std::size_t>& renumber) {
    LevelOut out;
    auto append = [](Bytes& to, const Table& from, std::size_t i) { to.insert(to.end(), from[i], from[i] + from.record); };
    auto appendHeader = [&](std::size_t h) {
        append(out.headers, level.headers, h);
        SetLe(out.headers.data() + out.headers.size() - level.headers.record + level.bagField,
              static_cast<std::uint32_t>(Count(out.bags, 4)), 2);
    };
    auto appendBag = [&](std::size_t z) {
        append(out.bags, level.bags, z);
        SetLe(out.bags.data() + out.bags.size() - 4, static_cast<std::uint32_t>(Count(out.generators, 4)), 2);
        SetLe(out.bags.data() + out.bags.size() - 2, static_cast<std::uint32_t>(Count(out.modulators, 10)), 2);
    };
    for (const std::size_t h : keep) {
        appendHeader(h);
        const auto [z0, z1] = level.Zones(h);
        for (std::size_t z = z0; z < z1; ++z) {
            if (zones.count(z) == 0) continue;
            appendBag(z);
            const auto [g0, g1] = level.Generators(z);
            for (std::size_t g = g0; g < g1; ++g) {
                append(out.generators, level.generators, g);
                if (level.generators.Field(g, 0, 2) == level.reference) {
                    SetLe(out.generators.data() + out.generators.size() - 2,
                          static_cast<std::uint32_t>(renumber.at(level.generators.Field(g, 2, 2))), 2);
                }
            }
            const auto [m0, m1] = level.Modulators(z);
            for (std::size_t m = m0; m < m1; ++m) append(out.modulators, level.modulators, m);
        }
    }
    appendHeader(level.headers.count - 1);
    appendBag(level.bags.count - 1);
    append(out.generators, level.generators, level.generators.count - 1);
    append(out.modulators, level.modulators, level.modulators.count - 1);
    return out;
}

Bytes RiffChunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    PutLe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if ((body.size() & 1) != 0) out.push_back(0);
    return out;
}

Bytes ListChunk(const char* type, const std::vector<Bytes>& chunks) {
    Bytes body(type, type + 4);
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return RiffChunk("LIST", body);
}


constexpr std::uint32_t kRomSample = 0x8000;
constexpr std::uint32_t kLinkedTypes = 2 | 4 | 8;  // right, left, linked
constexpr std::size_t kGuardPoints = 46;          // the points that follow every sample

}  // namespace

std::vector<std::uint8_t> CutSoundFont(const std::vector<std::uint8_t>& sf2, const TuneNotes& keep) {
    if (sf2.size() < 12 || !std::equal(sf2.begin(), sf2.begin() + 4, "RIFF") ||
        !std::equal(sf2.begin() + 8, sf2.begin() + 12, "sfbk")) {
        throw CutError("not a soundfont");
    }
    const std::size_t riffEnd = 8 + std::size_t{Le(&sf2[4], 4)};
    if (riffEnd > sf2.size()) throw CutError("the soundfont is cut short");
    const auto top = Chunks(sf2, 12, riffEnd);
    const auto sdta = List(sf2, top, "sdta");
    const auto pdta = List(sf2, top, "pdta");
    const Chunk& smpl = Find(sdta, "smpl");
    const Chunk* sm24 = nullptr;
    for (const auto& c : sdta) {
        if (c.id == "sm24") sm24 = &c;
    }
    const std::size_t points = smpl.size / 2;
    if (sm24 != nullptr && sm24->size < points) sm24 = nullptr;  // a wrong size: the 24-bit bytes are to be ignored

    const Level presets{ReadTable(sf2, pdta, "phdr", 38), ReadTable(sf2, pdta, "pbag", 4),
                        ReadTable(sf2, pdta, "pmod", 10), ReadTable(sf2, pdta, "pgen", 4), 24, kInstrumentGenerator,
                        "presets'"};
    const Level instruments{ReadTable(sf2, pdta, "inst", 22), ReadTable(sf2, pdta, "ibag", 4),
                            ReadTable(sf2, pdta, "imod", 10), ReadTable(sf2, pdta, "igen", 4), 20, kSampleGenerator,
                            "instruments'"};
    const Table samples = ReadTable(sf2, pdta, "shdr", 46);

    // What is kept at each level, in the original order: the zones that sound a note of the tune, and
    // every global zone of what is kept.
    std::vector<std::size_t> keptPresets;
    std::set<std::size_t> presetZones, instrumentZones;
    std::map<std::size_t, std::set<Note>> instrumentNotes;  // the notes each instrument is played with
    std::set<Preset> found;
    for (std::size_t p = 0; p + 1 < presets.headers.count; ++p) {
        const Preset preset{static_cast<int>(presets.headers.Field(p, 22, 2)),
                            static_cast<int>(presets.headers.Field(p, 20, 2))};
        const auto notes = keep.find(preset);
        if (notes == keep.end() || !found.insert(preset).second) continue;
        keptPresets.push_back(p);
        const auto [z0, z1] = presets.Zones(p);
        for (std::size_t z = z0; z < z1; ++z) {
            const auto instrument = presets.Reference(z);
            if (instrument && *instrument + 1 >= instruments.headers.count) {
                throw CutError("a preset names an instrument that is not there");
            }
            bool sounds = false;
            for (const Note& note : notes->second) {
                if (instrument && presets.Sounds(z, note)) {
                    instrumentNotes[*instrument].insert(note);
                    sounds = true;
                }
            }
            if (!instrument || sounds) presetZones.insert(z);
        }
    }
    for (const auto& [preset, notes] : keep) {
        if (found.count(preset) == 0) {
            throw CutError("the soundfont has no preset " + std::to_string(preset.bank) + ":" +
                           std::to_string(preset.program));
        }
    }
    std::set<std::size_t> instrumentSet, sampleSet;
    for (const auto& [i, notes] : instrumentNotes) {
        instrumentSet.insert(i);
        const auto [z0, z1] = instruments.Zones(i);
        for (std::size_t z = z0; z < z1; ++z) {
            const auto sample = instruments.Reference(z);
            if (sample && *sample + 1 >= samples.count) throw CutError("an instrument names a sample that is not there");
            if (sample && std::none_of(notes.begin(), notes.end(), [&](const Note& n) { return instruments.Sounds(z, n); })) {
                continue;
            }
            instrumentZones.insert(z);
            if (sample) sampleSet.insert(*sample);
        }
    }
    // A stereo sample is kept with its partner, and the partner's partner.
    for (std::vector<std::size_t> todo(sampleSet.begin(), sampleSet.end()); !todo.empty();) {
        const std::size_t s = todo.back();
        todo.pop_back();
        const std::size_t link = samples.Field(s, 42, 2);
        if ((samples.Field(s, 44, 2) & kLinkedTypes) != 0 && link + 1 < samples.count && sampleSet.insert(link).second) {
            todo.push_back(link);
        }
    }
    auto numbering = [](const std::set<std::size_t>& kept) {
        std::map<std::size_t, std::size_t> out;
        for (const std::size_t i : kept) out.emplace(i, out.size());
        return out;
    };
    const auto instrumentNumbers = numbering(instrumentSet);
    const auto sampleNumbers = numbering(sampleSet);

    const LevelOut presetOut = CopyLevel(presets, keptPresets, presetZones, instrumentNumbers);
    const LevelOut instrumentOut = CopyLevel(instruments, std::vector<std::size_t>(instrumentSet.begin(), instrumentSet.end()),
                                             instrumentZones, sampleNumbers);

    // Each kept sample's points with the guard points that follow it, exactly as the synthesizer reads
    // them when it loads one sample at a time: in this soundfont the guard may be shorter than the 46
    // points the format asks for and hold the start of the next sample. Laid out in the order of the
    // original, so that the one whose guard the end of the data cuts short stays last.
    std::vector<std::size_t> byPlace;
    for (const std::size_t s : sampleSet) {
        if ((samples.Field(s, 44, 2) & kRomSample) != 0) continue;  // its points are in the instrument's memory
        const std::uint32_t start = samples.Field(s, 20, 4), end = samples.Field(s, 24, 4);
        if (start > end || end > points) throw CutError("a sample's points are not in the soundfont");
        byPlace.push_back(s);
    }
    std::stable_sort(byPlace.begin(), byPlace.end(),
                     [&](std::size_t a, std::size_t b) { return samples.Field(a, 20, 4) < samples.Field(b, 20, 4); });
    Bytes samplePoints, sample24;
    std::map<std::size_t, std::uint32_t> placed;
    for (const std::size_t s : byPlace) {
        const std::size_t start = samples.Field(s, 20, 4);
        const std::size_t stop = std::min(std::size_t{samples.Field(s, 24, 4)} + kGuardPoints, points);
        placed[s] = static_cast<std::uint32_t>(samplePoints.size() / 2);
        const auto from = sf2.begin() + static_cast<long>(smpl.body + 2 * start);
        samplePoints.insert(samplePoints.end(), from, from + 2 * static_cast<long>(stop - start));
        if (sm24 != nullptr) {
            const auto from24 = sf2.begin() + static_cast<long>(sm24->body + start);
            sample24.insert(sample24.end(), from24, from24 + static_cast<long>(stop - start));
        }
    }
    if (samplePoints.size() / 2 > 0xFFFFFFFFu) throw CutError("the samples are too many for one soundfont");

    // The headers, their points moved with the samples' and the stereo partners renumbered.
    Bytes sampleHeaders;
    for (const std::size_t s : sampleSet) {
        sampleHeaders.insert(sampleHeaders.end(), samples[s], samples[s] + samples.record);
        std::uint8_t* header = sampleHeaders.data() + sampleHeaders.size() - samples.record;
        if ((samples.Field(s, 44, 2) & kLinkedTypes) != 0) {
            const auto link = sampleNumbers.find(samples.Field(s, 42, 2));
            SetLe(header + 42, link != sampleNumbers.end() ? static_cast<std::uint32_t>(link->second) : 0, 2);
        }
        const auto at = placed.find(s);
        if (at == placed.end()) continue;
        const std::uint32_t start = samples.Field(s, 20, 4);
        const auto stop = static_cast<std::uint32_t>(std::min(std::size_t{samples.Field(s, 24, 4)} + kGuardPoints, points));
        // A loop point outside what was copied is taken to its nearest end.
        auto moved = [&](std::uint32_t point) { return at->second + std::clamp(point, start, stop) - start; };
        for (const std::size_t field : {20, 24, 28, 32}) SetLe(header + field, moved(samples.Field(s, field, 4)), 4);
    }
    sampleHeaders.insert(sampleHeaders.end(), samples[samples.count - 1], samples[samples.count - 1] + samples.record);

    Bytes out;
    for (const auto& c : top) {
        if (c.id == "LIST" && c.size >= 4 && std::equal(sf2.begin() + static_cast<long>(c.body),
                                                        sf2.begin() + static_cast<long>(c.body) + 4, "INFO")) {
            out.insert(out.end(), sf2.begin() + static_cast<long>(c.body - 8),
                       sf2.begin() + static_cast<long>(c.body + c.size + (c.size & 1)));
        }
    }
    if (out.empty()) throw CutError("the soundfont has no INFO list");
    std::vector<Bytes> sampleData{RiffChunk("smpl", samplePoints)};
    if (sm24 != nullptr) sampleData.push_back(RiffChunk("sm24", sample24));
    const Bytes sdtaOut = ListChunk("sdta", sampleData);
    const Bytes pdtaOut = ListChunk(
        "pdta", {RiffChunk("phdr", presetOut.headers), RiffChunk("pbag", presetOut.bags),
                 RiffChunk("pmod", presetOut.modulators), RiffChunk("pgen", presetOut.generators),
                 RiffChunk("inst", instrumentOut.headers), RiffChunk("ibag", instrumentOut.bags),
                 RiffChunk("imod", instrumentOut.modulators), RiffChunk("igen", instrumentOut.generators),
                 RiffChunk("shdr", sampleHeaders)});
    out.insert(out.end(), sdtaOut.begin(), sdtaOut.end());
    out.insert(out.end(), pdtaOut.begin(), pdtaOut.end());
    Bytes riff{'R', 'I', 'F', 'F'};
    PutLe(riff, static_cast<std::uint32_t>(out.size() + 4), 4);
    riff.insert(riff.end(), {'s', 'f', 'b', 'k'});
    riff.insert(riff.end(), out.begin(), out.end());
    return riff;
}

}  // namespace kanuvo::soundfont
