#include "app/Log.h"

#include <QDir>
#include <QFile>

#include <cstdio>

void Log::Start(const QString& programFolder) {
    path_ = QDir(programFolder).filePath(QStringLiteral("OV.LOG"));
    QFile::remove(path_);
    clock_.start();
    on_ = true;
    Write(QStringLiteral("Program started."));
}

void Log::Write(const QString& text) const {
    if (!on_) return;
    // Opened and closed per line so that the log survives a crash right after the line.
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    file.write(FormatLine(clock_.elapsed() / 1000.0, text));
}

QByteArray Log::FormatLine(double seconds, const QString& text) {
    // printf does the rounding and widening: the format is fixed by the file's readers. The
    // buffer holds even DBL_MAX printed in full (309 digits).
    char stamp[512];
    const int n = std::snprintf(stamp, sizeof stamp, "[%06.2f] ", seconds);
    QByteArray line(stamp, n > 0 && n < int(sizeof stamp) ? n : 0);
    line += text.toUtf8();
    line += '\n';
    return line;
}
