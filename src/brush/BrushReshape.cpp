#include "brush/Brush.h"

bool Brush::Reshape(Buffer& made, uint32_t drawCol, uint32_t backCol) {
    if (made.Empty()) return false;
    return Install(made, *this, drawCol, backCol);
}
