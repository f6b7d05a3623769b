// SPDX-License-Identifier: MIT
// Reading a whole small file the player's machine provides, without ever blocking on it or
// running out of memory: regular files only, within a size cap; and finding and replacing the player's
// own files, whole or not at all, or moving them aside when they cannot be read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kanuvo {

// The bytes of the file at path, or nothing when it is missing, unreadable, not a regular file
// (a folder, a device, a pipe, also behind a link) or larger than maxBytes. Never throws, and
// never waits for a writer: a pipe is refused before anything is read from it.
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Whether ReadRegularFile would take the file at path as it is now, for a file another library reads
// by its path; checked the same way, without reading it.
bool IsRegularFileWithin(const std::string& path, std::size_t maxBytes);

// Replaces the file at path with bytes, whole or not at all: they go to a new file beside it, every
// write and the flush to the disk checked, which is then renamed over it, keeping the old file's
// permissions. A symbolic link at path is never written through (the file it points to may be anyone's)
// and is left as it is, like anything else that is not a regular file. False, with why (the reason in
// a few words), when the file could not be replaced; it is then as it was.
bool ReplaceFileWhole(const std::string& path, std::string_view bytes, std::string& why);

// Moves the file at path out of the way, whole, to "<path>.unreadable-<UTC time>" (such as
// "best_times.json.unreadable-2026-12-08T10-15-00", with "-2", "-3", ... after it when that is
// taken), so that the player keeps what it holds while a new file takes its place. The new path; or
// empty, with why, when it could not be moved (it is then as it was).
std::string MoveAside(const std::string& path, std::string& why);

// Removes the temporary files ReplaceFileWhole leaves beside path ("<name>.XXXXXX") when a run
// ends in the middle of a write. Only for a copy that holds the single-copy lock: no other copy
// writes them then.
void RemoveLeftoverTemporaries(const std::string& path);

// The user's folder named by an XDG variable (XDG_DATA_HOME, say), as the XDG rules find it: the
// variable's value when it is an absolute path, else underHome (".local/share") in HOME when that is an
// absolute path. Empty when there is neither: nothing is to be kept then, rather than kept relative to
// whatever folder the game was started in, or at the top of the file system.
std::string UserFolder(const char* variable, const char* underHome);

// Why ReadRegularFile refused the file at path, in a few words for a message: "No such file or
// directory", "a folder", "larger than 4 MB", ...
std::string RegularFileProblem(const std::string& path, std::size_t maxBytes);

}  // namespace kanuvo
