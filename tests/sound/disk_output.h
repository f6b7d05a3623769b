// SPDX-License-Identifier: MIT
// What the sound really mixes, as SDL's disk audio driver writes it to a file: 44100 stereo 16-bit
// frames a second, about five times faster than real time (5 ms per buffer of 1024 frames). Faster
// still, the mixing alone keeps a core busy under the thread sanitizer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "audio_files.h"

namespace kanuvo::testing {

class DiskOutput {
public:
    static constexpr std::uintmax_t kBytesPerSecond = 4 * 44100;

    // Points the disk driver at `file`; the device writes it afresh each time it opens.
    explicit DiskOutput(std::string file) : file_(std::move(file)) {
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
        ::setenv("SDL_DISKAUDIODELAY", "5", 1);
    }
    ~DiskOutput() {
        ::unsetenv("SDL_DISKAUDIOFILE");
        ::unsetenv("SDL_DISKAUDIODELAY");
    }
    DiskOutput(const DiskOutput&) = delete;
    DiskOutput& operator=(const DiskOutput&) = delete;

    const std::string& File() const { return file_; }
    std::uintmax_t Written() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(file_, error);
        return error ? 0 : size;
    }
    // Waits until the device has written `seconds` more than it had, or until a device that writes
    // nothing has had `patience` of wall time. Returns where the wait began.
    std::uintmax_t WaitForMore(double seconds, std::chrono::milliseconds patience = std::chrono::seconds(10)) const {
        const std::uintmax_t from = Written();
        const auto end = std::chrono::steady_clock::now() + patience;
        while (Written() < from + static_cast<std::uintmax_t>(seconds * kBytesPerSecond) &&
               std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return from;
    }
    // Whether the next half second the device writes holds any sound, past the buffer that may still
    // hold what was mixed before. A closed device writes nothing: silence.
    bool SoundsNext() const {
        const std::uintmax_t from = WaitForMore(0.5, std::chrono::seconds(2)) + 4096;
        if (Written() < from) return false;
        const auto out = ReadRawS16(file_);
        const std::size_t begin = std::min<std::size_t>(from / 2, out.size());
        const std::size_t end = std::min<std::size_t>(out.size(), begin + kBytesPerSecond / 4);
        return std::any_of(out.begin() + static_cast<long>(begin), out.begin() + static_cast<long>(end),
                           [](std::int16_t v) { return v != 0; });
    }

private:
    std::string file_;
};

}  // namespace kanuvo::testing
