#pragma once

#include "document/ImageDoc.h"
#include "raster/Buffer.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>

// What the open dialog has loaded for its preview. A file opened while its preview is valid is
// taken from here rather than read a second time.
struct OpenPreview {
    static constexpr int BoxWidth = 240, BoxHeight = 180;

    ImageDoc full;                     // the selected image at full size
    Buffer shown;                      // full scaled into the preview box
    bool valid = false;                // full holds the selected image of the selected file
    int loadResult = 0;                // LoadCode of full
    uint32_t colourA = 0, colourB = 0; // the colours the file asked for

    void Clear();
    // Whether this preview holds image n of name.
    bool Holds(const QString& name, int n) const;
};

// The four description lines of an image file; all empty when it is not a readable image.
struct PreviewLines {
    bool isImage = false;
    QString color, size, bpp, bpc;
};

using TranslateFn = std::function<QString(const QString&)>;

PreviewLines DescribeImageFile(const QString& name, const TranslateFn& translate);
QString FileSizeLine(qint64 bytes, const TranslateFn& translate);
QString FileDateLine(const QDateTime& written, const TranslateFn& translate);
QString ImageNumberLine(int n, const TranslateFn& translate);

// Display size of a w x h image in the preview box: the smaller scale of the two sides (small
// images are enlarged), each side at least 1.
Pair PreviewDisplaySize(int w, int h);

// Loads image n of name quietly into preview.full and scales it into preview.shown. The preview
// is valid afterwards when the load gave pixels (codes 0, 1 and 3), a partly read image included.
void LoadPreviewImage(OpenPreview& preview, const QString& name, int n, uint32_t drawColour,
                      uint32_t backColour);
