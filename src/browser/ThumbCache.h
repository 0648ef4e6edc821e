#pragma once

#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The thumbnails of one folder, kept in its file "browser.ov": blocks of 4183556 bytes, each an
// index of 128 records of 284 bytes, a 4-byte link (non-zero when another block follows) and
// 128 slots of 120 x 90 RGB pixels. Little-endian throughout.
namespace cache {

inline constexpr int Records = 128;
inline constexpr int RecordSize = 284;
inline constexpr int NameSize = 259;
inline constexpr int64_t IndexBytes = int64_t(Records) * RecordSize;    // 36352
inline constexpr int64_t SlotsOffset = IndexBytes + 4;                  // 36356
inline constexpr int64_t SlotBytes = 120 * 90 * 3;                      // 32400
inline constexpr int64_t BlockSize = SlotsOffset + Records * SlotBytes; // 4183556
// The longest chain read or made: 65536 pictures, an index of 18 MB in memory.
inline constexpr int MaxBlocks = 512;

inline constexpr char FileName[] = "browser.ov";

struct Record {
    bool valid = false;
    QByteArray name; // the file name's bytes, without the zero
    uint32_t size = 0;
    uint32_t time = 0;
    int32_t thumbWidth = 0, thumbHeight = 0;
    int32_t imageWidth = 0, imageHeight = 0;
};

// Byte offset of record n and of its slot, counted over all blocks.
int64_t RecordOffset(int n);
int64_t SlotOffset(int n);

// One record from its 284 bytes; nothing when they cannot be ours: flags other than 0 or 1, a
// name without its zero, or a valid record with an empty name, a '/' in it, thumbnail sizes
// outside 1..120 x 1..90 or an image size below 1.
std::optional<Record> DecodeRecord(std::span<const uint8_t> bytes);
void EncodeRecord(const Record& r, std::span<uint8_t> out);

// Reads count bytes at offset into out; false when they are not all there.
using ReadAt = std::function<bool(int64_t offset, std::span<uint8_t> out)>;
// The whole index chain, block after block while the links say one follows; nothing when any
// block's index is cut short, a record is refused, or the chain is longer than MaxBlocks.
std::optional<std::vector<Record>> ReadIndex(const ReadAt& read);

// A slot's RGB bytes as a thumbnail of the record's size.
Buffer SlotToThumb(std::span<const uint8_t> slot, Pair size);
// A thumbnail of at most 120 x 90 into a slot (the rest of the slot zero).
void ThumbToSlot(const Buffer& thumb, std::span<uint8_t> slot);

} // namespace cache

// The cache file of one folder, used by one thread at a time. Anything that is not a cache file
// of ours (a link, a short or foreign file, one locked by another browser) is left alone: the
// browser then runs without a cache and never writes or deletes it. Every write is checked; after
// the first failure nothing more is written, and what is on the disk stays consistent: a record
// is made invalid on the disk before its slot is overwritten, and made valid only after its slot
// reached the disk.
class ThumbCache {
public:
    explicit ThumbCache(QString folder);
    ~ThumbCache(); // Close()
    ThumbCache(const ThumbCache&) = delete;
    ThumbCache& operator=(const ThumbCache&) = delete;

    // Opens the folder's cache file, making one (one empty block) when there is none. False:
    // there is no usable cache and nothing was changed.
    bool Open();
    bool IsOpen() const { return fd_ >= 0; }
    // True once a write failed; the cache is only read from then on.
    bool Failed() const { return failed_; }

    // The stored thumbnail of name when its record is valid for this size and time.
    bool Find(const QString& name, uint32_t size, uint32_t time, Buffer& thumb, Pair& imageSize);
    // Stores the thumbnail of name (taking its record, a free one or a new block).
    void Store(const QString& name, uint32_t size, uint32_t time, const Buffer& thumb,
               Pair imageSize);
    // Makes invalid every valid record whose file is no longer in the folder.
    void ForgetMissing();
    // Writes the records stored since the last flush.
    void Flush();
    // Flushes, writes the invalidations and closes; deletes the file when no record is valid.
    void Close();

    const std::vector<cache::Record>& Index() const { return records_; }
    QString Path() const;

private:
    int RecordFor(const QByteArray& name);
    bool AddBlock();
    bool WriteAt(int64_t offset, std::span<const uint8_t> bytes);
    bool Sync();
    void Fail() { failed_ = true; }

    QString folder_;
    int fd_ = -1;
    bool failed_ = false;
    uint64_t device_ = 0, inode_ = 0; // of the file we opened, checked before deleting it
    std::vector<cache::Record> records_;
    std::vector<bool> validOnDisk_;
    QHash<QByteArray, int> byName_;
    std::vector<int> pending_; // stored, their records not yet written
};
