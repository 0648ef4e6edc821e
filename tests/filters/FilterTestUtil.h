#pragma once

#include "filters/FFProgram.h"
#include "filters/FFRun.h"
#include "raster/Buffer.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>

// Shared builders of the filter tests: pictures of known pixels and one-expression runs.
namespace filtertest {

inline Buffer RandomPicture(int w, int h, uint32_t seed) {
    Buffer b;
    b.Alloc({w, h});
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = rng() & 0xFFFFFF;
    return b;
}

// The raw 32-bit value of text at every pixel of source, through the stack programs.
inline std::vector<int32_t> StackValues(const std::string& text, const Buffer& source,
                                        const std::array<int32_t, 8>& ctl = {}, int channel = 0) {
    const ff::ChannelProgram p = ff::CompileChannel(text, channel);
    ff::PixelContext ctx;
    ff::PrepareContext(ctx, source.pixels, source.stride, source.Width(), source.Height());
    ctx.ctl = ctl;
    std::vector<int32_t> stack, out;
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) {
            ff::PixelVars v;
            ff::PreparePixel(v, p.uses, source.At(x, y), x, y, source.Width(), source.Height());
            out.push_back(ff::RunStack(p, v, x, y, ctx, stack));
        }
    return out;
}

// The same through a whole filter run (register code when the filter allows): the value's four
// bytes come out as the channels of two runs.
inline std::vector<int32_t> RunValues(const std::string& text, const Buffer& source,
                                      const std::array<int32_t, 8>& ctl = {}, int threads = 1) {
    const std::string e = "(" + text + ")";
    const std::array<std::string, 6> parts = {e + ">>24", e + ">>16&255", e + ">>8&255", "0",
                                              "0",        e + "&255"};
    std::vector<uint32_t> bytes[2];
    for (int run = 0; run < 2; ++run) {
        const ff::CompiledFilter f =
            ff::CompileAll({parts[3 * run], parts[3 * run + 1], parts[3 * run + 2]});
        Buffer dest;
        dest.Alloc({source.Width(), source.Height()});
        ff::FilterRun(f, source, ctl).Rows(dest, 0, source.Height(), threads);
        for (int y = 0; y < source.Height(); ++y)
            for (int x = 0; x < source.Width(); ++x) bytes[run].push_back(dest.At(x, y));
    }
    std::vector<int32_t> out;
    for (size_t i = 0; i < bytes[0].size(); ++i)
        out.push_back(int32_t(bytes[0][i] << 8 | (bytes[1][i] & 255)));
    return out;
}

} // namespace filtertest
