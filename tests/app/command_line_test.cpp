// SPDX-License-Identifier: MIT
// The command line: what each argument asks for, and what is printed with which exit status.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <map>

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
        EXPECT_EQ(reply.out.rfind("使い方: kanuvo [--mute] [--lang ja|en] [--help] [--version]\n", 0), 0u);
        EXPECT_NE(reply.out.find("\n  --lang ja|en   日本語 (ja) か英語 (en) で遊びます\n"), std::string::npos);
        EXPECT_EQ(reply.err, "");
    }
    ASSERT_TRUE(SpeakLanguage(Language::English));
    const std::string english = ReplyTo(ParseCommandLine({"--help"})).out;
    SpeakLanguage(Language::Japanese);
    EXPECT_EQ(english.rfind("Usage: kanuvo [--mute] [--lang ja|en] [--help] [--version]\n", 0), 0u);
    EXPECT_NE(english.find("\n  --lang ja|en   play in Japanese (ja) or English (en)\n"), std::string::npos);
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
        EXPECT_EQ(reply.err.rfind("kanuvo: '" + arguments.back() + "' は知らないオプションです\n\n使い方: kanuvo", 0), 0u);
    }
}

TEST(CommandLine, LangNamesJapaneseOrEnglishAndNothingElse) {
    EXPECT_EQ(ParseCommandLine({"--lang", "en", "--mute"}).language, Language::English);
    EXPECT_EQ(ParseCommandLine({"--lang=en", "--lang=ja"}).language, Language::Japanese) << "the last one counts";
    EXPECT_EQ(ParseCommandLine({"--mute"}).language, std::nullopt);
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--lang", "fr"}, {"--lang=english"},
                                                      {"--lang"}, {"--lang", "--mute"}, {"--lang="}}) {
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_EQ(line.action, Action::Refuse) << arguments.back();
        EXPECT_EQ(ReplyTo(line).err.rfind("kanuvo: --lang には ja か en を付けてください", 0), 0u) << arguments.back();
    }
}

TEST(CommandLine, OptionsCountInAnyOrder) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help", "--lang", "en"}, {"--lang=en", "-h"}}) {
        EXPECT_EQ(ParseCommandLine(arguments).action, Action::Help);
        EXPECT_EQ(ParseCommandLine(arguments).language, Language::English);
    }
    EXPECT_EQ(ParseCommandLine({"--version", "--mute"}).action, Action::Version);
}

// Each case is LANGUAGE|LC_ALL|LC_MESSAGES|LANG, an empty field an unset variable, and the language.
TEST(Locale, LanguageFirstThenTheFirstOfLcAllLcMessagesAndLangThatIsSetDecides) {
    for (const auto& [environment, expected] : std::map<std::string, Language>{
             {"en|||C.UTF-8", Language::English}, {"fr:en:ja|ja_JP.UTF-8||", Language::English},
             {"fr|||en_US.UTF-8", Language::English}, {"||ja_JP|en_GB.UTF-8", Language::Japanese},
             {"|C||en_US.UTF-8", Language::Japanese}, {"|||POSIX", Language::Japanese}, {"|||", Language::Japanese}}) {
        const QList<QByteArray> values = QByteArray::fromStdString(environment).split('|');
        const auto variable = [&values](const char* name) -> const char* {
            const QByteArray& value = values[QList<QByteArray>{"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}.indexOf(name)];
            return value.isEmpty() ? nullptr : value.constData();
        };
        EXPECT_EQ(LanguageOfLocale(variable), expected) << environment;
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
