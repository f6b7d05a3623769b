// SPDX-License-Identifier: MIT
// Qt keys to the virtual-key codes the game reads: arrows, the keypad with Num Lock on and off, letters,
// punctuation and the keys of a Japanese keyboard; every key has a code, and only the slide keys a slide code.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Minus, {}), 189);
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
}

TEST(KeyCodesTest, PunctuationGetsTheCodeOfTheKeyThatTypesItOnAJapaneseKeyboard) {
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Colon, {}), 186);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Asterisk, Qt::ShiftModifier), 186);  // Shift with the colon key
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Semicolon, {}), 187);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Comma, {}), 188);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Equal, Qt::ShiftModifier), 189);  // Shift with the minus key
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Period, {}), 190);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Question, Qt::ShiftModifier), 191);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_At, {}), 192);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_BracketLeft, {}), 219);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_yen, {}), 220);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_BracketRight, {}), 221);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_AsciiCircum, {}), 222);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Underscore, Qt::ShiftModifier), 226);  // the key beside the right Shift
    // Shift with a digit types a sign; the code is still the digit's.
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Exclam, Qt::ShiftModifier), '1');
    EXPECT_EQ(VirtualKeyCode(Qt::Key_QuoteDbl, Qt::ShiftModifier), '2');
    EXPECT_EQ(VirtualKeyCode(Qt::Key_ParenRight, Qt::ShiftModifier), '9');
}

TEST(KeyCodesTest, InputMethodSystemAndModifierKeys) {
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Henkan, {}), 28);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Muhenkan, {}), 29);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Hiragana_Katakana, {}), 21);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Zenkaku_Hankaku, {}), 243);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Zenkaku, {}), 244);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Super_L, {}), 91);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Menu, {}), 93);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Shift, Qt::ShiftModifier), 16);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Control, Qt::ControlModifier), 17);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Alt, Qt::AltModifier), 18);
}

// Whatever the key, the board hears it; only the arrows (and the keypad's 2, 4, 6, 8) slide a tile.
TEST(KeyCodesTest, EveryKeyHasACodeAndOnlyTheSlideKeysASlideCode) {
    const std::vector<int> slideCodes{37, 38, 39, 40, 98, 100, 102, 104};
    const auto isSlideCode = [&](int code) { return std::ranges::find(slideCodes, code) != slideCodes.end(); };
    std::vector<int> keys{0, Qt::Key_unknown, Qt::Key_Dead_Grave, Qt::Key_Multi_key, Qt::Key_VolumeUp};
    for (int key = 0x20; key <= 0xff; ++key) keys.push_back(key);
    for (int key = Qt::Key_Escape; key <= Qt::Key_Hyper_R; ++key) keys.push_back(key);
    for (int key = Qt::Key_Kanji; key <= Qt::Key_Eisu_toggle; ++key) keys.push_back(key);
    const std::vector<int> arrows{Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
    for (const int key : keys) {
        for (const auto modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            const int code = VirtualKeyCode(key, modifiers);
            EXPECT_NE(code, 0) << std::hex << key;
            if (std::ranges::find(arrows, key) == arrows.end()) {
                EXPECT_FALSE(isSlideCode(code)) << std::hex << key;
            }
        }
    }
}

}  // namespace
}  // namespace kanuvo
