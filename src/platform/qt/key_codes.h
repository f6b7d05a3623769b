// SPDX-License-Identifier: MIT
// Qt key events as the virtual-key codes the game's key handler reads.
#pragma once

#include <Qt>

namespace kanuvo {

// The code of a key that has none of its own (a media key, a dead key, a key the layout leaves blank).
inline constexpr int kNoOwnKeyCode = 255;

// The virtual-key code of a key press, never 0: in the route stages every key press judges the road,
// so no key may be lost on its way to the board. Keypad keys are told apart by the keypad modifier:
// digits with Num Lock on give 96..105, and with Num Lock off the keypad gives the arrows and
// navigation keys it is labelled with, exactly as the main block's keys do. A key with no code of
// its own gets kNoOwnKeyCode, which slides no tile.
int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace kanuvo
