// SPDX-License-Identifier: MIT
// The program's command line: the options a player may give, what they ask for, and the usage text.
#include "app/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QString>

namespace kanuvo {

namespace {

constexpr int kStatusUsage = 2;  // a command-line mistake, as for most command-line programs
constexpr int kStatusUnwritten = 1;

constexpr Text kUsage = KANUVO_TEXT("CommandLine",
    "使い方: kanuvo [--mute] [--lang ja|en] [--help] [--version]\n"
    "タイルをすべらせて、スタートからゴールまで道をつなぐパズルです。\n"
    "  --mute         音楽と効果音を消して始めます\n"
    "  --lang ja|en   日本語 (ja) か英語 (en) で遊びます\n"
    "  --help         この説明を表示して終わります\n"
    "  --version      バージョンを表示して終わります\n");
constexpr Text kUnknownOption = KANUVO_TEXT("CommandLine", "kanuvo: '%1' は知らないオプションです");
constexpr Text kUnknownLanguage = KANUVO_TEXT("CommandLine", "kanuvo: --lang には ja か en を付けてください ('%1')");

// Takes the language --lang names, or refuses it.
bool TakeLanguage(CommandLine& line, const std::string& name) {
    line.language = LanguageNamed(name);
    if (line.language) return true;
    line.action = CommandLine::Action::Refuse;
    line.offending = name;
    line.badLanguage = true;
    return false;
}

std::string Filled(const Text& text, const std::string& value) {
    return Translated(text).arg(QString::fromStdString(value)).toStdString();
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool expectLanguage = false;  // the argument before was --lang
    for (const std::string& argument : arguments) {
        if (expectLanguage) {
            expectLanguage = false;
            if (!TakeLanguage(line, argument)) return line;
            continue;
        }
        // Read to the end all the same: a --lang after --help still chooses its language.
        if (argument == "--help" || argument == "-h" || argument == "--version") {
            if (line.action == CommandLine::Action::Play) {
                line.action = argument == "--version" ? CommandLine::Action::Version : CommandLine::Action::Help;
            }
            continue;
        }
        if (argument == "--mute") {
            line.mute = true;
            continue;
        }
        if (argument == "--lang" || argument.starts_with("--lang=")) {
            expectLanguage = argument == "--lang";
            if (!expectLanguage && !TakeLanguage(line, argument.substr(7))) return line;
            continue;
        }
        line.action = CommandLine::Action::Refuse;
        line.offending = argument;
        return line;
    }
    if (expectLanguage) TakeLanguage(line, "");
    return line;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    return ParseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + std::max(argc, 0)));
}

std::string UsageText() { return Translated(kUsage).toStdString(); }

std::string VersionText() { return std::string("kanuvo ") + KANUVO_VERSION + "\n"; }

CommandLineReply ReplyTo(const CommandLine& line) {
    switch (line.action) {
        case CommandLine::Action::Play: return {};
        case CommandLine::Action::Help: return {UsageText(), "", 0};
        case CommandLine::Action::Version: return {VersionText(), "", 0};
        case CommandLine::Action::Refuse:
            return {"", Filled(line.badLanguage ? kUnknownLanguage : kUnknownOption, line.offending) + "\n\n" + UsageText(),
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
