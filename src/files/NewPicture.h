#pragma once

#include "document/DocumentTable.h"

#include <cstdint>

// The blank-image step of New: CurrentDoc becomes a size picture in the background colour, with
// no name, unchanged and untitled, shown and copied for undo. False when the pixels could not be
// allocated; the document is then as it was.
bool NewPicture(DocumentTable& docs, Pair size, uint32_t backColour);
