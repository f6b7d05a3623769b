// SPDX-License-Identifier: MIT
// The real sound layer on the disk driver against a scratch copy of sound/ broken in the ways a
// player's machine can break it, and in folders with odd names: every failure is silence, never a
// crash, a hang or a memory flood.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "disk_output.h"
#include "platform/sdl/sdl_sound.h"

namespace kanuvo {
namespace {

namespace fs = std::filesystem;

const fs::path kBuiltSounds = KANUVO_SOUND_DIR;

// Runs one call of the sound layer; a call that has not returned after a few seconds is hung on a
// file, and a hung read cannot be taken back, so the whole test program ends failed.
template <class Result>
Result Within(const std::string& what, const std::function<Result()>& call) {
    auto done = std::make_shared<std::promise<Result>>();
    auto result = done->get_future();
    std::thread([done, call] { done->set_value(call()); }).detach();
    if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        std::fprintf(stderr, "%s did not return: the sound layer hangs on the file\n", what.c_str());
        std::_Exit(1);
    }
    return result.get();
}

void WriteFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A copy of the built sound/ folder under a folder of the given name.
class ScratchSound : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path CopyOfSounds(const std::string& folderName) {
        const fs::path sound = root_ / folderName / "sound";
        fs::create_directories(sound);
        fs::copy(kBuiltSounds, sound, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        return sound;
    }

    // Puts a broken file of the given kind in place of `file`.
    static void Break(const fs::path& file, const std::string& kind) {
        const std::string good = ReadAll(kBuiltSounds / file.filename());
        fs::remove_all(file);
        if (kind == "a folder") {
            fs::create_directory(file);
        } else if (kind == "a link to an endless device") {
            fs::create_symlink("/dev/zero", file);
        } else if (kind == "a pipe nobody writes") {
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        } else if (kind == "empty") {
            WriteFile(file, "");
        } else if (kind == "cut short") {
            WriteFile(file, good.substr(0, 40));
        } else if (kind == "random bytes") {
            std::string noise(5000, '\0');
            std::uint32_t x = 12345;
            for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
            WriteFile(file, noise);
        } else if (kind == "unreadable") {
            WriteFile(file, good);
            fs::permissions(file, fs::perms::none);
        } else if (kind == "huge") {
            // The real file's header and body, then a body grown to 40 MB: too large to be a sound of ours.
            WriteFile(file, good);
            fs::resize_file(file, 40u << 20);
        }
    }

    // The built file back in place of a broken one.
    static void Mend(const fs::path& file) {
        std::error_code ec;
        fs::permissions(file, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(file);
        fs::copy_file(kBuiltSounds / file.filename(), file);
    }

    // Puts each broken kind in turn in place of `file`, checks what the player makes of it, and mends it.
    static void WithEachBrokenKind(const fs::path& file, const std::function<void(const std::string& kind)>& check);

    static std::string ReadAll(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // What the sound mixes: silence, or a sound that plays.
    bool SoundsNext() const { return disk_.SoundsNext(); }

    fs::path root_ = fs::temp_directory_path() / ("kanuvo_bad_files_" + std::to_string(::getpid()));
    testing::DiskOutput disk_{(root_ / "out.raw").string()};
};

// Read as root, an unreadable file still reads: it is the real file then, and plays.
bool ReadsAnyway(const std::string& kind) { return kind == "unreadable" && ::geteuid() == 0; }

// Last, the unreadable file, which may play.
const char* const kBrokenKinds[] = {"a folder", "a link to an endless device", "a pipe nobody writes", "empty",
                                    "cut short", "random bytes", "huge", "unreadable"};

void ScratchSound::WithEachBrokenKind(const fs::path& file, const std::function<void(const std::string&)>& check) {
    for (const char* kind : kBrokenKinds) {
        SCOPED_TRACE(kind);
        Break(file, kind);
        check(kind);
        Mend(file);
    }
}

TEST_F(ScratchSound, EveryBrokenMusicFileMeansSilenceAndOneLineSaysWhy) {
    const fs::path sound = CopyOfSounds("game");
    const fs::path music = sound / "Shellshk.mid";
    WithEachBrokenKind(music, [&](const std::string& kind) {
        SdlSound player;
        ::testing::internal::CaptureStderr();
        Within<int>(kind, [&] {
            player.OpenMusic(music.string());
            player.PlayMusicFromStart();
            return 0;
        });
        const std::string said = ::testing::internal::GetCapturedStderr();
        // The decoder makes what it can of the tune's first bytes.
        if (ReadsAnyway(kind) || kind == "cut short") return;
        EXPECT_FALSE(SoundsNext());
        EXPECT_EQ(said.rfind("kanuvo: no music: " + music.string() + ": ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    });
    SdlSound player;
    player.OpenMusic(music.string());
    player.PlayMusicFromStart();
    EXPECT_TRUE(SoundsNext()) << "the good file plays after all the broken ones";
}

TEST_F(ScratchSound, TheMusicPlaysWithTheSystemsSoundFontWhereItsOwnIsBroken) {
    const fs::path sound = CopyOfSounds("game");
    SdlSound player;
    WithEachBrokenKind(sound / "Shellshk.sf2", [&](const std::string& kind) {
        Within<int>(kind, [&] {
            player.OpenMusic((sound / "Shellshk.mid").string());
            player.PlayMusicFromStart();
            return 0;
        });
        EXPECT_TRUE(SoundsNext());
        player.CloseMusic();
    });
}

TEST_F(ScratchSound, EveryBrokenEffectPlaysNothing) {
    const fs::path sound = CopyOfSounds("game");
    SdlSound player;
    const fs::path effect = sound / "stop1.wav";
    WithEachBrokenKind(effect, [&](const std::string& kind) {
        Within<int>(kind, [&] {
            player.PlayEffect(effect.string());
            return 0;
        });
        if (!ReadsAnyway(kind)) {
            EXPECT_FALSE(SoundsNext());
        }
    });
    player.PlayEffect((sound / "goal.wav").string());
    EXPECT_TRUE(SoundsNext());
}

TEST_F(ScratchSound, AnyFolderNameTheFileSystemAllowsWorks) {
    // Quotes in the folder's name, also one that reads like a media command; a name that is not
    // UTF-8; blanks.
    const std::string names[] = {"My \"Best\" Games", "a\" b", "\"", "x\" type sequencer alias \"y",
                                 "caf\xe9 \xff\xfe", "with  two blanks "};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        SdlSound player;
        const std::string folder = CopyOfSounds(name).string();
        player.OpenMusic(folder + "/Shellshk.mid");
        player.PlayMusicFromStart();
        EXPECT_TRUE(SoundsNext());
        player.CloseMusic();
        player.PlayEffect(folder + "/goal.wav");
        EXPECT_TRUE(SoundsNext());
    }
}

}  // namespace
}  // namespace kanuvo
