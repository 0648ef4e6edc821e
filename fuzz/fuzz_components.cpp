// Component descriptors and single parameter definitions: the first byte picks which, the rest
// is the text. Whatever a component says, the texts stay bounded and packing stays inside the
// 80 bytes, on pictures of every size down to one pixel.
#include "filters/CompDescriptor.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        const comp::ParamDef d = comp::ParseParam(text);
        if (d.label.size() > comp::MaxValueLength || d.items.size() > comp::MaxListItems)
            std::abort();
        if (d.type == comp::ParamType::List && (d.initial < 1 || d.initial > d.items.size() + 1))
            std::abort();
        return 0;
    }
    const std::optional<comp::Descriptor> d = comp::ParseDescriptor(text);
    if (!d) return 0;
    if (d->name.size() > comp::MaxValueLength || d->version < 1.48f || d->version >= 2.0f)
        std::abort();
    comp::Values v{};
    for (const Rect area : {Rect{0, 0, 0, 0}, Rect{0, 0, 639, 479}}) {
        comp::ParamValues values = comp::InitialValues(*d);
        comp::Pack(*d, values, area, v);
        for (comp::ParamValue& p : values) p.x = p.y = int(data[0]) * 1000 - 100000;
        comp::Pack(*d, values, area, v);
    }
    return 0;
}
