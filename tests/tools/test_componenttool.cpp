// The component tools driven through the engine: what reaches the component's session.
#include "ToolBench.h"
#include "tools/ComponentTool.h"

#include <map>

namespace {

using namespace bench;

struct ComponentToolTest : ToolBench {
    ComponentToolTest() : ToolBench({60, 40}, Start::Freehand) {}

    std::vector<std::pair<int, bool>> started;
    std::vector<int> ended;
    std::vector<std::tuple<Pair, Pair, bool>> clicks;
    std::vector<Pair> stamps;
    ComponentToolHooks hooks{[this](int c, bool brush) {
                                 started.push_back({c, brush});
                             },
                             [this](int c) { ended.push_back(c); },
                             [this](Pair at, Pair size, bool right) {
                                 clicks.push_back({at, size, right});
                             },
                             [this](const Buffer&, Pair at) { stamps.push_back(at); },
                             {}};
};

TEST_F(ComponentToolTest, TheImageToolStaysThroughClicksAndEndsOnce) {
    ComponentImageTool tool(3, hooks);
    Use(tool);
    EXPECT_EQ(started, (std::vector<std::pair<int, bool>>{{3, false}}));
    Click({5, 6});
    Click({50, 30}, true);
    Press({7, 8});
    engine.DragIsSure();
    Release();
    EXPECT_EQ(engine.CurrentTool(), &tool);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[0], std::make_tuple(Pair{5, 6}, Pair{60, 40}, false));
    EXPECT_EQ(clicks[1], std::make_tuple(Pair{50, 30}, Pair{60, 40}, true));
    EXPECT_EQ(std::get<0>(clicks[2]), (Pair{7, 8}));
    EXPECT_TRUE(ended.empty());
    engine.ReturnToPreviousTool(true);
    EXPECT_EQ(engine.CurrentTool(), &tools.continuousFreehand);
    EXPECT_EQ(ended, std::vector<int>{3});
}

TEST_F(ComponentToolTest, TheBrushStampsEveryPointOfTheStrokeOnce) {
    UseBrush(1); // 3 x 3, handle in the centre
    ComponentBrushTool tool(0, hooks);
    Use(tool);
    EXPECT_EQ(started, (std::vector<std::pair<int, bool>>{{0, true}}));
    Drag({{10, 12}, {14, 12}, {14, 15}});
    // Top-left corners one pixel up and left of the pointer, no position left out or doubled
    // but the end, where the release adds its dab.
    std::map<std::pair<int, int>, int> seen;
    for (Pair p : stamps) ++seen[{p.x + 1, p.y + 1}];
    std::map<std::pair<int, int>, int> want;
    for (int x = 10; x <= 14; ++x) want[{x, 12}] = 1;
    for (int y = 13; y <= 15; ++y) want[{14, y}] = 1;
    want[{14, 15}] = 2;
    EXPECT_EQ(seen, want);
    EXPECT_EQ(Changes(), 1);
    Use(tools.continuousFreehand);
    EXPECT_EQ(ended, std::vector<int>{0});
}

} // namespace
