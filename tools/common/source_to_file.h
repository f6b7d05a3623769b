// SPDX-License-Identifier: MIT
// The shared front of the asset tools: read a source text, turn it into bytes, write them to a file.
// Mistakes in the source are reported with their line.
#pragma once

#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace kanuvo::tools {

// Runs `tool <source> <out>`: convert(text) returns the output file's bytes and throws SourceError
// (anything with what() and line()) for a mistake in the source.
template <class SourceError, class Convert>
int ConvertSourceFile(int argc, char** argv, const char* usage, Convert convert) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " " << usage << "\n";
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
        const std::vector<std::uint8_t> bytes = convert(text.str());
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << argv[2] << ": cannot write\n";
            return 1;
        }
    } catch (const SourceError& e) {
        std::cerr << argv[1] << ":" << e.line() << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kanuvo::tools
