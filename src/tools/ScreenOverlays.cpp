#include "tools/ScreenOverlays.h"

#include <algorithm>

bool ScreenOverlays::Toggle(OverlayKind kind, const Rect& image) {
    const Figure figure{kind, image};
    if (const auto it = std::find(figures_.begin(), figures_.end(), figure); it != figures_.end()) {
        figures_.erase(it);
        return false;
    }
    figures_.push_back(figure);
    return true;
}

ViewRect ScreenOverlays::ViewBounds(const Figure& figure, ZoomRatio r) {
    const Pair a = ImageToView({figure.image.left, figure.image.top}, r);
    const Pair b = ImageToView({figure.image.right + 1, figure.image.bottom + 1}, r);
    if (figure.kind == OverlayKind::Marker) {
        const Pair c{(a.x + b.x) / 2, (a.y + b.y) / 2};
        return {c.x - MarkerReach, c.y - MarkerReach, c.x + MarkerReach + 1, c.y + MarkerReach + 1};
    }
    // At least one view pixel, so a frame around pixels zoomed out of sight still shows.
    return {a.x, a.y, std::max(b.x, a.x + 1), std::max(b.y, a.y + 1)};
}
