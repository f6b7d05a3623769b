// SPDX-License-Identifier: MIT
// Muting the game's sound, and the file that keeps the choice between starts.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/settings.h"
#include "doubles.h"
#include "full_disk.h"
#include "game/flow.h"
#include "game/media.h"
#include "game/play.h"

namespace kanuvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kOpen = "open \"/opt/kanuvo/sound/Shellshk.mid\" type sequencer alias gBGMfile";
const std::string kStop = "stop gBGMfile ", kPlay = "play gBGMfile from 0 ";

// The game over the doubles, playing to a recording device.
struct Muting : ::testing::Test {
    testing::ManualClock clock;
    testing::FakeForm form{clock};
    testing::FakeSystem system;
    testing::RecordingSound device;
    Game g{form, system, clock, device};

    void SetUp() override { LoadPictures(g); }
    // One stage-1 run given up with Stop, from start-up, with `during` run between Start and Stop.
    void PlayARun(std::function<void()> during = {}) {
        if (g.TitleTimer.Enabled()) {
            FormLoad(g);
            FormMouseDown(g);
        } else {
            NewGameClick(g);
        }
        StartStopClick(g);
        if (during) during();
        StartStopClick(g);
    }
};

TEST_F(Muting, NothingReachesTheDeviceWhileMutedAndTheGamePlaysOnAsBefore) {
    SetSoundOff(g, true);
    PlayARun();
    PlayARun();
    g.Lives = 0;
    PlayARun();  // Game Over
    EXPECT_TRUE(g.GameOverTimer.Enabled());
    NewGameClick(g);
    testing::LayLeftThenUpRoad(g);
    StartStopClick(g);
    BoardKeyDown(g, 'A');
    AdvanceTime(g);  // cleared
    ExitClick(g);
    FormQueryUnload(g);
    EXPECT_THAT(device.commands, IsEmpty());
    EXPECT_THAT(device.waves, IsEmpty());
    EXPECT_EQ(g.Stage, 2);
}

TEST_F(Muting, MutingStopsTheMusicAtOnceAndUnmutingPlaysItAgainFromItsBeginning) {
    PlayARun([this] {
        device.commands.clear();
        SetSoundOff(g, true);
        EXPECT_THAT(device.commands, ElementsAre(kStop));
        SetSoundOff(g, false);
        EXPECT_THAT(device.commands, ElementsAre(kStop, kPlay));
    });
    EXPECT_EQ(device.commands.back(), kStop);  // the Stop that ended the run

    // Muted outside a run: nothing plays, so unmuting plays nothing either.
    device.commands.clear();
    SetSoundOff(g, true);
    SetSoundOff(g, false);
    EXPECT_THAT(device.commands, IsEmpty());
}

TEST_F(Muting, ATuneHeardToItsEndIsNotPlayedAgainButOneStartedWhileMutedIs) {
    PlayARun([this] {
        device.musicEnded = true;  // the tune has played to its end
        device.commands.clear();
        SetSoundOff(g, true);
        SetSoundOff(g, false);
        EXPECT_THAT(device.commands, ElementsAre(kStop));
    });
    // The next run starts muted: the device still says its last play ended, but this tune never
    // reached it.
    SetSoundOff(g, true);
    device.commands.clear();
    PlayARun([this] { SetSoundOff(g, false); });
    EXPECT_THAT(device.commands, ElementsAre(kPlay, kStop, kStop));
}

TEST_F(Muting, MusicOpenedWhileMutedIsOpenedWhenTheSoundComesBack) {
    SetSoundOff(g, true);
    FormLoad(g);
    FormMouseDown(g);
    StartStopClick(g);
    SetSoundOff(g, false);  // during a run that began muted
    StartStopClick(g);
    // Stop's own, then the miss's.
    EXPECT_THAT(device.commands, ElementsAre(kOpen, kPlay, kStop, kStop));
    // Closed while muted, the music is not opened again.
    SetSoundOff(g, true);
    ExitClick(g);
    SetSoundOff(g, false);
    EXPECT_THAT(device.commands, ElementsAre(kOpen, kPlay, kStop, kStop));
}

struct Settings : ::testing::Test {
    QString Path() const { return dir.filePath("config/kanuvo/kanuvo.ini"); }
    void Write(const QByteArray& bytes) {
        QDir().mkpath(dir.filePath("config/kanuvo"));
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(Settings, TheChoiceSurvivesARestart) {
    EXPECT_EQ(PlayerSettings(Path()).Muted(), std::nullopt);
    PlayerSettings(Path()).SetMuted(true);
    EXPECT_EQ(PlayerSettings(Path()).Muted(), std::optional<bool>(true));
    PlayerSettings(Path()).SetMuted(false);
    EXPECT_EQ(PlayerSettings(Path()).Muted(), std::optional<bool>(false));
    EXPECT_EQ(PlayerSettings("").Muted(), std::nullopt);
    PlayerSettings("").SetMuted(true);  // keeps nothing, harmlessly
    // Each choice changes its own line; the player's other lines stay as they were.
    Write("; mine\n[sound]\nvolume = 3\nmuted=true\n\n[other]\nx=1\n");
    PlayerSettings(Path()).SetMuted(false);
    PlayerSettings(Path()).SetLanguage(Language::English);
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "; mine\n[sound]\nvolume = 3\nmuted=false\n\n[other]\nx=1\n\n[display]\nlanguage=en\n");
}

// Read whole or not at all, and kept aside, whole, by the next choice: nothing the player kept is lost.
TEST_F(Settings, AFileThatCannotBeReadWholeIsIgnoredWholeAndKeptAsideByTheNextChoice) {
    for (const QByteArray& bytes : {QByteArray("\x00\xff\xfe[[[\n=\n\x01", 10), QByteArray("[sound\nmuted=true\n"),
                                    QByteArray("[sound]\nmuted=true\n[display\nlanguage=en\n"),
                                    QByteArray("[sound]\nmuted=true\nlanguage\n[display]\nlanguage=en\n"),
                                    QByteArray("[sound]\nmuted=true\nmuted=false\n"), QByteArray(70000, 'x')}) {
        SCOPED_TRACE(bytes.left(20).toStdString());
        Write(bytes);
        EXPECT_EQ(PlayerSettings(Path()).Muted(), std::nullopt);
        EXPECT_EQ(PlayerSettings(Path()).Language(), std::nullopt);
        PlayerSettings(Path()).SetRoadAssist(true);
        EXPECT_EQ(PlayerSettings(Path()).RoadAssist(), std::optional<bool>(true));
        const QStringList aside = QDir(dir.filePath("config/kanuvo")).entryList({"kanuvo.ini.unreadable-*"});
        ASSERT_EQ(aside.size(), 1);
        QFile kept(dir.filePath("config/kanuvo/" + aside[0]));
        EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == bytes);
        ASSERT_TRUE(kept.remove());
    }
    Write("[sound]\nmuted=maybe\n");
    EXPECT_EQ(PlayerSettings(Path()).Muted(), std::nullopt);
}

TEST_F(Settings, AFolderInThePlaceOfTheFileIsLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(Path()));
    EXPECT_EQ(PlayerSettings(Path()).Muted(), std::nullopt);
    PlayerSettings(Path()).SetMuted(true);
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(Settings, AFullDiskOrASymbolicLinkLeavesTheOldFileAsItWas) {
    const QByteArray kept = "[sound]\nmuted=true\n";
    Write(kept);
    {
        const FullDisk full;
        PlayerSettings(Path()).SetMuted(false);
    }
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kept);

    ASSERT_TRUE(QFile::rename(Path(), dir.filePath("elsewhere.ini")));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere.ini"), Path()));
    PlayerSettings(Path()).SetMuted(false);
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    EXPECT_EQ(PlayerSettings(Path()).Muted(), std::optional<bool>(true));
}

}  // namespace
}  // namespace kanuvo
