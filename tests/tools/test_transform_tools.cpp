// The brush size and shape tools and the image-wide Stretch / Mirror and Rotate, through the
// engine as the user drives them.
#include "ToolBench.h"

#include "brush/BrushTransforms.h"

#include <cmath>
#include <vector>

namespace {

using namespace bench;

constexpr uint32_t T = Pixel::Transparent;

std::vector<uint32_t> PixelsOf(const Buffer& b) {
    std::vector<uint32_t> v;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) v.push_back(b.At(x, y));
    return v;
}

struct TransformTest : ToolBench {
    bool antiAlias = false;
    TransformToolSet& t = tools.transform;

    TransformTest() : ToolBench({40, 30}, Start::Freehand) {}
    void SetUp() override {
        ToolBench::SetUp();
        engine.SetOptionBar(&bar);
        t.settings.antiAlias = [this] { return antiAlias; };
        t.settings.sprayRadius = &state.sprayRadius;
    }
    // A custom brush of distinct opaque colours, w x h, with the given handle.
    void UseCustom(int w, int h, int handle = 0) {
        Buffer b;
        ASSERT_TRUE(b.Alloc({w, h}));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.At(x, y) = uint32_t(0x10000 * (y + 1) + x + 1);
        CustomBrush how;
        how.handle = handle;
        ASSERT_TRUE(state.brush.SetCustom(b, how, state.drawCol, state.backCol));
    }
    Pair BrushSize() const { return {state.brush.source.Width(), state.brush.source.Height()}; }
    std::vector<uint32_t> BrushPixels() const { return PixelsOf(state.brush.source); }
};

TEST_F(TransformTest, HalveAndDoubleChangeOnlyWhatTheyMay) {
    struct Case {
        Pair size;
        BrushScaleCommand* command;
        Pair want;
    } cases[] = {
        {{1, 5}, &t.halveWidth, {1, 5}},          {{1, 5}, &t.halveBoth, {1, 5}},
        {{5, 1}, &t.halveHeight, {5, 1}},         {{6, 5}, &t.halveBoth, {3, 2}},
        {{6, 5}, &t.halveWidth, {3, 5}},          {{16383, 1}, &t.doubleWidth, {32766, 1}},
        {{16384, 1}, &t.doubleWidth, {16384, 1}}, {{16384, 1}, &t.doubleBoth, {16384, 1}},
        {{3, 2}, &t.doubleBoth, {6, 4}},          {{3, 2}, &t.doubleHeight, {3, 4}},
    };
    for (const Case& c : cases) {
        UseCustom(c.size.x, c.size.y);
        engine.SelectTool(c.command, true, -1);
        EXPECT_EQ(BrushSize(), c.want) << c.size.x << "x" << c.size.y;
    }
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TransformTest, AStretchDraggedLeftOfTheBrushMirrorsIt) {
    UseCustom(3, 1, 1); // top-left handle: the corner is the press point
    Use(t.stretchWidth);
    Drag({{10, 10}, {5, 10}});
    // 10 - 5 + 1 = 6 wide, mirrored, reaching from the pointer back to the corner.
    EXPECT_EQ(BrushSize(), (Pair{6, 1}));
    EXPECT_EQ(BrushPixels(),
              (std::vector<uint32_t>{0x10003, 0x10003, 0x10002, 0x10002, 0x10001, 0x10001}));
    EXPECT_EQ(engine.CurrentTool(), &tools.continuousFreehand);
    EXPECT_EQ(engine.Position(), (Pair{5, 10}));

    Use(t.stretchBoth);
    Drag({{20, 20}, {20, 20}}); // released at the press point
    EXPECT_EQ(BrushSize(), (Pair{1, 1}));
}

TEST_F(TransformTest, EveryLivePreviewLeavesThePictureAsItWas) {
    UseCustom(5, 4);
    state.brush.source.At(0, 0) = T;
    const auto before = Pixels();
    for (PaintTool* tool :
         std::vector<PaintTool*>{&t.stretchBoth, &t.bendUpDown, &t.bendLeftRight, &t.shearUpDown,
                                 &t.shearLeftRight, &t.rotate, &t.brushResize, &t.spraySize}) {
        for (bool smooth : {false, true}) {
            antiAlias = smooth;
            Use(*tool);
            Press({20, 15});
            engine.DragIsSure();
            const auto idle = Pixels();
            Move({27, 9});
            EXPECT_FALSE(Same(Pixels(), idle)) << "no preview shown";
            Move({12, 24});
            Leave();
            EXPECT_TRUE(Same(Pixels(), before));
        }
    }
}

TEST_F(TransformTest, BendAndShearWithNoOffsetChangeNothing) {
    // Centre handle on a 5 x 5 brush pressed at (20, 15): corner (18, 13), middle row 15, last
    // row 17, last column 22.
    struct Case {
        PaintTool* tool;
        Pair release;
    } cases[] = {{&t.bendUpDown, {23, 15}},
                 {&t.bendLeftRight, {20, 9}},
                 {&t.shearUpDown, {30, 17}},
                 {&t.shearLeftRight, {22, 2}}};
    for (const Case& c : cases) {
        UseCustom(5, 5);
        const auto before = BrushPixels();
        Use(*c.tool);
        Drag({{20, 15}, c.release});
        EXPECT_EQ(BrushSize(), (Pair{5, 5}));
        EXPECT_EQ(BrushPixels(), before);
    }
}

TEST_F(TransformTest, AShearToTheLastColumnsWidthMovesEachColumnByItsIndex) {
    UseCustom(5, 3, 1); // corner at the press, last row 2 below it
    Use(t.shearUpDown);
    Drag({{10, 10}, {14, 16}}); // d = 16 - 12 = 4 = w - 1
    ASSERT_EQ(BrushSize(), (Pair{5, 7}));
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(state.brush.source.At(x, y + x), uint32_t(0x10000 * (y + 1) + x + 1));
    // The brush did not move: its corner is where it was.
    EXPECT_EQ(engine.Position(), (Pair{10, 10}));
}

TEST_F(TransformTest, RotatingShowsTheAngleAndTurnsAboutTheCentre) {
    UseCustom(5, 5);
    Use(t.rotate);
    EXPECT_EQ(t.rotate.cursor, ToolCursor::Rotate);
    Press({20, 15});
    engine.DragIsSure();
    Move({20, 4}); // straight above the centre
    EXPECT_EQ(host.panels[StatusPanel::Measure], QStringLiteral("90.00`"));
    Move({30, 15});
    EXPECT_EQ(host.panels[StatusPanel::Measure], QStringLiteral("0.00`"));
    Move({20, 4});
    const auto src = BrushPixels();
    Release();
    ASSERT_EQ(BrushSize(), (Pair{5, 5}));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(state.brush.source.At(y, 4 - x), src[size_t(y * 5 + x)]) << x << "," << y;
    EXPECT_EQ(engine.Position(), (Pair{20, 15})); // centre handle, centre kept
    EXPECT_EQ(RotateTool::AngleText(-std::atan2(1.0, 1.0)), QStringLiteral("-45.00`"));
}

TEST_F(TransformTest, ATooLargeResultLeavesTheBrushAndWhatRestoreBringsBack) {
    UseCustom(2, 2);
    UseCustom(3, 1); // the 2 x 2 brush is the backup now
    const auto before = BrushPixels();
    Use(t.stretchBoth);
    Drag({{10, 10}, {30000, 30000}});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("BrTooBig"));
    EXPECT_EQ(BrushPixels(), before);
    ASSERT_TRUE(state.brush.Restore(state.drawCol, state.backCol));
    EXPECT_EQ(BrushSize(), (Pair{2, 2}));
}

TEST_F(TransformTest, TurnsAndShadowsAreUndoneByRestore) {
    UseCustom(4, 2);
    const auto before = BrushPixels();
    engine.SelectTool(&t.rotate90, true, -1);
    EXPECT_EQ(BrushSize(), (Pair{2, 4}));
    engine.SelectTool(&t.rotate180, true, -1);
    t.dropShadow.depth = 2;
    t.dropShadow.direction = 3;
    engine.SelectTool(&t.dropShadow, true, -1);
    EXPECT_EQ(BrushSize(), (Pair{4, 6}));
    EXPECT_EQ(state.brush.source.At(0, 5), state.drawCol);
    engine.SelectTool(&tools.restoreBrush, true, -1);
    // Three quarter turns: the first column, read upwards, is now the top row.
    EXPECT_EQ(BrushSize(), (Pair{2, 4}));
    EXPECT_EQ(state.brush.source.At(0, 0), before[4]);
    EXPECT_EQ(state.brush.source.At(1, 0), before[0]);
}

TEST_F(TransformTest, ResizingByDraggingStoresARadiusOfAtLeastOne) {
    Use(t.spraySize);
    Drag({{20, 15}, {20, 15}});
    EXPECT_EQ(state.sprayRadius, 1);
    Use(t.spraySize);
    Drag({{20, 15}, {23, 19}});
    EXPECT_EQ(state.sprayRadius, 5);

    UseCustom(3, 3, 3);
    ASSERT_TRUE(state.brush.SelectBuiltIn(BrushShape::Square, 1, state.drawCol, state.backCol));
    Use(t.brushResize);
    Drag({{20, 15}, {23, 8}});
    EXPECT_EQ(BrushSize(), (Pair{15, 15}));
    EXPECT_EQ(state.brush.radius, 7);
    EXPECT_EQ(state.brush.handle, 3); // put back after resizing about the centre
    EXPECT_EQ(RadiusDragTool::Radius(BrushShape::Circular, {100000, 0}), RadiusDragTool::MaxRadius);
}

// STRETCHBAR: 0 width, 1 height, 2 width %, 3 height %, 4 keep, 5 preview, 6 apply.
TEST_F(TransformTest, StretchBarLinksItsFieldsAndMirrorsOnANegativeWidth) {
    const auto before = Pixels();
    const int changes = Changes();
    Use(t.stretchImage);
    EXPECT_EQ(bar.values[0], 40);
    bar.Change(4, 1);
    bar.Change(2, 50);
    EXPECT_EQ(bar.values[3], 50);
    EXPECT_EQ(bar.values[0], 20);
    EXPECT_EQ(bar.values[1], 15);
    bar.Change(5, 0); // preview
    EXPECT_EQ(Image().Width(), 20);
    EXPECT_EQ(Changes(), changes);

    bar.Change(4, 0);
    bar.Change(2, -100);
    EXPECT_EQ(bar.values[0], -40);
    EXPECT_EQ(bar.values[3], 50); // no longer linked
    bar.Change(3, 100);
    bar.Change(6, 0); // apply
    EXPECT_EQ(Changes(), changes + 1);
    ASSERT_EQ(Image().Width(), 40);
    ASSERT_EQ(Image().Height(), 30);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(Image().At(x, y), before[size_t(y * W + W - 1 - x)]) << x << "," << y;
    // Applying again counts again.
    bar.Change(6, 0);
    EXPECT_EQ(Changes(), changes + 2);
}

TEST_F(TransformTest, LeavingKeepsTheLastAppliedPictureAndDropsAnyLaterPreview) {
    const auto before = Pixels();
    const auto all = [this] { return PixelsOf(Image()); };
    Use(t.rotateImage);
    bar.Change(1, 90);
    bar.Change(3, 0); // apply 90 degrees
    const auto applied = all();
    bar.Change(1, 30);
    bar.Change(2, 0); // preview 30 degrees, not applied
    EXPECT_NE(Image().Width(), 30);
    engine.ReturnToPreviousTool(true);
    // The applied quarter turn, counter-clockwise, index by index: (x, y) went to (y, w - 1 - x).
    ASSERT_EQ((Pair{Image().Width(), Image().Height()}), (Pair{30, 40}));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(Image().At(x, y), before[size_t(x * W + W - 1 - y)]) << x << "," << y;
    EXPECT_EQ(all(), applied);

    // A preview left without Apply is taken back.
    Use(t.rotateImage);
    bar.Change(1, 180);
    bar.Change(0, 1);
    bar.Change(2, 0);
    EXPECT_NE(all(), applied);
    engine.ReturnToPreviousTool(true);
    EXPECT_EQ(all(), applied);
}

TEST_F(TransformTest, APictureTooLargeToMakeIsRefusedAndTheOldOneKept) {
    const auto before = Pixels();
    const int changes = Changes();
    Use(t.stretchImage);
    bar.values[0] = 20000; // past what the bar allows, as a language file's bar could
    bar.values[1] = -20000;
    bar.Change(6, 0);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("ImgBig"));
    EXPECT_FALSE(t.stretchImage.Applied());
    EXPECT_EQ(Changes(), changes);
    EXPECT_TRUE(Same(Pixels(), before));
    // A side of 0 still makes a picture.
    bar.values[0] = 0;
    bar.values[1] = 0.5;
    bar.Change(5, 0);
    EXPECT_EQ((Pair{Image().Width(), Image().Height()}), (Pair{1, 1}));
}

} // namespace
