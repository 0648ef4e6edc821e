// The brush entries of the palette, Restore and the techniques, through the engine.
#include "ToolBench.h"

#include <utility>
#include <vector>

namespace {

using namespace bench;

struct BrushToolTest : ToolBench {
    std::vector<std::pair<PaintTool*, int>> shown; // what the palette was asked to show

    BrushToolTest() : ToolBench({20, 20}, Start::Freehand) {}
    void SetUp() override {
        ToolBench::SetUp();
        engine.hooks.showInPalette = [this](PaintTool* t, int v) { shown.emplace_back(t, v); };
        state.drawCol = 0x00AA00;
        state.backCol = 0x0000BB;
    }
    Buffer CustomPixels() {
        Buffer b;
        EXPECT_TRUE(b.Alloc({3, 2}));
        b.Box(b.Bounds(), 0x123456);
        b.At(0, 0) = Pixel::Transparent;
        return b;
    }
};

} // namespace

TEST_F(BrushToolTest, ABrushChoiceFromASingleDabToolContinuesAsContinuousFreehand) {
    engine.SelectTool(&tools.dottedFreehand, false, 1);
    shown.clear();
    engine.SelectTool(&tools.brushes[3], false, 3); // circular 21 x 21
    EXPECT_EQ(state.brush.source.Width(), 21);
    EXPECT_EQ(state.brush.source.At(0, 0), Pixel::Transparent);
    EXPECT_EQ(state.brush.source.At(10, 0), 0x00AA00u);
    EXPECT_EQ(state.brush.technique, Technique::Color);
    EXPECT_EQ(engine.CurrentTool(), &tools.continuousFreehand);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), std::make_pair(static_cast<PaintTool*>(&tools.brushes[0]), 0));
    EXPECT_EQ(host.panels[1], QStringLiteral("C"));

    // From a line tool the line stays; the square group entry shows variant 4.
    engine.SelectTool(&tools.singleLine, false, 0);
    shown.clear();
    engine.SelectTool(&tools.brushes[5], false, 5); // square 3 x 3
    EXPECT_EQ(engine.CurrentTool(), &tools.singleLine);
    EXPECT_EQ(state.brush.source.Width(), 3);
    EXPECT_EQ(state.brush.source.At(0, 0), 0x00AA00u);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), std::make_pair(static_cast<PaintTool*>(&tools.brushes[4]), 4));
}

TEST_F(BrushToolTest, TechniquesNeedACustomBrushExceptColorAndRestoreBringsTheOldBrushBack) {
    ASSERT_TRUE(state.brush.SelectBuiltIn(BrushShape::Circular, 1, state.drawCol, state.backCol));
    brushtools::ShowTechnique(engine);
    EXPECT_FALSE(brushtools::ChooseTechnique(engine, Technique::Paint));
    EXPECT_FALSE(brushtools::ChooseTechnique(engine, Technique::Replace));
    EXPECT_EQ(host.panels[1], QStringLiteral("C"));

    ASSERT_TRUE(state.brush.SetCustom(CustomPixels(), CustomBrush{{0, 0}, 0x0000BB}, state.drawCol,
                                      state.backCol));
    EXPECT_TRUE(brushtools::ChooseTechnique(engine, Technique::Replace));
    EXPECT_EQ(host.panels[1], QStringLiteral("R"));
    EXPECT_EQ(state.brush.stamp.At(0, 0), 0x0000BBu); // the key colour fills the corner

    // A swatch change reaches the stamp at once.
    EXPECT_TRUE(brushtools::ChooseTechnique(engine, Technique::Color));
    state.drawCol = 0xFF0000;
    brushtools::ColourChanged(engine);
    EXPECT_EQ(state.brush.stamp.At(1, 0), 0xFF0000u);

    engine.SelectTool(&tools.restoreBrush, false, -1);
    EXPECT_FALSE(state.brush.custom);
    EXPECT_EQ(state.brush.source.Width(), 3);
    EXPECT_EQ(host.panels[1], QStringLiteral("C"));
    EXPECT_TRUE(host.boxes.empty());
}
