#pragma once

#include "filters/CompDescriptor.h"

class Buffer;

namespace comp {

// The browser's effect preview of one component over one picture: the library loaded for the
// call, the picture scaled to size into a source and a result, 4493, the current values (4494),
// the initial values (4494) and 4496 over the whole result, then 4497 and the library freed.
// Runs on any thread and touches neither documents nor dialogs. The component talks to a host
// of the preview's own that answers every message with 0 (so 5498 never means "stopped") and
// acts on none. False when the library cannot be loaded, the buffers cannot be made or a call
// fails; result is then empty.
bool EffectPreview(const Component& component, const Buffer& picture, Pair size, Buffer& result);

// The same over a picture already at its preview size; picture itself is never handed to the
// component (it works on a copy), so one scaled picture serves every preview. Points are packed
// over area, the rectangle of the picture it was scaled from, so they land where they would on
// the picture itself.
bool ScaledEffectPreview(const Component& component, const Buffer& picture, Rect area,
                         Buffer& result);

} // namespace comp
