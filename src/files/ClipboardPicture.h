#pragma once

#include "files/ClipboardDib.h"
#include "raster/Buffer.h"

#include <QMimeData>

#include <cstdint>

// What Export puts on the clipboard: one copy of the picture's pixels, turned into "image/bmp"
// or a plain image only when some program asks for that form.
class ClipboardPicture : public QMimeData {
public:
    static const QString kBmpType; // "image/bmp", with the file header

    // Takes the pixels over (move the picture's copy in).
    explicit ClipboardPicture(Buffer pixels);

    QStringList formats() const override;
    bool hasFormat(const QString& type) const override;

protected:
    QVariant retrieveData(const QString& type, QMetaType preferred) const override;

private:
    Buffer pixels_;
};

// True when data holds a picture Import can read.
bool ClipboardHasPicture(const QMimeData* data);

// Import's reading: "image/bmp" through our own bitmap reader first, else any image another
// program offers, composited over background where it is not opaque. out changes only when
// something was read.
DibImport ReadClipboardPicture(const QMimeData* data, uint32_t background, Buffer& out);
