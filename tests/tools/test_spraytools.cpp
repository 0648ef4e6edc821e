// Spray and airbrush driven through the engine, with the activity ticks fired by hand.
#include "ToolBench.h"

#include <algorithm>

namespace {

using namespace bench;

// A 60 x 40 black picture, a 1 x 1 brush.
struct SprayTest : ToolBench {
    SprayTest() : ToolBench({60, 40}, Start::TestLine) {}
    void SetUp() override {
        ToolBench::SetUp();
        Image().Box(Image().Bounds(), 0);
        state.drawCol = 0xFFFFFF;
        state.backCol = 0xFF0000;
        engine.SetOptionBar(&bar);
        UseBrush(0);
    }
    // A held press at p with n activity ticks, released.
    void Hold(Pair p, int ticks, bool right = false) {
        Press(p, right);
        engine.DragIsSure();
        for (int i = 0; i < ticks; ++i) engine.ActivateIconFunc();
        Release();
        Leave(); // the brush preview or the pointer pixel goes
    }
    // The largest value of each channel over the picture.
    std::array<uint32_t, 3> MaxChannels() {
        std::array<uint32_t, 3> m{};
        for (uint32_t p : Pixels())
            for (int c = 0; c < 3; ++c)
                m[size_t(c)] = std::max(m[size_t(c)], (p >> (16 - 8 * c)) & 0xFF);
        return m;
    }
};

TEST(SprayDabs, TwiceTheDensityLessOnePerBurst) {
    SeededRandom random;
    for (const auto& [density, dabs] : {std::pair{1, 1}, {10, 19}, {0, 1}}) {
        SCOPED_TRACE(density);
        EXPECT_EQ(int(spray::Dabs(random, {50, 50}, 20, density).size()), dabs);
    }
}

TEST_F(SprayTest, RadiusOneKeepsEveryDabBesideThePointer) {
    for (int radius : {1, 0}) { // 0 must not divide by zero: it counts as 1
        SCOPED_TRACE(radius);
        Use(tools.spray, {0, double(radius), 20});
        Hold({30, 20}, 5);
        const auto px = Pixels();
        int painted = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (px[size_t(y * W + x)]) {
                    ++painted;
                    EXPECT_LE(std::abs(x - 30), 1) << Str({x, y});
                    EXPECT_LE(std::abs(y - 20), 1) << Str({x, y});
                }
        EXPECT_GT(painted, 0);
        EXPECT_EQ(state.sprayRadius, 1);
    }
}

TEST_F(SprayTest, TicksPaintOnlyWhilePressedInsideThePicture) {
    Use(tools.spray, {0, 5, 10});
    Move({30, 20});
    engine.ActivateIconFunc();
    Leave();
    EXPECT_EQ(MaxChannels()[0], 0u) << "a tick without a press painted";
    Press({30, 20});
    EXPECT_TRUE(view.running[1]);
    engine.DragIsSure();
    Release();
    EXPECT_FALSE(view.running[1]) << "the timer outlived the press";
    Leave();
    Image().Box(Image().Bounds(), 0);
    Move({30, 20});
    engine.ActivateIconFunc();
    Leave();
    EXPECT_EQ(MaxChannels()[0], 0u);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(SprayTest, AirbrushStrengthBoundsTheWeights) {
    // Weight at most e + 2 on the left, e + 4 mirrored: white over black reaches 255·w >> 8.
    // A strength past 100 is clamped, so no weight spills into the next channel.
    for (const auto& [strength, colour, maxRed, maxBlue, minBlue] :
         {std::tuple{0, 0xFFFFFFu, 15u, 15u, 1u},
          {100, 0x0000FFu, 0u, 255u, 200u},
          {1000, 0x0000FFu, 0u, 255u, 200u}}) {
        SCOPED_TRACE(strength);
        Image().Box(Image().Bounds(), 0);
        state.drawCol = colour;
        Use(tools.airbrush, {0, 10, double(strength)});
        Hold({30, 20}, 0); // one burst, at the press
        const auto m = MaxChannels();
        EXPECT_LE(m[0], maxRed);
        EXPECT_EQ(m[1], strength == 0 ? m[0] : 0u);
        EXPECT_LE(m[2], maxBlue);
        EXPECT_GE(m[2], minBlue);
    }
}

TEST_F(SprayTest, AirbrushRightButtonBlendsTheBackgroundColour) {
    state.drawCol = 0x00FF00;
    Use(tools.airbrush, {0, 6, 100});
    Hold({30, 20}, 2, true);
    const auto m = MaxChannels();
    EXPECT_GT(m[0], 100u);
    EXPECT_EQ(m[1], 0u);
    // The disc stays within the radius and the pointer pixel's preview is gone.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (Image().At(x, y)) {
                EXPECT_LE((x - 30) * (x - 30) + (y - 20) * (y - 20), 7 * 7) << Str({x, y});
            }
}

TEST_F(SprayTest, RadiusAndValueSurviveLeavingTheTool) {
    Use(tools.spray);
    bar.Change(1, 7);
    bar.Change(2, 3);
    Use(tools.continuousFreehand);
    Use(tools.airbrush);
    EXPECT_EQ(bar.values[1], 7); // one radius for both tools
    EXPECT_EQ(bar.values[2], 10);
    EXPECT_FALSE(bar.disabled[0]);
    bar.Change(0, 0); // the size button hands over to the spray-size tool
    EXPECT_EQ(engine.CurrentTool(), &tools.transform.spraySize);
    Use(tools.spray);
    EXPECT_EQ(bar.values[1], 7);
    EXPECT_EQ(bar.values[2], 3);
}

TEST_F(SprayTest, FeedbackShownThenHiddenLeavesThePictureAlone) {
    for (PaintTool* tool :
         {static_cast<PaintTool*>(&tools.spray), static_cast<PaintTool*>(&tools.airbrush)}) {
        const auto before = Pixels();
        Use(*tool, {0, 5, 10});
        Move({10, 10});
        Move({12, 11});
        Leave();
        EXPECT_TRUE(Same(Pixels(), before));
    }
}

} // namespace
