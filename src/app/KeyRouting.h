#pragma once

#include <Qt>

// Option-bar controls carry a tag (a dynamic property "tag") telling which keys they keep:
// 1 numeric field, 2 text field, 4 field with up and down steps (the grid fields have 5).
namespace ControlTag {
inline constexpr int Numeric = 1, Text = 2, UpDown = 4;
}

// True when a key typed while a control with this tag has the focus belongs to that control,
// so the main window's key table must leave it alone.
bool KeyBelongsToControl(int tag, int key, Qt::KeyboardModifiers modifiers);

// The key code of a key as the main window's key table and the tools know it: letters and digits
// as their upper-case characters, the named keys by their classic virtual-key numbers (Backspace
// 8, Tab 9, Enter 13, Escape 27, Space 32, PgUp to Down 33 to 40, Insert 45, Delete 46, F1 to F12
// 112 to 123), other characters below 0x100 as they are; 0 for every other key.
int VirtualKey(int key);
