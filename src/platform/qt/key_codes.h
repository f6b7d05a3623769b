// Qt key events as the virtual-key codes the game's key handler reads.
#pragma once

#include <Qt>

namespace kanuvo {

// The virtual-key code of a key press, or 0 for a key the game has no code for. Keypad keys are told
// apart by the keypad modifier: digits with Num Lock on give 96..105, and with Num Lock off the keypad
// gives the arrows and navigation keys it is labelled with, exactly as the main block's keys do.
int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace kanuvo
