// SPDX-License-Identifier: MIT
// The files a run must not leave behind however it ends, kept where a signal handler can reach them.
#pragma once

#include <string>

namespace kanuvo {

// The single-copy lock the run holds, and the temporary file it is writing.
enum class Leftover { Lock, Temporary };

// From now on RemoveLeftoversNow removes the file at path, until it is forgotten. Called on one
// thread at a time.
void TrackLeftover(Leftover kind, const std::string& path);
void ForgetLeftover(Leftover kind);

// Removes every file tracked. Safe in a signal handler, where the program that ends at once from
// there has no other way to clean up.
void RemoveLeftoversNow();

}  // namespace kanuvo
