// Expression texts through the compiler and both runners, and the bytes of both filter file
// readers. An input's first byte picks the target; the rest is the text or the file.
#include "filters/AcfFile.h"
#include "filters/AfsFile.h"
#include "filters/FFRun.h"
#include "raster/Buffer.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t target = data[0] % 3;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (target == 0) {
        FilterSource s;
        afs::Read(bytes, s);
        for (int32_t v : s.ctl)
            if (v < 0 || v > 255) std::abort();
        return 0;
    }
    if (target == 1) {
        ConvolutionSettings s;
        acf::Read(bytes, s);
        if (s.divisor < 1) std::abort();
        return 0;
    }
    // One text for every channel, plus the same with a put so that the ordered runner runs too.
    const std::string text(bytes.constData(), size_t(bytes.size()));
    static Buffer source = [] {
        Buffer b;
        b.Alloc({5, 3});
        for (int i = 0; i < 15; ++i) b.At(i % 5, i / 5) = uint32_t(i * 0x10305);
        return b;
    }();
    Buffer dest;
    dest.Alloc({5, 3});
    const std::array<int32_t, 8> ctl = {0, 255, 7, 128, 1, 2, 3, 4};
    const ff::CompiledFilter pure = ff::CompileAll({text, text, "r"});
    ff::FilterRun(pure, source, ctl).Rows(dest, 0, 3, 2);
    const ff::CompiledFilter ordered = ff::CompileAll({text, "put(g,x)", text});
    ff::FilterRun(ordered, source, ctl).Rows(dest, 0, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            if (dest.At(x, y) > 0xFFFFFF) std::abort();
    return 0;
}
