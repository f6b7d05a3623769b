// SPDX-License-Identifier: MIT
// The text score of the game's music, read into timed note events and written as a Standard MIDI File.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kanuvo::music {

constexpr int kTicksPerQuarter = 480;
constexpr int kDrumChannel = 10;  // 1-based, as musicians count channels

// A mistake in the score, with the line it was found on.
class ScoreError : public std::runtime_error {
public:
    ScoreError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

struct Note {
    std::int64_t start = 0;  // ticks
    std::int64_t length = 0;
    int key = 60;  // 60 is middle C
    int velocity = 96;
};

struct Track {
    std::string name;
    int channel = 1;  // 1..16
    int program = 0;  // General MIDI instrument, 0-based
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int chorus = 0;
    std::vector<Note> notes;
};

struct Song {
    double tempo = 120.0;  // quarter notes per minute
    int beatsPerBar = 4;
    std::int64_t endTick = 0;
    std::vector<Track> tracks;

    std::int64_t TicksPerBar() const { return std::int64_t{kTicksPerQuarter} * beatsPerBar; }
    double Seconds() const { return static_cast<double>(endTick) / kTicksPerQuarter * 60.0 / tempo; }
};

// Reads a whole score; throws ScoreError on the first mistake.
Song ParseScore(const std::string& text);

// A format-1 Standard MIDI File: a tempo track, then one track per instrument.
std::vector<std::uint8_t> WriteMidi(const Song& song);

}  // namespace kanuvo::music
