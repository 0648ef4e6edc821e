#pragma once

#include "raster/Geometry.h"

#include <cstdint>
#include <functional>

class Brush;
class Buffer;

// Where a traced figure goes. Every figure is traced once, as straight pieces walked with the
// stamp spacing; the stamp sink paints the brush at each position, the preview sink plots the
// same positions as the rubber band. So a rubber band shows exactly where the stamps will fall.
class FigureSink {
public:
    using Invalidate = std::function<void(const Rect&)>; // inclusive image rectangle

    virtual ~FigureSink() = default;
    // The positions of the walk from a through b with spacing, starting at phase; returns the
    // remaining phase, which a following piece passes on plus one so a shared joint counts once.
    virtual double Piece(Pair a, Pair b, double spacing, double phase) = 0;
};

// Stamps the brush into work.
class StampSink final : public FigureSink {
public:
    StampSink(const Brush& brush, Buffer& work, Invalidate invalidate)
        : brush_(brush), work_(work), invalidate_(std::move(invalidate)) {}
    double Piece(Pair a, Pair b, double spacing, double phase) override;

private:
    const Brush& brush_;
    Buffer& work_;
    Invalidate invalidate_;
};

// Plots each position in an exclusive-or colour, so tracing the figure again removes it.
class PreviewSink final : public FigureSink {
public:
    PreviewSink(Buffer& image, uint32_t colour, Invalidate invalidate)
        : image_(image), colour_(colour), invalidate_(std::move(invalidate)) {}
    double Piece(Pair a, Pair b, double spacing, double phase) override;

private:
    Buffer& image_;
    uint32_t colour_;
    Invalidate invalidate_;
};
