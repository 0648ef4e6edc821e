#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Filter Factory source files ("%RGB-1.0" text, lines ended by CR LF).
struct FilterSource {
    std::array<QString, 3> channels{QStringLiteral("r"), QStringLiteral("g"), QStringLiteral("b")};
    std::array<int32_t, 8> ctl{};
    std::array<QString, 8> names;
    QString description, category, title, author, copyright;
};

enum class AfsResult { Ok, CantOpen, NotValid };

namespace afs {

inline constexpr int kMaxLine = 1023;           // characters; a longer line continues as the next
inline constexpr qint64 kMaxFileSize = 1 << 20; // anything larger is no filter source

// The file's bytes as written. Empty lines inside a text would end it for the reader, and
// whitespace means nothing to an expression, so such lines are left out.
QByteArray Write(const FilterSource& source);
// Reads bytes into source. On NotValid what was read before the fault stays in source.
AfsResult Read(const QByteArray& bytes, FilterSource& source);

AfsResult Load(const QString& name, FilterSource& source);
bool Save(const QString& name, const FilterSource& source); // false: nothing was replaced

} // namespace afs
