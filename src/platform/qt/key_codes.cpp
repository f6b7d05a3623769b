// Qt key events as the virtual-key codes the game's key handler reads.
#include "platform/qt/key_codes.h"

namespace kanuvo {

namespace {

constexpr int kKeypadZero = 96;
constexpr int kMultiply = 106;
constexpr int kAdd = 107;
constexpr int kSubtract = 109;
constexpr int kDecimal = 110;
constexpr int kDivide = 111;
constexpr int kF1 = 112;

// Keys whose code does not depend on where they sit on the keyboard.
int FixedCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 9;
        case Qt::Key_Clear: return 12;  // keypad 5 with Num Lock off
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Print: return 44;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        case Qt::Key_NumLock: return 144;
        case Qt::Key_ScrollLock: return 145;
        default: return 0;
    }
}

}  // namespace

int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kKeypadZero + (qtKey - Qt::Key_0);
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
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kF1 + (qtKey - Qt::Key_F1);
    return FixedCode(qtKey);
}

}  // namespace kanuvo
