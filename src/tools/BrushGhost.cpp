#include "tools/BrushGhost.h"

#include "document/DocumentTable.h"
#include "tools/ToolContext.h"

void BrushGhost::Show(ToolContext& context, Rect r, const std::function<void(Buffer& view)>& draw) {
    Hide(context);
    Buffer& image = context.Documents().CurrentDoc().image;
    r = r.Intersect(image.Bounds());
    if (r.Empty() || !under_.Alloc({r.Width(), r.Height()})) return;
    under_.Copy(image, {image.left - r.left, image.top - r.top}, Pixel::CopyAll);
    Buffer view(image, r);
    draw(view);
    at_ = {r.left, r.top};
    shown_ = true;
    context.Invalidate(r);
}

void BrushGhost::ShowPixels(ToolContext& context, const Buffer& pixels, Pair at) {
    if (pixels.Empty()) return Hide(context);
    const Rect r{at.x, at.y, at.x + pixels.Width() - 1, at.y + pixels.Height() - 1};
    Show(context, r, [&](Buffer& view) { view.Copy(pixels, at, Pixel::Transparent); });
}

void BrushGhost::Hide(ToolContext& context) {
    if (!shown_) return;
    shown_ = false;
    Buffer& image = context.Documents().CurrentDoc().image;
    image.Copy(under_, at_, Pixel::CopyAll);
    context.Invalidate({at_.x, at_.y, at_.x + under_.Width() - 1, at_.y + under_.Height() - 1});
}
