#pragma once

#include <QElapsedTimer>
#include <QString>

// The optional start-up log "OV.LOG" beside the program: lines "[%06.2f] %s\n" with the seconds
// since logging began. Lines that cannot be written are dropped silently.
class Log {
public:
    // Deletes an old log in folder, takes the time base and writes "Program started.".
    void Start(const QString& programFolder);
    bool On() const { return on_; }
    void Write(const QString& text) const;
    QString Path() const { return path_; }
    // One formatted line (without the file): for tests of the format.
    static QByteArray FormatLine(double seconds, const QString& text);

private:
    bool on_ = false;
    QString path_;
    QElapsedTimer clock_;
};
