// SPDX-License-Identifier: MIT
// Reading a whole small file: opened without waiting, checked to be a regular file, read up to a cap.
// Replacing one: a checked write to a file beside it, renamed over it.
#include "platform/regular_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <utility>

#include "platform/leftovers.h"

namespace kanuvo {

namespace {

// What mkostemp makes of the name of the file being replaced.
constexpr char kTemporarySuffix[] = ".XXXXXX";

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

// Why the last system call failed, and false, for the caller to return.
bool Failed(std::string& why) {
    why = std::strerror(errno);
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool ReplaceFileWhole(const std::string& path, std::string_view bytes, std::string& why) {
    struct stat old {};
    const bool replacing = ::lstat(path.c_str(), &old) == 0;
    if (replacing && S_ISLNK(old.st_mode)) {
        why = "it is a symbolic link, which is not written through";
        return false;
    }
    if (replacing && !S_ISREG(old.st_mode)) {
        why = "it is not a regular file";
        return false;
    }
    // Beside the file, so that the rename stays on the same disk and is all or nothing.
    std::string temporary = path + kTemporarySuffix;
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.fd < 0) return Failed(why);
    // A program ended at once meanwhile (a second signal) removes it on its way out.
    TrackLeftover(Leftover::Temporary, temporary);
    // A full disk shows in the write, or only in the flush or the close on some file systems.
    const bool written = (!replacing || ::fchmod(file.fd, old.st_mode & 07777) == 0) && WriteAll(file.fd, bytes) &&
                         ::fsync(file.fd) == 0 && ::close(std::exchange(file.fd, -1)) == 0 &&
                         ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        Failed(why);
        ::unlink(temporary.c_str());
    }
    ForgetLeftover(Leftover::Temporary);
    return written;
}

std::string MoveAside(const std::string& path, std::string& why) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    char stamp[32] = "";
    ::gmtime_r(&now, &utc);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H-%M-%S", &utc);
    const std::string aside = path + ".unreadable-" + stamp;
    for (int n = 1; n < 100; ++n) {
        const std::string name = n == 1 ? aside : aside + "-" + std::to_string(n);
        // Never over another file kept aside: the player may have several.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) return name;
        if (errno != EEXIST) break;
    }
    Failed(why);
    return {};
}

void RemoveLeftoverTemporaries(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
    const std::string name = path.substr(slash + 1) + ".";
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = ::readdir(listing)) {
        // mkostemp's six letters and digits after the name, and a regular file (never a link).
        const std::string_view found(entry->d_name);
        struct stat info {};
        if (found.size() == name.size() + 6 && found.starts_with(name) &&
            found.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", name.size()) ==
                std::string_view::npos &&
            ::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)) {
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

std::string UserFolder(const char* variable, const char* underHome) {
    const auto absolute = [](const char* path) { return path != nullptr && path[0] == '/'; };
    if (const char* folder = std::getenv(variable); absolute(folder)) return folder;
    if (const char* home = std::getenv("HOME"); absolute(home)) return std::string(home) + "/" + underHome;
    return {};
}

bool IsRegularFileWithin(const std::string& path, std::size_t maxBytes) {
    std::size_t size = 0;
    return Descriptor(OpenRegularFile(path, maxBytes, size)).fd >= 0;
}

std::string RegularFileProblem(const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
    if (S_ISDIR(info.st_mode)) return "a folder";
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return "larger than " + std::to_string(maxBytes >> 20) + " MB";
    }
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    return file.fd < 0 ? std::strerror(errno) : "it could not be read to its end";
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
