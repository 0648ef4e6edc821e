// The filter runner: the library that "Make" in the Filter Factory copies, with a filter's source
// appended to the copy. At load it finds its own file, reads the source attached to it and
// compiles it; OVCPROCESS then runs the filter as the Filter Factory does. The runner itself has
// nothing attached, so its descriptor is empty and the program does not list it.
#include "ovc.h"

#include "filters/BandRun.h"
#include "filters/FFRun.h"
#include "filters/MakeComponent.h"
#include "raster/Buffer.h"

#include <dlfcn.h>

#include <memory>
#include <mutex>
#include <new>

namespace {

struct Runner {
    std::once_flag loaded;
    std::string descriptor; // empty: nothing attached, not a component
    ff::CompiledFilter compiled;
    std::array<int32_t, 8> ctl{};
    std::array<int, 8> sliders{};
};

Runner& State() {
    static Runner runner;
    return runner;
}

void Here() {}

void Load(Runner& r) {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&Here), &info) || !info.dli_fname) return;
    const std::optional<FilterSource> source =
        makecomp::ReadAttached(QString::fromLocal8Bit(info.dli_fname));
    if (!source) return;
    std::array<std::string, 3> texts;
    for (int c = 0; c < 3; ++c) texts[c] = source->channels[c].toUtf8().toStdString();
    r.compiled = ff::CompileAll({texts[0], texts[1], texts[2]});
    r.ctl = source->ctl;
    r.sliders = makecomp::SliderControls(*source);
    r.descriptor = makecomp::Descriptor(*source);
}

// The browser's worker may be the first to ask, while the window asks too.
Runner& Loaded() {
    Runner& r = State();
    std::call_once(r.loaded, [&r] { Load(r); });
    return r;
}

// A Buffer over pixels the program owns (no store of its own).
Buffer View(const uint32_t* pixels, int width, int height) {
    Buffer b;
    b.pixels = const_cast<uint32_t*>(pixels);
    b.stride = width;
    b.right = width - 1;
    b.bottom = height - 1;
    return b;
}

void Process(const OvcEnv& env) {
    Runner& r = Loaded();
    if (r.descriptor.empty() || !env.src || !env.dst || env.width <= 0 || env.height <= 0 ||
        env.width > 65535 || env.height > 65535)
        return;
    const int w = int(env.width), h = int(env.height);
    const int l = int(std::max<intptr_t>(env.left, 0)), t = int(std::max<intptr_t>(env.top, 0));
    const int right = int(std::min<intptr_t>(env.right, w - 1));
    const int bottom = int(std::min<intptr_t>(env.bottom, h - 1));
    if (l > right || t > bottom) return;
    // Results go to a scratch picture first: the filter reads any source pixel, and only the
    // rectangle (and with markedOnly only marked pixels) may change.
    std::unique_ptr<uint32_t[]> scratch(new (std::nothrow) uint32_t[size_t(w) * size_t(h)]);
    if (!scratch) return;
    const Buffer source = View(env.src, w, h);
    Buffer out = View(scratch.get(), w, h);
    ff::FilterRun run(r.compiled, source, r.ctl);
    const int threads = run.Parallel() ? bands::Cores() : 1;
    // A filter with put or rnd depends on pixel order: it runs from the top, as in the program.
    const int first = run.Parallel() ? t : 0, rows = bottom + 1 - first;
    if (env.final) ovc_send(&env, OVC_MSG_STEPS, 100, 0);
    const int done = bands::Run(
        rows, 64, [&](int y0, int y1) { run.Rows(out, first + y0, first + y1, threads); },
        [&](int y) {
            return !env.final || ovc_send(&env, OVC_MSG_STEP, uintptr_t(y * 100 / rows), 0) != 1;
        });
    if (done < rows) return; // stopped: the picture stays as it was
    for (int y = t; y <= bottom; ++y) {
        const size_t row = size_t(y) * size_t(w);
        for (int x = l; x <= right; ++x)
            if (!env.markedOnly || (env.src[row + x] & OVC_MARK))
                env.dst[row + x] = scratch[row + x] & 0xFFFFFFu;
    }
}

} // namespace

OVC_EXPORT const char* OVCGETDESC(void) {
    return Loaded().descriptor.c_str();
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        Runner& r = Loaded();
        for (int place = 0; place < 8 && r.sliders[place] >= 0; ++place)
            r.ctl[r.sliders[place]] = std::clamp(ovc_int(data, unsigned(place) * 4), 0, 255);
    } else if (command == OVC_PROCESS && data) {
        Process(*static_cast<const OvcEnv*>(data));
    }
}
