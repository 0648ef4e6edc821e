#pragma once

#include "raster/GFXFile.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <optional>

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

} // namespace GFXInternal
