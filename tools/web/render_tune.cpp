// SPDX-License-Identifier: MIT
// Renders the tune to a WAV file with the synthesizer and settings the desktop game plays it with, so
// that the browser plays the same sound from a file it can decode.
//   kanuvo_render_tune <soundfont> <tune.mid> <out.wav>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "tune_synth.h"

namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 2;
constexpr int kPiece = 1024;

void PutLittle(std::vector<char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <soundfont> <tune.mid> <out.wav>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    const std::vector<std::uint8_t> midi((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto tune = kanuvo::TuneSynth::Make(argv[1], midi, kRate);
    if (!tune || !tune->Start()) {
        std::fprintf(stderr, "%s: cannot play %s with %s\n", argv[0], argv[2], argv[1]);
        return 1;
    }
    std::vector<std::int16_t> samples;
    std::vector<std::int16_t> piece(kPiece * kChannels);
    while (tune->Render(piece.data(), kPiece, kChannels)) samples.insert(samples.end(), piece.begin(), piece.end());
    const auto data = static_cast<std::uint32_t>(samples.size() * sizeof(std::int16_t));
    std::vector<char> header;
    for (char c : {'R', 'I', 'F', 'F'}) header.push_back(c);
    PutLittle(header, 36 + data, 4);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) header.push_back(c);
    PutLittle(header, 16, 4);
    PutLittle(header, 1, 2);  // PCM
    PutLittle(header, kChannels, 2);
    PutLittle(header, kRate, 4);
    PutLittle(header, kRate * kChannels * 2, 4);
    PutLittle(header, kChannels * 2, 2);
    PutLittle(header, 16, 2);
    for (char c : {'d', 'a', 't', 'a'}) header.push_back(c);
    PutLittle(header, data, 4);
    std::ofstream out(argv[3], std::ios::binary);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(data));
    return out ? 0 : 1;
}
