#include "raster/SafeFile.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Straight on the descriptor. QFile will not do here: a later successful seek or close clears
// the error of an earlier failed write, and codecs seek and ignore what writes return.
class SafeFile::Sink : public QIODevice {
public:
    explicit Sink(int fd) : fd_(fd) { open(QIODevice::ReadWrite | QIODevice::Unbuffered); }
    ~Sink() override { Close(); }

    bool Failed() const { return failed_; }
    // Syncs and closes; false when either fails or anything failed before.
    bool Finish() {
        if (fd_ < 0) return false;
        const bool synced = ::fsync(fd_) == 0;
        return Close() && synced && !failed_;
    }

    bool isSequential() const override { return false; }
    qint64 size() const override {
        struct stat st {};
        return fd_ >= 0 && ::fstat(fd_, &st) == 0 ? qint64(st.st_size) : 0;
    }
    bool seek(qint64 pos) override {
        if (fd_ < 0 || ::lseek(fd_, off_t(pos), SEEK_SET) != off_t(pos)) {
            failed_ = true;
            return false;
        }
        return QIODevice::seek(pos);
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        for (;;) {
            const ssize_t n = ::read(fd_, data, size_t(maxSize));
            if (n >= 0 || errno != EINTR) return n;
        }
    }
    qint64 writeData(const char* data, qint64 size) override {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd_, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed_ = true;
                return -1;
            }
            done += n;
        }
        return done;
    }

private:
    bool Close() {
        if (fd_ < 0) return true;
        QIODevice::close();
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

    int fd_;
    bool failed_ = false;
};

namespace {

QString ResolvedTarget(const QString& target) {
    const QFileInfo info(target);
    if (info.isSymLink()) {
        const QString pointed = info.symLinkTarget();
        if (!pointed.isEmpty()) return QFileInfo(pointed).absoluteFilePath();
    }
    return info.absoluteFilePath();
}

} // namespace

SafeFile::SafeFile(const QString& target) : target_(ResolvedTarget(target)) {}

SafeFile::~SafeFile() {
    Discard();
}

void SafeFile::Discard() {
    device_.reset();
    if (!tempPath_.isEmpty()) QFile::remove(tempPath_);
    tempPath_.clear();
}

bool SafeFile::Open() {
    Discard();
    // QTemporaryFile picks a free name atomically; its descriptor is taken over.
    QTemporaryFile temp(target_ + QStringLiteral(".ovtmp-XXXXXX"));
    temp.setAutoRemove(false);
    if (!temp.open()) return false;
    tempPath_ = temp.fileName();
    const int fd = ::fcntl(temp.handle(), F_DUPFD_CLOEXEC, 0);
    temp.close();
    if (fd < 0) {
        Discard();
        return false;
    }
    device_ = std::make_unique<Sink>(fd);
    return true;
}

QIODevice& SafeFile::Device() {
    if (!device_) device_ = std::make_unique<Sink>(-1); // every write fails
    return *device_;
}

bool SafeFile::Commit(const std::function<void()>& beforeReplace) {
    if (!device_ || tempPath_.isEmpty() || !device_->Finish()) {
        Discard();
        return false;
    }
    // Keep the old file's permissions; a new file gets the usual ones instead of 0600.
    const QFileInfo old(target_);
    QFile::setPermissions(tempPath_, old.exists() ? old.permissions()
                                                  : QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ReadGroup | QFile::ReadOther);
    if (beforeReplace) beforeReplace();
    if (::rename(QFile::encodeName(tempPath_).constData(),
                 QFile::encodeName(target_).constData()) != 0) {
        Discard();
        return false;
    }
    tempPath_.clear();
    device_.reset();
    return true;
}

bool SafeWriteFile(const QString& target, QByteArrayView bytes) {
    SafeFile file(target);
    if (!file.Open()) return false;
    if (file.Device().write(bytes.data(), bytes.size()) != bytes.size()) return false;
    return file.Commit();
}

bool OpenRegularFile(QFile& file, const QString& name) {
    const int fd =
        ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool IsRegularFile(const QString& name) {
    QFile file;
    return OpenRegularFile(file, name);
}
