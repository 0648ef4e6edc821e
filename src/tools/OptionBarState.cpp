#include "tools/OptionBarState.h"

OptionBarState::Step OptionBarState::Show(const QString& key, bool visible, int level) {
    if (key.isEmpty()) return Step::None;
    if (visible && key == key_) return Step::Clear;
    key_ = key;
    // Recorded at the build too, not only at the hide: a bar built after a Level change while
    // hidden would otherwise survive the next switch with the wrong controls.
    buildLevel_ = level;
    return Step::Rebuild;
}

OptionBarState::Step OptionBarState::Hide(const QString& oldKey, const QString& nextKey,
                                          int level) {
    if (oldKey.isEmpty()) return Step::None;
    if (nextKey == oldKey && level == buildLevel_) return Step::Clear;
    buildLevel_ = level;
    return Step::Hide;
}
