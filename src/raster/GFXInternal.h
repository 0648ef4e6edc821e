#pragma once

#include "raster/GFXFile.h"

#include <QByteArray>
#include <QImage>
#include <QList>

#include <cstdint>
#include <functional>
#include <optional>

class QIODevice;

// Shared by the parts of GFXFile; not for other callers.
namespace GFXInternal {

// Text keys that make a saved brush load back whole. Values: "x,y" and hex RRGGBB.
inline constexpr char kHandleKey[] = "OrvelPaint.Handle";
inline constexpr char kColourAKey[] = "OrvelPaint.ColourA";
inline constexpr char kColourBKey[] = "OrvelPaint.ColourB";

// Size of the largest image Qt's readers may allocate, in megabytes: a 16384 x 16384 image at
// 8 bytes per pixel (16-bit channels).
inline constexpr int kAllocationLimitMB = 2048;

// The entry of Formats() for one of Qt's format names (aliases included), or nullptr.
const GFXFormat* FormatForQt(const QByteArray& qtFormat);

// The progress callbacks of one Load or Save: start now, stop when leaving (also on errors).
class ProgressScope {
public:
    ProgressScope();
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    // Throws LibraryError when the callback asks to stop.
    void Step(int percent) const;

private:
    GFXFile::ProgStep step_;
    GFXFile::ProgStop stop_;
};

// Files that start with "BM", decoded by our own bitmap reader.
bool IsBmpFile(const QString& name);
void LoadBmp(Buffer& dst, const QString& name, const ProgressScope& progress);

// Qt's PNG reader garbles 16-bit RGB with a transparent colour (it writes 48-bit rows into a
// 64-bit image). Such a file is read into memory without its tRNS chunk, decoded as plain 16-bit
// RGB, and the key applied afterwards.
struct KeyedDeepPng {
    QByteArray bytes; // the file without the key
    uint16_t red = 0, green = 0, blue = 0;
};
// The file as above when it is such a PNG; nothing for every other file.
std::optional<KeyedDeepPng> ReadKeyedDeepPng(const QString& name);
// img, decoded from KeyedDeepPng::bytes, as 16-bit RGBA with the key colour transparent.
void ApplyPngKey(QImage& img, const KeyedDeepPng& key);

// Whether this build's JPEG library takes our pixels as they are (libjpeg-turbo).
bool CanWriteJpegDirect();
// src as a baseline JPEG into out, with the comments as COM markers in the order given, the same
// bytes Qt's writer makes of it; clears the edge marks row by row on the way. rowsDone(n) after
// each row (it may throw to stop). Throws FileIOError when out fails, LibraryError otherwise.
void WriteJpegDirect(Buffer& src, QIODevice& out, int quality, int dpi,
                     const QList<QByteArray>& comments, const std::function<void(int)>& rowsDone);

} // namespace GFXInternal
