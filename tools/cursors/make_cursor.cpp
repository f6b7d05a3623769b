// SPDX-License-Identifier: MIT
// Turns a pointer grid from assets/cursors into a .cur file, at the grid's size or enlarged by a whole
// factor for dense screens: kanuvo_make_cursor <grid.txt> <out.cur> [scale]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "cursor_art.h"

int main(int argc, char** argv) {
    const int scale = argc == 4 ? std::atoi(argv[3]) : 1;
    if ((argc != 3 && argc != 4) || scale < 1 || scale > 8) {
        std::fprintf(stderr, "usage: kanuvo_make_cursor <grid.txt> <out.cur> [scale 1..8]\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    try {
        const auto bytes = kanuvo::cursors::EncodeCursor(kanuvo::cursors::ParseCursorArt(text.str()), scale);
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
