#pragma once

#include "filters/CompDescriptor.h"

class Buffer;

namespace comp {

// The browser's effect preview of one component over one picture: the library loaded for the
// call, the picture scaled to size into a source and a result, 4493, the current values (4494),
// the initial values (4494) and 4496 over the whole result, then 4497 and the library freed.
// Runs on any thread and touches neither documents nor dialogs; the component's messages get no
// answer. False when the library cannot be loaded, the buffers cannot be made or a call fails;
// result is then empty.
bool EffectPreview(const Component& component, const Buffer& picture, Pair size, Buffer& result);

} // namespace comp
