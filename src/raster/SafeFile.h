#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

// A file written beside its target and moved over it only when every write, the sync to the
// disk and the close have succeeded: a full disk or a failing device never costs the user the
// file that was there. Every file the program writes goes through here.
class SafeFile {
public:
    // A symbolic link as target updates the file it points to, as an editor would.
    explicit SafeFile(const QString& target);
    ~SafeFile(); // removes the temporary file unless it was committed
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the temporary file; false when the folder takes no new file.
    bool Open();
    // Where the content goes, once open: unbuffered and seekable. Any failed or short write is
    // remembered and fails the commit, whatever the writer did about it.
    QIODevice& Device();
    // Completes the temporary file and moves it over the target. beforeReplace runs once the new
    // content is safe and before the old file goes (for a backup rename). False when anything
    // failed; the temporary file is gone and the target untouched then.
    bool Commit(const std::function<void()>& beforeReplace = {});
    QString Target() const { return target_; }

    class Sink;

private:
    void Discard();

    QString target_;
    QString tempPath_;
    std::unique_ptr<Sink> device_;
};

// The whole of bytes written to target through SafeFile.
bool SafeWriteFile(const QString& target, QByteArrayView bytes);

// Opens name for reading without blocking, whatever it is: only a regular file is accepted, so a
// named pipe, a device or a folder fails at once instead of freezing the program.
bool OpenRegularFile(QFile& file, const QString& name);
// True when name is a regular file that can be opened for reading, found without blocking.
bool IsRegularFile(const QString& name);
