#include "files/OpenPreview.h"

#include "files/ImageFiles.h"
#include "raster/GFXFile.h"

#include <exception>

#include <QFileInfo>

#include <algorithm>
#include <cmath>

void OpenPreview::Clear() {
    full = ImageDoc();
    shown.Free();
    valid = false;
    loadResult = 0;
}

bool OpenPreview::Holds(const QString& name, int n) const {
    return valid && full.imageNumber == n && full.fileName == QFileInfo(name).absoluteFilePath();
}

namespace {
QString Tr(const TranslateFn& translate, const char* key) {
    const QString k = QString::fromLatin1(key);
    return translate ? translate(k) : k;
}
} // namespace

PreviewLines DescribeImageFile(const QString& name, const TranslateFn& translate) {
    PreviewLines lines;
    GFXFileDesc desc;
    if (!GFXFile::Test(name, &desc)) return lines;
    lines.isImage = true;
    lines.color = Tr(translate, desc.greyScale ? "Grayscale" : "Color") + QLatin1Char(' ') +
                  Tr(translate, "Image");
    if (desc.palette) lines.color += QLatin1Char(' ') + Tr(translate, "WithPal");
    lines.size = Tr(translate, "Size") + QStringLiteral(": ") + QString::number(desc.width) +
                 QLatin1Char('x') + QString::number(desc.height) + QLatin1Char(' ') +
                 Tr(translate, "Pixels");
    lines.bpp = Tr(translate, "BPP") + QStringLiteral(": ") + QString::number(desc.bitsPerPixel);
    lines.bpc =
        Tr(translate, "BPCC") + QStringLiteral(": ") + QString::number(desc.bitsPerComponent);
    return lines;
}

QString FileSizeLine(qint64 bytes, const TranslateFn& translate) {
    return Tr(translate, "SizeInB") + QStringLiteral(": ") + QString::number(bytes);
}

QString FileDateLine(const QDateTime& written, const TranslateFn& translate) {
    return Tr(translate, "Date") + QStringLiteral(": ") +
           written.toString(QStringLiteral("MM/dd/yyyy hh:mm"));
}

QString ImageNumberLine(int n, const TranslateFn& translate) {
    return Tr(translate, "Image") + QLatin1Char(' ') + QString::number(n);
}

Pair PreviewDisplaySize(int w, int h) {
    if (w < 1 || h < 1) return {1, 1};
    const double s =
        std::min(double(OpenPreview::BoxWidth) / w, double(OpenPreview::BoxHeight) / h);
    return {std::max(1, int(std::trunc(w * s))), std::max(1, int(std::trunc(h * s)))};
}

void LoadPreviewImage(OpenPreview& preview, const QString& name, int n, uint32_t drawColour,
                      uint32_t backColour) {
    preview.Clear();
    GFXtra32 extra;
    extra.colourA = drawColour;
    extra.colourB = backColour;
    extra.image = n;
    int code = LoadCode::Ok;
    try {
        GFXFile::Load(preview.full.image, name, &extra);
    } catch (const std::exception& e) {
        code = LoadCodeFor(e, preview.full.HasPixels());
    }
    // A partly read image is kept: opening it asks whether to keep it.
    if (!preview.full.HasPixels()) {
        preview.Clear();
        return;
    }
    preview.full.fileName = QFileInfo(name).absoluteFilePath();
    preview.full.imageNumber = n;
    preview.full.untitled = false;
    preview.full.changeCount = 0;
    const Pair size = PreviewDisplaySize(preview.full.image.Width(), preview.full.image.Height());
    if (!preview.shown.Alloc(size)) {
        preview.Clear();
        return;
    }
    preview.shown.Scale(preview.full.image, size, {0, 0}, 0xFFFFFFFF, true);
    preview.loadResult = code;
    preview.colourA = extra.colourA;
    preview.colourB = extra.colourB;
    preview.valid = true;
}
