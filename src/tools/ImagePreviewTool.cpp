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
    PreviewSession::Hooks hooks = PreviewSession::CurrentDocument(context.Documents());
    hooks.takeUndo = [&context] {
        return context.Documents().CurrentDoc().HasPixels() && context.TakeUndo();
    };
    hooks.putBack = [&context] {
        DocumentTable& docs = context.Documents();
        // The table shows the restored picture itself, at its old size.
        if (docs.RestoreFromUndo(docs.CurrentDoc()) == 0)
            context.Invalidate(docs.CurrentDoc().image.Bounds());
    };
    session_ = PreviewSession(std::move(hooks));
    if (!session_.Start()) {
        context.Message(QStringLiteral("ImgBig"), QStringLiteral("Err"), MessageCode::OkWarning);
        return;
    }
    Started(context);
}

void ImagePreviewTool::Deactivate(ToolContext& context, PaintTool*) {
    session_.Leave(Shower(context));
}

void ImagePreviewTool::Preview(ToolContext& context) {
    if (session_.Started()) session_.Preview(Read(context), Shower(context));
}

void ImagePreviewTool::Apply(ToolContext& context) {
    if (session_.Started()) session_.Apply(Read(context), Shower(context));
}

PreviewSession::Run ImagePreviewTool::Shower(ToolContext& context) {
    return [this, &context](const Settings& s) { return Show(context, s); };
}

PreviewSession::Outcome ImagePreviewTool::Show(ToolContext& context, const Settings& s) {
    DocumentTable& docs = context.Documents();
    const Buffer& source = docs.UndoDoc().image;
    Buffer made;
    if (source.Empty() || !Render(context, source, s, made) || made.Empty()) {
        context.Message(QStringLiteral("ImgBig"), QStringLiteral("Err"), MessageCode::OkWarning);
        return PreviewSession::Outcome::Refused;
    }
    Buffer& image = docs.CurrentDoc().image;
    const bool resized = made.Width() != image.Width() || made.Height() != image.Height();
    image = std::move(made);
    if (resized && docs.hooks.showCurrent)
        docs.hooks.showCurrent(true);
    else
        context.Invalidate(image.Bounds());
    return PreviewSession::Outcome::Done;
}

void ImagePreviewTool::BindButtons(ToolContext& context, int previewIndex, int applyIndex) {
    OptionBarHost& bar = context.Bar();
    bar.SetHandler(previewIndex, [this, &context] { Preview(context); });
    bar.SetHandler(applyIndex, [this, &context] { Apply(context); });
}
