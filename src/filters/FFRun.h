#pragma once

#include "filters/FFContext.h"
#include "filters/FFProgram.h"

#include <memory>
#include <vector>

class Buffer;

// Running compiled filters. Filters that use neither put nor rnd run as register code a row
// chunk at a time, constants folded, on as many threads as asked; the others run the stack
// programs pixel by pixel in row order, as their results depend on it.
namespace ff {

// One channel's stack program for one pixel (the reference way of running it).
int32_t RunStack(const ChannelProgram& program, const PixelVars& vars, int x, int y,
                 PixelContext& ctx, std::vector<int32_t>& stack);

struct VectorProgram; // FFVector.h

class FilterRun {
public:
    // source must outlive the run; ctl are the eight control values.
    FilterRun(const CompiledFilter& filter, const Buffer& source,
              const std::array<int32_t, 8>& ctl);
    ~FilterRun();
    FilterRun(const FilterRun&) = delete;
    FilterRun& operator=(const FilterRun&) = delete;

    // Source rows [y0, y1) (counted from the source's top) into the same rows of dest, which
    // has the source's size; results are clamped to 0..255.
    void Rows(Buffer& dest, int y0, int y1, int threads = 1);
    bool Parallel() const { return vector_ != nullptr; }
    PixelContext& Context() { return ctx_; }

private:
    void OrderedRow(Buffer& dest, int y);

    const CompiledFilter& filter_;
    const Buffer& source_;
    PixelContext ctx_;
    std::unique_ptr<VectorProgram> vector_;
    std::vector<int32_t> stack_;
};

} // namespace ff
