// Write Text through the engine: the block against text drawn with OutText, the anchor's moves,
// committed lines, the clipboard keys and the sizes that must not crash.
#include "ToolBench.h"

#include "raster/TextFont.h"

namespace {

using namespace bench;

constexpr int kShift = 0x100, kCtrl = 0x200;

// A 200 x 120 black picture; white text, red background colour, grey shadow.
struct TextTest : ToolBench {
    static constexpr uint32_t Red = 0xFF0000, Grey = 0x808080;
    QString clipboard;

    TextTest() : ToolBench({200, 120}, Start::TestLine) {}
    void SetUp() override {
        ToolBench::SetUp();
        Image().Box(Image().Bounds(), 0);
        state.drawCol = 0xFFFFFF;
        state.backCol = Red;
        engine.SetOptionBar(&bar);
        engine.hooks.clipboardText = [this] { return clipboard; };
        engine.hooks.setClipboardText = [this](const QString& t) { clipboard = t; };
    }
    TextTool& Tool() { return tools.writeText; }
    void Start(uint32_t styles = 0, double sx = 100, double sy = 100) {
        Tool().styles = styles;
        Tool().scaleX = sx;
        Tool().scaleY = sy;
        Use(Tool());
    }
    void Type(const QString& s) {
        for (QChar c : s) ASSERT_TRUE(Tool().Key(engine, 0, QString(c)));
    }
    void Key(int code) { ASSERT_TRUE(Tool().Key(engine, code, QString())); }
    int Top() const { return tools.writeText.anchor.y - tools.writeText.Layout().height + 1; }
    // OutText of s in the tool's font into a transparent cell.
    Buffer Cell(const QString& s) {
        const TextFont font = Tool().CurrentStyle(engine).font;
        Buffer cell;
        EXPECT_TRUE(cell.Alloc(Buffer::GetTextExtent(font, s)));
        cell.Box(cell.Bounds(), Pixel::Transparent);
        cell.OutText(font, {0, 0}, s, 0xFFFFFF);
        return cell;
    }
    // Bounding box of the pixels that are not black.
    Rect Drawn() {
        Rect r{W, H, -1, -1};
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (Image().At(x, y))
                    r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x),
                         std::max(r.bottom, y)};
        return r;
    }
};

TEST_F(TextTest, TextIsOutTextWithItsOutlineAndShadow) {
    // Plain text at the block's top-left; with outline one pixel right and down inside a ring of
    // the background colour; the shadow 2 pixels right and down, under the text.
    for (const auto& [styles, textAt, shadowAt] : {std::tuple{0u, 0, -1},
                                                   {uint32_t(TextTool::Outline), 1, -1},
                                                   {uint32_t(TextTool::Shadow), 0, 2}}) {
        SCOPED_TRACE(styles);
        Use(tools.continuousFreehand);
        Image().Box(Image().Bounds(), 0);
        Start(styles);
        Click({20, 60});
        Type("Hi");
        const Buffer cell = Cell("Hi|");
        const int top = Top();
        const auto ink = [&](int x, int y) {
            return cell.Contains(x, y) && cell.At(x, y) != Pixel::Transparent;
        };
        for (int y = top; y < top + cell.Height() + 3; ++y)
            for (int x = 20; x < 20 + cell.Width() + 3; ++x) {
                uint32_t want = 0;
                bool ring = false;
                for (int i = 0; i <= 2 && textAt; ++i)
                    for (int j = 0; j <= 2; ++j) ring = ring || ink(x - 20 - i, y - top - j);
                if (shadowAt > 0 && ink(x - 20 - shadowAt, y - top - shadowAt)) want = Grey;
                if (ring) want = Red;
                if (ink(x - 20 - textAt, y - top - textAt)) want = 0xFFFFFF;
                ASSERT_EQ(Image().At(x, y), want) << Str({x, y});
            }
    }
}

TEST_F(TextTest, BackspaceOnTheCaretAloneChangesNothing) {
    Start();
    Click({20, 60});
    const auto before = Pixels();
    Key(8);
    EXPECT_EQ(Tool().text, "|");
    EXPECT_TRUE(Same(Pixels(), before));
}

TEST_F(TextTest, LineBreaksKeepTheBlocksTop) {
    Start(TextTool::Shadow | TextTool::Outline);
    Click({20, 60});
    Type("ab");
    const int top = Top(), y = Tool().anchor.y;
    Key(kShift + 13);
    Type("c");
    EXPECT_EQ(Top(), top);
    EXPECT_EQ(Tool().anchor.y, y + Tool().Layout().lineHeight);
    Key(8);
    Key(8);
    EXPECT_EQ(Tool().text, "ab|");
    EXPECT_EQ(Tool().anchor.y, y);
    EXPECT_EQ(Top(), top);
    clipboard = "x\ny\r\nz";
    Key(kShift + 45);
    EXPECT_EQ(Top(), top);
    Key(kCtrl + 46);
    EXPECT_EQ(Tool().text, "|");
    EXPECT_EQ(Tool().anchor.y, y);
}

TEST_F(TextTest, CommittedLinesSurviveTheNextBlock) {
    // With a shadow the next line's block starts inside the committed one's last rows.
    const auto original = Pixels();
    const auto write = [&] {
        Start(TextTool::Shadow);
        Click({20, 40});
        Type("gy");
        Key(13);
    };
    write();
    Use(tools.continuousFreehand); // the caret on the next line goes
    const auto clean = Pixels();
    Image().Box(Image().Bounds(), 0);
    write();
    EXPECT_EQ(Changes(), 2);
    const auto committed = Pixels();
    Type("q");
    Key(8);
    EXPECT_TRUE(Same(Pixels(), committed)) << "typing on the next line ate the committed one";
    Click({120, 100}); // the caret block moves away
    Click({20, 40});   // and onto the committed text
    Click({120, 100});
    Use(tools.continuousFreehand);
    EXPECT_TRUE(Same(Pixels(), clean));
    EXPECT_TRUE(Same(Snapshot(docs.UndoDoc().image), original)) << "the undo copy holds text";
}

TEST_F(TextTest, AntiAliasAndScalesSizeTheText) {
    Start();
    Click({10, 100});
    Type("Wide");
    const Rect plain = Drawn();
    const auto size = [](const Rect& r) { return Pair{r.Width(), r.Height()}; };
    for (const auto& [aa, sx, sy, wx, wy] :
         {std::tuple{true, 100.0, 100.0, 1.0, 1.0}, {false, 200.0, 50.0, 2.0, 0.5}}) {
        SCOPED_TRACE(sx);
        Use(tools.continuousFreehand);
        Image().Box(Image().Bounds(), 0);
        state.antiAlias = aa;
        Start(0, sx, sy);
        Click({10, 100});
        Type("Wide");
        const Pair got = size(Drawn()), want = size(plain);
        EXPECT_NEAR(got.x, want.x * wx, 3 + want.x * 0.1);
        EXPECT_NEAR(got.y, want.y * wy, 3 + want.y * 0.1);
        state.antiAlias = false;
    }
}

TEST_F(TextTest, ClipboardKeys) {
    Start();
    Click({10, 60});
    clipboard = QString(300, 'x');
    Key(kShift + 45);
    EXPECT_EQ(Tool().text, QString(254, 'x') + "|");
    Key(kCtrl + 'X');
    EXPECT_EQ(clipboard, QString(254, 'x'));
    EXPECT_EQ(Tool().text, "|");
    clipboard = "ok";
    Key(kCtrl + 'V');
    Key(kCtrl + 45);
    EXPECT_EQ(clipboard, "ok");
    EXPECT_EQ(Tool().text, "ok|");
}

TEST_F(TextTest, BackspaceTakesAWholeCharacter) {
    Start();
    Click({10, 60});
    ASSERT_TRUE(Tool().Key(engine, 0, QString::fromUtf8("a\xF0\x9F\x98\x80")));
    Key(8);
    EXPECT_EQ(Tool().text, "a|");
}

TEST_F(TextTest, ExtremeSizesStillCommitEveryLine) {
    for (const auto& [size, sx, sy] :
         {std::tuple{500, 1000.0, 1000.0}, {1, 1.0, 1.0}, {500, 1.0, 1000.0}}) {
        SCOPED_TRACE(size);
        Use(tools.continuousFreehand);
        Image().Box(Image().Bounds(), 0);
        state.antiAlias = true;
        Tool().size = size;
        Start(TextTool::Shadow | TextTool::Outline, sx, sy);
        Click({10, 100});
        clipboard = QString(254, 'M');
        Key(kShift + 45);
        Key(kShift + 13);
        Key(13);
        Use(tools.continuousFreehand);
        state.antiAlias = false;
    }
    EXPECT_EQ(Changes(), 3); // every Enter committed its line
}

TEST_F(TextTest, AColourChangeRedrawsTheBlock) {
    Start();
    Click({20, 60});
    Type("a");
    engine.SetColour(false, 0x00FF00);
    bool green = false;
    for (uint32_t p : Pixels()) {
        EXPECT_NE(p, 0xFFFFFFu);
        green = green || p == 0x00FF00;
    }
    EXPECT_TRUE(green);
}

} // namespace
