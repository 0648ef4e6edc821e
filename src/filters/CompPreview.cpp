#include "filters/CompPreview.h"

#include "filters/CompLibrary.h"
#include "ovc.h"
#include "raster/Buffer.h"
#include "raster/SineTable.h"

namespace comp {

namespace {

bool Call(Library::Process entry, void* data, uint32_t command) {
    try {
        entry(data, command);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

bool EffectPreview(const Component& component, const Buffer& picture, Pair size, Buffer& result) {
    result.Free();
    const std::unique_ptr<Library> library = Library::Open(component.path);
    Buffer source;
    if (!library || picture.Empty() || !source.Alloc(size) || !result.Alloc(size)) {
        result.Free();
        return false;
    }
    source.Scale(picture, size, {0, 0}, Pixel::CopyAll, true);
    result.Copy(source, {0, 0}, Pixel::CopyAll);

    OvcEnv env{};
    env.src = source.pixels;
    env.dst = result.pixels;
    env.width = size.x;
    env.height = size.y;
    env.right = size.x - 1;
    env.bottom = size.y - 1;
    env.sine = sine::Table().data();
    env.cosine = env.sine + sine::Steps / 4;
    env.table3 = env.sine;
    env.current = 1;
    const std::array<OvcImage, MaxParams> images{};
    env.images = images.data();

    // The values the component knows from its dialog first, then the initial ones it runs with.
    Values current = component.currentPacked;
    Values initial = component.initialPacked;
    if (!component.valuesSet) {
        initial = {};
        Pack(component.descriptor, InitialValues(component.descriptor),
             {0, 0, size.x - 1, size.y - 1}, initial);
        current = initial;
    }
    const Library::Process entry = library->Entry();
    const bool ok = Call(entry, &env, OVC_START) && Call(entry, current.data(), OVC_PARAMS) &&
                    Call(entry, initial.data(), OVC_PARAMS) && Call(entry, &env, OVC_PROCESS);
    Call(entry, nullptr, OVC_END);
    if (!ok) result.Free();
    return ok;
}

} // namespace comp
