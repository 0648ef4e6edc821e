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
