// Turns the game's text score into the Standard MIDI File the game plays: score2midi <score> <out.mid>.
#include <fstream>
#include <iostream>
#include <sstream>

#include "score.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " <score> <out.mid>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    try {
        const auto song = kanuvo::music::ParseScore(text.str());
        const auto bytes = kanuvo::music::WriteMidi(song);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << argv[2] << ": cannot write\n";
            return 1;
        }
        std::size_t notes = 0;
        for (const auto& t : song.tracks) notes += t.notes.size();
        std::cout << argv[2] << ": " << song.tracks.size() << " tracks, " << notes << " notes, "
                  << song.Seconds() << " s\n";
    } catch (const kanuvo::music::ScoreError& e) {
        std::cerr << argv[1] << ":" << e.line() << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
