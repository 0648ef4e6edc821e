#include "ComponentHarness.h"

#include <QImage>

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

using namespace comptest;

namespace {

std::string Comp(const char* relative) {
    return BuildDir() + "/Comps/" + relative;
}

// The initial values of a descriptor's parameters, packed as the program packs them, read
// with the formats of the descriptor's definition.
struct Definitions {
    std::set<char> types;
    bool levels = false;
    int skipped = 0;
    std::vector<unsigned char> initial = std::vector<unsigned char>(OVC_VALUES_SIZE);
};

Definitions Parse(const std::string& desc) {
    Definitions d;
    unsigned offset = 0;
    for (int place = 1; place <= 10; ++place) {
        const std::string def = Key(desc, "Par" + std::to_string(place) + "=");
        if (def.size() < 3) continue;
        size_t i = 1;
        if (std::isdigit(static_cast<unsigned char>(def[i]))) d.levels = true, ++i;
        const size_t comma = def.find(',', i + 1);
        if (def[i] != ',' || (comma == std::string::npos && def[0] != 'B')) {
            ++d.skipped;
            continue;
        }
        const char* values = comma == std::string::npos ? "" : def.c_str() + comma + 1;
        int32_t a = 0, b = 0, c = 0, n = 0;
        double f[4] = {};
        unsigned hex = 0;
        bool ok = true;
        switch (def[0]) {
        case 'B':
            break;
        case 'C':
        case 'G':
            ok = std::sscanf(values, "%d", &c) == 1;
            break;
        case 'I':
        case 'S':
            ok = std::sscanf(values, "%d,%d,%d", &a, &b, &c) == 3;
            break;
        case 'F':
            ok = std::sscanf(values, "%d,%lf,%lf,%lf,%lf", &n, &f[0], &f[1], &f[2], &f[3]) == 5;
            break;
        case 'O':
            ok = std::sscanf(values, "%x", &hex) == 1;
            c = int32_t(hex);
            break;
        case 'P':
            ok = std::sscanf(values, "%d,%d", &a, &b) == 2;
            break;
        case 'L': {
            ok = std::sscanf(values, "%d,", &n) == 1 && n > 0;
            const char* p = values;
            for (int k = 0; ok && k <= n; ++k) {
                p = std::strchr(p, ',');
                ok = p != nullptr;
                if (ok) ++p;
            }
            ok = ok && std::sscanf(p, "%d", &c) == 1 && c >= 1 && c <= n;
            break;
        }
        default:
            ok = false;
        }
        if (!ok) {
            ++d.skipped;
            continue;
        }
        d.types.insert(def[0]);
        if (def[0] == 'B') continue;
        if (def[0] == 'F') {
            std::memcpy(&d.initial[offset], &f[3], 8);
            offset += 8;
        } else {
            std::memcpy(&d.initial[offset], &c, 4);
            offset += 4;
        }
    }
    return d;
}

TEST(ShippedComponents, DescribeThemselvesAndTogetherUseEveryParameterType) {
    const std::vector<std::string> paths = ShippedComponents();
    ASSERT_GE(paths.size(), 8u);
    std::set<char> types;
    bool levels = false;
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        Library lib(path);
        ASSERT_TRUE(lib.Ok()) << dlerror();
        const double ver = std::atof(Key(lib.desc, "Ver=").c_str());
        EXPECT_TRUE(ver >= 1.48 && ver < 2);
        EXPECT_FALSE(Key(lib.desc, "Name=").empty());
        EXPECT_FALSE(Key(lib.desc, "Copyright=").empty());
        EXPECT_FALSE(Key(lib.desc, "Contact=").empty());
        const std::string opt = Key(lib.desc, "Opt=");
        EXPECT_FALSE(opt.empty());
        EXPECT_EQ(opt.find_first_not_of("WP"), std::string::npos);
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        const std::string help = Key(lib.desc, "Help=");
        EXPECT_TRUE(std::filesystem::exists(folder / help.substr(0, help.find(','))));
        const std::string icon = Key(lib.desc, "Icon=");
        if (!icon.empty()) {
            EXPECT_EQ(QImage(QString::fromStdString((folder / icon).string())).size(),
                      QSize(24, 24));
        }
        const Definitions d = Parse(lib.desc);
        EXPECT_EQ(d.skipped, 0);
        types.insert(d.types.begin(), d.types.end());
        levels = levels || d.levels;
    }
    EXPECT_EQ(std::string(types.begin(), types.end()), "BCFGILOPS");
    EXPECT_TRUE(levels);
}

// Every component, with its initial values, on the sizes around the edge cases: only the
// rectangle (clipped to the picture) changes, never a top byte, and with marked-only only the
// marked pixels.
TEST(ShippedComponents, WriteOnlyTheirRectangleAndMarkedPixels) {
    const struct {
        int w, h;
        intptr_t l, t, r, b;
        bool marked;
    } cases[] = {
        {1, 1, 0, 0, 0, 0, false},      {7, 3, 0, 0, 6, 2, false},
        {7, 3, 2, 1, 4, 1, false},      {33, 9, 5, 2, 30, 7, false},
        {33, 9, -9, -9, 99, 99, false}, {33, 9, 20, 5, 3, 2, false}, // empty
        {33, 9, 0, 0, 32, 8, true},     {7, 3, 1, 0, 5, 2, true},
        {1, 1, 0, 0, 0, 0, true},
    };
    for (const std::string& path : ShippedComponents()) {
        Library lib(path);
        ASSERT_TRUE(lib.Ok());
        const Definitions d = Parse(lib.desc);
        for (const auto& c : cases) {
            SCOPED_TRACE(path + " " + std::to_string(c.w) + "x" + std::to_string(c.h) + " rect " +
                         std::to_string(c.l) + "," + std::to_string(c.t) + " marked " +
                         std::to_string(c.marked));
            Picture p(c.w, c.h);
            for (int i = 0; c.marked && i < c.w * c.h; i += 2) p.src[i] |= OVC_MARK;
            OvcEnv env = Env(p);
            env.left = c.l, env.top = c.t, env.right = c.r, env.bottom = c.b;
            env.markedOnly = c.marked;
            Drive(lib, env, d.initial);
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x) {
                    const bool inside = x >= c.l && x <= c.r && y >= c.t && y <= c.b &&
                                        (!c.marked || (p.Src(x, y) & OVC_MARK));
                    if (inside)
                        ASSERT_EQ(p.Dst(x, y) >> 24, 0u) << x << "," << y;
                    else
                        ASSERT_EQ(p.Dst(x, y), 0xAB123456u) << x << "," << y;
                }
        }
    }
}

// The rounded mean of the pixels within radius that lie inside the picture.
uint32_t BoxMean(Picture& p, int x, int y, int radius) {
    int64_t sum[3] = {}, n = 0;
    for (int j = y - radius; j <= y + radius; ++j)
        for (int i = x - radius; i <= x + radius; ++i) {
            if (i < 0 || j < 0 || i >= p.w || j >= p.h) continue;
            ++n;
            for (int c = 0; c < 3; ++c) sum[c] += (p.Src(i, j) >> (16 - 8 * c)) & 255;
        }
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) out = out << 8 | uint32_t(std::floor(double(sum[c]) / n + 0.5));
    return out;
}

TEST(BlurComponent, MatchesAPlainBoxMeanInsideTheRectangle) {
    Library lib(Comp("Blur/boxblur.ovc"));
    ASSERT_TRUE(lib.Ok());
    const struct {
        int w, h, radius;
    } cases[] = {{1, 1, 3}, {7, 3, 1}, {7, 3, 5}, {33, 9, 2}, {33, 9, 0}, {33, 9, 12}};
    for (const auto& c : cases) {
        Picture p(c.w, c.h, 7);
        OvcEnv env = Env(p);
        env.left = c.w / 3;
        env.top = c.h / 3;
        Drive(lib, env, Pack({c.radius, 0}));
        for (int y = int(env.top); y < c.h; ++y)
            for (int x = int(env.left); x < c.w; ++x)
                ASSERT_EQ(p.Dst(x, y), BoxMean(p, x, y, c.radius))
                    << c.w << "x" << c.h << " r" << c.radius << " at " << x << "," << y;
    }
}

TEST(BlurComponent, SmoothBlurOfAPartEqualsThatPartOfTheWholeAndKeepsAFlatPicture) {
    Library lib(Comp("Blur/boxblur.ovc"));
    Picture whole(33, 9, 3), part(33, 9, 3), flat(33, 9);
    std::fill(flat.src.begin(), flat.src.end(), 0x336699u);
    Drive(lib, Env(whole), Pack({4, 1}));
    OvcEnv env = Env(part);
    env.left = 10, env.top = 3, env.right = 20, env.bottom = 5;
    Drive(lib, env, Pack({4, 1}));
    for (int y = 3; y <= 5; ++y)
        for (int x = 10; x <= 20; ++x) ASSERT_EQ(part.Dst(x, y), whole.Dst(x, y)) << x << "," << y;
    Drive(lib, Env(flat), Pack({4, 1}));
    for (uint32_t v : flat.dst) ASSERT_EQ(v, 0x336699u);
}

TEST(BlurComponent, ReportsProgressOnlyWhenFinalAndHonoursStop) {
    Library lib(Comp("Blur/boxblur.ovc"));
    Host host;
    Picture preview(64, 64);
    Drive(lib, Env(preview, &host), Pack({2, 0}));
    EXPECT_TRUE(host.messages.empty());
    Picture full(64, 64);
    OvcEnv env = Env(full, &host);
    env.final = 1;
    Drive(lib, env, Pack({2, 0}));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.front().msg, uint32_t(OVC_MSG_STEPS));
    EXPECT_EQ(host.messages.back().msg, uint32_t(OVC_MSG_STEP));
    EXPECT_EQ(full.dst, preview.dst);
    // Stopped at its first step: the rest of the picture stays untouched.
    Picture stopped(64, 64);
    host.stop = true;
    env = Env(stopped, &host);
    env.final = 1;
    Drive(lib, env, Pack({2, 0}));
    EXPECT_EQ(stopped.Dst(63, 63), 0xAB123456u);
}

// Exact results against expectations computed here, one table row per component setting.
TEST(ShippedComponents, ExactResults) {
    const auto channels = [](uint32_t p, const std::function<int(int)>& f) {
        return uint32_t(f((p >> 16) & 255)) << 16 | uint32_t(f((p >> 8) & 255)) << 8 |
               uint32_t(f(p & 255));
    };
    const auto brightness = [](uint32_t p) {
        return 0.299 * ((p >> 16) & 255) + 0.587 * ((p >> 8) & 255) + 0.114 * (p & 255);
    };
    const struct {
        const char* comp;
        std::vector<unsigned char> values;
        uint32_t flat;                            // a flat source of this colour, or 0: the pattern
        std::function<uint32_t(uint32_t)> expect; // of the source pixel; nullptr: skip the pixel
        std::function<bool(uint32_t)> skip;
    } cases[] = {
        {"Colour/posterise.ovc",
         Pack({1, 4, 128, 0, 0xFFFFFF}),
         0,
         [&](uint32_t p) {
             return channels(p, [](int v) { return int(std::lround(v / 85.0)) * 85; });
         },
         {}},
        {"Colour/posterise.ovc",
         Pack({1, 2, 128, 0, 0xFFFFFF}),
         0,
         [&](uint32_t p) { return channels(p, [](int v) { return v >= 128 ? 255 : 0; }); },
         {}},
        {"Colour/posterise.ovc", Pack({2, 4, 100, 0x102030, 0xF0E0D0}), 0,
         [&](uint32_t p) { return brightness(p) >= 99.5 ? 0xF0E0D0u : 0x102030u; },
         [&](uint32_t p) { return std::fabs(brightness(p) - 99.5) < 0.01; }},
        {"Sharpen/sharpen.ovc", {}, 0x4080C0, [](uint32_t) { return 0x4080C0u; }, {}},
        {"Artistic/emboss.ovc", {}, 0x4080C0, [](uint32_t) { return 0x808080u; }, {}},
        {"Colour/huesat.ovc", Pack({0, 0, 0, 0}), 0, [](uint32_t p) { return p; }, {}},
        {"Colour/huesat.ovc",
         Pack({0, -100, 0, 0}),
         0x00FF0000,
         [](uint32_t) { return 0x808080u; },
         {}},
        {"Colour/huesat.ovc",
         Pack({120, 0, 0, 0}),
         0x00FF0000,
         [](uint32_t) { return 0x00FF00u; },
         {}},
        {"Noise/addnoise.ovc", Pack({0, 0, 1, 5}), 0, [](uint32_t p) { return p; }, {}},
        {"Brushes/dodge.ovc", Pack({1, 100}), 0, [](uint32_t) { return 0xFFFFFFu; }, {}},
        {"Brushes/dodge.ovc", Pack({2, 100}), 0, [](uint32_t) { return 0u; }, {}},
        {"Brushes/dodge.ovc", Pack({1, 50}), 0x000080FF, [](uint32_t) { return 0x80C0FFu; }, {}},
    };
    for (const auto& c : cases) {
        Library lib(Comp(c.comp));
        ASSERT_TRUE(lib.Ok()) << c.comp;
        for (const auto& size : {std::pair{1, 1}, std::pair{7, 3}, std::pair{33, 9}}) {
            Picture p(size.first, size.second, 11);
            if (c.flat) std::fill(p.src.begin(), p.src.end(), c.flat);
            Drive(lib, Env(p), c.values.empty() ? Parse(lib.desc).initial : c.values);
            for (size_t i = 0; i < p.src.size(); ++i) {
                if (c.skip && c.skip(p.src[i])) continue;
                ASSERT_EQ(p.dst[i], c.expect(p.src[i])) << c.comp << " pixel " << i;
            }
        }
    }
}

TEST(MosaicComponent, SquaresAreTheMeansOfTheirPixels) {
    Library lib(Comp("Artistic/mosaic.ovc"));
    for (int size : {2, 4, 5, 40}) {
        Picture p(33, 9, 5);
        OvcEnv env = Env(p);
        env.left = 3; // squares start at the picture's corner, not the rectangle's
        Drive(lib, env, Pack({size}));
        for (int y = 0; y < 9; ++y)
            for (int x = 3; x < 33; ++x) {
                const int bx = x / size * size, by = y / size * size;
                int64_t sum[3] = {}, n = 0;
                for (int j = by; j < std::min(by + size, 9); ++j)
                    for (int i = bx; i < std::min(bx + size, 33); ++i, ++n)
                        for (int c = 0; c < 3; ++c) sum[c] += (p.Src(i, j) >> (16 - 8 * c)) & 255;
                uint32_t mean = 0;
                for (int c = 0; c < 3; ++c)
                    mean = mean << 8 | uint32_t(std::floor(double(sum[c]) / n + 0.5));
                ASSERT_EQ(p.Dst(x, y), mean) << size << " at " << x << "," << y;
            }
    }
}

TEST(BlendComponent, LaysTheChosenPictureOverAndCopiesWhenTheSlotIsEmpty) {
    Library lib(Comp("Colour/blend.ovc"));
    Picture p(7, 3);
    std::vector<uint32_t> other(4 * 2, 0x00FF00u);
    OvcImage images[10] = {};
    images[0] = {p.src.data(), 7, 3};
    images[3] = {other.data(), 4, 2};
    OvcEnv env = Env(p);
    env.images = images;
    Drive(lib, env, Pack({4, 100, 1}));
    for (uint32_t v : p.dst) ASSERT_EQ(v, 0x00FF00u);
    Drive(lib, env, Pack({5, 100, 1})); // empty slot
    EXPECT_EQ(p.dst, p.src);
}

TEST(ComponentMessages, AutoThresholdSetsModeQuietlyThenTheMean) {
    Library lib(Comp("Colour/posterise.ovc"));
    Host host;
    Picture p(7, 3);
    double sum = 0;
    for (uint32_t v : p.src)
        sum += 0.299 * ((v >> 16) & 255) + 0.587 * ((v >> 8) & 255) + 0.114 * (v & 255);
    const intptr_t mean = std::lround(sum / 21);
    OvcEnv env = Env(p, &host);
    lib.process(&env, OVC_START);
    const int32_t button = 6;
    lib.process(const_cast<int32_t*>(&button), OVC_BUTTON);
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[0].msg, uint32_t(OVC_MSG_NOTIFY_OFF));
    EXPECT_EQ(host.messages[1].msg, uint32_t(OVC_MSG_SET));
    EXPECT_EQ(host.messages[1].w, 1u);
    EXPECT_EQ(host.messages[1].l, 2);
    EXPECT_EQ(host.messages[2].msg, uint32_t(OVC_MSG_NOTIFY_ON));
    EXPECT_EQ(host.messages[3].w, 3u);
    EXPECT_NEAR(double(host.messages[3].l), double(mean), 1.0);
}

TEST(ComponentMessages, AClickMovesTheVignetteCentre) {
    Library lib(Comp("Artistic/vignette.ovc"));
    Host host;
    Picture p(7, 3);
    OvcEnv env = Env(p, &host);
    lib.process(&env, OVC_START);
    const OvcClick click{65535 * 2 / 6, 65535, 7, 3, 0, 1};
    lib.process(const_cast<OvcClick*>(&click), OVC_CLICK);
    ASSERT_FALSE(host.messages.empty());
    const Message m = host.messages.back();
    EXPECT_EQ(m.msg, uint32_t(OVC_MSG_SET));
    EXPECT_EQ(m.w, 1u);
    EXPECT_EQ(uintptr_t(m.l), uintptr_t(65535 * 2 / 6) << 16 | 65535u);
    // That centre, at full strength into black: the centre pixel keeps its colour, the far
    // corner turns black.
    lib.process(Pack({int32_t(m.l), 100, 100, 0}).data(), OVC_PARAMS);
    lib.process(&env, OVC_PROCESS);
    EXPECT_EQ(p.Dst(2, 2), p.Src(2, 2));
    EXPECT_EQ(p.Dst(6, 0), 0u);
}

} // namespace
