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

TEST_F(BestTimesStore, ACorruptStoreReadsAsEmptyAndTheNextSaveReplacesIt) {
    for (const QByteArray& corrupt : {QByteArray("{\"best\": {\"3\": 4"), QByteArray("[1, 2]"),
                                      QByteArray("\xff\xfe garbage"), QByteArray("{\"best\": 12}")}) {
        WriteStore(corrupt);
        EXPECT_FALSE(store.Load(3).has_value()) << corrupt.constData();
    }
    EXPECT_TRUE(store.Save(3, 50));
    EXPECT_EQ(store.Load(3), 50);
}

TEST_F(BestTimesStore, NonsenseEntriesAreDroppedAndTheRestKept) {
    WriteStore(R"({"best": {"2": 44, "0": 5, "10": 5, "x": 5, "4": -3, "5": 12.5, "6": "7", "7": 90}})");
    EXPECT_EQ(store.Load(2), 44);
    EXPECT_EQ(store.Load(7), 90);
    for (int stage : {0, 4, 5, 6, 10}) EXPECT_FALSE(store.Load(stage).has_value()) << stage;
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

TEST_F(BestTimesStore, AnOversizedStoreIsNotRead) {
    WriteStore("{\"best\": {\"1\": 20}}" + QByteArray(70 * 1024, ' '));
    EXPECT_FALSE(store.Load(1).has_value());
    EXPECT_FALSE(store.Save(1, 10));  // it cannot be read, so it is left alone
    EXPECT_GT(ReadStore().size(), 70 * 1024);
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
    WriteStore(R"({"best": {"2": 44, "10": 5, "x": "y"}, "player": "hana"})");
    EXPECT_TRUE(store.Save(3, 61));
    EXPECT_EQ(QJsonDocument::fromJson(ReadStore()),
              QJsonDocument::fromJson(R"({"best": {"2": 44, "3": 61, "10": 5, "x": "y"}, "player": "hana"})"));
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
