#pragma once

#include "raster/Buffer.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// Extra load and save data. In: colourA the drawing colour, colourB the background colour
// (Pixel::Transparent when loading a brush), image the number within a multi-image file, from 1.
// Out: the handle and the colours the file asks for.
struct GFXtra32 {
    int16_t x = 0;
    int16_t y = 0;
    uint32_t colourA = 0;
    uint32_t colourB = 0;
    int32_t image = 1;
};
static_assert(sizeof(GFXtra32) == 16);

struct GFXFileDesc {
    QString format; // description of the format, as in Formats()
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int bitsPerComponent = 0;
    bool greyScale = false;
    bool palette = false;
};

struct GFXFormat {
    QString description; // "Portable Network Graphics"
    QString extensions;  // "*.png" or "*.jpg;*.jpeg"
    bool canSave = false;
    QByteArray qtFormat; // the image plug-in's name, such as "png"
};

// Image file coding over Qt's image I/O. Errors throw the types of RasterError.h.
class GFXFile {
public:
    using ProgStart = std::function<void()>;
    using ProgStep = std::function<bool(int percent)>; // false asks to stop
    using ProgStop = std::function<void()>;

    // Every format readable on this machine, in a fixed order.
    static const std::vector<GFXFormat>& Formats();
    // The format for a file name by its extension, or nullptr.
    static const GFXFormat* GetDefaultFormat(const QString& name);
    // True when the file is a readable image; fills desc when given.
    static bool Test(const QString& name, GFXFileDesc* desc);
    // Number of images in the file (1 for single-image files, 0 when unreadable).
    static int GetImgCount(const QString& name);
    // Loads image extra->image (from 1) of name into dst.
    static void Load(Buffer& dst, const QString& name, GFXtra32* extra);
    // Saves src in the format of name's extension. scratch may be used as working memory. The
    // file is written beside name and replaces it only when complete (see SafeFile), so a failed
    // save leaves the old file; beforeReplace runs just before the replacement.
    static void Save(const Buffer& src, const QString& name, GFXtra32* extra, Buffer* scratch,
                     const std::function<void()>& beforeReplace = {});
    // The same, written straight from src's pixels, which lose their edge marks (the one pass
    // over them, with the progress). Formats whose writer would read our mark bits as alpha
    // get the top bytes set for the write and cleared again, or a copy when some are marked.
    static void Save(Buffer& src, const QString& name, GFXtra32* extra, Buffer* scratch,
                     const std::function<void()>& beforeReplace = {});
    // Process-wide: every later Load and Save, from any caller, calls start, step(percent) with
    // rising values while converting pixels (step false aborts with LibraryError) and stop at
    // the end, also on errors.
    static void SetProgFunc(ProgStart start, ProgStep step, ProgStop stop);
};
