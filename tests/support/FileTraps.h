#pragma once

// The files a user's machine throws at the program: a full disk and a named pipe.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// A small file system of its own (a tmpfs, which needs root to mount) that can be filled.
class SmallDisk {
public:
    SmallDisk() {
        mounted_ = dir_.isValid() && ::geteuid() == 0 &&
                   ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                           "size=512k") == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    // Takes all the free space but about spare bytes.
    void Fill(qint64 spare) {
        const int fd = ::open(QFile::encodeName(Path(".filler")).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const QByteArray block(4096, 'f');
        qint64 total = 0;
        for (ssize_t n; (n = ::write(fd, block.constData(), size_t(block.size()))) > 0;) total += n;
        if (spare > 0) {
            ASSERT_EQ(::ftruncate(fd, std::max<qint64>(0, total - spare)), 0);
        }
        ::close(fd);
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

#define REQUIRE_SMALL_DISK(disk)                                                                   \
    do {                                                                                           \
        if (!(disk).Mounted()) GTEST_SKIP() << "mounting a small file system needs root";          \
    } while (0)

// A named pipe with no writer: opening it plainly for reading blocks.
inline QString MakePipe(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

// Runs work and fails the test when it has not returned within seconds; a blocked read on the
// pipe is then released by opening its write end, so the test ends either way.
inline void ExpectReturnsPromptly(const QString& pipe, const std::function<void()>& work) {
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(3)) == std::future_status::ready) return;
    ADD_FAILURE() << "blocked on the pipe";
    const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
    done.wait();
}
