// SPDX-License-Identifier: MIT
// Records the digest of a freshly built sound module in a source file of the program, which then
// loads no other module: `kanuvo_module_digest <module> <out.cpp>`.
#include <cinttypes>
#include <cstdio>
#include <fstream>

#include "app/sound_worker.h"
#include "platform/regular_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <module> <out.cpp>\n", argv[0]);
        return 2;
    }
    constexpr std::size_t kMaxModuleBytes = std::size_t{256} << 20;  // far above any build of ours
    const auto bytes = kanuvo::ReadRegularFile(argv[1], kMaxModuleBytes);
    const auto digest = bytes ? kanuvo::ModuleDigest(*bytes) : std::nullopt;
    if (!digest) {
        std::fprintf(stderr, "%s: not a whole shared library\n", argv[1]);
        return 1;
    }
    char value[32];
    std::snprintf(value, sizeof value, "0x%016" PRIx64 "u", *digest);
    std::ofstream out(argv[2]);
    out << "// SPDX-License-Identifier: MIT\n"
           "// Made by the build: the digest of the sound module built with this program.\n"
           "#include \"app/sound_worker.h\"\n\n"
           "const std::uint64_t kanuvo::kBuiltSoundModuleDigest = "
        << value << ";\n";
    return out.flush() ? 0 : 1;
}
