// SPDX-License-Identifier: MIT
// Turns the game's text score into the Standard MIDI File the game plays: score2midi <score> <out.mid>.
#include "../common/source_to_file.h"
#include "score.h"

int main(int argc, char** argv) {
    using namespace kanuvo::music;
    return kanuvo::tools::ConvertSourceFile<ScoreError>(argc, argv, "<score> <out.mid>", [argv](const std::string& text) {
        const auto song = ParseScore(text);
        std::size_t notes = 0;
        for (const auto& t : song.tracks) notes += t.notes.size();
        std::cout << argv[2] << ": " << song.tracks.size() << " tracks, " << notes << " notes, " << song.Seconds()
                  << " s\n";
        return WriteMidi(song);
    });
}
