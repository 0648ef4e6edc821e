#include "raster/Buffer.h"
#include "raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

using rastertest::Make;
using rastertest::Pattern;

const int kSizes[] = {1, 7, 8, 9, 31, 32, 33};
constexpr uint32_t kBack = 0x00ABCDEF; // target background, never produced by a source here

// Source index shown by scaled pixel i of n when the source has s pixels.
int Nearest(int64_t i, int64_t s, int64_t n) {
    return int(std::floor((double(i) + 0.5) * double(s) / double(n)));
}

uint8_t Ch(uint32_t p, int shift) {
    return uint8_t(p >> shift);
}

// Nearest scaling of src (0-based pixels) to w x h at pos, by the plain formula.
void ReferenceNearest(const Buffer& src, Buffer& dst, int w, int h, Pair pos, uint32_t key) {
    const int sw = src.Width(), sh = src.Height();
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int x = pos.x + i, y = pos.y + j;
            if (!dst.Contains(x, y)) continue;
            const uint32_t p = src.At(src.left + Nearest(i, sw, w), src.top + Nearest(j, sh, h));
            if (key == Pixel::CopyAll || p != key) dst.At(x, y) = p;
        }
}

void ExpectSame(const Buffer& got, const Buffer& want, const char* what) {
    ASSERT_EQ(got.Bounds(), want.Bounds());
    int bad = 0;
    for (int y = got.top; y <= got.bottom; ++y)
        for (int x = got.left; x <= got.right; ++x)
            if (got.At(x, y) != want.At(x, y) && ++bad <= 3)
                ADD_FAILURE() << what << " at (" << x << ", " << y << "): " << std::hex
                              << got.At(x, y) << " want " << want.At(x, y);
    EXPECT_EQ(bad, 0) << what;
}

TEST(Scale, NearestMatchesReferenceAndMirrorsReverse) {
    for (int sw : kSizes)
        for (int dw : kSizes)
            for (int k = 0; k < 2; ++k) {
                // Heights cover the same set, paired differently from the widths.
                const int sh = kSizes[(dw + k) % 7], dh = kSizes[(sw + 3 * k) % 7];
                Buffer src = Make(sw, sh, 0);
                Pattern(src, uint32_t(sw * 100 + dw));
                Buffer got = Make(dw + 4, dh + 4, kBack), want = Make(dw + 4, dh + 4, kBack);
                got.Scale(src, {dw, dh}, {2, 2}, Pixel::CopyAll, false);
                ReferenceNearest(src, want, dw, dh, {2, 2}, Pixel::CopyAll);
                ExpectSame(got, want, "nearest");

                for (bool smooth : {false, true}) {
                    Buffer plain = Make(dw, dh, kBack);
                    plain.Scale(src, {dw, dh}, {0, 0}, Pixel::CopyAll, smooth);
                    for (int mirror = 1; mirror < 4; ++mirror) {
                        const bool mx = mirror & 1, my = mirror & 2;
                        Buffer flipped = Make(dw, dh, kBack), reversed = Make(dw, dh, kBack);
                        flipped.Scale(src, {mx ? -dw : dw, my ? -dh : dh}, {0, 0}, Pixel::CopyAll,
                                      smooth);
                        for (int y = 0; y < dh; ++y)
                            for (int x = 0; x < dw; ++x)
                                reversed.At(mx ? dw - 1 - x : x, my ? dh - 1 - y : y) =
                                    plain.At(x, y);
                        ExpectSame(flipped, reversed, smooth ? "smooth mirror" : "mirror");
                    }
                }
                if (HasFailure()) {
                    ADD_FAILURE() << "source " << sw << "x" << sh << " to " << dw << "x" << dh;
                    return;
                }
            }
}

TEST(Scale, ZeroSizeAndEmptyDrawNothing) {
    Buffer src = Make(5, 5, 0x112233), empty;
    Buffer dst = Make(6, 6, kBack), want = Make(6, 6, kBack);
    for (bool smooth : {false, true}) {
        dst.Scale(src, {0, 4}, {0, 0}, Pixel::CopyAll, smooth);
        dst.Scale(src, {4, 0}, {0, 0}, Pixel::CopyAll, smooth);
        dst.Scale(empty, {4, 4}, {0, 0}, Pixel::CopyAll, smooth);
        empty.Scale(src, {4, 4}, {0, 0}, Pixel::CopyAll, smooth);
    }
    ExpectSame(dst, want, "zero size");
}

// A red area with keyed pixels of another colour: nothing of that colour may show, the covered
// shape is the nearest one in both modes, and the keyed pixels leave the target alone.
TEST(Scale, KeyedPixelsAreSkippedAndNeverBleed) {
    const uint32_t red = 0xFF0000;
    for (uint32_t key : {Pixel::Transparent, uint32_t(0x0000FF00)}) {
        Buffer src = Make(9, 8, red);
        for (int y = 0; y < 8; ++y) src.At(4, y) = key; // a keyed column
        for (int x = 0; x < 9; ++x) src.At(x, 6) = key; // and a keyed row
        src.At(1, 1) = key;                             // and a lone pixel
        for (Pair size : {Pair{9, 8}, Pair{4, 3}, Pair{5, 7}, Pair{31, 33}, Pair{-20, 17}}) {
            const int w = std::abs(size.x), h = std::abs(size.y);
            Buffer shape = Make(w, h, kBack);
            ReferenceNearest(src, shape, w, h, {0, 0}, key);
            if (size.x < 0) { // mirror the reference shape by hand
                Buffer m = Make(w, h, kBack);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) m.At(w - 1 - x, y) = shape.At(x, y);
                shape = m;
            }
            for (bool smooth : {false, true}) {
                Buffer got = Make(w, h, kBack);
                got.Scale(src, size, {0, 0}, key, smooth);
                ExpectSame(got, shape, smooth ? "keyed smooth" : "keyed nearest");
            }
        }
    }
}

// Per-axis weights of scaled pixel j in floating point: box overlap when shrinking, linear
// between neighbouring centres (clamped) when enlarging.
std::vector<std::pair<int, double>> AxisWeights(int j, int s, int d) {
    std::vector<std::pair<int, double>> w;
    if (s == d) {
        w.push_back({j, 1.0});
    } else if (d < s) {
        const double lo = double(j) * s / d, hi = double(j + 1) * s / d;
        for (int k = int(std::floor(lo)); k < s && k < hi; ++k) {
            const double part = std::min<double>(k + 1, hi) - std::max<double>(k, lo);
            if (part > 0) w.push_back({k, part});
        }
    } else {
        const double u = (j + 0.5) * s / d - 0.5;
        if (u <= 0) {
            w.push_back({0, 1.0});
        } else if (u >= s - 1) {
            w.push_back({s - 1, 1.0});
        } else {
            const int k = int(std::floor(u));
            w.push_back({k, 1 - (u - k)});
            w.push_back({k + 1, u - k});
        }
    }
    return w;
}

TEST(Scale, SmoothFollowsAFloatingPointReference) {
    const Pair cases[][2] = {{{9, 7}, {4, 3}},   {{8, 8}, {3, 5}},   {{7, 9}, {31, 33}},
                             {{33, 31}, {8, 9}}, {{32, 7}, {9, 32}}, {{31, 1}, {7, 1}},
                             {{1, 8}, {33, 3}},  {{9, 9}, {9, 9}},   {{3, 5}, {1, 2}}};
    for (const auto& c : cases)
        for (uint32_t key : {Pixel::CopyAll, Pixel::Transparent}) {
            const int sw = c[0].x, sh = c[0].y, dw = c[1].x, dh = c[1].y;
            Buffer src = Make(sw, sh, 0);
            Pattern(src, uint32_t(sw * 7 + dw));
            for (int y = 0; y < sh; ++y) // marks must not disturb the colours
                for (int x = 0; x < sw; ++x)
                    if ((x + 2 * y) % 3 == 0) src.At(x, y) |= Pixel::EdgeMark;
            if (key != Pixel::CopyAll)
                for (int y = 0; y < sh; ++y)
                    for (int x = 0; x < sw; ++x)
                        if ((x * 3 + y * 5) % 7 == 0) src.At(x, y) = key;
            Buffer got = Make(dw, dh, kBack);
            got.Scale(src, {dw, dh}, {0, 0}, key, true);
            int worst = 0;
            for (int j = 0; j < dh; ++j)
                for (int i = 0; i < dw; ++i) {
                    const uint32_t near = src.At(Nearest(i, sw, dw), Nearest(j, sh, dh));
                    if (near == key) {
                        EXPECT_EQ(got.At(i, j), kBack);
                        continue;
                    }
                    double sum[3] = {0, 0, 0}, total = 0;
                    for (auto [y, wy] : AxisWeights(j, sh, dh))
                        for (auto [x, wx] : AxisWeights(i, sw, dw)) {
                            const uint32_t p = src.At(x, y);
                            if (p == key) continue;
                            for (int ch = 0; ch < 3; ++ch) sum[ch] += wx * wy * Ch(p, 16 - 8 * ch);
                            total += wx * wy;
                        }
                    ASSERT_GT(total, 0);
                    EXPECT_EQ(got.At(i, j) >> 24, near >> 24);
                    for (int ch = 0; ch < 3; ++ch) {
                        const int want = int(std::floor(sum[ch] / total + 0.5));
                        worst =
                            std::max(worst, std::abs(int(Ch(got.At(i, j), 16 - 8 * ch)) - want));
                    }
                }
            // Fixed-point weights may move a value by one step, no more.
            EXPECT_LE(worst, 1) << sw << "x" << sh << " to " << dw << "x" << dh;
        }
}

// A key that no pixel has must give exactly the result of copying everything.
TEST(Scale, AnAbsentKeyChangesNothing) {
    for (int sw : {1, 3, 8, 33})
        for (int dw : {1, 2, 7, 32, 70})
            for (bool smooth : {false, true}) {
                Buffer src = Make(sw, 9, 0);
                Pattern(src, uint32_t(sw + dw));
                Buffer all = Make(dw, 5, kBack), keyed = Make(dw, 5, kBack);
                all.Scale(src, {dw, 5}, {0, 0}, Pixel::CopyAll, smooth);
                keyed.Scale(src, {dw, 5}, {0, 0}, Pixel::Transparent, smooth);
                ExpectSame(keyed, all, "absent key");
            }
}

TEST(Scale, SmoothHalvingAveragesEachTwoByTwoBlock) {
    Buffer src = Make(8, 6, 0);
    Pattern(src, 77);
    src.At(3, 1) |= Pixel::EdgeMark; // nearest of target (1, 0)
    src.At(2, 2) |= Pixel::EdgeMark; // not a nearest sample: its mark must not show
    Buffer got = Make(4, 3, kBack);
    got.Scale(src, {4, 3}, {0, 0}, Pixel::CopyAll, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint32_t a = src.At(2 * x, 2 * y), b = src.At(2 * x + 1, 2 * y),
                           c = src.At(2 * x, 2 * y + 1), d = src.At(2 * x + 1, 2 * y + 1);
            uint32_t want = d & 0xFF000000; // marks of the nearest sample
            for (int s : {16, 8, 0})
                want |= uint32_t((Ch(a, s) + Ch(b, s) + Ch(c, s) + Ch(d, s) + 2) / 4) << s;
            EXPECT_EQ(got.At(x, y), want) << x << ", " << y;
        }
    EXPECT_EQ(got.At(1, 0) >> 24, 2u);

    // Equal size is an exact copy.
    Buffer same = Make(8, 6, kBack);
    same.Scale(src, {8, 6}, {0, 0}, Pixel::CopyAll, true);
    ExpectSame(same, src, "smooth identity");
}

TEST(Scale, SmoothEnlargingInterpolatesMonotonicallyBetweenEnds) {
    const uint32_t from = 0x10F000, to = 0xF020FF; // red and blue rise, green falls
    Buffer src = Make(2, 1, from);
    src.At(1, 0) = to;

    // 2 -> 4: centres at -0.25, 0.25, 0.75, 1.25 source pixels, the outer two clamped.
    Buffer four = Make(4, 1, kBack);
    four.Scale(src, {4, 1}, {0, 0}, Pixel::CopyAll, true);
    const uint32_t want[4] = {from, 0x48BC40, 0xB854BF, to}; // 3/4 : 1/4 mixes, rounded
    for (int x = 0; x < 4; ++x) EXPECT_EQ(four.At(x, 0), want[x]) << x;

    for (int w : {3, 9, 32, 33, 200}) {
        Buffer got = Make(w, 3, kBack);
        got.Scale(src, {w, 3}, {0, 0}, Pixel::CopyAll, true);
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(got.At(0, y), from) << w;
            EXPECT_EQ(got.At(w - 1, y), to) << w;
            for (int x = 1; x < w; ++x) {
                const uint32_t a = got.At(x - 1, y), b = got.At(x, y);
                EXPECT_LE(Ch(a, 16), Ch(b, 16)) << w << " at " << x;
                EXPECT_GE(Ch(a, 8), Ch(b, 8)) << w << " at " << x;
                EXPECT_LE(Ch(a, 0), Ch(b, 0)) << w << " at " << x;
            }
        }
    }
}

TEST(Scale, ClipsAtEveryTargetEdge) {
    Buffer src = Make(6, 5, 0);
    Pattern(src, 5);
    for (Pair pos : {Pair{-3, -5}, Pair{5, 7}, Pair{-20, 2}, Pair{12, 0}, Pair{-7, -4}}) {
        for (bool mirror : {false, true}) {
            const Pair size{mirror ? -17 : 17, 13};
            Buffer full = Make(17, 13, kBack); // the unclipped result, by the formula
            ReferenceNearest(src, full, 17, 13, {0, 0}, Pixel::CopyAll);
            Buffer want = Make(12, 10, kBack), got = Make(12, 10, kBack);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 12; ++x) {
                    const int i = x - pos.x, j = y - pos.y;
                    if (i >= 0 && i < 17 && j >= 0 && j < 13)
                        want.At(x, y) = full.At(mirror ? 16 - i : i, j);
                }
            got.Scale(src, size, pos, Pixel::CopyAll, false);
            ExpectSame(got, want, "clipped");
        }
    }
}

// Only the visible part of a huge result may cost anything; the far end must still be right.
TEST(Scale, HugeSizesOnlyTouchTheVisiblePart) {
    Buffer src = Make(3, 2, 0);
    Pattern(src, 9);
    const int huge = 1 << 30;
    for (bool smooth : {false, true}) {
        Buffer got = Make(4, 4, kBack);
        got.Scale(src, {huge, huge}, {-(huge - 2), 0}, Pixel::CopyAll, smooth);
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(got.At(0, y), src.At(2, 0));
            EXPECT_EQ(got.At(1, y), src.At(2, 0));
            EXPECT_EQ(got.At(2, y), kBack);
        }
        Buffer flipped = Make(4, 4, kBack);
        flipped.Scale(src, {INT32_MIN, INT32_MIN}, {0, 0}, Pixel::CopyAll, smooth);
        EXPECT_EQ(flipped.At(0, 0), src.At(2, 1)); // mirrored both ways
        EXPECT_EQ(flipped.At(3, 3), src.At(2, 1));
        Buffer wide = Make(4, 4, kBack);
        wide.Scale(src, {INT32_MAX, 3}, {-(INT32_MAX - 4), 1}, Pixel::CopyAll, smooth);
        EXPECT_EQ(wide.At(3, 0), kBack);
        EXPECT_EQ(wide.At(3, 1), src.At(2, 0));
        EXPECT_EQ(wide.At(3, 3), src.At(2, 1));
        EXPECT_EQ(wide.At(0, 3), src.At(2, 1));
    }
}

TEST(Scale, ViewsWithOffsetsOnEitherSide) {
    Buffer parent = Make(24, 20, kBack), want = Make(24, 20, kBack);
    Buffer view(parent, {5, 4, 14, 12});
    Buffer srcParent = Make(16, 16, 0);
    Pattern(srcParent, 3);
    Buffer srcView(srcParent, {4, 5, 11, 13}); // 8 x 9 at (4, 5)
    Buffer plainSrc = Make(8, 9, 0);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 8; ++x) plainSrc.At(x, y) = srcParent.At(4 + x, 5 + y);

    view.Scale(srcView, {13, 7}, {3, 2}, Pixel::CopyAll, false);
    Buffer wantView(want, {5, 4, 14, 12});
    ReferenceNearest(plainSrc, wantView, 13, 7, {3, 2}, Pixel::CopyAll);
    ExpectSame(parent, want, "views");

    // A smooth halving from the source view, checked against the hand average.
    Buffer half = Make(4, 4, kBack);
    half.Scale(srcView, {4, 4}, {0, 0}, Pixel::CopyAll, true);
    // Width 8 -> 4 averages pairs; height 9 -> 4 weighs rows by overlap of 2.25 rows.
    const uint32_t a = srcView.At(4, 5), b = srcView.At(5, 5), c = srcView.At(4, 6),
                   d = srcView.At(5, 6), e = srcView.At(4, 7), f = srcView.At(5, 7);
    uint32_t expect = 0;
    for (int s : {16, 8, 0}) { // rows 0, 1 fully, row 2 a quarter: weights 4, 4, 1 out of 9
        const double sum =
            4.0 * (Ch(a, s) + Ch(b, s)) + 4.0 * (Ch(c, s) + Ch(d, s)) + 1.0 * (Ch(e, s) + Ch(f, s));
        expect |= uint32_t(std::lround(sum / 18.0)) << s;
    }
    for (int s : {16, 8, 0}) // fixed-point weights may round a step differently
        EXPECT_LE(std::abs(int(Ch(half.At(0, 0), s)) - int(Ch(expect, s))), 1)
            << std::hex << half.At(0, 0) << " vs " << expect;
}

// Source and target in one store: the result must be that of the untouched source.
TEST(Scale, SourceSharingTheTargetStore) {
    Buffer img = Make(16, 16, 0);
    Pattern(img, 11);
    Buffer before = Make(16, 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) before.At(x, y) = img.At(x, y);

    Buffer corner(img, {0, 0, 7, 7});
    Buffer beforeCorner(before, {0, 0, 7, 7});
    Buffer want = Make(16, 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) want.At(x, y) = before.At(x, y);
    ReferenceNearest(beforeCorner, want, 16, 16, {0, 0}, Pixel::CopyAll);
    img.Scale(corner, {16, 16}, {0, 0}, Pixel::CopyAll, false);
    ExpectSame(img, want, "enlarge over itself");

    // Halve the whole image into a view of itself, smoothly.
    Buffer img2 = Make(16, 16, 0);
    Pattern(img2, 12);
    Buffer snap = Make(16, 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) snap.At(x, y) = img2.At(x, y);
    Buffer target(img2, {3, 3, 15, 15});
    target.Scale(img2, {8, 8}, {4, 4}, Pixel::CopyAll, true);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint32_t expect = 0;
            for (int s : {16, 8, 0})
                expect |=
                    uint32_t((Ch(snap.At(2 * x, 2 * y), s) + Ch(snap.At(2 * x + 1, 2 * y), s) +
                              Ch(snap.At(2 * x, 2 * y + 1), s) +
                              Ch(snap.At(2 * x + 1, 2 * y + 1), s) + 2) /
                             4)
                    << s;
            EXPECT_EQ(img2.At(4 + x, 4 + y), expect) << x << ", " << y;
        }
    EXPECT_EQ(img2.At(0, 0), snap.At(0, 0));
    EXPECT_EQ(img2.At(3, 3), snap.At(3, 3));
}

} // namespace
