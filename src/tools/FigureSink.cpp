#include "tools/FigureSink.h"

#include "brush/Brush.h"

double StampSink::Piece(Pair a, Pair b, double spacing, double phase) {
    Rect r;
    const double rest = brush_.StampLine(work_, a, b, spacing, phase, &r);
    if (invalidate_) invalidate_(r);
    return rest;
}

double PreviewSink::Piece(Pair a, Pair b, double spacing, double phase) {
    Rect r;
    const double rest = Brush::PreviewLine(image_, a, b, spacing, phase, colour_, &r);
    if (invalidate_) invalidate_(r);
    return rest;
}
