#pragma once

#include "filters/AfsFile.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <string>

// Components made from a Filter Factory filter: a copy of the filter runner (a component that
// runs whatever filter is attached to it) with the filter's source appended. The loader ignores
// bytes after the library's last segment, so the copy stays a valid library.
//
// Attached data: the source file's bytes, their length as 8 bytes little-endian, then kMagic.
namespace makecomp {

inline constexpr char kMagic[] = "OVFFSRC1"; // 8 bytes, no terminator in the file
inline constexpr int kTrailer = 16;
inline constexpr const char* kRunnerName = "ffrunner.ovc";

// The runner beside the program, from its folder.
QString RunnerPath(const QString& programFolder);

// runner followed by the attached source.
QByteArray Attach(const QByteArray& runner, const FilterSource& source);
// The source attached to the file at path; nothing when none is (or it does not read).
std::optional<FilterSource> ReadAttached(const QString& path);

// The descriptor of a made component: named after the filter's title, one slider per named
// control starting at its value. The keys that steer the program come first, so that no text
// of the filter can stand in for them.
std::string Descriptor(const FilterSource& source);
// The control (0..7) behind each slider of Descriptor, in place order; -1 after the last.
std::array<int, 8> SliderControls(const FilterSource& source);

// Writes the component to target (temporary file, then renamed over it). False when the
// runner cannot be read or the file cannot be written; target is untouched then.
bool Make(const QString& runnerPath, const QString& target, const FilterSource& source);

} // namespace makecomp
