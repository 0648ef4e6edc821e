#include "files/BrushFiles.h"

#include "files/ImageFiles.h"
#include "raster/GFXFile.h"

#include <exception>

int LoadBrushFile(Brush& brush, const QString& name, uint32_t drawCol, uint32_t backCol,
                  MessageHost& messages) {
    Buffer loaded;
    GFXtra32 extra;
    extra.colourA = drawCol;
    extra.colourB = Pixel::Transparent; // a brush: the file's transparency stays transparent
    extra.image = 1;
    int code = LoadCode::Ok;
    bool tooLarge = false;
    try {
        GFXFile::Load(loaded, name, &extra);
    } catch (const std::exception& e) {
        code = LoadCodeFor(e, !loaded.Empty());
        tooLarge = IsSizeRefusal(e);
    }
    if (code != LoadCode::Ok) code = ReportLoadFailure(code, !loaded.Empty(), messages, tooLarge);
    if (code != LoadCode::Ok) return code;

    const uint32_t key = extra.colourB & (Pixel::Transparent | 0xFFFFFF);
    if (key != Pixel::Transparent) loaded.ChColor(key, Pixel::Transparent);
    CustomBrush how;
    // Without a background colour in the file, Replace stands the brush on the current one.
    how.keyColour = key == Pixel::Transparent ? backCol & 0xFFFFFF : key;
    how.handle = extra.x >= 0 && extra.x <= 4 ? extra.x : 0;
    if (!brush.SetCustom(loaded, how, drawCol, backCol)) {
        messages.MessageByKey(QStringLiteral("BrTooBig"), QStringLiteral("Err"),
                              MessageCode::OkWarning);
        return LoadCode::BrushTooBig;
    }
    return LoadCode::Ok;
}

bool SaveBrushFile(const Brush& brush, const QString& name, uint32_t drawCol, bool backupFiles,
                   MessageHost& messages) {
    Buffer pixels;
    if (brush.source.Empty() || !pixels.Alloc({brush.source.Width(), brush.source.Height()})) {
        messages.MessageByKey(QStringLiteral("ErrSaveImg"), QStringLiteral("Err"),
                              MessageCode::OkWarning);
        return false;
    }
    pixels.Copy(brush.source, {0, 0}, Pixel::CopyAll);
    pixels.ChColor(Pixel::Transparent, brush.keyColour & 0xFFFFFF);
    pixels.Bool(1, Pixel::ClearEdgeMark);
    GFXtra32 extra;
    extra.x = int16_t(brush.handle);
    extra.y = 0;
    extra.colourA = drawCol;
    extra.colourB = brush.keyColour & 0xFFFFFF;
    return WriteImageFile(pixels, name, extra, backupFiles, nullptr, messages);
}
