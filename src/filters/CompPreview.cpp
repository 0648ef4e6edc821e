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

// The preview's own host: it is no session, so it acts on nothing and stops nothing. It ignores
// its handle, so a component that keeps the handle past its preview can do no harm with it.
intptr_t AnswerQuietly(void*, uint32_t, uintptr_t, intptr_t) {
    return 0;
}
char quietHost = 0;

} // namespace

bool EffectPreview(const Component& component, const Buffer& picture, Pair size, Buffer& result) {
    result.Free();
    Buffer scaled;
    if (picture.Empty() || size.x < 1 || size.y < 1 || !scaled.Alloc(size)) return false;
    scaled.Scale(picture, size, {0, 0}, Pixel::CopyAll, true);
    return ScaledEffectPreview(component, scaled, picture.Bounds(), result);
}

bool ScaledEffectPreview(const Component& component, const Buffer& picture, Rect area,
                         Buffer& result) {
    result.Free();
    if (picture.Empty()) return false;
    const Pair size{picture.Width(), picture.Height()};
    const std::unique_ptr<Library> library = Library::Open(component.path);
    Buffer source = picture;
    if (!library || source.Empty() || !result.Alloc(size)) {
        result.Free();
        return false;
    }
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
    env.host = &quietHost;
    env.call = &AnswerQuietly;
    const std::array<OvcImage, MaxParams> images{};
    env.images = images.data();

    // The values the component knows from its dialog first, then the initial ones it runs with.
    Values current = component.currentPacked;
    Values initial = component.initialPacked;
    if (!component.valuesSet) {
        initial = {};
        Pack(component.descriptor, InitialValues(component.descriptor), area, initial);
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
