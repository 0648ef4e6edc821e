#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>

namespace comp {

// What the scan read from files (the libraries' descriptor texts, their icons), kept in a file
// between starts so that an unchanged library is not loaded again nor its icon decoded: loading
// ten libraries is a good part of a start. A file counts as unchanged while its path, device,
// inode, size and change and modification times are. A missing, unreadable or damaged cache is
// an empty one; Save writes only the files this scan asked for, so removed ones drop out.
class ScanCache {
public:
    explicit ScanCache(QString file);

    // Entries larger than this are not kept.
    static constexpr int kMaxData = 256 * 1024 + 64;

    std::optional<QByteArray> Find(const QString& path);
    void Put(const QString& path, const QByteArray& data);
    // Writes the file when this scan's entries differ from what it held; false when that failed
    // (the old file is then kept).
    bool Save();

    struct Stamp {
        uint64_t device = 0, inode = 0;
        int64_t size = 0, modifiedNs = 0, changedNs = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    struct Entry {
        Stamp stamp;
        QByteArray data;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

private:
    QString file_;
    std::map<QString, Entry> stored_; // as read from the file
    std::map<QString, Entry> used_;   // found or put by this scan
};

} // namespace comp
