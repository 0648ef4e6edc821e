#include "browser/ThumbCache.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cache {

namespace {

uint32_t Get32(std::span<const uint8_t> b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

void Put32(std::span<uint8_t> b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

} // namespace

int64_t RecordOffset(int n) {
    return int64_t(n / Records) * BlockSize + int64_t(n % Records) * RecordSize;
}

int64_t SlotOffset(int n) {
    return int64_t(n / Records) * SlotsOffset + int64_t(n) * SlotBytes + SlotsOffset;
}

std::optional<Record> DecodeRecord(std::span<const uint8_t> b) {
    if (b.size() < size_t(RecordSize) || b[0] > 1) return std::nullopt;
    const auto* name = b.data() + 1;
    const auto* end = static_cast<const uint8_t*>(std::memchr(name, 0, NameSize));
    if (!end) return std::nullopt;
    Record r;
    r.valid = b[0] == 1;
    r.name = QByteArray(reinterpret_cast<const char*>(name), int(end - name));
    r.size = Get32(b, 260);
    r.time = Get32(b, 264);
    r.thumbWidth = int32_t(Get32(b, 268));
    r.thumbHeight = int32_t(Get32(b, 272));
    r.imageWidth = int32_t(Get32(b, 276));
    r.imageHeight = int32_t(Get32(b, 280));
    if (r.valid &&
        (r.name.isEmpty() || r.name.contains('/') || r.thumbWidth < 1 || r.thumbWidth > 120 ||
         r.thumbHeight < 1 || r.thumbHeight > 90 || r.imageWidth < 1 || r.imageHeight < 1))
        return std::nullopt;
    return r;
}

void EncodeRecord(const Record& r, std::span<uint8_t> b) {
    std::fill(b.begin(), b.begin() + RecordSize, uint8_t(0));
    b[0] = r.valid ? 1 : 0;
    const int n = std::min<int>(int(r.name.size()), NameSize - 1);
    std::memcpy(b.data() + 1, r.name.constData(), size_t(n));
    Put32(b, 260, r.size);
    Put32(b, 264, r.time);
    Put32(b, 268, uint32_t(r.thumbWidth));
    Put32(b, 272, uint32_t(r.thumbHeight));
    Put32(b, 276, uint32_t(r.imageWidth));
    Put32(b, 280, uint32_t(r.imageHeight));
}

std::optional<std::vector<Record>> ReadIndex(const ReadAt& read) {
    std::vector<Record> out;
    std::vector<uint8_t> index(static_cast<size_t>(SlotsOffset));
    for (int p = 0;; ++p) {
        if (p == MaxBlocks) return std::nullopt; // a chain this long is none of ours
        if (!read(int64_t(p) * BlockSize, index)) return std::nullopt;
        for (int i = 0; i < Records; ++i) {
            auto r = DecodeRecord(
                std::span<const uint8_t>(index).subspan(size_t(i) * RecordSize, RecordSize));
            if (!r) return std::nullopt;
            out.push_back(std::move(*r));
        }
        if (Get32(index, size_t(IndexBytes)) == 0) return out;
    }
}

Buffer SlotToThumb(std::span<const uint8_t> slot, Pair size) {
    Buffer b;
    const int w = std::clamp(size.x, 1, 120), h = std::clamp(size.y, 1, 90);
    if (slot.size() < size_t(SlotBytes) || !b.Alloc({w, h})) return b;
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = slot.data() + size_t(y) * 120 * 3;
        uint32_t* row = b.Row(y);
        for (int x = 0; x < w; ++x, p += 3) row[x] = uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
    }
    return b;
}

void ThumbToSlot(const Buffer& thumb, std::span<uint8_t> slot) {
    std::fill(slot.begin(), slot.end(), uint8_t(0));
    const int w = std::min(thumb.Width(), 120), h = std::min(thumb.Height(), 90);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = slot.data() + size_t(y) * 120 * 3;
        const uint32_t* row = thumb.Row(thumb.top + y) + 0;
        for (int x = 0; x < w; ++x, p += 3) {
            const uint32_t v = row[x];
            p[0] = uint8_t(v >> 16);
            p[1] = uint8_t(v >> 8);
            p[2] = uint8_t(v);
        }
    }
}

} // namespace cache

using namespace cache;

namespace {

bool ReadFully(int fd, int64_t offset, std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + done, out.size() - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

} // namespace

ThumbCache::ThumbCache(QString folder) : folder_(std::move(folder)) {}

ThumbCache::~ThumbCache() {
    Close();
}

QString ThumbCache::Path() const {
    return QDir(folder_).filePath(QString::fromLatin1(FileName));
}

bool ThumbCache::Open() {
    if (fd_ >= 0) return true;
    const QByteArray path = QFile::encodeName(Path());
    struct stat st {};
    bool created = false;
    int fd = -1;
    if (::lstat(path.constData(), &st) == 0) {
        // Only a plain file of its own: never through a link, never one shared by a hard link.
        if (!S_ISREG(st.st_mode) || st.st_nlink != 1) return false;
        fd = ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    } else if (errno == ENOENT) {
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        created = fd >= 0;
    }
    if (fd < 0) return false;
    const auto giveUp = [&] {
        if (created) ::unlink(path.constData());
        ::close(fd);
        return false;
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) return giveUp();
    // A second browser on the same folder runs without the cache rather than mix writes.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return giveUp();
    fd_ = fd;
    device_ = uint64_t(st.st_dev);
    inode_ = uint64_t(st.st_ino);
    failed_ = false;
    if (created) {
        const std::vector<uint8_t> empty(static_cast<size_t>(SlotsOffset), 0);
        if (!WriteAt(0, empty) || ::ftruncate(fd_, off_t(BlockSize)) != 0 || !Sync()) {
            fd_ = -1;
            return giveUp();
        }
        records_.assign(Records, Record{});
    } else {
        auto index = ReadIndex(
            [this](int64_t offset, std::span<uint8_t> out) { return ReadFully(fd_, offset, out); });
        if (!index) {
            fd_ = -1;
            return giveUp();
        }
        records_ = std::move(*index);
    }
    validOnDisk_.assign(records_.size(), false);
    byName_.clear();
    for (int i = 0; i < int(records_.size()); ++i) {
        validOnDisk_[size_t(i)] = records_[size_t(i)].valid;
        if (!records_[size_t(i)].name.isEmpty() && !byName_.contains(records_[size_t(i)].name))
            byName_.insert(records_[size_t(i)].name, i);
    }
    pending_.clear();
    return true;
}

bool ThumbCache::WriteAt(int64_t offset, std::span<const uint8_t> bytes) {
    if (failed_ || fd_ < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail();
            return false;
        }
        done += size_t(n);
    }
    return true;
}

bool ThumbCache::Sync() {
    if (failed_ || fd_ < 0) return false;
    if (::fdatasync(fd_) != 0) {
        Fail();
        return false;
    }
    return true;
}

bool ThumbCache::Find(const QString& name, uint32_t size, uint32_t time, Buffer& thumb,
                      Pair& imageSize) {
    if (fd_ < 0) return false;
    const auto it = byName_.constFind(QFile::encodeName(name));
    if (it == byName_.constEnd()) return false;
    const Record& r = records_[size_t(*it)];
    if (!r.valid || r.size != size || r.time != time) return false;
    std::vector<uint8_t> slot(static_cast<size_t>(SlotBytes));
    if (!ReadFully(fd_, SlotOffset(*it), slot)) return false;
    thumb = SlotToThumb(slot, {r.thumbWidth, r.thumbHeight});
    imageSize = {r.imageWidth, r.imageHeight};
    return !thumb.Empty();
}

int ThumbCache::RecordFor(const QByteArray& name) {
    if (const auto it = byName_.constFind(name); it != byName_.constEnd()) return *it;
    for (int i = 0; i < int(records_.size()); ++i)
        if (!records_[size_t(i)].valid) return i;
    if (!AddBlock()) return -1;
    return int(records_.size()) - Records;
}

// The new block's empty index reaches the disk before the link that leads to it.
bool ThumbCache::AddBlock() {
    const int blocks = int(records_.size()) / Records;
    if (blocks >= MaxBlocks) return false;
    const int64_t at = int64_t(blocks) * BlockSize;
    const std::vector<uint8_t> empty(static_cast<size_t>(SlotsOffset), 0);
    struct stat st {};
    if (!WriteAt(at, empty)) return false;
    if (::fstat(fd_, &st) != 0 ||
        (st.st_size < at + BlockSize && ::ftruncate(fd_, off_t(at + BlockSize)) != 0)) {
        Fail();
        return false;
    }
    const uint8_t link[4] = {1, 0, 0, 0};
    if (!Sync() || !WriteAt(int64_t(blocks - 1) * BlockSize + IndexBytes, link)) return false;
    records_.resize(records_.size() + Records);
    validOnDisk_.resize(records_.size(), false);
    return true;
}

void ThumbCache::Store(const QString& name, uint32_t size, uint32_t time, const Buffer& thumb,
                       Pair imageSize) {
    const QByteArray bytes = QFile::encodeName(name);
    if (fd_ < 0 || failed_ || bytes.isEmpty() || bytes.size() >= NameSize || thumb.Empty()) return;
    const int n = RecordFor(bytes);
    if (n < 0) return;
    Record& r = records_[size_t(n)];
    // Never a moment where the disk pairs a valid record with another picture's pixels.
    if (validOnDisk_[size_t(n)]) {
        const uint8_t invalid = 0;
        if (!WriteAt(RecordOffset(n), std::span<const uint8_t>(&invalid, 1)) || !Sync()) return;
        validOnDisk_[size_t(n)] = false;
    }
    r.valid = false;
    if (r.name != bytes) {
        if (byName_.value(r.name, -1) == n) byName_.remove(r.name);
        byName_.insert(bytes, n);
    }
    std::vector<uint8_t> slot(static_cast<size_t>(SlotBytes));
    ThumbToSlot(thumb, slot);
    if (!WriteAt(SlotOffset(n), slot)) return;
    r.name = bytes;
    r.size = size;
    r.time = time;
    r.thumbWidth = std::min(thumb.Width(), 120);
    r.thumbHeight = std::min(thumb.Height(), 90);
    r.imageWidth = std::max(imageSize.x, 1);
    r.imageHeight = std::max(imageSize.y, 1);
    r.valid = true;
    pending_.push_back(n);
    if (pending_.size() >= 32) Flush();
}

void ThumbCache::Flush() {
    if (pending_.empty() || fd_ < 0) return;
    // The slots first, then the records that vouch for them.
    if (!Sync()) return;
    uint8_t bytes[RecordSize];
    for (int n : pending_) {
        EncodeRecord(records_[size_t(n)], bytes);
        if (!WriteAt(RecordOffset(n), bytes)) return;
        validOnDisk_[size_t(n)] = true;
    }
    pending_.clear();
}

void ThumbCache::ForgetMissing() {
    const QDir dir(folder_);
    for (Record& r : records_)
        if (r.valid && !QFileInfo::exists(dir.filePath(QFile::decodeName(r.name)))) r.valid = false;
}

void ThumbCache::Close() {
    if (fd_ < 0) return;
    Flush();
    for (int n = 0; n < int(records_.size()); ++n) {
        if (records_[size_t(n)].valid || !validOnDisk_[size_t(n)]) continue;
        const uint8_t invalid = 0;
        if (!WriteAt(RecordOffset(n), std::span<const uint8_t>(&invalid, 1))) break;
        validOnDisk_[size_t(n)] = false;
    }
    const bool anyValid =
        std::any_of(records_.begin(), records_.end(), [](const Record& r) { return r.valid; });
    if (!anyValid) {
        // Only the file we opened: not one that took its name meanwhile.
        const QByteArray path = QFile::encodeName(Path());
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            uint64_t(st.st_dev) == device_ && uint64_t(st.st_ino) == inode_)
            ::unlink(path.constData());
    }
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    records_.clear();
    validOnDisk_.clear();
    byName_.clear();
    pending_.clear();
}
