// SPDX-License-Identifier: MIT
// Cuts a soundfont down to what a tune plays: cut_soundfont <soundfont.sf2> <tune.mid> <out.sf2>.
#include <fstream>
#include <iostream>
#include <iterator>

#include "soundfont_cut.h"

namespace {

bool Read(const char* path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << path << ": cannot read\n";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kanuvo::soundfont;
    if (argc != 4) {
        std::cerr << "usage: " << argv[0] << " <soundfont.sf2> <tune.mid> <out.sf2>\n";
        return 2;
    }
    std::vector<std::uint8_t> font, tune;
    if (!Read(argv[1], font) || !Read(argv[2], tune)) return 1;
    std::vector<std::uint8_t> cut;
    try {
        const auto notes = NotesOfTune(tune);
        cut = CutSoundFont(font, notes);
        std::cout << argv[3] << ": " << notes.size() << " presets,";
        for (const auto& [preset, played] : notes) {
            std::cout << " " << preset.bank << ":" << preset.program << " (" << played.size() << " notes)";
        }
        std::cout << "; " << cut.size() << " of " << font.size() << " bytes\n";
    } catch (const CutError& e) {
        std::cerr << argv[1] << ", " << argv[2] << ": " << e.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(cut.data()), static_cast<std::streamsize>(cut.size()));
    if (!out) {
        std::cerr << argv[3] << ": cannot write\n";
        return 1;
    }
    return 0;
}
