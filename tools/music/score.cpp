// SPDX-License-Identifier: MIT
// Reads the text score (tracks, patterns of notes or drum grids, sections, the song order) and writes MIDI.
#include "score.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace kanuvo::music {
namespace {

struct Line {
    int number = 0;
    std::string text;
};

struct PatternNote {
    std::int64_t start = 0;
    std::int64_t length = 0;  // sounding length, gate already applied
    int key = 60;
    int velocity = 96;
};

struct Pattern {
    bool drums = false;
    std::int64_t length = 0;
    std::vector<PatternNote> notes;
};

struct Ref {  // a pattern or section named in a list, with its transposition and repeat count
    std::string name;
    int transpose = 0;
    int repeat = 1;
};

struct SectionPart {
    std::string track;
    std::vector<Ref> refs;
};

struct Section {
    int line = 0;
    std::vector<SectionPart> parts;
};

// General MIDI percussion keys under short names.
const std::map<std::string, int>& DrumKeys() {
    static const std::map<std::string, int> keys = {
        {"kick", 36},  {"rim", 37},   {"snare", 38}, {"clap", 39},  {"snare2", 40}, {"tom4", 41},
        {"hat", 42},   {"tom3", 43},  {"pedal", 44}, {"tom2", 45},  {"open", 46},   {"tom1", 48},
        {"crash", 49}, {"ride", 51},  {"china", 52}, {"bell", 53},  {"tamb", 54},   {"splash", 55},
        {"cowbell", 56}, {"crash2", 57}, {"shaker", 70}, {"clave", 75}, {"wood", 76}, {"triangle", 81},
    };
    return keys;
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string StripComment(const std::string& text) {
    const auto hash = text.find('#');
    // '#' also writes a sharp ("f#"); it opens a comment only at the start of a word.
    if (hash == std::string::npos) return text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1])))) {
            return text.substr(0, i);
        }
    }
    return text;
}

int ToInt(const std::string& s, int line, const std::string& what) {
    try {
        std::size_t used = 0;
        const int v = std::stoi(s, &used);
        if (used != s.size()) throw std::invalid_argument(s);
        return v;
    } catch (const std::exception&) {
        throw ScoreError(line, "expected a number for " + what + ", found \"" + s + "\"");
    }
}

// "name", "name@-3", "name*4", "name@5*2"
Ref ParseRef(const std::string& word, int line) {
    Ref ref;
    std::string rest = word;
    const auto star = rest.find('*');
    if (star != std::string::npos) {
        ref.repeat = ToInt(rest.substr(star + 1), line, "a repeat count");
        if (ref.repeat < 1) throw ScoreError(line, "repeat count must be at least 1");
        rest = rest.substr(0, star);
    }
    const auto at = rest.find('@');
    if (at != std::string::npos) {
        ref.transpose = ToInt(rest.substr(at + 1), line, "a transposition");
        rest = rest.substr(0, at);
    }
    if (rest.empty()) throw ScoreError(line, "a name is missing in \"" + word + "\"");
    ref.name = rest;
    return ref;
}

// "/4", "/8.", "/16", "/8t" (a triplet eighth)
std::int64_t ParseDuration(const std::string& text, int line) {
    if (text.size() < 2 || text[0] != '/') throw ScoreError(line, "bad duration \"" + text + "\"");
    std::size_t i = 1;
    int denominator = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        denominator = denominator * 10 + (text[i] - '0');
        ++i;
    }
    if (denominator <= 0 || denominator > 64 || (denominator & (denominator - 1)) != 0) {
        throw ScoreError(line, "duration must be /1, /2, /4 ... /64, found \"" + text + "\"");
    }
    std::int64_t ticks = std::int64_t{kTicksPerQuarter} * 4 / denominator;
    std::int64_t add = ticks;
    bool triplet = false;
    for (; i < text.size(); ++i) {
        if (text[i] == '.') {
            add /= 2;
            ticks += add;
        } else if (text[i] == 't' && !triplet) {
            triplet = true;
        } else {
            throw ScoreError(line, "bad duration \"" + text + "\"");
        }
    }
    if (triplet) ticks = ticks * 2 / 3;
    return ticks;
}

struct PitchResult {
    int key = 0;
    std::string duration;  // the "/..." part, possibly empty
};

// A note word: name, accidentals, then an absolute octave digit or relative marks, then a duration.
// Without an octave the note lands on the octave nearest the previous note (a leap of a fifth or
// more needs ' or ,), which keeps melodies readable without an octave on every note.
PitchResult ParsePitch(const std::string& word, int previousKey, int line) {
    static const int kPitchClass[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    const char name = static_cast<char>(std::tolower(static_cast<unsigned char>(word[0])));
    if (name < 'a' || name > 'g') throw ScoreError(line, "not a note: \"" + word + "\"");
    int pc = kPitchClass[name - 'a'];
    std::size_t i = 1;
    for (; i < word.size() && (word[i] == '#' || word[i] == 'b'); ++i) pc += word[i] == '#' ? 1 : -1;
    int key = 0;
    if (i < word.size() && (std::isdigit(static_cast<unsigned char>(word[i])) || word[i] == '-')) {
        std::size_t end = i + 1;
        while (end < word.size() && std::isdigit(static_cast<unsigned char>(word[end]))) ++end;
        const int octave = ToInt(word.substr(i, end - i), line, "an octave");
        key = 12 * (octave + 1) + pc;
        i = end;
    } else {
        // The nearest key with this pitch class; a tritone goes up.
        key = previousKey + (((pc - previousKey) % 12) + 12) % 12;
        if (key - previousKey > 6) key -= 12;
    }
    for (; i < word.size() && (word[i] == '\'' || word[i] == ','); ++i) key += word[i] == '\'' ? 12 : -12;
    PitchResult r;
    r.key = key;
    r.duration = word.substr(i);
    if (!r.duration.empty() && r.duration[0] != '/') throw ScoreError(line, "bad note \"" + word + "\"");
    return r;
}

// Words of a melodic line, with brackets standing alone: "[c4 e g]/2" -> "[", "c4", "e", "g", "]", "/2".
std::vector<std::string> MelodyWords(const std::string& text) {
    std::string spaced;
    for (const char c : text) {
        if (c == '[' || c == ']') {
            spaced += ' ';
            spaced += c;
            spaced += ' ';
        } else {
            spaced += c;
        }
    }
    auto words = SplitWords(spaced);
    // Join a duration written after a closing bracket to the bracket.
    std::vector<std::string> out;
    for (auto& w : words) {
        if (!out.empty() && out.back() == "]" && !w.empty() && w[0] == '/') {
            out.back() += w;
        } else {
            out.push_back(w);
        }
    }
    return out;
}

Pattern ParseMelody(const std::vector<Line>& lines, std::int64_t ticksPerBar) {
    Pattern p;
    std::int64_t pos = 0;
    std::int64_t duration = kTicksPerQuarter;
    int velocity = 96;
    int gate = 90;  // percent of the written length that sounds
    int previousKey = 60;
    std::vector<std::size_t> lastEvent;  // notes of the last note or chord, for "_" holds
    std::vector<std::int64_t> written;   // written (ungated) length of each note
    std::vector<int> gates;              // the gate in force when each note was written

    auto addNote = [&](int key, std::int64_t len, int line) {
        if (key < 0 || key > 127) throw ScoreError(line, "note outside the MIDI range");
        p.notes.push_back({pos, len, key, velocity});
        written.push_back(len);
        gates.push_back(gate);
    };

    for (const auto& line : lines) {
        const auto words = MelodyWords(line.text);
        for (std::size_t w = 0; w < words.size(); ++w) {
            const std::string& word = words[w];
            if (word == "|") {
                if (pos % ticksPerBar != 0) {
                    throw ScoreError(line.number, "bar line in the middle of a bar (" +
                                                      std::to_string(pos % ticksPerBar) + " ticks in)");
                }
            } else if (word[0] == '!') {
                velocity = ToInt(word.substr(1), line.number, "a velocity");
                if (velocity < 1 || velocity > 127) throw ScoreError(line.number, "velocity must be 1..127");
            } else if (word[0] == '%') {
                gate = ToInt(word.substr(1), line.number, "a gate");
                if (gate < 5 || gate > 100) throw ScoreError(line.number, "gate must be 5..100");
            } else if (word[0] == 'r') {
                if (word.size() > 1) duration = ParseDuration(word.substr(1), line.number);
                pos += duration;
                lastEvent.clear();
            } else if (word[0] == '_') {
                if (lastEvent.empty()) throw ScoreError(line.number, "\"_\" holds nothing");
                if (word.size() > 1) duration = ParseDuration(word.substr(1), line.number);
                for (const auto i : lastEvent) written[i] += duration;
                pos += duration;
            } else if (word == "[") {
                std::vector<int> keys;
                int chordPrevious = previousKey;
                std::size_t v = w + 1;
                for (; v < words.size() && words[v].rfind("]", 0) != 0; ++v) {
                    const auto pitch = ParsePitch(words[v], chordPrevious, line.number);
                    if (!pitch.duration.empty()) {
                        throw ScoreError(line.number, "a chord's duration goes after its closing bracket");
                    }
                    keys.push_back(pitch.key);
                    chordPrevious = pitch.key;
                }
                if (v == words.size()) throw ScoreError(line.number, "chord without a closing bracket");
                if (keys.empty()) throw ScoreError(line.number, "empty chord");
                if (words[v].size() > 1) duration = ParseDuration(words[v].substr(1), line.number);
                lastEvent.clear();
                for (const int k : keys) {
                    lastEvent.push_back(p.notes.size());
                    addNote(k, duration, line.number);
                }
                previousKey = keys.front();
                pos += duration;
                w = v;
            } else {
                const auto pitch = ParsePitch(word, previousKey, line.number);
                if (!pitch.duration.empty()) duration = ParseDuration(pitch.duration, line.number);
                lastEvent = {p.notes.size()};
                addNote(pitch.key, duration, line.number);
                previousKey = pitch.key;
                pos += duration;
            }
        }
    }
    // The gate shortens each note so repeated notes are heard as separate strokes.
    for (std::size_t i = 0; i < p.notes.size(); ++i) {
        p.notes[i].length = std::max<std::int64_t>(1, written[i] * gates[i] / 100);
    }
    p.length = pos;
    return p;
}

Pattern ParseDrumGrid(const std::vector<Line>& lines) {
    constexpr std::int64_t kStep = kTicksPerQuarter / 4;  // one character is a sixteenth
    Pattern p;
    p.drums = true;
    std::int64_t steps = -1;
    for (const auto& line : lines) {
        const auto words = SplitWords(line.text);
        const auto key = DrumKeys().at(words[0]);
        std::int64_t step = 0;
        for (std::size_t w = 1; w < words.size(); ++w) {
            for (const char c : words[w]) {
                int velocity = 0;
                switch (c) {
                    case 'X': velocity = 118; break;
                    case 'x': velocity = 92; break;
                    case 'o': velocity = 58; break;
                    case '.': break;
                    case '|': continue;
                    default: throw ScoreError(line.number, std::string("unknown drum step '") + c + "'");
                }
                if (velocity > 0) p.notes.push_back({step * kStep, kStep, key, velocity});
                ++step;
            }
        }
        if (steps >= 0 && step != steps) {
            throw ScoreError(line.number, "drum rows of one pattern must have the same number of steps");
        }
        steps = step;
    }
    p.length = std::max<std::int64_t>(steps, 0) * kStep;
    return p;
}

bool IsDrumGrid(const std::vector<Line>& lines) {
    if (lines.empty()) return false;
    for (const auto& line : lines) {
        const auto words = SplitWords(line.text);
        if (words.empty() || DrumKeys().count(words[0]) == 0) return false;
    }
    return true;
}

}  // namespace

Song ParseScore(const std::string& text) {
    Song song;
    std::map<std::string, Pattern> patterns;
    std::map<std::string, Section> sections;
    std::vector<std::pair<Ref, int>> order;  // song items with their line

    std::vector<Line> lines;
    {
        std::istringstream in(text);
        int number = 0;
        for (std::string raw; std::getline(in, raw);) {
            ++number;
            const auto stripped = StripComment(raw);
            if (!SplitWords(stripped).empty()) lines.push_back({number, stripped});
        }
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto words = SplitWords(lines[i].text);
        const int ln = lines[i].number;
        const std::string& head = words[0];
        auto block = [&]() {
            std::vector<Line> body;
            for (++i; i < lines.size(); ++i) {
                if (SplitWords(lines[i].text)[0] == "end") return body;
                body.push_back(lines[i]);
            }
            throw ScoreError(ln, "\"" + head + "\" without \"end\"");
        };
        if (head == "tempo" && words.size() == 2) {
            song.tempo = ToInt(words[1], ln, "the tempo");
            if (song.tempo < 20 || song.tempo > 400) throw ScoreError(ln, "tempo must be 20..400");
        } else if (head == "beats" && words.size() == 2) {
            song.beatsPerBar = ToInt(words[1], ln, "beats per bar");
            if (song.beatsPerBar < 1 || song.beatsPerBar > 16) throw ScoreError(ln, "beats must be 1..16");
        } else if (head == "track" && words.size() >= 2) {
            Track t;
            t.name = words[1];
            for (std::size_t w = 2; w < words.size(); ++w) {
                const auto eq = words[w].find('=');
                if (eq == std::string::npos) throw ScoreError(ln, "expected key=value, found " + words[w]);
                const auto key = words[w].substr(0, eq);
                const int value = ToInt(words[w].substr(eq + 1), ln, key);
                int* field = key == "channel" ? &t.channel
                             : key == "program" ? &t.program
                             : key == "volume"  ? &t.volume
                             : key == "pan"     ? &t.pan
                             : key == "reverb"  ? &t.reverb
                             : key == "chorus"  ? &t.chorus
                                                : nullptr;
                if (field == nullptr) throw ScoreError(ln, "unknown track setting " + key);
                *field = value;
            }
            if (t.channel < 1 || t.channel > 16) throw ScoreError(ln, "channel must be 1..16");
            if (t.program < 0 || t.program > 127) throw ScoreError(ln, "program must be 0..127");
            for (const auto& other : song.tracks) {
                if (other.name == t.name) throw ScoreError(ln, "track " + t.name + " defined twice");
            }
            song.tracks.push_back(t);
        } else if (head == "pattern" && words.size() == 2) {
            const std::string name = words[1];
            if (patterns.count(name) != 0 || name == "rest") throw ScoreError(ln, "pattern " + name + " defined twice");
            const auto body = block();
            Pattern p = IsDrumGrid(body) ? ParseDrumGrid(body) : ParseMelody(body, song.TicksPerBar());
            if (p.length == 0 || p.length % song.TicksPerBar() != 0) {
                throw ScoreError(ln, "pattern " + name + " lasts " + std::to_string(p.length) +
                                         " ticks, not a whole number of bars of " +
                                         std::to_string(song.TicksPerBar()));
            }
            patterns[name] = p;
        } else if (head == "section" && words.size() == 2) {
            const std::string name = words[1];
            if (sections.count(name) != 0) throw ScoreError(ln, "section " + name + " defined twice");
            Section s;
            s.line = ln;
            for (const auto& line : block()) {
                const auto colon = line.text.find(':');
                if (colon == std::string::npos) throw ScoreError(line.number, "expected \"track: patterns\"");
                SectionPart part;
                const auto trackWords = SplitWords(line.text.substr(0, colon));
                if (trackWords.size() != 1) throw ScoreError(line.number, "expected one track name before ':'");
                part.track = trackWords[0];
                for (const auto& w : SplitWords(line.text.substr(colon + 1))) {
                    part.refs.push_back(ParseRef(w, line.number));
                }
                s.parts.push_back(part);
            }
            sections[name] = s;
        } else if (head == "song") {
            for (std::size_t w = 1; w < words.size(); ++w) order.push_back({ParseRef(words[w], ln), ln});
        } else {
            throw ScoreError(ln, "cannot read \"" + lines[i].text + "\"");
        }
    }

    patterns["rest"] = Pattern{false, song.TicksPerBar(), {}};

    auto trackIndex = [&](const std::string& name, int line) {
        for (std::size_t t = 0; t < song.tracks.size(); ++t) {
            if (song.tracks[t].name == name) return t;
        }
        throw ScoreError(line, "unknown track " + name);
    };

    std::int64_t pos = 0;
    for (const auto& [item, ln] : order) {
        const auto found = sections.find(item.name);
        if (found == sections.end()) throw ScoreError(ln, "unknown section " + item.name);
        const Section& section = found->second;
        for (int rep = 0; rep < item.repeat; ++rep) {
            std::int64_t sectionLength = -1;
            for (const auto& part : section.parts) {
                Track& track = song.tracks[trackIndex(part.track, section.line)];
                const bool drumTrack = track.channel == kDrumChannel;
                std::int64_t at = pos;
                for (const auto& ref : part.refs) {
                    const auto pf = patterns.find(ref.name);
                    if (pf == patterns.end()) throw ScoreError(section.line, "unknown pattern " + ref.name);
                    const Pattern& pattern = pf->second;
                    if (pattern.drums != drumTrack && ref.name != "rest") {
                        throw ScoreError(section.line, "pattern " + ref.name + (pattern.drums ? " is drums, " : " is not drums, ") +
                                                           "track " + track.name + (drumTrack ? " is" : " is not"));
                    }
                    const int transpose = drumTrack ? 0 : ref.transpose + item.transpose;
                    for (int r = 0; r < ref.repeat; ++r) {
                        for (const auto& n : pattern.notes) {
                            const int key = n.key + transpose;
                            if (key < 0 || key > 127) throw ScoreError(section.line, "transposed out of range");
                            track.notes.push_back({at + n.start, n.length, key, n.velocity});
                        }
                        at += pattern.length;
                    }
                }
                const std::int64_t length = at - pos;
                if (sectionLength >= 0 && length != sectionLength) {
                    throw ScoreError(section.line, "in section " + item.name + " track " + part.track + " lasts " +
                                                       std::to_string(length / song.TicksPerBar()) +
                                                       " bars, the tracks before it " +
                                                       std::to_string(sectionLength / song.TicksPerBar()));
                }
                sectionLength = length;
            }
            if (sectionLength <= 0) throw ScoreError(section.line, "section " + item.name + " is empty");
            pos += sectionLength;
        }
    }
    if (pos == 0) throw ScoreError(0, "the song is empty");
    // One more bar lets the last chord and the reverb ring out.
    song.endTick = pos + song.TicksPerBar();
    return song;
}

namespace {

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t bytes[5];
    int n = 0;
    bytes[n++] = value & 0x7F;
    while ((value >>= 7) != 0) bytes[n++] = static_cast<std::uint8_t>((value & 0x7F) | 0x80);
    while (n > 0) out.push_back(bytes[--n]);
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct Event {
    std::int64_t tick = 0;
    int order = 0;  // at one tick: settings, then note-offs, then note-ons
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> TrackChunk(std::vector<Event> events, std::int64_t endTick) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> data;
    std::int64_t now = 0;
    for (const auto& e : events) {
        PutVarLen(data, static_cast<std::uint32_t>(e.tick - now));
        now = e.tick;
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    }
    PutVarLen(data, static_cast<std::uint32_t>(std::max<std::int64_t>(0, endTick - now)));
    data.insert(data.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutBigEndian(chunk, static_cast<std::uint32_t>(data.size()), 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

Event NameEvent(const std::string& name) {
    Event e;
    e.bytes = {0xFF, 0x03};
    PutVarLen(e.bytes, static_cast<std::uint32_t>(name.size()));
    e.bytes.insert(e.bytes.end(), name.begin(), name.end());
    return e;
}

}  // namespace

std::vector<std::uint8_t> WriteMidi(const Song& song) {
    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    PutBigEndian(out, static_cast<std::uint32_t>(song.tracks.size() + 1), 2);
    PutBigEndian(out, kTicksPerQuarter, 2);

    {
        std::vector<Event> tempo;
        tempo.push_back(NameEvent("Shellshk"));
        Event timeSignature;
        timeSignature.bytes = {0xFF, 0x58, 0x04, static_cast<std::uint8_t>(song.beatsPerBar), 2, 24, 8};
        tempo.push_back(timeSignature);
        Event setTempo;
        const auto microsPerQuarter = static_cast<std::uint32_t>(60'000'000.0 / song.tempo + 0.5);
        setTempo.bytes = {0xFF, 0x51, 0x03};
        PutBigEndian(setTempo.bytes, microsPerQuarter, 3);
        tempo.push_back(setTempo);
        const auto chunk = TrackChunk(tempo, song.endTick);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }

    for (const auto& track : song.tracks) {
        const auto ch = static_cast<std::uint8_t>(track.channel - 1);
        std::vector<Event> events;
        events.push_back(NameEvent(track.name));
        auto control = [&](std::uint8_t number, int value) {
            events.push_back({0, 0, {static_cast<std::uint8_t>(0xB0 | ch), number, static_cast<std::uint8_t>(value)}});
        };
        control(0, 0);
        events.push_back({0, 0, {static_cast<std::uint8_t>(0xC0 | ch), static_cast<std::uint8_t>(track.program)}});
        control(7, track.volume);
        control(10, track.pan);
        control(91, track.reverb);
        control(93, track.chorus);

        // A note struck again before it ended is cut at the new stroke, so its release cannot
        // silence the new one.
        auto notes = track.notes;
        std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
            return a.key != b.key ? a.key < b.key : a.start < b.start;
        });
        for (std::size_t i = 0; i < notes.size(); ++i) {
            std::int64_t end = notes[i].start + notes[i].length;
            if (i + 1 < notes.size() && notes[i + 1].key == notes[i].key && notes[i + 1].start < end) {
                end = notes[i + 1].start;
            }
            if (end <= notes[i].start) continue;  // two strokes at once: one is enough
            const auto key = static_cast<std::uint8_t>(notes[i].key);
            events.push_back({notes[i].start, 2, {static_cast<std::uint8_t>(0x90 | ch), key,
                                                  static_cast<std::uint8_t>(notes[i].velocity)}});
            events.push_back({end, 1, {static_cast<std::uint8_t>(0x80 | ch), key, 64}});
        }
        const auto chunk = TrackChunk(events, song.endTick);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

}  // namespace kanuvo::music
