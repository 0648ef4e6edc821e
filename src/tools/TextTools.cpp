#include "tools/TextTools.h"

#include "tools/OptionBarHost.h"
#include "tools/Palette.h"
#include "tools/ToolContext.h"

#include <algorithm>

namespace {

constexpr int kBackspace = 8, kEnter = 13, kInsert = 45, kDelete = 46;
constexpr int kShift = KeyMod::Shift, kCtrl = KeyMod::Ctrl;

// The bar's indexes.
enum : int {
    FontIndex = 0,
    SizeIndex = 1,
    FirstStyle = 2, // bold, italic, underline, shadow, outline
    ShadowColourIndex = 7,
    DepthIndex = 8,
    ScaleXIndex = 9,
    ScaleYIndex = 10,
};

int Lines(const QString& text) {
    return int(text.count(QStringLiteral("\r\n"))) + 1;
}

// Only printable characters join the block; a line break arrives as CR LF whatever the source.
QString Printable(QString in) {
    in.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QString out;
    for (QChar c : in) {
        if (c == QChar('\n'))
            out += QStringLiteral("\r\n");
        else if (c.unicode() >= 32 && c.unicode() != 127)
            out += c;
    }
    return out;
}

} // namespace

TextTool::TextTool() {
    keepsUndo = false; // taken by the click that places the first block
}

TextStyle TextTool::CurrentStyle(ToolContext& context) const {
    TextStyle s;
    const QStringList names = textblock::FontNames();
    s.font.name = fontIndex >= 0 && fontIndex < names.size() ? names[fontIndex] : names.first();
    s.antiAlias = context.AntiAlias();
    s.font.size = std::clamp(size, 1, MaxSize) * (s.antiAlias ? 2 : 1);
    s.font.bold = styles & Bold;
    s.font.italic = styles & Italic;
    s.font.underline = styles & Underline;
    s.shadow = styles & Shadow;
    s.outline = styles & Outline;
    s.depth = depth;
    s.scaleX = scaleX;
    s.scaleY = scaleY;
    s.draw = context.DrawColour();
    s.back = context.BackColour();
    s.shadowColour = shadowColour;
    return s;
}

void TextTool::ReadBar(ToolContext& context) {
    const OptionBarHost& bar = context.Bar();
    const auto clamped = [&](int i, double low, double high) {
        return std::clamp(bar.Value(i), low, high);
    };
    fontIndex = int(clamped(FontIndex, 0, 1e6));
    size = int(clamped(SizeIndex, 1, MaxSize));
    styles = 0;
    for (int k = 0; k < 5; ++k)
        if (bar.Value(FirstStyle + k) != 0) styles |= 1u << k;
    shadowColour = uint32_t(clamped(ShadowColourIndex, 0, 0xFFFFFF));
    depth = int(clamped(DepthIndex, 0, 99));
    scaleX = clamped(ScaleXIndex, 1, 1000);
    scaleY = clamped(ScaleYIndex, 1, 1000);
}

void TextTool::Activate(ToolContext& context) {
    active_ = true;
    statusText = context.Translate(QStringLiteral("TextIP"));
    text = QStringLiteral("|");
    anchor = {-1, -1};
    OptionBarHost& bar = context.Bar();
    bar.SetValue(FontIndex, fontIndex);
    bar.SetValue(SizeIndex, size);
    for (int k = 0; k < 5; ++k) bar.SetValue(FirstStyle + k, (styles >> k) & 1);
    bar.SetValue(ShadowColourIndex, shadowColour);
    bar.SetValue(DepthIndex, depth);
    bar.SetValue(ScaleXIndex, scaleX);
    bar.SetValue(ScaleYIndex, scaleY);
    for (int i : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10})
        bar.SetHandler(i, [this, &context] { FontChanged(context); });
    bar.SetSwatchHandler(ShadowColourIndex, [this, &context] {
        editingShadow_ = true;
        context.EditColour(
            QStringLiteral("SelShadCol"),
            [this, &context] { return uint32_t(context.Bar().Value(ShadowColourIndex)); },
            [this, &context](uint32_t colour) {
                // The selector may close after the tool was left, onto another tool's bar.
                if (!active_) return;
                context.Bar().SetValue(ShadowColourIndex, colour & 0xFFFFFF);
                FontChanged(context);
            });
    });
    FontChanged(context);
}

void TextTool::Deactivate(ToolContext& context, PaintTool*) {
    active_ = false;
    if (editingShadow_) context.CloseColourEditor();
    editingShadow_ = false;
    EraseBlock(context);
    text = QStringLiteral("|");
    anchor = {-1, -1};
    ReadBar(context);
}

void TextTool::FontChanged(ToolContext& context) {
    if (!active_) return;
    EraseBlock(context);
    ReadBar(context);
    DrawBlock(context, false);
}

void TextTool::ColoursChanged(ToolContext& context) {
    EraseBlock(context);
    DrawBlock(context, false);
}

void TextTool::Click(ToolContext& context) {
    EraseBlock(context);
    if (!Typing()) context.TakeUndo();
    anchor = context.Position();
    DrawBlock(context, false);
    context.UpdateViewNow();
}

void TextTool::DrawBlock(ToolContext& context, bool commit) {
    if (!Typing()) return;
    const TextStyle style = CurrentStyle(context);
    const QString shown = commit ? text.chopped(1) : text;
    const QStringList lines = textblock::Lines(shown);
    layout_ = textblock::Measure(style, lines);
    const Rect block = layout_.At(anchor);
    Buffer& image = context.Documents().CurrentDoc().image;
    if (!commit) {
        // Without a copy of what lies under it the block could not be taken away again.
        savedAt_ = block.Intersect(image.Bounds());
        savedPixels_ = nullptr;
        if (savedAt_.Empty() || !saveUnder_.Alloc({savedAt_.Width(), savedAt_.Height()})) return;
        saveUnder_.Copy(image, {-savedAt_.left, -savedAt_.top}, Pixel::CopyAll);
        savedPixels_ = image.pixels;
    }
    textblock::Draw(context.WorkBuffer(), style, lines, anchor, layout_);
    context.Invalidate(block);
}

void TextTool::EraseBlock(ToolContext& context) {
    if (!savedPixels_) return;
    Buffer& image = context.Documents().CurrentDoc().image;
    // Another picture became current since: this copy is not its.
    if (image.pixels == savedPixels_ && image.Bounds().Intersect(savedAt_) == savedAt_) {
        image.Copy(saveUnder_, {savedAt_.left, savedAt_.top}, Pixel::CopyAll);
        context.Invalidate(savedAt_);
    }
    savedPixels_ = nullptr;
    saveUnder_.Free();
}

template <typename Edit> void TextTool::EditText(ToolContext& context, Edit edit) {
    EraseBlock(context);
    QString body = text.chopped(1);
    const int before = Lines(body);
    edit(body);
    text = body + QChar('|');
    // Measured in the style now in force: the old block's lines keep their height.
    layout_ = textblock::Measure(CurrentStyle(context), textblock::Lines(text));
    anchor.y += layout_.lineHeight * (Lines(body) - before);
    DrawBlock(context, false);
    context.UpdateViewNow();
}

void TextTool::Commit(ToolContext& context) {
    EraseBlock(context);
    DrawBlock(context, true);
    context.Documents().CurrentDoc().AddChange();
    anchor.y += layout_.lineHeight;
    text = QStringLiteral("|");
    DrawBlock(context, false);
    context.UpdateViewNow();
}

void TextTool::Paste(ToolContext& context) {
    QString clip = context.ClipboardText().left(PasteLimit);
    // Never half a character.
    if (!clip.isEmpty() && clip.back().isHighSurrogate()) clip.chop(1);
    clip = Printable(clip);
    EditText(context, [&](QString& body) { body += clip; });
}

bool TextTool::IsCommand(int code) {
    switch (code) {
    case kShift + kEnter:
    case kShift + kInsert:
    case kCtrl + 'V':
    case kCtrl + kInsert:
    case kCtrl + 'C':
    case kShift + kDelete:
    case kCtrl + 'X':
    case kCtrl + kDelete:
        return true;
    default:
        return false;
    }
}

bool TextTool::Key(ToolContext& context, int code, const QString& typed) {
    if (!Typing()) return false;
    switch (code) {
    case kBackspace:
        EditText(context, [](QString& body) {
            if (body.isEmpty()) return;
            body.chop(body.size() >= 2 && body.back().isLowSurrogate() &&
                              body[body.size() - 2].isHighSurrogate()
                          ? 2
                          : 1);
            if (body.endsWith(QChar('\r'))) body.chop(1); // a whole line break went
        });
        return true;
    case kEnter:
        Commit(context);
        return true;
    case kShift + kEnter:
        EditText(context, [](QString& body) { body += QStringLiteral("\r\n"); });
        return true;
    case kShift + kInsert:
    case kCtrl + 'V':
        Paste(context);
        return true;
    case kCtrl + kInsert:
    case kCtrl + 'C':
        context.SetClipboardText(text.chopped(1));
        return true;
    case kShift + kDelete:
    case kCtrl + 'X':
        context.SetClipboardText(text.chopped(1));
        [[fallthrough]];
    case kCtrl + kDelete:
        EditText(context, [](QString& body) { body.clear(); });
        return true;
    default:
        break;
    }
    if (code & (KeyMod::Ctrl | KeyMod::Alt)) return false;
    const QString chars = Printable(typed).remove(QStringLiteral("\r\n"));
    if (chars.isEmpty()) return false;
    EditText(context, [&](QString& body) { body += chars; });
    return true;
}
