// SPDX-License-Identifier: MIT
// System services: the tick count, ending, the single-copy lock against a live and a killed copy,
// message boxes, screen size, pictures and pointer shapes over our own window only.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/main_form.h"
#include "platform/qt/qt_system.h"

namespace kanuvo {
namespace {

TEST(QtClockTest, CountsMillisecondsAndWrapsAt32Bits) {
    QtClock clock(0xFFFFFFF0u);
    const std::uint32_t first = clock.Now();
    EXPECT_LT(static_cast<std::uint32_t>(first - 0xFFFFFFF0u), 1000u);
    // Across the wrap the difference of two readings is still the time between them.
    QtClock nearWrap(0xFFFFFFFFu);
    const std::uint32_t before = nearWrap.Now();
    QtClock plain;
    const std::uint32_t start = plain.Now();
    while (plain.Now() - start < 5) {
    }
    const std::uint32_t after = nearWrap.Now();
    EXPECT_GE(after - before, 5u);
    EXPECT_LT(after - before, 1000u);
}

class LockTest : public ::testing::Test {
protected:
    QString LockPath() const { return folder.filePath(QStringLiteral("kanuvo.lock")); }
    QTemporaryDir folder;
};

// Another copy of the program holding the lock, in a process of its own.
class OtherCopy {
public:
    explicit OtherCopy(const QString& lockPath) {
        process_.start(QStringLiteral(KANUVO_LOCK_HOLDER), {lockPath});
        started_ = process_.waitForStarted() && process_.waitForReadyRead(5000);
        answer_ = process_.readLine().trimmed().toStdString();
    }
    ~OtherCopy() { Kill(); }
    bool Started() const { return started_; }
    const std::string& Answer() const { return answer_; }
    bool Running() const { return process_.state() == QProcess::Running; }
    // Killed outright, as a crash would end it: its lock file stays behind.
    void Kill() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
    bool started_ = false;
    std::string answer_;
};

TEST_F(LockTest, ASecondCopyIsRefusedAndTheFirstKeepsItsLock) {
    OtherCopy first(LockPath());
    ASSERT_TRUE(first.Started());
    ASSERT_EQ(first.Answer(), "locked");
    QtSystem second;
    second.SetLockPath(LockPath());
    EXPECT_TRUE(second.AnotherCopyRuns());
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(QFile::exists(LockPath()));
    QtSystem third;
    third.SetLockPath(LockPath());
    EXPECT_TRUE(third.AnotherCopyRuns());
}

TEST_F(LockTest, ALockLeftByAKilledCopyDoesNotBlockANewStart) {
    OtherCopy crashed(LockPath());
    ASSERT_EQ(crashed.Answer(), "locked");
    crashed.Kill();
    ASSERT_TRUE(QFile::exists(LockPath()));
    QtSystem system;
    system.SetLockPath(LockPath());
    EXPECT_FALSE(system.AnotherCopyRuns());
    EXPECT_FALSE(system.AnotherCopyRuns()) << "asking again does not find ourselves";
    QtSystem another;
    another.SetLockPath(LockPath());
    EXPECT_TRUE(another.AnotherCopyRuns());
}

TEST_F(LockTest, ALockFileWhoseOwnerCannotBeReadIsStale) {
    // Left by a crash while it was written, or damaged since: before, each of these kept every
    // later start out until the file was deleted by hand.
    const QByteArray contents[] = {"", "\n\n\n", "not a process\nkanuvo\nhost\n", QByteArray("\xff\x00\x13\x37", 4),
                                   "-5\n", QByteArray(5000, 'x')};
    for (const QByteArray& content : contents) {
        SCOPED_TRACE(content.left(20).toHex().toStdString());
        QFile file(LockPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        QtSystem system;
        system.SetLockPath(LockPath());
        EXPECT_FALSE(system.AnotherCopyRuns());
        QtSystem second;
        second.SetLockPath(LockPath());
        EXPECT_TRUE(second.AnotherCopyRuns()) << "the lock taken over is held";
    }
}

TEST_F(LockTest, ALockFileNamingALiveCopyOfOursStillRefuses) {
    // The file as a running copy writes it, this test standing for that copy; left without the
    // file lock a copy holds while it runs, so only what the file says keeps a second copy out.
    QByteArray written;
    {
        QLockFile ours(LockPath());
        ASSERT_TRUE(ours.tryLock(0));
        QFile file(LockPath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        written = file.readAll();
    }
    QFile file(LockPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(written);
    file.close();
    QtSystem second;
    second.SetLockPath(LockPath());
    EXPECT_TRUE(second.AnotherCopyRuns());
    EXPECT_TRUE(QFile::exists(LockPath()));
}

TEST_F(LockTest, ALockLeftOnAnotherMachineSharingTheHomeIsTakenOverOnceNoCopyHoldsIt) {
    OtherCopy live(LockPath());
    ASSERT_EQ(live.Answer(), "locked");
    // Its file as a copy on another machine writes it: this one cannot ask whether that copy runs.
    QFile file(LockPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("4242\nkanuvo\nelsewhere\n") > 0);
    file.close();
    QtSystem second;
    second.SetLockPath(LockPath());
    EXPECT_TRUE(second.AnotherCopyRuns()) << "its copy still holds the file";
    live.Kill();
    ASSERT_TRUE(QFile::exists(LockPath()));
    EXPECT_FALSE(second.AnotherCopyRuns());
}

TEST_F(LockTest, OneCopyPerPlayersDataWhateverItsRuntimeFolderAndNoRecordsWhereItsDataCannotBeLocked) {
    const QByteArray data = qgetenv("XDG_DATA_HOME"), runtime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir one, two;
    std::vector<std::unique_ptr<QtSystem>> copies;
    const auto start = [&](const char* dataFolder, const QTemporaryDir& runtimeFolder) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(dataFolder)));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
        copies.push_back(std::make_unique<QtSystem>());
        return copies.back()->AnotherCopyRuns();
    };
    EXPECT_FALSE(start("data", one));
    EXPECT_TRUE(copies.back()->KeepsRecords());
    EXPECT_TRUE(start("data", two)) << "another session of the same player";
    // A folder with files in it where the lock belongs is left alone: each session plays once, and
    // keeps no best times that another copy could be writing too.
    ASSERT_TRUE(QDir().mkpath(folder.filePath(QStringLiteral("blocked/kanuvo/kanuvo.lock/kept"))));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(start("blocked", two));
    EXPECT_EQ(::testing::internal::GetCapturedStderr().rfind("kanuvo: no lock against a second copy can be made in ", 0), 0u);
    copies.back()->SaveBestTime(1, 30);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("blocked/kanuvo/best_times.json"))));
    EXPECT_TRUE(start("blocked", two)) << "a second copy in the same session";
    EXPECT_FALSE(start("blocked", one));
    EXPECT_FALSE(copies.back()->KeepsRecords());
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("blocked/kanuvo/kanuvo.lock/kept"))).isDir());
    qputenv("XDG_DATA_HOME", data);
    qputenv("XDG_RUNTIME_DIR", runtime);

    // An empty folder in the lock's place gives way to it.
    ASSERT_TRUE(QDir().mkpath(LockPath()));
    QtSystem last;
    last.SetLockPath(LockPath());
    EXPECT_FALSE(last.AnotherCopyRuns());
    EXPECT_TRUE(QFileInfo(LockPath()).isFile());
}

TEST_F(LockTest, EndRunsTheShutdownHooksReleasesTheLockAndExits) {
    const QString path = LockPath();
    EXPECT_EXIT(
        {
            QtSystem system;
            system.SetLockPath(path);
            if (system.AnotherCopyRuns()) std::fputs("no lock\n", stderr);
            system.AddShutdownHook([] { std::fputs("sound released\n", stderr); });
            system.End(EXIT_SUCCESS);
        },
        ::testing::ExitedWithCode(0), "sound released");
    EXPECT_FALSE(QFile::exists(path));
}

TEST(QtSystemTest, MessageBoxesGoToTheHookWhenOneIsSet) {
    QtSystem system;
    std::string shown;
    system.SetMessageHook([&](std::string_view text) { shown = text; });
    system.ShowMessage("メモリーが足りません。");
    EXPECT_EQ(shown, "メモリーが足りません。");
}

TEST(QtSystemTest, ScreenAndFolder) {
    QtSystem system;
    system.SetScreenOverride(768);
    EXPECT_EQ(system.ScreenHeight(), 768);
    EXPECT_EQ(QString::fromStdString(system.ProgramFolder()),
              QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
    EXPECT_FALSE(system.ProgramFolder().ends_with('/'));
}

TEST(QtSystemTest, PicturesLoadByIdAndAMissingOneIsNull) {
    QTemporaryDir folder;
    QImage image(652, 650, QImage::Format_RGB888);
    image.fill(QColor(255, 51, 51));
    ASSERT_TRUE(image.save(folder.filePath(QStringLiteral("109.bmp")), "BMP"));
    QtSystem system;
    EXPECT_EQ(system.LoadPicture(109), nullptr) << "nothing is built into the tests";
    system.SetPicturePrefix(folder.path() + QStringLiteral("/"));
    const auto title = system.LoadPicture(109);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Width(), 652);
    EXPECT_EQ(title->Height(), 650);
    EXPECT_EQ(system.LoadPicture(110), nullptr);
}

// A 16 x 16 one-colour .cur file with its hot spot at (3, 4).
QByteArray SmallCursor() {
    QByteArray file;
    auto put = [&](std::uint32_t v, int count) {
        for (int i = 0; i < count; ++i) file.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(0, 2), put(2, 2), put(1, 2);
    put(16, 1), put(16, 1), put(0, 2), put(3, 2), put(4, 2), put(40 + 8 + 64 + 64, 4), put(22, 4);
    put(40, 4), put(16, 4), put(32, 4), put(1, 2), put(1, 2), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    put(2, 4), put(0, 4);
    put(0, 4), put(0xFFFFFF, 4);
    for (int row = 0; row < 16; ++row) put(0xFFFF, 4);
    for (int row = 0; row < 16; ++row) put(0, 4);
    return file;
}

TEST(QtSystemTest, PointerShapesReplaceTheArrowOverOurWindowOnly) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("H_point.cur"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(SmallCursor());
    out.close();
    QFile garbage(folder.filePath(QStringLiteral("garbage.cur")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a cursor at all");
    garbage.close();

    QtClock clock;
    MainForm form(clock);
    QtSystem system;
    system.SetCursorWindow(&form);
    EXPECT_EQ(system.Pointer(), QtSystem::kStandardArrow);
    EXPECT_EQ(system.LoadPointerFile(folder.filePath(QStringLiteral("missing.cur")).toStdString()), 0u);
    EXPECT_EQ(system.LoadPointerFile(garbage.fileName().toStdString()), 0u);
    const CursorHandle hand = system.LoadPointerFile(path.toStdString());
    ASSERT_NE(hand, 0u);
    EXPECT_NE(hand, QtSystem::kStandardArrow);

    EXPECT_FALSE(system.SetPointer(hand + 10));
    EXPECT_EQ(system.Pointer(), QtSystem::kStandardArrow);

    EXPECT_TRUE(system.SetPointer(hand));
    EXPECT_EQ(system.Pointer(), hand);
    EXPECT_EQ(form.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form.cursor().hotSpot(), QPoint(3, 4));
    // Controls show the window's pointer, the gauge included.
    EXPECT_EQ(form.GaugeFrame().Widget().cursor().hotSpot(), QPoint(3, 4));
    EXPECT_EQ(form.BoardView().Widget()->cursor().shape(), Qt::BitmapCursor);

    const CursorHandle saved = QtSystem::kStandardArrow;
    EXPECT_TRUE(system.SetPointer(saved));
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(system.Pointer(), saved);
}

// Folders named with a quote, blanks and bytes that are not UTF-8: any name the file system allows.
const std::string kOddFolder = "a\"b c\xff\xfe";

TEST(QtSystemTest, TheProgramsFolderIsFoundWhateverItsName) {
    QTemporaryDir scratch;
    const std::filesystem::path folder = std::filesystem::path(scratch.path().toStdString()) / kOddFolder;
    std::filesystem::create_directories(folder);
    const auto probe = folder / "probe";
    std::filesystem::copy_file(KANUVO_PATH_PROBE, probe);
    FILE* out = ::popen(("'" + probe.string() + "'").c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string said;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) said.append(buffer, n);
    EXPECT_EQ(::pclose(out), 0);
    EXPECT_EQ(said, folder.string());
}

TEST(QtSystemTest, PointerFilesAreReadFromAnyFolderAndNeverFromAPipeOrDevice) {
    QTemporaryDir scratch;
    const std::filesystem::path folder = std::filesystem::path(scratch.path().toStdString()) / kOddFolder;
    std::filesystem::create_directories(folder);
    {
        std::ofstream cursor(folder / "H_point.cur", std::ios::binary);
        const QByteArray bytes = SmallCursor();
        cursor.write(bytes.data(), bytes.size());
    }
    ASSERT_EQ(::mkfifo((folder / "pipe.cur").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "zero.cur");
    std::filesystem::create_directory(folder / "folder.cur");

    QtSystem system;
    EXPECT_NE(system.LoadPointerFile((folder / "H_point.cur").string()), 0u);
    // A pipe nobody writes would hold the window's thread in open for good: the test ends failed.
    auto done = std::make_shared<std::promise<CursorHandle>>();
    auto pipe = done->get_future();
    const std::string pipePath = (folder / "pipe.cur").string();
    std::thread([done, pipePath, &system] { done->set_value(system.LoadPointerFile(pipePath)); }).detach();
    if (pipe.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        std::fputs("reading a pointer file from a pipe hangs\n", stderr);
        std::_Exit(1);
    }
    EXPECT_EQ(pipe.get(), 0u);
    EXPECT_EQ(system.LoadPointerFile((folder / "zero.cur").string()), 0u);
    EXPECT_EQ(system.LoadPointerFile((folder / "folder.cur").string()), 0u);
}

}  // namespace
}  // namespace kanuvo
