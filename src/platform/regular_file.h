// SPDX-License-Identifier: MIT
// Reading a whole small file the player's machine provides, without ever blocking on it or
// running out of memory: regular files only, within a size cap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kanuvo {

// The bytes of the file at path, or nothing when it is missing, unreadable, not a regular file
// (a folder, a device, a pipe, also behind a link) or larger than maxBytes. Never throws, and
// never waits for a writer: a pipe is refused before anything is read from it.
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Whether ReadRegularFile would take the file at path as it is now, for a file another library reads
// by its path; checked the same way, without reading it.
bool IsRegularFileWithin(const std::string& path, std::size_t maxBytes);

}  // namespace kanuvo
