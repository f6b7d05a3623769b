// Qt keys to the virtual-key codes the game reads: arrows, the keypad with Num Lock on and off, letters.
#include <gtest/gtest.h>

#include "platform/qt/key_codes.h"

namespace kanuvo {
namespace {

TEST(KeyCodesTest, ArrowsFromTheMainBlockAndFromTheKeypadWithNumLockOff) {
    for (const auto modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
        EXPECT_EQ(VirtualKeyCode(Qt::Key_Left, modifiers), 37);
        EXPECT_EQ(VirtualKeyCode(Qt::Key_Up, modifiers), 38);
        EXPECT_EQ(VirtualKeyCode(Qt::Key_Right, modifiers), 39);
        EXPECT_EQ(VirtualKeyCode(Qt::Key_Down, modifiers), 40);
        EXPECT_EQ(VirtualKeyCode(Qt::Key_Home, modifiers), 36);      // keypad 7
        EXPECT_EQ(VirtualKeyCode(Qt::Key_PageDown, modifiers), 34);  // keypad 3
        EXPECT_EQ(VirtualKeyCode(Qt::Key_Insert, modifiers), 45);    // keypad 0
    }
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Clear, Qt::KeypadModifier), 12);  // keypad 5
    // Shift held does not change an arrow.
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Left, Qt::ShiftModifier), 37);
}

TEST(KeyCodesTest, KeypadDigitsWithNumLockOnAreNotTheDigitRow) {
    EXPECT_EQ(VirtualKeyCode(Qt::Key_0, Qt::KeypadModifier), 96);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_2, Qt::KeypadModifier), 98);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_4, Qt::KeypadModifier), 100);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_6, Qt::KeypadModifier), 102);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_8, Qt::KeypadModifier), 104);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_9, Qt::KeypadModifier), 105);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Asterisk, Qt::KeypadModifier), 106);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_0, {}), 48);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_8, {}), 56);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Minus, {}), 0);
}

TEST(KeyCodesTest, LettersWhateverTheCaseAndAFewOthers) {
    EXPECT_EQ(VirtualKeyCode(Qt::Key_A, {}), 65);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_A, Qt::ShiftModifier), 65);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Z, {}), 90);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Return, {}), 13);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Space, {}), 32);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Escape, {}), 27);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_F1, {}), 112);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_F12, {}), 123);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_unknown, {}), 0);
}

}  // namespace
}  // namespace kanuvo
