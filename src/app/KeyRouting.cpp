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
