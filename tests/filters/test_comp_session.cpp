#include "CompTestKit.h"
#include "filters/CompPreview.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace comp;
using comptest::Probe;
using comptest::Rig;
using comptest::Same;

namespace {

int32_t IntAt(const uint8_t* v, size_t offset) {
    int32_t i;
    std::memcpy(&i, v + offset, sizeof i);
    return i;
}

Buffer Inverted(const Buffer& b) {
    Buffer out = b;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) out.At(x, y) = ~b.At(x, y) & 0xFFFFFF;
    return out;
}

bool NoneNested(const Probe& p) {
    for (int i = 0; i < p.Count(); ++i)
        if (p.Depth(i) != 0) return false;
    return true;
}

using Commands = std::vector<uint32_t>;

} // namespace

TEST(CompSession, StartSendsTheRecordThenTheValues) {
    Rig r;
    Probe p;
    ASSERT_TRUE(p.Loaded());
    EXPECT_EQ(r.session.Start(), Session::Started::Shown);
    EXPECT_TRUE(r.panel.shown);
    EXPECT_EQ(p.Commands(), (Commands{OVC_START, OVC_PARAMS}));
    const OvcEnv& e = p.Env(0);
    EXPECT_EQ(e.src, r.host.undo.pixels);
    EXPECT_EQ(e.dst, r.host.picture.pixels);
    EXPECT_EQ((std::array{e.width, e.height, e.left, e.top, e.right, e.bottom, e.markedOnly,
                          e.final, e.current}),
              (std::array<intptr_t, 9>{100, 50, 0, 0, 99, 49, 0, 0, 1}));
    EXPECT_EQ(e.cosine, e.sine + 256);
    EXPECT_EQ(e.sine[256], 512);
    EXPECT_EQ(e.images[0].pixels, r.host.undo.pixels);
    EXPECT_EQ(e.foreground, 0xFFFFFF);
    EXPECT_EQ(IntAt(p.Values(1), 0), 10);
    EXPECT_TRUE(Same(r.host.picture, r.original));
}

TEST(CompSession, PresetSendsOneValuesNotice) {
    Rig r;
    Probe p;
    r.session.Start();
    r.panel.values[0].number = 55;
    r.session.ControlChanged(1);
    EXPECT_EQ(IntAt(p.Values(p.Last(OVC_PARAMS)), 0), 55);
    const int before = p.CountOf(OVC_PARAMS);
    r.session.Preset();
    EXPECT_EQ(p.CountOf(OVC_PARAMS), before + 1);
    EXPECT_EQ(IntAt(p.Values(p.Last(OVC_PARAMS)), 0), 10);
}

TEST(CompSession, TwoChangesThenOkRunOnce) {
    Rig r;
    Probe p;
    r.session.Start();
    for (int v : {20, 30}) {
        r.panel.values[0].number = v;
        r.session.ControlChanged(1);
    }
    r.session.Ok();
    EXPECT_EQ(p.CountOf(OVC_PROCESS), 1);
    EXPECT_EQ(p.Env(p.Last(OVC_PROCESS)).final, 1);
    EXPECT_TRUE(r.session.Committed());
    EXPECT_TRUE(r.session.Ended());
    EXPECT_EQ(p.Commands().back(), uint32_t(OVC_END));
    EXPECT_TRUE(Same(r.host.picture, Inverted(r.original)));
    EXPECT_TRUE(Same(r.host.undo, r.original));
    EXPECT_EQ(r.host.changes, 1);
}

TEST(CompSession, EachStartRunsAgainWithTheSameValues) {
    Rig r;
    Probe p;
    r.session.Start();
    r.session.Ok();
    comptest::FakeHost host;
    comptest::FakePanel panel;
    Session again(r.component, host, panel, nullptr);
    host.session = &again;
    again.Start();
    again.Ok();
    EXPECT_EQ(p.CountOf(OVC_PROCESS), 2);
    EXPECT_TRUE(again.Committed());
}

TEST(CompSession, AStoppedRunIsNeverCommitted) {
    Rig r;
    Probe p;
    p.Stepping(true);
    r.session.Start();
    r.host.onEvents = [&r] { r.session.Preview(); }; // Preview reads "Stop" while running
    EXPECT_EQ(r.session.Preview(), RunResult::Stopped);
    EXPECT_EQ(r.session.Preview(), RunResult::Stopped); // same values, still runs again
    r.session.Ok();
    EXPECT_FALSE(r.session.Committed());
    EXPECT_FALSE(r.session.Ended());
    EXPECT_EQ(p.CountOf(OVC_PROCESS), 3);
    EXPECT_EQ(r.host.steps.front(), 2); // row 1 of 50
    r.host.onEvents = nullptr;
    r.session.Ok();
    EXPECT_TRUE(r.session.Committed());
    EXPECT_TRUE(Same(r.host.picture, Inverted(r.original)));
}

TEST(CompSession, NoParametersMeansNoWindowAndOkAtOnce) {
    Rig r("My.Effects/noparams.ovc");
    Probe p("My.Effects/noparams.ovc");
    EXPECT_EQ(r.session.Start(), Session::Started::Finished);
    EXPECT_FALSE(r.panel.shown);
    EXPECT_EQ(p.Commands(), (Commands{OVC_START, OVC_PARAMS, OVC_PROCESS, OVC_END}));
    EXPECT_TRUE(Same(r.host.picture, Inverted(r.original)));
    EXPECT_EQ(r.host.changes, 1);
}

TEST(CompSession, AThrowingComponentLeavesThePictureIntact) {
    for (uint32_t command : {OVC_START, OVC_PARAMS, OVC_BUTTON, OVC_PROCESS, OVC_END, OVC_CLICK}) {
        Rig r;
        Probe p;
        p.ThrowOn(command);
        r.session.Start();
        r.session.ButtonPressed(3);
        r.session.Click({1, 1}, {100, 50}, false, false);
        r.session.Ok();
        ASSERT_EQ(r.host.errors, QStringList{"ErrOVC Probe ErrOVC2"}) << command;
        if (command == OVC_PROCESS) {
            EXPECT_FALSE(r.session.Committed());
            EXPECT_TRUE(Same(r.host.picture, r.original));
            r.session.Cancel();
            EXPECT_TRUE(r.session.Ended());
        } else {
            EXPECT_TRUE(Same(r.host.picture, Inverted(r.original))) << command;
        }
        EXPECT_TRUE(Same(r.host.undo, r.original)) << command;
    }
}

TEST(CompSession, PreviewOkAndCancelFromInsideWaitForTheCall) {
    const struct {
        uint32_t message;
        bool ended, committed;
    } cases[] = {
        {OVC_MSG_PREVIEW, false, false}, {OVC_MSG_OK, true, true}, {OVC_MSG_CANCEL, true, false}};
    for (const auto& c : cases) {
        Rig r;
        Probe p;
        p.SendOn(OVC_PARAMS, c.message, 0, 0);
        r.session.Start();
        EXPECT_TRUE(NoneNested(p)) << c.message;
        EXPECT_EQ(r.session.Ended(), c.ended) << c.message;
        EXPECT_EQ(r.session.Committed(), c.committed) << c.message;
        EXPECT_EQ(p.CountOf(OVC_PROCESS), c.message == OVC_MSG_CANCEL ? 0 : 1) << c.message;
        const bool changed = c.message != OVC_MSG_CANCEL;
        EXPECT_TRUE(Same(r.host.picture, changed ? Inverted(r.original) : r.original));
    }
}

TEST(CompSession, NothingRunsBetweenOkAndTheEnd) {
    Rig r;
    Probe p;
    r.host.deferEnd = true;
    p.SendOn(OVC_PROCESS, OVC_MSG_SET, OVC_W(1, OVC_SET_VALUE), 99);
    p.SendOn(OVC_PROCESS, OVC_MSG_PREVIEW, 0, 0);
    r.session.Start();
    r.session.Ok();
    // The dialog is still there until the program ends the tool: what it sends is ignored.
    r.panel.values[0].number = 5;
    r.session.ControlChanged(1);
    r.session.Preview();
    r.session.Cancel();
    r.session.End();
    EXPECT_EQ(p.CountOf(OVC_PROCESS), 1);
    EXPECT_EQ(p.CountOf(OVC_PARAMS), 1);
    EXPECT_EQ(r.host.endTools, 1);
    EXPECT_TRUE(Same(r.host.picture, Inverted(r.original)));
    EXPECT_TRUE(Same(r.host.undo, r.original));
}

TEST(CompSession, ValuesSetWhileAnsweringValuesDoNotLoop) {
    Rig r;
    Probe p;
    p.SendOn(OVC_PARAMS, OVC_MSG_SET, OVC_W(1, OVC_SET_VALUE), 42, 1000);
    r.session.Start();
    EXPECT_EQ(p.CountOf(OVC_PARAMS), 1);
    EXPECT_EQ(r.panel.values[0].number, 42);
    // Set while answering a button, a value works as a change once the call has returned.
    p.SendOn(OVC_BUTTON, OVC_MSG_SET, OVC_W(1, OVC_SET_VALUE), 77);
    r.session.ButtonPressed(3);
    EXPECT_EQ(p.CountOf(OVC_PARAMS), 2);
    EXPECT_EQ(IntAt(p.Values(p.Last(OVC_PARAMS)), 0), 77);
    EXPECT_TRUE(NoneNested(p));
}

TEST(CompSession, ResizeWaitsForTheRunAndTheSourceFollows) {
    Rig r;
    Probe p;
    p.SendOn(OVC_PROCESS, OVC_MSG_RESIZE, 60, 40);
    r.session.Start();
    r.session.Preview();
    EXPECT_FALSE(r.host.resizedWhileRunning);
    ASSERT_EQ(r.host.picture.Width(), 60);
    ASSERT_EQ(r.host.picture.Height(), 40);
    r.panel.values[0].number = 11;
    r.session.Preview();
    const OvcEnv& e = p.Env(p.Last(OVC_PROCESS));
    EXPECT_EQ((std::array{e.width, e.height, e.right, e.bottom}),
              (std::array<intptr_t, 4>{60, 40, 59, 39}));
    EXPECT_NE(e.src, r.host.undo.pixels); // the 100 x 50 undo copy would be read wrongly
    const Buffer inverted = Inverted(r.original);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(r.host.picture.At(x, y), inverted.At(x, y));
}

TEST(CompSession, EndingAfterAFailedStart) {
    for (const bool noLibrary : {true, false}) {
        Rig r;
        Probe p;
        if (noLibrary)
            r.component.path = QStringLiteral("/nonexistent/none.ovc");
        else
            r.host.undoWorks = false;
        EXPECT_EQ(r.session.Start(), Session::Started::Failed);
        r.session.End();
        EXPECT_EQ(p.Count(), 0);
        EXPECT_EQ(r.host.exchanges, 0);
        EXPECT_TRUE(Same(r.host.picture, r.original));
        EXPECT_EQ(r.host.messages.contains("NoMem"), !noLibrary);
    }
}

TEST(CompSession, ClickRecord) {
    const struct {
        Pair at, size;
        intptr_t x, y;
    } cases[] = {{{0, 0}, {1, 1}, 0, 0},
                 {{99, 49}, {100, 50}, 65535, 65535},
                 {{50, 25}, {101, 51}, 32767, 32767},
                 {{0, 7}, {1, 8}, 0, 65535}}; // one pixel wide: 0, no division by zero
    Rig r;
    Probe p;
    r.session.Start();
    for (const auto& c : cases) {
        r.session.Click(c.at, c.size, true, true);
        const OvcClick& k = p.Click(p.Last(OVC_CLICK));
        EXPECT_EQ((std::array{k.x, k.y, k.width, k.height, k.right, k.preview}),
                  (std::array<intptr_t, 6>{c.x, c.y, c.size.x, c.size.y, 1, 1}));
    }
}

TEST(CompSession, SetSubcommands) {
    Rig r;
    Probe p;
    r.session.Start();
    const char caption[] = "Hello";
    const double amount = 0.75;
    r.session.Message(OVC_MSG_SET, OVC_W(1, OVC_SET_CAPTION), intptr_t(caption));
    r.session.Message(OVC_MSG_SET, OVC_W(1, OVC_SET_LOW), -5);
    r.session.Message(OVC_MSG_SET, OVC_W(2, OVC_SET_DECIMALS), 3);
    r.session.Message(OVC_MSG_SET, OVC_W(2, OVC_SET_VALUE), intptr_t(&amount));
    r.session.Message(OVC_MSG_SET, OVC_W(2, OVC_SET_VALUE), 0); // no double there: ignored
    r.session.Message(OVC_MSG_SET, OVC_W(4, OVC_SET_VALUE), intptr_t(0xFFFF0000u));
    r.session.Message(OVC_MSG_SET, OVC_W(5, OVC_SET_VALUE), 5);
    r.session.Message(OVC_MSG_SET, OVC_W(11, OVC_SET_VALUE), 5);
    EXPECT_EQ(r.panel.captions, QStringList{"1:Hello"});
    EXPECT_EQ(r.panel.lowest[0], -5);
    EXPECT_EQ(r.panel.decimals[1], 3);
    EXPECT_EQ(r.panel.values[1].number, 0.75);
    EXPECT_EQ(r.panel.values[3].x, 99);
    EXPECT_EQ(r.panel.values[4].number, 1);
    EXPECT_EQ(p.CountOf(OVC_PARAMS), 4); // every value set works as a change
}

TEST(CompSession, NoticesAndTheCurrentTool) {
    Rig r;
    Probe p;
    p.SendOn(OVC_START, OVC_MSG_NOTIFY_OFF, 0, 0);
    p.SendOn(OVC_PARAMS, OVC_MSG_STEP, 5, 0); // outside a full run: go on, no progress
    r.session.Start();
    r.panel.values[0].number = 3;
    r.session.ControlChanged(1);
    EXPECT_EQ(p.CountOf(OVC_PARAMS), 1);
    EXPECT_EQ(p.Answers(), (std::vector<intptr_t>{0, 0}));
    EXPECT_TRUE(r.host.steps.empty());
    r.session.Message(OVC_MSG_NOTIFY_ON, 0, 0);
    r.session.ControlChanged(1);
    EXPECT_EQ(IntAt(p.Values(p.Last(OVC_PARAMS)), 0), 3);
    // Another tool is current: messages do nothing.
    r.host.toolCurrent = false;
    p.SendOn(OVC_BUTTON, OVC_MSG_OK, 0, 0);
    r.session.ButtonPressed(3);
    EXPECT_FALSE(r.session.Ended());
}

TEST(CompSession, BrushStampsOnlyUnderTheBrush) {
    Rig r;
    Probe p;
    EXPECT_EQ(r.session.Start(Session::Mode::Brush), Session::Started::Shown);
    r.host.undo = r.host.picture; // the stroke's press took the undo copy
    Buffer brush;
    brush.Alloc({3, 3});
    std::fill_n(brush.pixels, 9, 0x123456u);
    brush.At(1, 1) = Pixel::Transparent;
    r.session.Stamp(brush, {10, 10});
    r.session.Stamp(brush, {-2, -2}); // clipped to the picture: only its corner pixel
    const Buffer inverted = Inverted(r.original);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool under =
                (x >= 10 && x <= 12 && y >= 10 && y <= 12 && !(x == 11 && y == 11)) ||
                (x == 0 && y == 0);
            ASSERT_EQ(r.host.picture.At(x, y), under ? inverted.At(x, y) : r.original.At(x, y))
                << x << "," << y;
            ASSERT_EQ(r.host.undo.At(x, y), r.original.At(x, y)); // the marks are gone
        }
    const OvcEnv& e = p.Env(p.Last(OVC_PROCESS));
    EXPECT_EQ((std::array{e.left, e.top, e.right, e.bottom, e.markedOnly}),
              (std::array<intptr_t, 5>{0, 0, 0, 0, 1}));
    r.session.End();
    EXPECT_EQ(r.host.exchanges, 0);
}

TEST(CompSession, InstantPreview) {
    Rig r;
    Probe p;
    r.panel.instantShown = true;
    r.session.Start();
    EXPECT_EQ(p.Commands(), (Commands{OVC_START, OVC_PARAMS, OVC_PROCESS}));
    const OvcEnv& e = p.Env(2);
    EXPECT_EQ((std::array{e.width, e.height, e.final}), (std::array<intptr_t, 3>{120, 60, 0}));
    EXPECT_TRUE(Same(r.session.PreviewResult(), Inverted(r.session.PreviewSource())));
    EXPECT_EQ(r.panel.previewRepaints, 1);
    EXPECT_TRUE(Same(r.host.picture, r.original));
}

TEST(CompSession, EffectPreviewRunsWithTheInitialValues) {
    comp::Component c = comptest::Record("My.Effects/probe.ovc");
    Probe p;
    c.valuesSet = true;
    c.currentPacked[0] = 77; // a value from the dialog, told first
    c.initialPacked[0] = 10;
    const Buffer picture = comptest::Pattern(100, 50);
    Buffer result;
    ASSERT_TRUE(comp::EffectPreview(c, picture, {40, 20}, result));
    EXPECT_EQ(p.Commands(), (Commands{OVC_START, OVC_PARAMS, OVC_PARAMS, OVC_PROCESS, OVC_END}));
    EXPECT_EQ(p.Values(1)[0], 77);
    EXPECT_EQ(IntAt(p.Values(2), 0), 10);
    const OvcEnv& e = p.Env(3);
    EXPECT_EQ((std::array{e.width, e.height, e.right, e.bottom, e.final}),
              (std::array<intptr_t, 5>{40, 20, 39, 19, 0}));
    Buffer scaled;
    scaled.Alloc({40, 20});
    scaled.Scale(picture, {40, 20}, {0, 0}, Pixel::CopyAll, true);
    EXPECT_TRUE(Same(result, Inverted(scaled)));

    p.ThrowOn(OVC_PROCESS);
    EXPECT_FALSE(comp::EffectPreview(c, picture, {40, 20}, result));
    EXPECT_TRUE(result.Empty());
}
