// SPDX-License-Identifier: MIT
// The program's command line: the options a player may give, what they ask for, and the usage text.
#include "app/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kanuvo {

namespace {

constexpr int kStatusUsage = 2;  // a command-line mistake, as for most command-line programs
constexpr int kStatusUnwritten = 1;

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (argument == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (argument == "--mute") {
            line.mute = true;
            continue;
        }
        line.action = CommandLine::Action::Refuse;
        line.offending = argument;
        return line;
    }
    return line;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    return ParseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + std::max(argc, 0)));
}

std::string UsageText() {
    return "Usage: kanuvo [--mute] [--help] [--version]\n"
           "A sliding-tile road puzzle: lay a road from the start to the goal.\n"
           "  --mute      start with the music and the effects off\n"
           "  --help      show this help and quit\n"
           "  --version   show the version and quit\n"
           "\n"
           "使い方: kanuvo [--mute] [--help] [--version]\n"
           "タイルをすべらせて、スタートからゴールまで道をつなぐパズルです。\n"
           "  --mute      音楽と効果音を消して始めます\n"
           "  --help      この説明を表示して終わります\n"
           "  --version   バージョンを表示して終わります\n";
}

std::string VersionText() { return std::string("kanuvo ") + KANUVO_VERSION + "\n"; }

CommandLineReply ReplyTo(const CommandLine& line) {
    switch (line.action) {
        case CommandLine::Action::Play: return {};
        case CommandLine::Action::Help: return {UsageText(), "", 0};
        case CommandLine::Action::Version: return {VersionText(), "", 0};
        case CommandLine::Action::Refuse:
            return {"",
                    "kanuvo: unknown option '" + line.offending + "' (不明なオプションです)\n\n" + UsageText(),
                    kStatusUsage};
    }
    return {};
}

int PrintReply(const CommandLine& line) {
    const CommandLineReply reply = ReplyTo(line);
    std::fputs(reply.out.c_str(), stdout);
    // An answer that never reached its reader (a full disk, a closed pipe) is no success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "kanuvo: the answer cannot be written: %s\n", std::strerror(errno));
        return kStatusUnwritten;
    }
    std::fputs(reply.err.c_str(), stderr);
    return reply.status;
}

}  // namespace kanuvo
