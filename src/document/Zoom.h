#pragma once

#include "raster/Geometry.h"

#include <QString>

#include <optional>

struct GridSettings;

// Zoom arithmetic of the image view, kept free of widgets: every routine takes the scroll box's
// geometry as values and returns what the window has to change.

inline constexpr int MinZoomStep = -4;
inline constexpr int MaxZoomStep = 32;
// Largest view extent (image pixels times factor) a zoom step may produce.
inline constexpr int MaxViewExtent = 32000;

// A zoom factor as the exact ratio n:d (n view pixels show d image pixels).
struct ZoomRatio {
    int n = 1;
    int d = 1;
    double Factor() const { return double(n) / double(d); }
    friend bool operator==(const ZoomRatio&, const ZoomRatio&) = default;
};

// The step's table entry: -4..0 are 1/4, 1/3, 1/2, 2/3, 3/4, 1..32 the step itself. Steps outside
// the range are clamped first.
ZoomRatio ZoomRatioOfStep(int step);
double ZoomFactorOfStep(int step);
// "1/4" .. "3/4" or the step as a decimal number.
QString ZoomStepCaption(int step);
// The zoom label: the translated "Zm", one blank, the step's caption.
QString ZoomLabelText(const QString& zmText, int step);
// The largest step whose factor does not exceed f (at most 32, at least -4).
int ZoomStepForFactor(double f);
// Numeric-pad plus and minus: one step while inside the range, else unchanged.
int ZoomStepIn(int step);
int ZoomStepOut(int step);

// The view's packed ratio: n in the low 16 bits, d in the high 16 bits, 0 in either half meaning 1.
ZoomRatio UnpackZoom(int packed);
// Reduced by the greatest common divisor, a d of 1 stored as 0.
int PackZoom(ZoomRatio r);
inline int NormalizePackedZoom(int packed) {
    return PackZoom(UnpackZoom(packed));
}

// View pixels to image pixels: trunc(v / factor), exact for every ratio.
Pair ViewToImage(Pair view, ZoomRatio r);
// Image pixels to view pixels: trunc(v * factor).
Pair ImageToView(Pair image, ZoomRatio r);
// The pointer's image position: converted, then snapped when a grid is given.
Pair PointerImagePosition(Pair view, ZoomRatio r, const GridSettings* grid);
// Status-bar panel 2: "x,y" without blanks.
QString CoordinatesText(Pair image);

// View size for an image: (width div d) * n by (height div d) * n, so a zoomed-out view leaves
// up to d - 1 edge columns and rows unshown.
Pair ZoomedViewSize(Pair image, ZoomRatio r);

// One direction of the scroll box after a resize: the scroll range and the view's offset in the
// box's client area.
struct ScrollAxis {
    int range = 0;
    int offset = 0;
    friend bool operator==(const ScrollAxis&, const ScrollAxis&) = default;
};
// A view larger than the client area scrolls (and is pulled back to offset 0 if it sat further
// in); a smaller one gets no range and is centred.
ScrollAxis MaxSizeResize(int client, int view, int offset);

// The scroll box as the zoom sees it.
struct ViewGeometry {
    Pair image;      // image size in pixels; 0 x 0 without an image
    Pair client;     // scroll box client area
    Pair viewOrigin; // the view's top-left in client coordinates (negative when scrolled)
};

// What ApplyZoom asks of the window.
struct ZoomChange {
    bool resized = false; // false: same factor and image, only the label and a repaint
    int packedZoom = 1;   // for TBuffer::SetZoom
    Pair viewSize;
    Pair viewOrigin; // after MaxSizeResize
    Pair scroll;     // new scroll positions (clamped into the scroll range)
    Pair range;      // scroll ranges (0: no scrolling in that direction)
};

// Zoom state kept between changes: the step of the up-down, the last applied factor and image
// size, the factor remembered by the fit toggle and the last pointer position over the view.
class ZoomState {
public:
    int Step() const { return step_; }
    void SetStep(int step);
    ZoomRatio Ratio() const { return ZoomRatioOfStep(step_); }
    double Factor() const { return ZoomFactorOfStep(step_); }
    double LastFactor() const { return lastFactor_; }
    double RememberedFactor() const { return remembered_; }

    // Moves the step only; ApplyZoom brings the view in line.
    void SetZoomFactor(double f) { step_ = ZoomStepForFactor(f); }

    // Pointer over the view in view pixels; forgotten (-1, -1) when it leaves.
    void SetPointer(Pair view) { pointer_ = view; }
    void ForgetPointer() { pointer_ = {-1, -1}; }
    Pair Pointer() const { return pointer_; }

    // May lower the step (view extent cap, tiny images); keeps the image point under the
    // pointer, or under the client area's middle, in place.
    ZoomChange ApplyZoom(const ViewGeometry& g);
    // Largest step showing the whole image; nothing to do without an image.
    std::optional<ZoomChange> FitZoom(const ViewGeometry& g);
    // Key Z: zoom out to fit remembering the factor, or back to the remembered one.
    std::optional<ZoomChange> FitToggle(const ViewGeometry& g);

    // min(client height / image height, client width / image width); 0 without an image.
    static double FitFactor(const ViewGeometry& g);

private:
    int step_ = 1;
    double lastFactor_ = 1.0;
    Pair lastSize_{0, 0};
    double remembered_ = 0;
    Pair pointer_{-1, -1};
};
