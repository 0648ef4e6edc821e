#include "filters/FFRun.h"

#include "filters/BandRun.h"
#include "filters/FFVector.h"
#include "raster/Buffer.h"

namespace ff {

FilterRun::FilterRun(const CompiledFilter& filter, const Buffer& source,
                     const std::array<int32_t, 8>& ctl)
    : filter_(filter), source_(source) {
    PrepareContext(ctx_, source.pixels, source.stride, source.Width(), source.Height());
    ctx_.ctl = ctl;
    if (!filter.Ordered()) vector_ = Lower(filter, ctx_);
}

FilterRun::~FilterRun() = default;

void FilterRun::OrderedRow(Buffer& dest, int y) {
    const uint32_t* src = ctx_.origin + ptrdiff_t(y) * ctx_.stride;
    uint32_t* out = dest.Row(dest.top + y);
    PixelVars vars;
    for (int x = 0; x < ctx_.width; ++x) {
        PreparePixel(vars, filter_.uses, src[x], x, y, ctx_.width, ctx_.height);
        uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c) {
            const int32_t v = RunStack(filter_.channels[c], vars, x, y, ctx_, stack_);
            pixel = pixel << 8 | uint32_t(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
        out[x] = pixel;
    }
}

void FilterRun::Rows(Buffer& dest, int y0, int y1, int threads) {
    y0 = std::max(y0, 0);
    y1 = std::min(y1, ctx_.height);
    if (y0 >= y1 || dest.Width() != ctx_.width || dest.Height() != ctx_.height) return;
    if (!vector_) {
        for (int y = y0; y < y1; ++y) OrderedRow(dest, y);
        return;
    }
    bands::Split(y0, y1, threads, [&](int a, int b, int) {
        PixelContext ctx = ctx_; // each thread its own cells, though nothing here writes them
        std::vector<int32_t> regs;
        FillConstants(*vector_, regs);
        for (int y = a; y < b; ++y) {
            uint32_t* out = dest.Row(dest.top + y);
            for (int x = 0; x < ctx.width; x += kLanes)
                RunChunk(*vector_, regs.data(), ctx, y, x, std::min(kLanes, ctx.width - x),
                         out + x);
        }
    });
}

} // namespace ff
