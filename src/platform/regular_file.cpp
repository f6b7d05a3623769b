// SPDX-License-Identifier: MIT
// Reading a whole small file: opened without waiting, checked to be a regular file, read up to a cap.
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace kanuvo {

namespace {

// Closes the descriptor on every way out.
struct Descriptor {
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

// The file at path opened for reading, with its size, or no descriptor (-1) when it is missing,
// unreadable, not a regular file or larger than maxBytes.
int OpenRegularFile(const std::string& path, std::size_t maxBytes, std::size_t& size) {
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd < 0) return -1;
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > maxBytes) return -1;
    size = static_cast<std::size_t>(info.st_size);
    const int fd = file.fd;
    file.fd = -1;
    return fd;
}

}  // namespace

bool IsRegularFileWithin(const std::string& path, std::size_t maxBytes) {
    std::size_t size = 0;
    return Descriptor(OpenRegularFile(path, maxBytes, size)).fd >= 0;
}

std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    std::size_t size = 0;
    const Descriptor file(OpenRegularFile(path, maxBytes, size));
    if (file.fd < 0) return std::nullopt;
    try {
        std::vector<std::uint8_t> bytes;
        bytes.reserve(size);
        // Read to the end rather than to the size seen: a file that grows past the cap meanwhile is refused too.
        std::uint8_t chunk[1 << 16];
        while (true) {
            const ssize_t got = ::read(file.fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return std::nullopt;
            if (got == 0) return bytes;
            if (static_cast<std::size_t>(got) > maxBytes - bytes.size()) return std::nullopt;
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace kanuvo
