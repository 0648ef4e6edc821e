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

TEST(KeyRouting, NamedKeysKeepTheirCodes) {
    // Keys beyond Latin-1 once came out as 0, so Enter and Backspace never reached the text.
    for (const auto& [key, code] : {std::pair{int(Qt::Key_Backspace), 8},
                                    {Qt::Key_Return, 13},
                                    {Qt::Key_Enter, 13},
                                    {Qt::Key_Insert, 45},
                                    {Qt::Key_Delete, 46},
                                    {Qt::Key_Escape, 27},
                                    {Qt::Key_F4, 115},
                                    {Qt::Key_L, 'L'},
                                    {'l', 'L'},
                                    {Qt::Key_3, '3'},
                                    {Qt::Key_Shift, 0},
                                    {Qt::Key_Menu, 0}})
        EXPECT_EQ(VirtualKey(key), code) << key;
}

} // namespace
