#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QuickPalette;

// The ".pal" text file of the quick palette: the number of cells in decimal on the first line,
// then one line per cell with its colour as six upper-case hexadecimal digits RRGGBB.
//
// Reading takes numbers as "%d" and "%X" would, so any spacing between them is accepted. The
// palette is rebuilt at the announced count (rounded up to a palette size), then one value is
// read per cell of the rebuilt palette; values beyond six digits keep their last six. A value
// that cannot be read leaves its cell as it was and is skipped, so a later good value still
// reaches its own cell. When not even the count can be read, the palette is left alone. Only the
// first kPaletteReadLimit bytes are looked at, far more than any palette needs.

inline constexpr qsizetype kPaletteReadLimit = 64 * 1024;

// Failed: the file could not be opened for reading, or not created and written whole.
enum class PaletteFileResult { Ok, Failed };

PaletteFileResult ReadPaletteFile(const QString& name, QuickPalette& palette);
PaletteFileResult WritePaletteFile(const QString& name, const QuickPalette& palette);

// The text forms, for the file functions above.
void ReadPaletteText(QByteArrayView text, QuickPalette& palette);
QByteArray PaletteText(const QuickPalette& palette);
