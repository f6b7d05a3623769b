// SPDX-License-Identifier: MIT
// The command line: what each argument asks for, and what is printed with which exit status.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace kanuvo {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, PlaysWithoutArgumentsAndTakesMuteAsAFlag) {
    EXPECT_EQ(ParseCommandLine(std::vector<std::string>{}).action, Action::Play);
    EXPECT_FALSE(ParseCommandLine(std::vector<std::string>{}).mute);
    const CommandLine muted = ParseCommandLine({"--mute"});
    EXPECT_EQ(muted.action, Action::Play);
    EXPECT_TRUE(muted.mute);
    const char* argv[] = {"/usr/bin/kanuvo", "--mute"};
    EXPECT_TRUE(ParseCommandLine(2, argv).mute) << "the program's own name is not an argument";
    EXPECT_EQ(ParseCommandLine(1, argv).action, Action::Play);
}

TEST(CommandLine, HelpAndVersionAnswerOnTheOutputAndEndWell) {
    for (const char* help : {"--help", "-h"}) {
        const CommandLineReply reply = ReplyTo(ParseCommandLine({help}));
        EXPECT_EQ(reply.status, 0);
        EXPECT_EQ(reply.out.rfind("Usage: kanuvo [--mute] [--help] [--version]\n", 0), 0u);
        EXPECT_NE(reply.out.find("\n使い方: kanuvo [--mute] [--help] [--version]\n"), std::string::npos);
        EXPECT_EQ(reply.err, "");
    }
    const CommandLineReply version = ReplyTo(ParseCommandLine({"--mute", "--version"}));
    EXPECT_EQ(version.out, "kanuvo " KANUVO_EXPECTED_VERSION "\n");
    EXPECT_EQ(version.status, 0);
}

TEST(CommandLine, AnythingElseIsRefusedWithTheUsageAndStatusTwo) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--mutes"}, {"-m"}, {"stage3"}, {"--mute", "--fullscreen"}, {"--help=1"}, {""}}) {
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_EQ(line.action, Action::Refuse) << arguments.back();
        EXPECT_EQ(line.offending, arguments.back());
        const CommandLineReply reply = ReplyTo(line);
        EXPECT_EQ(reply.status, 2);
        EXPECT_EQ(reply.out, "");
        EXPECT_EQ(reply.err.rfind("kanuvo: unknown option '" + arguments.back() + "'", 0), 0u);
        EXPECT_NE(reply.err.find("Usage: kanuvo"), std::string::npos);
    }
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenFailsWithAMessage) {
    EXPECT_EXIT(
        {
            if (std::freopen("/dev/full", "w", stdout) == nullptr) std::_Exit(9);
            std::exit(PrintReply(ParseCommandLine({"--help"})));
        },
        ::testing::ExitedWithCode(1), "kanuvo: the answer cannot be written: No space left on device");
}

}  // namespace
}  // namespace kanuvo
