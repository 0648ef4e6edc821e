#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <cstdint>

enum class BrushShape : int { Circular = 0, Square = 1 };

namespace Technique {
inline constexpr int Paint = 0;   // the brush's own colours
inline constexpr int Color = 1;   // every opaque pixel in the button's colour
inline constexpr int Replace = 2; // a full rectangle, transparent parts in the key colour
} // namespace Technique

// The eight fields the one-level backup keeps beside the source pixels.
struct BrushFields {
    int originX = 0, originY = 0; // where a custom brush was cut from
    uint32_t keyColour = 0;       // what a custom brush's transparent pixels stand for
    int technique = Technique::Color;
    bool custom = false;
    int radius = 1; // built-in brush: 2r + 1 pixels square
    int handle = 0; // 0 centre, 1 top-left, 2 top-right, 3 bottom-right, 4 bottom-left
    BrushShape shape = BrushShape::Circular; // the built-in shape chosen last
};

// How SetCustom takes a new custom brush.
struct CustomBrush {
    Pair origin{0, 0};
    uint32_t keyColour = 0;
    int handle = -1;               // -1 keeps the current handle position
    bool keyToTransparent = false; // source pixels equal to the key colour become transparent
};

struct TrimResult {
    bool trimmed = false; // false: nothing to remove, or the trimmed copy could not be made
    bool failed = false;  // out of memory; the brush is unchanged
    Pair pointer{0, 0};   // where the pointer goes so the brush stays on the same pixels
};

// The brush every tool stamps. The source brush is the brush as defined; the stamp brush is the
// same size and holds what is actually stamped for the current technique and button. Both are
// empty until the first brush is chosen; an empty brush stamps nothing.
//
// Every operation that makes a new brush builds it aside and swaps it in only when complete, so a
// failed allocation (reported by a false return, for the "BrTooBig" message) leaves the previous
// brush whole; the caller then calls Restore.
class Brush : public BrushFields {
public:
    Buffer source;
    Buffer stamp;

    // Handle offset of a w x h brush for a handle position (unknown positions act as centre).
    static Pair HandleOffset(int handle, int w, int h);
    Pair HandleOffset() const { return HandleOffset(handle, source.Width(), source.Height()); }

    // Rebuilds the stamp brush from the source. Allocates only when the sizes differ; on failure
    // the stamp is emptied and false returned.
    bool PrepareStamp(bool useBackground, uint32_t drawCol, uint32_t backCol);

    // Keyed copy of the stamp brush with its handle on (x, y); clipped to work. No invalidation.
    void StampAt(Buffer& work, int x, int y) const;
    // The image rectangle one stamp at p covers (inclusive; the point itself for an empty brush).
    Rect StampRect(Pair p) const;
    // Covers the line a-b and the brush at both ends.
    Rect LineRect(Pair a, Pair b) const;

    // Stamps along the line a-b with spacing and phase (see StampLine.h); returns the remaining
    // phase. covered, when given, receives LineRect(a, b) for the caller to invalidate once.
    double StampLine(Buffer& work, Pair a, Pair b, double spacing, double phase,
                     Rect* covered = nullptr) const;
    // The same walk as a rubber band: each position that would get a stamp is plotted in colour
    // (an exclusive-or value such as Pixel::Preview, so drawing it twice removes it). covered
    // receives the line's own rectangle.
    static double PreviewLine(Buffer& work, Pair a, Pair b, double spacing, double phase,
                              uint32_t colour, Rect* covered = nullptr);

    // One of the built-in brushes (radius < 0 keeps the current one). A custom brush is backed up
    // first; technique becomes Color. The caller does the palette and pending-tool hand-over.
    bool SelectBuiltIn(BrushShape shape, int radius, uint32_t drawCol, uint32_t backCol);
    // The built-in source pixels of shape and radius into out; false when too large.
    static bool BuildBuiltIn(BrushShape shape, int radius, uint32_t colour, Buffer& out);
    // Palette variant that shows a built-in shape.
    static int BuiltInVariant(BrushShape shape) { return shape == BrushShape::Square ? 4 : 0; }

    // A custom brush from pixels (any buffer or view; the brush itself starts at (0, 0)). Backs up
    // the current brush first; technique becomes Paint. Trimming is left to the caller, who knows
    // the pointer.
    bool SetCustom(const Buffer& pixels, const CustomBrush& how, uint32_t drawCol,
                   uint32_t backCol);

    // Paint and Replace need a custom brush; returns false (and changes nothing) when refused.
    // On success the stamp is prepared without background.
    bool SetTechnique(int t, uint32_t drawCol, uint32_t backCol);
    // Status-bar letter for a technique: "P", "C" or "R" (empty for an unknown one).
    static const char* TechniqueLetter(int t);

    // One-level backup of the source pixels and the eight fields.
    bool Backup();
    // Puts the backup back and empties it; with no backup, rebuilds the built-in brush of the
    // remembered shape at the current radius. False when out of memory (brush unchanged).
    bool Restore(uint32_t drawCol, uint32_t backCol);
    bool HasBackup() const { return !backup_.Empty(); }
    const Buffer& BackupBuffer() const { return backup_; }

    // The source becomes made (built aside by one of the reshaping algorithms of
    // BrushTransforms.h), every field kept, the stamp rebuilt; false (brush and made unchanged)
    // when the stamp cannot be made. The caller backs up first and trims after.
    bool Reshape(Buffer& made, uint32_t drawCol, uint32_t backCol);

    // Removes fully transparent outer rows and columns. pointer is the current pointer position.
    TrimResult Trim(Pair pointer, uint32_t drawCol, uint32_t backCol);

    // A ring one pixel wide in ring colour around the visible pixels (four-connected, so a solid
    // brush gets a frame without corners); the brush grows by one on every side. False when out
    // of memory: the brush is unchanged.
    bool Outline(uint32_t ring, uint32_t drawCol, uint32_t backCol);
    // How far the pointer moves after Outline so the old pixels stay where they were: +1 on an
    // axis where the handle sits on the right or bottom edge, 0 for the centre, else -1.
    static Pair OutlineShift(int handle);
    // Each row reversed, or the row order reversed, in place; the stamp is rebuilt.
    void MirrorLeftRight(uint32_t drawCol, uint32_t backCol);
    void MirrorTopBottom(uint32_t drawCol, uint32_t backCol);
    // The handle-step key: centre, left top, right top, right bottom, left bottom, centre.
    static int NextHandle(int handle) { return handle >= 0 && handle < 4 ? handle + 1 : 0; }

private:
    // Swaps in newSource with fields and a freshly prepared stamp, or changes nothing (and
    // leaves newSource alone) when the stamp cannot be made.
    bool Install(Buffer& newSource, const BrushFields& fields, uint32_t drawCol, uint32_t backCol);

    Buffer backup_;
    BrushFields backupFields_;
};
