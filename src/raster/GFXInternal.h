#pragma once

#include "raster/GFXFile.h"

#include <QByteArray>

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

} // namespace GFXInternal
