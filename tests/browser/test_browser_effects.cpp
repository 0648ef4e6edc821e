#include "browser/BrowserTestUtil.h"
#include "filters/CompTestKit.h"

#include <dlfcn.h>

using comptest::Pattern;
using comptest::Probe;
using comptest::Same;

namespace {

// The picture as the effect browser hands it to its worker: scaled to its thumbnail size.
Buffer Scaled(const Buffer& picture) {
    const Pair size = browse::ThumbnailSize(picture.Width(), picture.Height());
    Buffer b;
    b.Alloc(size);
    b.Scale(picture, size, {0, 0}, Pixel::CopyAll, true);
    return b;
}

// One effect-mode browse of the components at these test paths, every entry in view.
struct EffectBrowse {
    explicit EffectBrowse(std::vector<const char*> paths, const Buffer& picture) {
        std::vector<TBrowseEffectThread::Effect> effects;
        for (const char* path : paths) {
            entries.push_back({QString::fromUtf8(path), true, false});
            const comp::Component c = comptest::Record(path);
            effects.push_back({c, c.descriptor.name});
        }
        TBrowseEffectThread worker(cells, entries, std::move(effects), Scaled(picture),
                                   picture.Bounds());
        worker.Start();
        worker.SetRange({0, int(entries.size()) - 1});
        WaitIdle(worker);
    }
    std::vector<BrowseEntry> entries;
    FakeCells cells;
};

// The component at path run as the test's own code runs it, through dlopen: start, its packed
// values, then the whole picture, with no host at all.
Buffer RunDirectly(const char* path, const Buffer& source, const comp::Values& values) {
    void* lib = dlopen(comptest::CompPath(path).toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(lib, nullptr);
    if (!lib) return {};
    auto process = reinterpret_cast<void (*)(void*, uint32_t)>(dlsym(lib, "OVCPROCESS"));
    Buffer src = source, dst = source;
    OvcEnv env{};
    env.src = src.pixels;
    env.dst = dst.pixels;
    env.width = src.Width();
    env.height = src.Height();
    env.right = src.Width() - 1;
    env.bottom = src.Height() - 1;
    comp::Values v = values;
    process(&env, OVC_START);
    process(v.data(), OVC_PARAMS);
    process(&env, OVC_PROCESS);
    process(nullptr, OVC_END);
    dlclose(lib);
    return dst;
}

TEST(BrowseEffects, AThumbnailIsTheComponentRunOnTheScaledPictureAThrowingOneIsBlank) {
    const Buffer picture = Pattern(240, 100); // 120 x 50 in its cell
    const Buffer before = picture;
    Probe probe; // the probe throws in every preview; the others run on
    ASSERT_TRUE(probe.Loaded());
    probe.ThrowOn(OVC_PROCESS);
    EffectBrowse browse(
        {"My.Effects/noparams.ovc", "My.Effects/probe.ovc", "My.Effects/Deeper/allparams.ovc"},
        picture);
    ASSERT_EQ(browse.cells.thumbOfEntry.size(), 3u);

    const Buffer expected = RunDirectly("My.Effects/noparams.ovc", Scaled(picture), {});
    const Buffer& made = browse.cells.thumbOfEntry[0];
    EXPECT_EQ(made.Width(), 120);
    EXPECT_EQ(made.Height(), 50);
    EXPECT_TRUE(Same(made, expected));
    EXPECT_EQ(made.At(7, 3), ~Scaled(picture).At(7, 3) & 0xFFFFFF); // the probe inverts
    EXPECT_EQ(browse.cells.captionOfEntry[0], QStringLiteral("No Params"));

    // The throwing one: a blank cell of the full size, still captioned.
    const Buffer& blank = browse.cells.thumbOfEntry[1];
    EXPECT_EQ(blank.Width(), browse::ThumbWidth);
    EXPECT_EQ(blank.Height(), browse::ThumbHeight);
    EXPECT_EQ(blank.At(60, 45), blank.At(0, 0));
    EXPECT_EQ(browse.cells.captionOfEntry[1], QStringLiteral("Probe"));
    EXPECT_EQ(probe.Commands(),
              (std::vector<uint32_t>{OVC_START, OVC_PARAMS, OVC_PARAMS, OVC_PROCESS, OVC_END}));

    EXPECT_TRUE(Same(browse.cells.thumbOfEntry[2], expected)); // the next one went on
    EXPECT_TRUE(Same(picture, before));
}

TEST(BrowseEffects, APreviewRunsWithTheInitialValuesPackedWithoutADialog) {
    Probe probe("My.Effects/Deeper/allparams.ovc");
    EffectBrowse browse({"My.Effects/Deeper/allparams.ovc"}, Pattern(180, 180));
    ASSERT_EQ(probe.Last(OVC_PROCESS), 3);
    // Par1 Radius 10, Par2 Amount 0 (its "0.5" ends the reading), Par4 Flag 1, Par5 Level 128,
    // Par8 Spot (5, 7) as fractions of the picture's 179 (not the thumbnail's 89).
    const uint8_t* v = probe.Values(2);
    auto at = [v](int offset) {
        int32_t i;
        std::memcpy(&i, v + offset, 4);
        return i;
    };
    double amount;
    std::memcpy(&amount, v + 4, 8);
    EXPECT_EQ(at(0), 10);
    EXPECT_EQ(amount, 0.0);
    EXPECT_EQ(at(12), 1);
    EXPECT_EQ(at(16), 128);
    EXPECT_EQ(uint32_t(at(28)), (1831u << 16) | 2563u); // round(5 x 65535 / 179), 7 likewise
    const OvcEnv& e = probe.Env(3);
    EXPECT_EQ((std::array{e.width, e.height, e.final, e.markedOnly}),
              (std::array<intptr_t, 4>{90, 90, 0, 0}));
}

TEST(BrowseEffects, MessagesSentFromAPreviewNeverReachTheRunningSession) {
    comptest::Rig rig; // the probe's own session, open with its dialog
    Probe probe;
    ASSERT_NE(rig.session.Start(comp::Session::Mode::Tool), comp::Session::Started::Failed);
    const comp::ParamValues values = rig.panel.values;
    const int commandsBefore = probe.Count();
    const struct {
        uint32_t message;
        uintptr_t w;
        intptr_t l;
    } sends[] = {
        {OVC_MSG_RESIZE, 10, 10}, {OVC_MSG_SET, OVC_W(1, OVC_SET_VALUE), 55},
        {OVC_MSG_STEP, 5, 0},     {OVC_MSG_OK, 0, 0},
        {OVC_MSG_CANCEL, 0, 0},   {OVC_MSG_PREVIEW, 0, 0},
    };
    for (const auto& s : sends) probe.SendOn(OVC_PROCESS, s.message, s.w, s.l);

    EffectBrowse browse({"My.Effects/probe.ovc"}, rig.host.picture);
    const Buffer& thumb = browse.cells.thumbOfEntry[0];
    EXPECT_TRUE(Same(thumb, RunDirectly("My.Effects/noparams.ovc", Scaled(rig.original), {})));
    // Every message was answered with 0 ("not stopped" for the progress) by the preview itself.
    EXPECT_EQ(probe.Answers(), std::vector<intptr_t>(std::size(sends), 0));
    EXPECT_EQ(probe.Count() - commandsBefore, 5); // the preview's own five commands, no more
    EXPECT_TRUE(Same(rig.host.picture, rig.original));
    EXPECT_EQ(rig.host.endTools, 0);
    EXPECT_EQ(rig.host.exchanges, 0);
    EXPECT_EQ(rig.panel.values, values);
    EXPECT_FALSE(rig.session.Closing());
    rig.session.End();
}

} // namespace
