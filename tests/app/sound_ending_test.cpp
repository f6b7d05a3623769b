// SPDX-License-Identifier: MIT
// The whole program, asked to end while its sound thread cannot finish (its module takes half a minute
// to load, as from a slow disk): it ends within a second all the same, and gives up its lock.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

TEST(SoundEnding, TheProgramEndsWithinASecondWhileItsSoundModuleIsStillLoading) {
    // A copy of the program beside the slow module, in the test's own home and runtime folder.
    const fs::path dir = fs::path(std::getenv("HOME")) / "game";
    fs::create_directories(dir);
    fs::copy_file(KANUVO_PROGRAM, dir / "kanuvo");
    fs::copy_file(KANUVO_SLOW_SOUND_MODULE, dir / "kanuvo_sound.so");
    fs::create_directory_symlink(KANUVO_SOUND_DIR, dir / "sound");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string program = (dir / "kanuvo").string();
    const pid_t game = ::fork();
    if (game == 0) {
        ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Up once it holds its lock and its sound thread is loading the module.
    const fs::path lock = fs::path(std::getenv("XDG_RUNTIME_DIR")) / "kanuvo.lock";
    const auto loading = [&] {
        std::ifstream maps("/proc/" + std::to_string(game) + "/maps");
        const std::string mapped{std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>()};
        return fs::exists(lock) && mapped.find("kanuvo_sound.so") != std::string::npos;
    };
    for (int i = 0; i < 3000 && !loading(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(loading());
    ::kill(game, SIGTERM);  // as a logout does
    const auto deadline = steady_clock::now() + std::chrono::seconds(1);
    int status = 0;
    pid_t ended = 0;
    while ((ended = ::waitpid(game, &status, WNOHANG)) == 0 && steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (ended == 0) {
        ::kill(game, SIGKILL);
        ::waitpid(game, &status, 0);
    }
    EXPECT_EQ(ended, game) << "still there a second after it was asked to end";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_FALSE(fs::exists(lock)) << "the lock is given up";
}

}  // namespace
