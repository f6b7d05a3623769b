// SPDX-License-Identifier: MIT
// The sound thread: calls given before the module is ready reach it in order, a module that is
// missing, broken or damaged is refused with one line on standard error before the loader sees it,
// and the thread ends however early or late it is asked to (one that cannot finish is the program's
// test).
#include <dlfcn.h>
#include <elf.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/sound_worker.h"

namespace kanuvo {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// The digest of the module at path as it is now, which the thread is then told to load.
std::uint64_t DigestOf(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ModuleDigest(bytes).value_or(0);
}

std::vector<std::string> RecordedCalls() {
    void* module = dlopen(KANUVO_TEST_SOUND_MODULE, RTLD_NOW | RTLD_NOLOAD);
    if (module == nullptr) return {};
    const auto recorded = reinterpret_cast<std::vector<std::string> (*)()>(dlsym(module, "RecordedCalls"));
    auto calls = recorded();
    dlclose(module);
    return calls;
}

TEST(SoundWorker, CallsGivenWhileItLoadsReachTheSoundInOrder) {
    SoundWorker sound(KANUVO_TEST_SOUND_MODULE, DigestOf(KANUVO_TEST_SOUND_MODULE));
    sound.OpenMusic("a.mid");
    sound.PlayEffect("goal.wav");
    sound.StartLoading();
    sound.PlayMusicFromStart();
    while (RecordedCalls().size() < 3) std::this_thread::sleep_for(milliseconds(1));
    EXPECT_TRUE(sound.Shutdown(std::chrono::seconds(10)));
    sound.StopMusic();  // after the end: silence
    EXPECT_EQ(RecordedCalls(), (std::vector<std::string>{"open a.mid", "effect goal.wav", "play", "end"}));
}

// The game closed at many instants while the real module loads, opens the device and decodes the
// tune: the thread always ends, and the sanitizers see no race.
TEST(SoundWorker, EndsWheneverItIsAskedTo) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> instant(0, 40);
    const std::uint64_t digest = DigestOf(KANUVO_SOUND_MODULE);
    for (int i = 0; i < 24; ++i) {
        SoundWorker sound(KANUVO_SOUND_MODULE, digest);
        sound.StartLoading();
        sound.OpenMusic(KANUVO_SOUND_DIR "/Shellshk.mid");
        std::this_thread::sleep_for(milliseconds(instant(random)));
        sound.PlayMusicFromStart();
        sound.PlayEffect(KANUVO_SOUND_DIR "/goal.wav");
        std::this_thread::sleep_for(milliseconds(instant(random)));
        sound.StopMusic();
        EXPECT_TRUE(sound.Shutdown(std::chrono::seconds(10))) << "run " << i;
    }
}

TEST(BrokenModules, AreRefusedWithOneLineBeforeTheLoaderSeesThem) {
    const fs::path dir = std::getenv("HOME");  // the test's own
    std::ifstream in(KANUVO_SOUND_MODULE, std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::uint64_t digest = DigestOf(KANUVO_SOUND_MODULE);
    const auto Write = [&dir](const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    };
    std::vector<std::string> broken = {(dir / "missing.so").string(), dir.string(), Write("empty.so", ""),
                                       Write("text.so", "not a library\n")};
    // Cut short as a half-written install leaves it, from the first page to the last byte.
    for (const std::size_t cut : {std::size_t{4096}, std::size_t{40000}, whole.size() / 2, whole.size() - 1}) {
        broken.push_back(Write("cut" + std::to_string(cut) + ".so", whole.substr(0, cut)));
    }
    // Whole in size and headers, but its code overwritten, as a bad disk leaves it.
    std::string damaged = whole;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(whole.data());
    for (int i = 0; i < header->e_phnum; ++i) {
        const auto* segment = reinterpret_cast<const Elf64_Phdr*>(whole.data() + header->e_phoff) + i;
        if (segment->p_type == PT_LOAD && (segment->p_flags & PF_X)) damaged.replace(segment->p_offset, segment->p_filesz, segment->p_filesz, '\xcc');
    }
    broken.push_back(Write("damaged.so", damaged));
    const std::string pipe = (dir / "pipe.so").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    broken.push_back(pipe);
    for (const std::string& module : broken) {
        SCOPED_TRACE(module);
        ::testing::internal::CaptureStderr();
        auto loading = std::async(std::launch::async, [&] { return LoadSoundModule(module, digest) == nullptr; });
        ASSERT_EQ(loading.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "hangs";
        EXPECT_TRUE(loading.get());
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("kanuvo: no sound: " + module + ": ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    EXPECT_NE(LoadSoundModule(Write("whole.so", whole), digest), nullptr) << "a whole copy loads";
}

}  // namespace
}  // namespace kanuvo
