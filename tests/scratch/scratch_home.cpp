// SPDX-License-Identifier: MIT
// Every test program's own home and XDG folders under the build tree, and the check that they stay so.
#include "scratch_home.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kanuvo {

namespace {

// Where in the scratch folder each variable points; the data, configuration, cache and state
// folders lie inside the home, where a player's would be.
struct Folder {
    const char* variable;
    const char* path;
};
constexpr Folder kFolders[] = {
    {"HOME", "home"},
    {"XDG_DATA_HOME", "home/.local/share"},
    {"XDG_CONFIG_HOME", "home/.config"},
    {"XDG_CACHE_HOME", "home/.cache"},
    {"XDG_STATE_HOME", "home/.local/state"},
    {"XDG_RUNTIME_DIR", "runtime"},
};
// Handed to the programs a test starts, so that they keep the folders rather than make new ones.
constexpr char kScratchVariable[] = "KANUVO_TEST_SCRATCH";

std::string g_scratch;
pid_t g_owner = 0;

bool Inside(const char* path, const std::string& folder) {
    if (path == nullptr) return false;
    const std::string value(path);
    return value.compare(0, folder.size() + 1, folder + "/") == 0;
}

void RemoveScratch() {
    if (g_owner != getpid()) return;  // a forked child leaves the folder to its parent
    std::error_code ignored;
    std::filesystem::remove_all(g_scratch, ignored);
}

// Fails the program when a test has pointed a folder outside the scratch folder and left it so:
// whatever it wrote there next could have been the player's.
class StayInScratch : public ::testing::Environment {
public:
    void SetUp() override { Check("before the tests"); }
    void TearDown() override { Check("after the tests"); }

private:
    static void Check(const char* when) {
        for (const Folder& folder : kFolders) {
            const char* value = std::getenv(folder.variable);
            EXPECT_TRUE(Inside(value, g_scratch)) << folder.variable << " is '" << (value ? value : "(unset)")
                                                   << "' " << when << ", outside the scratch folder " << g_scratch;
        }
    }
};

}  // namespace

void UseScratchHome() {
    ::testing::AddGlobalTestEnvironment(new StayInScratch);
    if (const char* given = std::getenv(kScratchVariable); given != nullptr && Inside(given, KANUVO_SCRATCH_ROOT)) {
        g_scratch = given;
        return;
    }
    std::filesystem::create_directories(KANUVO_SCRATCH_ROOT);
    std::string pattern = KANUVO_SCRATCH_ROOT "/XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("no scratch folder under " KANUVO_SCRATCH_ROOT);
        std::exit(1);
    }
    g_scratch = pattern;
    g_owner = getpid();
    std::atexit(RemoveScratch);
    setenv(kScratchVariable, g_scratch.c_str(), 1);
    for (const Folder& folder : kFolders) {
        const std::string path = g_scratch + "/" + folder.path;
        std::filesystem::create_directories(path);
        setenv(folder.variable, path.c_str(), 1);
    }
    // The runtime folder is the user's alone, as a desktop session makes it.
    chmod((g_scratch + "/runtime").c_str(), 0700);
}

}  // namespace kanuvo
