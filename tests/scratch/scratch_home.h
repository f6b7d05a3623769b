// SPDX-License-Identifier: MIT
// A home and XDG folders of its own for every test program, so that no test reaches the player's files.
#pragma once

namespace kanuvo {

// Points HOME and the XDG folders into a fresh folder under the build tree's scratch root, made for
// this process and removed when it ends, and adds a check that fails the run when a test leaves them
// pointing anywhere else. A program started by a test (a death test's fresh copy, say) keeps the
// folders it was given. Call it first thing in main, before any library reads the environment.
void UseScratchHome();

}  // namespace kanuvo
