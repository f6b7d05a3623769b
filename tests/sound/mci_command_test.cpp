// SPDX-License-Identifier: MIT
// Reading the media-control command texts, without any audio.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sdl/mci_command.h"

namespace kanuvo {
namespace {

TEST(MciCommand, ReadsTheGamesFourCommands) {
    const auto open = ParseMciCommand("open \"/opt/My Game/sound/Shellshk.mid\" type sequencer alias gBGMfile");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->verb, MciVerb::Open);
    EXPECT_EQ(open->path, "/opt/My Game/sound/Shellshk.mid");
    EXPECT_EQ(open->type, "sequencer");
    EXPECT_EQ(open->alias, "gBGMfile");

    const auto play = ParseMciCommand("play gBGMfile from 0 ");
    ASSERT_TRUE(play);
    EXPECT_EQ(play->verb, MciVerb::Play);
    EXPECT_EQ(play->alias, "gBGMfile");

    const auto stop = ParseMciCommand("stop gBGMfile ");
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->verb, MciVerb::Stop);
    EXPECT_EQ(stop->alias, "gBGMfile");

    const auto close = ParseMciCommand("close gBGMfile ");
    ASSERT_TRUE(close);
    EXPECT_EQ(close->verb, MciVerb::Close);
    EXPECT_EQ(close->alias, "gBGMfile");
}

TEST(MciCommand, ToleratesCaseBlanksAndUnquotedPaths) {
    const auto open = ParseMciCommand("  OPEN\t\"C:\\Game\\sound\\Shellshk.mid\"   TYPE Sequencer  ALIAS  gBGMfile  ");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->path, "C:\\Game\\sound\\Shellshk.mid");
    EXPECT_EQ(open->type, "sequencer");
    EXPECT_EQ(open->alias, "gBGMfile");

    const auto bare = ParseMciCommand("open /tmp/tune.mid");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->alias, "/tmp/tune.mid") << "without an alias the file's own name is used";
    EXPECT_TRUE(bare->type.empty());

    EXPECT_TRUE(ParseMciCommand("Play   gBGMfile   FROM   0"));
    EXPECT_TRUE(ParseMciCommand("play gBGMfile"));
}

TEST(MciCommand, RefusesAnythingElse) {
    for (const char* text : {"", "   ", "open", "pause gBGMfile", "play", "play gBGMfile from",
                             "play gBGMfile from x", "play gBGMfile from -1",
                             "play gBGMfile from 250", "play gBGMfile to 0",
                             "open \"/unterminated/path type sequencer alias a", "open a.mid alias",
                             "open a.mid colour red", "stop gBGMfile now", "close", "open \"\" alias a"}) {
        EXPECT_FALSE(ParseMciCommand(text)) << '"' << text << '"';
    }
}

TEST(NativePath, TurnsBackslashesIntoSlashesOnlyWhenThePathIsNotThere) {
    const auto dir = std::filesystem::temp_directory_path() / ("kanuvo_native_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "sound");
    std::ofstream(dir / "sound" / "goal.wav") << "x";
    const std::string folder = dir.string();
    EXPECT_EQ(NativePath(folder + "\\sound\\goal.wav"), folder + "/sound/goal.wav");
    EXPECT_EQ(NativePath(folder + "/sound/goal.wav"), folder + "/sound/goal.wav");
    // A file whose own name holds a backslash is left as it is.
    std::ofstream(dir / "a\\b.wav") << "x";
    EXPECT_EQ(NativePath(folder + "/a\\b.wav"), folder + "/a\\b.wav");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kanuvo
