// SPDX-License-Identifier: MIT
// Qt key events as the virtual-key codes the game's key handler reads.
#include "platform/qt/key_codes.h"

#include "platform/form.h"

namespace kanuvo {

namespace {

constexpr int kMultiply = 106;
constexpr int kAdd = 107;
constexpr int kSubtract = 109;
constexpr int kDecimal = 110;
constexpr int kDivide = 111;

// Keys whose code does not depend on where they sit on the keyboard.
int FixedCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 9;
        case Qt::Key_Clear: return 12;  // keypad 5 with Num Lock off
        case Qt::Key_Return:
        case Qt::Key_Enter: return kKeyEnter;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return kKeyEscape;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return kKeyLeft;
        case Qt::Key_Up: return kKeyUp;
        case Qt::Key_Right: return kKeyRight;
        case Qt::Key_Down: return kKeyDown;
        case Qt::Key_Print: return 44;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        case Qt::Key_NumLock: return 144;
        case Qt::Key_ScrollLock: return 145;
        case Qt::Key_AltGr: return 18;
        case Qt::Key_Meta:
        case Qt::Key_Super_L: return 91;
        case Qt::Key_Super_R: return 92;
        case Qt::Key_Menu: return 93;
        // The input-method keys of a Japanese keyboard.
        case Qt::Key_Hiragana_Katakana:
        case Qt::Key_Hiragana:
        case Qt::Key_Katakana:
        case Qt::Key_Kana_Lock:
        case Qt::Key_Kana_Shift: return 21;
        case Qt::Key_Kanji: return 25;
        case Qt::Key_Henkan: return 28;
        case Qt::Key_Muhenkan: return 29;
        case Qt::Key_Eisu_toggle:
        case Qt::Key_Eisu_Shift: return 240;
        case Qt::Key_Zenkaku_Hankaku:
        case Qt::Key_Hankaku: return 243;
        case Qt::Key_Zenkaku: return 244;
        default: return 0;
    }
}

// Qt names a punctuation key by the sign it typed, Shift included; the code is that of the key, as
// laid out on a Japanese keyboard. Signs that keyboard does not have take the key of a US one.
int PunctuationCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Exclam: return '1';
        case Qt::Key_QuoteDbl: return '2';
        case Qt::Key_NumberSign: return '3';
        case Qt::Key_Dollar: return '4';
        case Qt::Key_Percent: return '5';
        case Qt::Key_Ampersand: return '6';
        case Qt::Key_Apostrophe: return '7';
        case Qt::Key_ParenLeft: return '8';
        case Qt::Key_ParenRight: return '9';
        case Qt::Key_Colon:
        case Qt::Key_Asterisk: return 186;
        case Qt::Key_Semicolon:
        case Qt::Key_Plus: return 187;
        case Qt::Key_Comma:
        case Qt::Key_Less: return 188;
        case Qt::Key_Minus:
        case Qt::Key_Equal: return 189;
        case Qt::Key_Period:
        case Qt::Key_Greater: return 190;
        case Qt::Key_Slash:
        case Qt::Key_Question: return 191;
        case Qt::Key_At:
        case Qt::Key_QuoteLeft: return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft: return 219;
        case Qt::Key_yen:
        case Qt::Key_Backslash:
        case Qt::Key_Bar: return 220;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight: return 221;
        case Qt::Key_AsciiCircum:
        case Qt::Key_AsciiTilde: return 222;
        case Qt::Key_notsign: return 223;
        case Qt::Key_Underscore: return 226;  // the key beside the right Shift
        default: return 0;
    }
}

}  // namespace

int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kKeypad0 + (qtKey - Qt::Key_0);
        switch (qtKey) {
            case Qt::Key_Asterisk: return kMultiply;
            case Qt::Key_Plus: return kAdd;
            case Qt::Key_Minus: return kSubtract;
            case Qt::Key_Period:
            case Qt::Key_Comma: return kDecimal;
            case Qt::Key_Slash: return kDivide;
            default: break;  // Num Lock off: the keypad's arrows and navigation keys
        }
    }
    // Qt names letters by their capital whatever the case typed, as the codes do.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kKeyF1 + (qtKey - Qt::Key_F1);
    if (const int code = FixedCode(qtKey); code != 0) return code;
    if (const int code = PunctuationCode(qtKey); code != 0) return code;
    return kNoOwnKeyCode;
}

}  // namespace kanuvo
