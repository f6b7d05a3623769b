// SPDX-License-Identifier: MIT
// The program's command line: the options a player may give, what they ask for, and the usage text.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/qt/language.h"

namespace kanuvo {

struct CommandLine {
    enum class Action {
        Play,     // start the game
        Help,     // print the usage and stop
        Version,  // print the version and stop
        Refuse,   // an option we do not know: the usage on the error stream, exit status 2
    };
    Action action = Action::Play;
    bool mute = false;                  // --mute: start with every sound off
    std::optional<Language> language;  // --lang ja|en: the language asked for
    std::string offending;              // the argument that was refused
    bool badLanguage = false;           // refused for naming a language the game does not speak
};

// Reads the arguments that follow the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
CommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage, in the spoken language.
std::string UsageText();

// "kanuvo <version>" with the project's version.
std::string VersionText();

// What the program prints for a command line that stops before the game starts, and its exit status.
struct CommandLineReply {
    std::string out;
    std::string err;
    int status = 0;
};
CommandLineReply ReplyTo(const CommandLine& line);

// Prints the reply to the standard streams and returns its exit status.
int PrintReply(const CommandLine& line);

}  // namespace kanuvo
