#include "document/Zoom.h"

#include "document/Grid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace {

struct Fraction {
    int n, d;
    const char* caption;
};
// Steps -4 .. 0.
constexpr Fraction kBelowOne[] = {
    {1, 4, "1/4"}, {1, 3, "1/3"}, {1, 2, "1/2"}, {2, 3, "2/3"}, {3, 4, "3/4"}};

int ClampStep(int step) {
    return std::clamp(step, MinZoomStep, MaxZoomStep);
}

int ClampToInt(int64_t v) {
    return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// A hand-made ratio with a zero or negative half would divide by zero; treat it as 1.
ZoomRatio Sane(ZoomRatio r) {
    return {r.n > 0 ? r.n : 1, r.d > 0 ? r.d : 1};
}

} // namespace

ZoomRatio ZoomRatioOfStep(int step) {
    step = ClampStep(step);
    if (step >= 1) return {step, 1};
    const Fraction& f = kBelowOne[step - MinZoomStep];
    return {f.n, f.d};
}

double ZoomFactorOfStep(int step) {
    return ZoomRatioOfStep(step).Factor();
}

QString ZoomStepCaption(int step) {
    step = ClampStep(step);
    if (step >= 1) return QString::number(step);
    return QString::fromLatin1(kBelowOne[step - MinZoomStep].caption);
}

QString ZoomLabelText(const QString& zmText, int step) {
    return zmText + QLatin1Char(' ') + ZoomStepCaption(step);
}

int ZoomStepForFactor(double f) {
    if (f >= MaxZoomStep) return MaxZoomStep;
    if (f >= 1) return int(f);
    // The same expressions as the table's factors, so a factor read from a step maps back to it.
    for (int step = 0; step > MinZoomStep; --step)
        if (f >= ZoomFactorOfStep(step)) return step;
    return MinZoomStep; // also NaN
}

int ZoomStepIn(int step) {
    return step < MaxZoomStep ? step + 1 : step;
}

int ZoomStepOut(int step) {
    return step >= MinZoomStep + 1 ? step - 1 : step;
}

ZoomRatio UnpackZoom(int packed) {
    const uint32_t u = uint32_t(packed);
    const int n = int(u & 0xFFFF), d = int(u >> 16);
    return {n ? n : 1, d ? d : 1};
}

int PackZoom(ZoomRatio r) {
    int n = std::clamp(r.n, 1, 0xFFFF), d = std::clamp(r.d, 1, 0xFFFF);
    const int g = std::gcd(n, d);
    n /= g;
    d /= g;
    return int((uint32_t(d == 1 ? 0 : d) << 16) | uint32_t(n));
}

Pair ViewToImage(Pair view, ZoomRatio r) {
    r = Sane(r);
    // C++ division truncates toward zero, as trunc(v / factor) does.
    return {ClampToInt(int64_t(view.x) * r.d / r.n), ClampToInt(int64_t(view.y) * r.d / r.n)};
}

Pair ImageToView(Pair image, ZoomRatio r) {
    r = Sane(r);
    return {ClampToInt(int64_t(image.x) * r.n / r.d), ClampToInt(int64_t(image.y) * r.n / r.d)};
}

Pair PointerImagePosition(Pair view, ZoomRatio r, const GridSettings* grid) {
    const Pair p = ViewToImage(view, r);
    return grid ? grid->Snap(p) : p;
}

QString CoordinatesText(Pair image) {
    return QString::number(image.x) + QLatin1Char(',') + QString::number(image.y);
}

Pair ZoomedViewSize(Pair image, ZoomRatio r) {
    r = Sane(r);
    auto extent = [&](int v) { return ClampToInt(int64_t(std::max(v, 0) / r.d) * r.n); };
    return {extent(image.x), extent(image.y)};
}

ScrollAxis MaxSizeResize(int client, int view, int offset) {
    if (client < view) return {view, std::min(offset, 0)};
    return {0, (client - view) / 2};
}

void ZoomState::SetStep(int step) {
    step_ = ClampStep(step);
}

double ZoomState::FitFactor(const ViewGeometry& g) {
    if (g.image.x <= 0 || g.image.y <= 0) return 0;
    return std::min(double(g.client.y) / g.image.y, double(g.client.x) / g.image.x);
}

ZoomChange ZoomState::ApplyZoom(const ViewGeometry& g) {
    const bool pointerOver = pointer_.x >= 0 && pointer_.y >= 0;
    const Pair ref = pointerOver ? Pair{pointer_.x + g.viewOrigin.x, pointer_.y + g.viewOrigin.y}
                                 : Pair{g.client.x / 2, g.client.y / 2};

    const int64_t s = std::max(g.image.x, g.image.y);
    double f = Factor();
    if (double(s) * f > MaxViewExtent) {
        SetZoomFactor(double(MaxViewExtent) / double(s));
        f = Factor();
    }
    // Shrinking a sliver would leave nothing to see.
    if ((g.image.x < 4 || g.image.y < 4) && f < 1) {
        step_ = 1;
        f = 1;
    }

    ZoomChange c;
    const ZoomRatio r = Ratio();
    c.packedZoom = PackZoom(r);
    c.viewSize = ZoomedViewSize(g.image, r);

    if (f == lastFactor_ && g.image == lastSize_) {
        c.viewOrigin = g.viewOrigin;
        c.scroll = {std::max(0, -g.viewOrigin.x), std::max(0, -g.viewOrigin.y)};
        c.range = {g.client.x < c.viewSize.x ? c.viewSize.x : 0,
                   g.client.y < c.viewSize.y ? c.viewSize.y : 0};
        return c;
    }

    const double oldF = lastFactor_;
    lastFactor_ = f;
    lastSize_ = g.image;
    c.resized = true;

    // The scroll positions go to 0 first, so the view sits at 0 or centred before the new
    // positions are set.
    auto axis = [&](int client, int view, int refV, int oldOrigin, int& range, int& scroll,
                    int& origin) {
        const ScrollAxis a = MaxSizeResize(client, view, std::max(oldOrigin, 0));
        range = a.range;
        if (a.range == 0) {
            scroll = 0;
            origin = a.offset;
            return;
        }
        // The image point under the reference point stays under it; the scroll bar clamps.
        const double want = std::trunc(double(refV - oldOrigin) * f / oldF - refV);
        const double maxPos = double(view) - client;
        scroll = int(std::clamp(want, 0.0, maxPos));
        origin = -scroll;
    };
    axis(g.client.x, c.viewSize.x, ref.x, g.viewOrigin.x, c.range.x, c.scroll.x, c.viewOrigin.x);
    axis(g.client.y, c.viewSize.y, ref.y, g.viewOrigin.y, c.range.y, c.scroll.y, c.viewOrigin.y);
    // A still pointer sends no move, yet the view moved beneath it: the next step must start
    // from where it is over the view now.
    if (pointerOver) pointer_ = {ref.x - c.viewOrigin.x, ref.y - c.viewOrigin.y};
    return c;
}

std::optional<ZoomChange> ZoomState::FitZoom(const ViewGeometry& g) {
    if (g.image.x <= 0 || g.image.y <= 0) return std::nullopt;
    SetZoomFactor(FitFactor(g));
    ForgetPointer();
    return ApplyZoom(g);
}

std::optional<ZoomChange> ZoomState::FitToggle(const ViewGeometry& g) {
    if (g.image.x <= 0 || g.image.y <= 0) return std::nullopt;
    const double fit = FitFactor(g);
    // Compared with the step the fit lands on: an image that does not fit even at 1/4 would
    // otherwise count as zoomed in at 1/4 and never toggle back.
    if (Factor() > ZoomFactorOfStep(ZoomStepForFactor(fit))) {
        remembered_ = Factor();
        SetZoomFactor(fit);
        return ApplyZoom(g);
    }
    if (remembered_ > 0) {
        SetZoomFactor(remembered_);
        return ApplyZoom(g);
    }
    return std::nullopt;
}
