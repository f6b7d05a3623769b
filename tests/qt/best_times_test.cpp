// SPDX-License-Identifier: MIT
// The best-times store: kept across sessions, never in the way of the game when it is broken.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "full_disk.h"
#include "platform/qt/best_times_file.h"
#include "platform/regular_file.h"

namespace kanuvo {
namespace {

struct BestTimesStore : ::testing::Test {
    BestTimesStore() { store.SetPath(folder.filePath("data/best_times.json")); }
    void WriteStore(const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(folder.filePath("data")));
        QFile file(store.Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadStore() {
        QFile file(store.Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir folder;
    BestTimesFile store;
};

TEST_F(BestTimesStore, KeepsEachStagesTimeAcrossSessionsInAFolderItMakes) {
    EXPECT_FALSE(store.Load(3).has_value());
    EXPECT_TRUE(store.Save(3, 75));
    EXPECT_TRUE(store.Save(8, 140));
    EXPECT_TRUE(store.Save(3, 61));
    BestTimesFile nextSession;
    nextSession.SetPath(store.Path());
    EXPECT_EQ(nextSession.Load(3), 61);
    EXPECT_EQ(nextSession.Load(8), 140);
    EXPECT_FALSE(nextSession.Load(1).has_value());
    // Only the store itself is left in the folder: the save's temporary file was renamed over it.
    EXPECT_EQ(QDir(folder.filePath("data")).entryList(QDir::Files), QStringList{"best_times.json"});
}

// What a torn write, a bad disk, an editor or a hand leaves: every time that can be read still counts,
// and the file is kept aside whole, with one line naming both files, before the next save replaces it.
TEST_F(BestTimesStore, AStoreNotAsARunWritesItIsReadAsFarAsItCanBeAndKeptAsideByTheNextSave) {
    const QString utf16 = R"({"best":{"2":40}})";
    const struct {
        QByteArray bytes;
        std::map<int, int> times;
    } cases[] = {
        {R"({"best": {"3": 4)", {}},
        {"[1, 2]", {}},
        {R"({"best": 12})", {}},
        {R"({"best":{"2":40,"3":41}} x)", {{2, 40}, {3, 41}}},
        {R"({"best":{"2":40}})" + QByteArray(300, '\0') + "\x13 garbage", {{2, 40}}},
        {R"({"best":{"2":1e400,"3":41,"4":NaN}})", {{3, 41}}},
        {R"({"best":{"2":40},"x":)" + QByteArray(5000, '[') + QByteArray(5000, ']') + "}", {{2, 40}}},
        {"\xff\xfe" + QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2), {{2, 40}}},
        {R"({"best":{"2":40},"best":{"3":41,"2":38}})", {{2, 38}, {3, 41}}},
        {R"({"best": {"2": 44, "0": 5, "10": 5, "x": 5, "4": -3, "5": 30.5, "6": "7", "7": 90, "8": -0.0, "9": 181}})",
         {{2, 44}, {7, 90}}},
        {R"({"best": {"1": 20}})" + QByteArray(70 * 1024, ' '), {}},
    };
    const QDir data(folder.filePath("data"));
    for (auto [bytes, times] : cases) {
        SCOPED_TRACE(bytes.left(40).toStdString());
        WriteStore(bytes);
        for (int stage = 1; stage <= 9; ++stage) {
            EXPECT_EQ(store.Load(stage), times.contains(stage) ? std::optional(times[stage]) : std::nullopt) << stage;
        }
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(store.Save(1, 20));
        const std::string said = ::testing::internal::GetCapturedStderr();
        const QStringList aside = data.entryList({"best_times.json.unreadable-*"});
        ASSERT_EQ(aside.size(), 1);
        EXPECT_TRUE(said.find(store.Path().toStdString() + " could not be read whole") != std::string::npos) << said;
        EXPECT_TRUE(said.ends_with(": kept as " + data.filePath(aside[0]).toStdString() + "\n")) << said;
        QFile kept(data.filePath(aside[0]));
        EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == bytes);
        ASSERT_TRUE(kept.remove());
        times[1] = 20;
        for (const auto& [stage, time] : times) EXPECT_EQ(store.Load(stage), time) << stage;
    }
}

TEST_F(BestTimesStore, AStoreThatIsNoFileIsNeitherReadNorOverwritten) {
    ASSERT_TRUE(QDir().mkpath(store.Path()));  // a folder where the file should be
    EXPECT_FALSE(store.Load(1).has_value());
    EXPECT_FALSE(store.Save(1, 30));
    EXPECT_TRUE(QFileInfo(store.Path()).isDir());
}

TEST_F(BestTimesStore, AFolderThatCannotBeMadeFailsTheSaveAndKeepsNothing) {
    QFile blocker(folder.filePath("data"));  // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(store.Save(1, 30));
    EXPECT_FALSE(store.Load(1).has_value());
}

TEST_F(BestTimesStore, AFullDiskOrASymbolicLinkLeavesTheOldStoreAsItWas) {
    const QByteArray kept = R"({"best":{"1":30,"2":40}})";
    WriteStore(kept);
    {
        const FullDisk full;
        EXPECT_FALSE(store.Save(1, 20));
    }
    EXPECT_EQ(ReadStore(), kept);
    EXPECT_EQ(QDir(folder.filePath("data")).entryList(QDir::Files), QStringList{"best_times.json"});

    // The file a link points to may be anyone's: it is read, never written.
    ASSERT_TRUE(QFile::rename(store.Path(), folder.filePath("elsewhere.json")));
    ASSERT_TRUE(QFile::link(folder.filePath("elsewhere.json"), store.Path()));
    EXPECT_EQ(store.Load(2), 40);
    EXPECT_FALSE(store.Save(1, 20));
    EXPECT_TRUE(QFileInfo(store.Path()).isSymLink());
    EXPECT_EQ(ReadStore(), kept);
}

TEST_F(BestTimesStore, ASaveKeepsTheEntriesItDoesNotUnderstand) {
    WriteStore(R"({"best": {"2": 44}, "player": {"name": "hana"}})");
    EXPECT_TRUE(store.Save(3, 61));
    EXPECT_EQ(QJsonDocument::fromJson(ReadStore()),
              QJsonDocument::fromJson(R"({"best": {"2": 44, "3": 61}, "player": {"name": "hana"}})"));
}

TEST(UserFolders, ARelativeXdgFolderIsIgnoredAndWithoutAHomeNothingIsKept) {
    const QByteArray home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(BestTimesFile().Path(), QString::fromLocal8Bit(home + "/.local/share/kanuvo/best_times.json"));
    qputenv("HOME", "");
    EXPECT_EQ(UserFolder("XDG_DATA_HOME", ".local/share"), "");
    EXPECT_FALSE(BestTimesFile().Save(1, 30));
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", data);
}

}  // namespace
}  // namespace kanuvo
