#pragma once

#include "brush/Brush.h"
#include "document/Host.h"

#include <QString>

#include <cstdint>

// Brush > Open: image 1 of name becomes the custom brush. Pixels of the file's background colour
// (or its transparent ones) become transparent and that colour the brush's key colour; the
// file's handle position is kept. Returns a LoadCode; on any failure the messages have been
// given and the brush is as it was.
int LoadBrushFile(Brush& brush, const QString& name, uint32_t drawCol, uint32_t backCol,
                  MessageHost& messages);

// Brush > Save: the brush is written with its transparent pixels in its key colour, which the
// file keeps as its background colour together with the handle position. The brush itself is
// not touched. False when the save failed (its message has been given).
bool SaveBrushFile(const Brush& brush, const QString& name, uint32_t drawCol, bool backupFiles,
                   MessageHost& messages);
