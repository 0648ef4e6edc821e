#include "tools/ImagePreviewTool.h"

#include "document/DocumentTable.h"
#include "document/Host.h"
#include "raster/Buffer.h"
#include "tools/OptionBarHost.h"
#include "tools/ToolContext.h"

#include <utility>

ImagePreviewTool::ImagePreviewTool() {
    flags = OneShot;
    keepsUndo = false; // the copy taken at activation must survive presses on the picture
    snapToGrid = false;
    phaseCount = 1;
    helpContext = 1300;
}

void ImagePreviewTool::Activate(ToolContext& context) {
    shown_ = applied_ = false;
    shownSettings_.clear();
    appliedSettings_.clear();
    started_ = context.Documents().CurrentDoc().HasPixels() && context.TakeUndo();
    if (!started_) {
        context.Message(QStringLiteral("ImgBig"), QStringLiteral("Err"), MessageCode::OkWarning);
        return;
    }
    Started(context);
}

void ImagePreviewTool::Deactivate(ToolContext& context, PaintTool*) {
    if (!started_) return;
    started_ = false;
    if (applied_) {
        if (shownSettings_ != appliedSettings_) Show(context, appliedSettings_);
    } else if (shown_) {
        PutBack(context);
    }
    shown_ = false;
}

void ImagePreviewTool::Preview(ToolContext& context) {
    if (!started_) return;
    const Settings s = Read(context);
    if (!shown_ || s != shownSettings_) Show(context, s);
}

void ImagePreviewTool::Apply(ToolContext& context) {
    if (!started_) return;
    const Settings s = Read(context);
    if ((!shown_ || s != shownSettings_) && !Show(context, s)) return;
    applied_ = true;
    appliedSettings_ = s;
    context.Documents().CurrentDoc().AddChange();
    context.Documents().UpdateFileLabel();
}

bool ImagePreviewTool::Show(ToolContext& context, const Settings& s) {
    DocumentTable& docs = context.Documents();
    const Buffer& source = docs.UndoDoc().image;
    Buffer made;
    if (source.Empty() || !Render(context, source, s, made) || made.Empty()) {
        context.Message(QStringLiteral("ImgBig"), QStringLiteral("Err"), MessageCode::OkWarning);
        return false;
    }
    Buffer& image = docs.CurrentDoc().image;
    const bool resized = made.Width() != image.Width() || made.Height() != image.Height();
    image = std::move(made);
    shown_ = true;
    shownSettings_ = s;
    if (resized && docs.hooks.showCurrent)
        docs.hooks.showCurrent(true);
    else
        context.Invalidate(image.Bounds());
    return true;
}

void ImagePreviewTool::PutBack(ToolContext& context) {
    DocumentTable& docs = context.Documents();
    // The table shows the restored picture itself, at its old size.
    if (docs.RestoreFromUndo(docs.CurrentDoc()) == 0)
        context.Invalidate(docs.CurrentDoc().image.Bounds());
}

void ImagePreviewTool::BindButtons(ToolContext& context, int previewIndex, int applyIndex) {
    OptionBarHost& bar = context.Bar();
    bar.SetHandler(previewIndex, [this, &context] { Preview(context); });
    bar.SetHandler(applyIndex, [this, &context] { Apply(context); });
}
