#include "app/KeyRouting.h"

bool KeyBelongsToControl(int tag, int key, Qt::KeyboardModifiers modifiers) {
    const bool editing = key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Home ||
                         key == Qt::Key_End || key == Qt::Key_Left || key == Qt::Key_Right ||
                         key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Clear;
    if ((tag & (ControlTag::Numeric | ControlTag::Text)) && editing) return true;
    if (tag & ControlTag::Numeric) {
        const bool keypadSign =
            (modifiers & Qt::KeypadModifier) && (key == Qt::Key_Plus || key == Qt::Key_Minus);
        if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Period || keypadSign)
            return true;
    }
    if ((tag & ControlTag::Text) &&
        !((modifiers & Qt::ControlModifier) && (modifiers & Qt::AltModifier)))
        return true;
    if ((tag & ControlTag::UpDown) && (key == Qt::Key_Up || key == Qt::Key_Down)) return true;
    return false;
}

int VirtualKey(int key) {
    if (key >= 'a' && key <= 'z') return key - 32;
    if (key >= 0x20 && key <= 0xFF) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}
