// SPDX-License-Identifier: MIT
// Renders one effect patch to a WAV file: synth <patch> <out.wav>.
#include "../common/source_to_file.h"
#include "synth.h"

int main(int argc, char** argv) {
    using namespace kanuvo::effects;
    return kanuvo::tools::ConvertSourceFile<PatchError>(argc, argv, "<patch> <out.wav>", [](const std::string& text) {
        return EncodeWav(Render(ParsePatch(text)));
    });
}
