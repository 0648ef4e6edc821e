#include "brush/Brush.h"

#include <new>

bool Brush::Backup() {
    Buffer copy;
    if (!source.Empty()) {
        try {
            copy = source;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    backup_ = std::move(copy);
    backupFields_ = *this;
    return true;
}

bool Brush::Restore(uint32_t drawCol, uint32_t backCol) {
    if (!backup_.Empty()) {
        if (!Install(backup_, backupFields_, drawCol, backCol)) return false;
        backup_.Free();
        return true;
    }
    // Rebuilt without a backup of its own, so Restore never brings back what it replaced.
    Buffer made;
    if (!BuildBuiltIn(shape, radius, drawCol, made)) return false;
    BrushFields next = *this;
    next.custom = false;
    next.technique = Technique::Color;
    return Install(made, next, drawCol, backCol);
}
