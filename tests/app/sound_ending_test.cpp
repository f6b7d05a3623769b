// SPDX-License-Identifier: MIT
// The whole program, asked to end while its sound thread cannot finish: a module that takes half a
// minute to load, a pipe in the module's place, a sound server that accepts and never answers. It
// ends within a second all the same, and gives up its lock.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A copy of the program in a scratch folder, beside whatever module the test puts there, with
// runtime, home and settings folders of its own.
struct ScratchGame : ::testing::Test {
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kanuvo_ending_" + std::to_string(::getpid()));
        fs::create_directories(dir / "run");
        fs::permissions(dir / "run", fs::perms::owner_all);  // as a runtime folder must be
        fs::create_directories(dir / "home");
        fs::copy_file(KANUVO_PROGRAM, dir / "kanuvo");
        fs::create_directory_symlink(KANUVO_SOUND_DIR, dir / "sound");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Starts the game, waits until it has shown its title and its sound thread has begun, asks it to
    // end as a logout does, and returns how long it took to end, or -1 when it was still there after
    // ten seconds (and then it is killed).
    double SecondsToEnd(const std::vector<std::string>& environment) {
        const pid_t game = ::fork();
        if (game == 0) {
            const std::string home = (dir / "home").string();
            for (const std::string& variable :
                 {std::string("QT_QPA_PLATFORM=offscreen"), "XDG_RUNTIME_DIR=" + (dir / "run").string(), "HOME=" + home,
                  "XDG_CONFIG_HOME=" + home + "/config", "XDG_DATA_HOME=" + home + "/data"}) {
                ::putenv(::strdup(variable.c_str()));
            }
            for (const std::string& variable : environment) ::putenv(::strdup(variable.c_str()));
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDERR_FILENO);
            const std::string program = (dir / "kanuvo").string();
            ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const fs::path lock = dir / "run" / "kanuvo.lock";
        for (int i = 0; i < 3000 && !fs::exists(lock); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(fs::exists(lock)) << "the game is up";
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the sound thread starts within a second
        ::kill(game, SIGTERM);
        const auto asked = Clock::now();
        int status = 0;
        while (::waitpid(game, &status, WNOHANG) == 0) {
            if (Clock::now() - asked > std::chrono::seconds(10)) {
                ::kill(game, SIGKILL);
                ::waitpid(game, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - asked).count();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        EXPECT_FALSE(fs::exists(lock)) << "the lock is given up";
        return seconds;
    }

    fs::path dir;
};

TEST_F(ScratchGame, EndsWithinASecondWhileItsModuleTakesHalfAMinuteToLoad) {
    fs::copy_file(KANUVO_SLOW_SOUND_MODULE, dir / "kanuvo_sound.so");
    const double seconds = SecondsToEnd({"SDL_AUDIODRIVER=dummy"});
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 1.0);
}

TEST_F(ScratchGame, EndsWithinASecondWithAPipeInTheModulesPlace) {
    ASSERT_EQ(::mkfifo((dir / "kanuvo_sound.so").c_str(), 0600), 0);
    const double seconds = SecondsToEnd({"SDL_AUDIODRIVER=dummy"});
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 1.0);
}

TEST_F(ScratchGame, EndsWithinASecondWhileTheSoundServerNeverAnswers) {
    fs::copy_file(KANUVO_SOUND_MODULE, dir / "kanuvo_sound.so");
    // A server's socket that takes every connection into its backlog and never says a word.
    const std::string socketPath = (dir / "pulse").string();
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 16), 0);
    const double seconds = SecondsToEnd({"SDL_AUDIODRIVER=pulseaudio", "PULSE_SERVER=unix:" + socketPath});
    ::close(server);
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 1.0);
}

}  // namespace
