// Renders one effect patch to a WAV file: synth <patch> <out.wav>.
#include <fstream>
#include <iostream>
#include <sstream>

#include "synth.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " <patch> <out.wav>\n";
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
        const auto samples = kanuvo::effects::Render(kanuvo::effects::ParsePatch(text.str()));
        const auto bytes = kanuvo::effects::EncodeWav(samples);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << argv[2] << ": cannot write\n";
            return 1;
        }
    } catch (const kanuvo::effects::PatchError& e) {
        std::cerr << argv[1] << ":" << e.line() << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
