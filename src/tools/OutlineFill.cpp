#include "tools/OutlineFill.h"

#include "raster/FloodMark.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int Sign(int64_t v) {
    return (v > 0) - (v < 0);
}

} // namespace

void OutlineFill::Start(Pair p) {
    first_ = last_ = p;
    firstDir_ = Unknown;
    latestDir_ = 0;
    marked_ = {};
}

void OutlineFill::Cover(const Rect& r) {
    if (marked_.Empty()) {
        marked_ = r;
        return;
    }
    marked_ = {std::min(marked_.left, r.left), std::min(marked_.top, r.top),
               std::max(marked_.right, r.right), std::max(marked_.bottom, r.bottom)};
}

void OutlineFill::Plot(Buffer& work, int x, int y, uint32_t value) {
    if (!work.Contains(x, y)) return;
    work.At(x, y) = value;
    Cover({x, y, x, y});
}

// Edge pixels (both marks) stay; other pixels flip the fill mark, except that a pixel that gains
// it passes over a marked right neighbour. The last pixel of the row, when the walk lands on it,
// flips whatever it is.
void OutlineFill::Toggle(Buffer& work, int x, int y) {
    if (y < work.top || y > work.bottom) return;
    x = std::max(x, work.left);
    if (x > work.right) return;
    uint32_t* row = work.Row(y) - work.left;
    const int last = work.right;
    int i = x;
    for (; i < last; ++i) {
        const uint32_t p = row[i];
        if ((p & fill::BothMarks) == fill::BothMarks) continue;
        if (p & fill::FillMark) {
            row[i] = p & ~fill::FillMark;
        } else {
            row[i] = p | fill::FillMark;
            if (row[i + 1] & fill::FillMark) ++i;
        }
    }
    if (i == last) row[last] ^= fill::FillMark;
    Cover({x, y, last, y});
}

void OutlineFill::AddEdge(Buffer& work, Pair to, uint32_t colour) {
    const Pair a = last_;
    last_ = to;
    if (a == to) return;
    const uint32_t value = colour | fill::BothMarks;
    const int64_t adx = std::llabs(int64_t(to.x) - a.x), ady = std::llabs(int64_t(to.y) - a.y);
    const int sx = to.x < a.x ? -1 : 1, sy = to.y < a.y ? -1 : 1;
    const int dir = Sign(int64_t(to.y) - a.y);
    // A row the previous edge already toggled going the same way is not toggled again.
    const bool sameWay = dir == latestDir_;
    int x = a.x, y = a.y;
    if (ady > adx) {
        int64_t e = 2 * adx - ady;
        for (int64_t i = 0;; ++i) {
            Plot(work, x, y, value);
            if (i > 0 || !sameWay) Toggle(work, x, y);
            if (i == ady) break;
            y += sy;
            if (e < 0) {
                e += 2 * adx;
            } else {
                e += 2 * adx - 2 * ady;
                x += sx;
            }
        }
    } else {
        int64_t e = 2 * ady - adx;
        bool stepped = false;
        // Each row of the edge is toggled once, at the last pixel of its run.
        for (int64_t i = 0;; ++i) {
            Plot(work, x, y, value);
            if (e < 0) {
                e += 2 * ady;
                if (i == adx && stepped) Toggle(work, x, y);
            } else {
                if (stepped || !sameWay) Toggle(work, x, y);
                e += 2 * ady - 2 * adx;
                y += sy;
                stepped = true;
            }
            if (i == adx) break;
            x += sx;
        }
    }
    if (dir != 0) {
        latestDir_ = dir;
        if (firstDir_ == Unknown) firstDir_ = dir;
    }
}

void OutlineFill::Close(Buffer& work, uint32_t colour) {
    const Pair from = last_;
    AddEdge(work, first_, colour);
    int arriving = Sign(int64_t(first_.y) - from.y);
    if (arriving == 0) arriving = latestDir_;
    // The first edge toggled the first point's row as if arriving from elsewhere: when the
    // outline really arrives going that way, that row was toggled once too often.
    if (arriving == firstDir_) Toggle(work, first_.x, first_.y);
}

bool ClosesPolygon(Pair first, Pair pointer, double zoom) {
    const double sx = std::trunc(first.x * zoom + zoom / 2),
                 sy = std::trunc(first.y * zoom + zoom / 2);
    const double dx = pointer.x - sx, dy = pointer.y - sy;
    return dx * dx + dy * dy < 100;
}
