#include "filters/CompScanCache.h"

#include "filters/CompScan.h"
#include "raster/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <sys/stat.h>

namespace comp {

namespace {

constexpr char kMagic[8] = {'O', 'V', 'C', 'S', 'C', 'A', 'N', '1'};
// A library and an icon for every component.
constexpr size_t kMaxEntries = 2 * size_t(MaxComponents);
constexpr qint64 kMaxFile = qint64(kMaxEntries) * (ScanCache::kMaxData + 4096 + 64);

std::optional<ScanCache::Stamp> StampOf(const QString& path) {
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    ScanCache::Stamp s;
    s.device = uint64_t(st.st_dev);
    s.inode = uint64_t(st.st_ino);
    s.size = int64_t(st.st_size);
    s.modifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changedNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

// Little-endian fields read with their bounds checked; any short read spoils the reader.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : p_(bytes.constData()), end_(p_ + bytes.size()) {}
    bool ok() const { return ok_; }
    bool AtEnd() const { return p_ == end_; }
    template <typename T> T Number() {
        T v{};
        if (Take(sizeof v)) std::memcpy(&v, p_ - sizeof v, sizeof v);
        return v;
    }
    QByteArray Bytes(uint32_t limit) {
        const auto n = Number<uint32_t>();
        if (n > limit || !Take(n)) {
            ok_ = false;
            return {};
        }
        return QByteArray(p_ - n, qsizetype(n));
    }

private:
    bool Take(size_t n) {
        if (!ok_ || size_t(end_ - p_) < n) return ok_ = false;
        p_ += n;
        return true;
    }
    const char* p_;
    const char* end_;
    bool ok_ = true;
};

template <typename T> void Append(QByteArray& out, T v) {
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void AppendBytes(QByteArray& out, const QByteArray& bytes) {
    Append(out, uint32_t(bytes.size()));
    out.append(bytes);
}

} // namespace

ScanCache::ScanCache(QString file) : file_(std::move(file)) {
    QFile f;
    if (file_.isEmpty() || !OpenRegularFile(f, file_) || f.size() > kMaxFile) return;
    const QByteArray bytes = f.readAll();
    if (!bytes.startsWith(QByteArrayView(kMagic, sizeof kMagic))) return;
    const QByteArray records = bytes.mid(sizeof kMagic);
    Reader r(records);
    std::map<QString, Entry> read;
    while (r.ok() && !r.AtEnd() && read.size() <= kMaxEntries) {
        const QString path = QString::fromUtf8(r.Bytes(4096));
        Entry e;
        e.stamp.device = r.Number<uint64_t>();
        e.stamp.inode = r.Number<uint64_t>();
        e.stamp.size = r.Number<int64_t>();
        e.stamp.modifiedNs = r.Number<int64_t>();
        e.stamp.changedNs = r.Number<int64_t>();
        e.data = r.Bytes(kMaxData);
        if (r.ok()) read[path] = std::move(e);
    }
    if (r.ok() && r.AtEnd()) stored_ = std::move(read);
}

std::optional<QByteArray> ScanCache::Find(const QString& path) {
    const auto it = stored_.find(path);
    if (it == stored_.end()) return {};
    const std::optional<Stamp> now = StampOf(path);
    if (!now || !(*now == it->second.stamp)) return {};
    used_[path] = it->second;
    return it->second.data;
}

void ScanCache::Put(const QString& path, const QByteArray& data) {
    const std::optional<Stamp> now = StampOf(path);
    if (!now || data.size() > kMaxData || used_.size() >= kMaxEntries) return;
    used_[path] = {*now, data};
}

bool ScanCache::Save() {
    if (file_.isEmpty() || used_ == stored_) return true;
    if (!QDir().mkpath(QFileInfo(file_).absolutePath())) return false;
    QByteArray out(kMagic, sizeof kMagic);
    for (const auto& [path, e] : used_) {
        AppendBytes(out, path.toUtf8());
        Append(out, e.stamp.device);
        Append(out, e.stamp.inode);
        Append(out, e.stamp.size);
        Append(out, e.stamp.modifiedNs);
        Append(out, e.stamp.changedNs);
        AppendBytes(out, e.data);
    }
    if (!SafeWriteFile(file_, out)) return false;
    stored_ = used_;
    return true;
}

} // namespace comp
