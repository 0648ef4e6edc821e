#include "raster/GFXInternal.h"
#include "raster/RasterError.h"

namespace {

struct ProgressFuncs {
    GFXFile::ProgStart start;
    GFXFile::ProgStep step;
    GFXFile::ProgStop stop;
};

// Process-wide, as the program has one progress display; set once at start-up.
ProgressFuncs& Funcs() {
    static ProgressFuncs funcs;
    return funcs;
}

} // namespace

void GFXFile::SetProgFunc(ProgStart start, ProgStep step, ProgStop stop) {
    Funcs() = {std::move(start), std::move(step), std::move(stop)};
}

namespace GFXInternal {

// Copies the callbacks, so that a SetProgFunc from inside a callback cannot pull them away.
ProgressScope::ProgressScope() : step_(Funcs().step), stop_(Funcs().stop) {
    if (const GFXFile::ProgStart start = Funcs().start) start();
}

ProgressScope::~ProgressScope() {
    if (!stop_) return;
    try {
        stop_();
    } catch (...) {
        // A destructor may run during unwinding; the stop display is not worth terminating for.
    }
}

void ProgressScope::Step(int percent) const {
    if (step_ && !step_(percent)) throw LibraryError("stopped by the progress callback");
}

} // namespace GFXInternal
