#include "tools/SprayTools.h"

#include "brush/Brush.h"
#include "raster/Buffer.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Bar values arrive as any double; converting one out of int's range would be undefined.
int BarInt(const OptionBarHost& bar, int index, int low, int high) {
    return int(std::clamp(bar.Value(index), double(low), double(high)));
}

struct Degrees {
    std::array<double, 360> cos, sin;
    Degrees() {
        for (int k = 0; k < 360; ++k) {
            cos[size_t(k)] = std::cos(k * std::numbers::pi / 180);
            sin[size_t(k)] = std::sin(k * std::numbers::pi / 180);
        }
    }
};

const Degrees& DegreeTable() {
    static const Degrees table;
    return table;
}

// Weights above 256 would carry into the next channel.
inline uint32_t Blend(uint32_t old, uint32_t colour, int w) {
    const uint32_t keep = uint32_t(256 - w), take = uint32_t(w);
    const uint32_t r = (((old >> 16) & 0xFF) * keep + ((colour >> 16) & 0xFF) * take) >> 8;
    const uint32_t g = (((old >> 8) & 0xFF) * keep + ((colour >> 8) & 0xFF) * take) >> 8;
    const uint32_t b = ((old & 0xFF) * keep + (colour & 0xFF) * take) >> 8;
    return (old & 0xFF000000) | (r << 16) | (g << 8) | b;
}

// Half-widths of the midpoint circle's spans by row distance, each row once (the walk names some
// rows several times; the widest span counts).
std::vector<int> DiscHalfWidths(int r) {
    std::vector<int> half(size_t(r) + 1, -1);
    const auto span = [&](int row, int w) { half[size_t(row)] = std::max(half[size_t(row)], w); };
    int d = 3 - 2 * r;
    int rr = r;
    for (int i = 0; rr >= i; ++i) {
        if (d < 0) {
            span(i, rr);
            d += 4 * i + 10;
        } else {
            span(rr, i);
            if (i < rr) span(i, rr);
            d += 4 * (i - rr) + 14;
            --rr;
        }
    }
    return half;
}

} // namespace

namespace spray {

std::vector<Pair> Dabs(SeededRandom& random, Pair centre, int radius, int density) {
    const int a = std::max(1, radius);
    const Degrees& deg = DegreeTable();
    std::vector<Pair> out;
    for (int n = 2 * std::max(1, density); n >= 2; --n) {
        const int b = -a + random.Below(a) + random.Below(a);
        const size_t phi = size_t(random.Below(360));
        out.push_back({int(b * deg.cos[phi] + centre.x), int(b * deg.sin[phi] + centre.y)});
    }
    return out;
}

void Airbrush(Buffer& work, Pair c, int radius, int e, uint32_t colour, SeededRandom& random) {
    if (work.Empty()) return;
    radius = std::clamp(radius, 1, SprayFamilyTool::MaxRadius);
    const std::vector<int> half = DiscHalfWidths(radius);
    colour &= 0xFFFFFF;
    for (int dy = -radius; dy <= radius; ++dy) {
        const int y = c.y + dy;
        const int hw = half[size_t(std::abs(dy))];
        if (y < work.top || y > work.bottom || hw < 0) continue;
        uint32_t* row = work.Row(y) - work.left;
        const double reach = std::max(1.0, std::trunc(std::sqrt(double(dy * dy + hw * hw))));
        // m = trunc(e · √(√d² / reach)) falls as the walk moves inward, so it is stepped down at
        // the squared distances where it changes (reach² · (m / e)⁴) instead of two roots a pixel.
        const auto atLeast = [&](int level) {
            const double k = double(level) / std::max(e, 1);
            return reach * reach * k * k * k * k;
        };
        int m = e > 0 ? int(std::sqrt(std::sqrt(double(dy * dy + hw * hw)) / reach) * e) : 0;
        double low = atLeast(m);
        // From both ends inward; the middle pixel once.
        for (int dx = hw; dx >= 0; --dx) {
            const double d2 = double(dy * dy + dx * dx);
            while (m > 0 && d2 < low) low = atLeast(--m);
            int w = random.Below(5) + e - m - 2;
            w = std::clamp(w, 0, 256);
            const int w2 = std::clamp(w - random.Below(5) + 2, 0, 256);
            const int xl = c.x - dx, xr = c.x + dx;
            if (xl >= work.left && xl <= work.right && w) row[xl] = Blend(row[xl], colour, w);
            if (dx && xr >= work.left && xr <= work.right && w2)
                row[xr] = Blend(row[xr], colour, w2);
        }
    }
}

} // namespace spray

SprayFamilyTool::SprayFamilyTool(const char* status, int maxValue, int minValue)
    : status_(status), minValue_(minValue), maxValue_(maxValue) {}

int SprayFamilyTool::Radius(ToolContext& context) const {
    return std::clamp(context.SprayRadius(), 1, MaxRadius);
}

void SprayFamilyTool::ReadBar(ToolContext& context) {
    const OptionBarHost& bar = context.Bar();
    context.SprayRadius() = BarInt(bar, 1, 1, MaxRadius);
    value = BarInt(bar, 2, minValue_, maxValue_);
}

void SprayFamilyTool::Activate(ToolContext& context) {
    statusText = context.Translate(QLatin1String(status_));
    OptionBarHost& bar = context.Bar();
    bar.SetEnabled(0, sizeTool != nullptr);
    if (sizeTool) bar.SetHandler(0, [this, &context] { context.SelectTool(sizeTool, true, -1); });
    bar.SetValue(1, Radius(context));
    bar.SetValue(2, value);
    bar.SetHandler(1, [this, &context] { ReadBar(context); });
    bar.SetHandler(2, [this, &context] { ReadBar(context); });
}

void SprayFamilyTool::Deactivate(ToolContext& context, PaintTool*) {
    ReadBar(context);
    if (context.Phase() == ToolPhase::Held) context.RunActivityTimer(false);
}

void SprayFamilyTool::Begin(ToolContext& context) {
    ReadBar(context);
    right_ = context.Keys().right;
    context.RunActivityTimer(true);
}

void SprayFamilyTool::End(ToolContext& context) {
    context.RunActivityTimer(false);
    context.Documents().CurrentDoc().AddChange();
}

void SprayFamilyTool::Tick(ToolContext& context) {
    // Only while a press lasts and the pointer is over the picture.
    if (context.Phase() != ToolPhase::Held || !context.PointerInImage()) return;
    const Pair p = context.Position();
    const Buffer& image = context.Documents().CurrentDoc().image;
    if (!image.Contains(p.x, p.y)) return;
    Paint(context);
}

SprayTool::SprayTool() : SprayFamilyTool("SprayIP", 100, 1) {}

void SprayTool::Paint(ToolContext& context) {
    const Pair p = context.Position();
    const int a = Radius(context);
    Buffer& work = context.WorkBuffer();
    const Brush& brush = context.CurrentBrush();
    for (Pair d : spray::Dabs(random, p, a, value)) brush.StampAt(work, d.x, d.y);
    const int bw = brush.stamp.Width(), bh = brush.stamp.Height();
    context.Invalidate({p.x - a - bw, p.y - a - bh, p.x + a + bw, p.y + a + bh});
    context.UpdateViewNow();
}

void SprayTool::ShowFeedback(ToolContext& context) {
    switch (context.Phase()) {
    case ToolPhase::Idle:
        context.ShowBrushPreview();
        break;
    case ToolPhase::Placed: // a quick click: one burst, then the action ends
        context.SetPhase(ToolPhase::Held);
        Paint(context);
        Click(context);
        context.SetPhase(ToolPhase::Idle);
        context.ShowBrushPreview();
        break;
    default:
        Paint(context);
        break;
    }
}

void SprayTool::HideFeedback(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) context.HideBrushPreview();
}

void SprayTool::Click(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle) {
        Begin(context);
        context.PrepareStamp(right_);
        return;
    }
    End(context);
    context.PrepareStamp(false);
}

AirbrushTool::AirbrushTool() : SprayFamilyTool("AirBrushIP", 100, 0) {}

void AirbrushTool::Paint(ToolContext& context) {
    const Pair p = context.Position();
    const int c = Radius(context);
    spray::Airbrush(context.WorkBuffer(), p, c, spray::Strength(value),
                    right_ ? context.BackColour() : context.DrawColour(), random);
    context.Invalidate({p.x - c, p.y - c, p.x + c + 1, p.y + c + 1});
    context.UpdateViewNow();
}

void AirbrushTool::TogglePointerPixel(ToolContext& context) {
    // Into the whole image, at the place it was shown, so a scroll in between leaves nothing.
    Buffer& image = context.Documents().CurrentDoc().image;
    image.PutPixel(pixelAt_, Pixel::Preview);
    context.Invalidate({pixelAt_.x, pixelAt_.y, pixelAt_.x, pixelAt_.y});
}

void AirbrushTool::ShowFeedback(ToolContext& context) {
    switch (context.Phase()) {
    case ToolPhase::Idle:
        if (pixelShown_) TogglePointerPixel(context);
        pixelAt_ = context.Position();
        pixelShown_ = true;
        TogglePointerPixel(context);
        break;
    case ToolPhase::Placed:
        context.SetPhase(ToolPhase::Held);
        Paint(context);
        Click(context);
        context.SetPhase(ToolPhase::Idle);
        ShowFeedback(context);
        break;
    default:
        Paint(context);
        break;
    }
}

void AirbrushTool::HideFeedback(ToolContext& context) {
    if (!pixelShown_) return;
    pixelShown_ = false;
    TogglePointerPixel(context);
}

void AirbrushTool::Click(ToolContext& context) {
    if (context.Phase() == ToolPhase::Idle)
        Begin(context);
    else
        End(context);
}
