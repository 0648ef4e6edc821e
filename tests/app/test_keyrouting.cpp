#include "app/KeyRouting.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlTag;

TEST(KeyRouting, NumericFieldsKeepDigitsEditingKeysAndTheKeypadSigns) {
    EXPECT_TRUE(KeyBelongsToControl(Numeric, Qt::Key_7, Qt::NoModifier));
    EXPECT_TRUE(KeyBelongsToControl(Numeric, Qt::Key_7, Qt::KeypadModifier));
    EXPECT_TRUE(KeyBelongsToControl(Numeric, Qt::Key_Period, Qt::NoModifier));
    EXPECT_TRUE(KeyBelongsToControl(Numeric, Qt::Key_Plus, Qt::KeypadModifier)); // not a zoom
    EXPECT_TRUE(KeyBelongsToControl(Numeric, Qt::Key_Backspace, Qt::NoModifier));
    EXPECT_FALSE(KeyBelongsToControl(Numeric, Qt::Key_Plus, Qt::NoModifier));
    EXPECT_FALSE(KeyBelongsToControl(Numeric, Qt::Key_L, Qt::NoModifier)); // a tool key
    EXPECT_FALSE(KeyBelongsToControl(Numeric, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(KeyBelongsToControl(Numeric, Qt::Key_Up, Qt::NoModifier));
}

TEST(KeyRouting, UpDownAndTextFields) {
    EXPECT_TRUE(KeyBelongsToControl(Numeric | UpDown, Qt::Key_Up, Qt::NoModifier));
    EXPECT_TRUE(KeyBelongsToControl(Numeric | UpDown, Qt::Key_Down, Qt::NoModifier));
    EXPECT_TRUE(KeyBelongsToControl(Text, Qt::Key_L, Qt::NoModifier));
    EXPECT_TRUE(KeyBelongsToControl(Text, Qt::Key_L, Qt::ControlModifier));
    EXPECT_FALSE(KeyBelongsToControl(Text, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier));
    EXPECT_FALSE(KeyBelongsToControl(0, Qt::Key_7, Qt::NoModifier)); // not an option field
}

} // namespace
