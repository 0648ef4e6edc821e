// libFuzzer target: the browser's cache file reader on any bytes. The input is the file with its
// blocks' slots left out (index after index), so that chains of several blocks fit in a small
// input. Every record read must be within the limits the reader promises, and re-encoding a
// record must read back the same.
#include "browser/ThumbCache.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto read = [&](int64_t offset, std::span<uint8_t> out) {
        const int64_t block = offset / cache::BlockSize, within = offset % cache::BlockSize;
        if (within + int64_t(out.size()) > cache::SlotsOffset) return false; // slots: not stored
        const int64_t at = block * cache::SlotsOffset + within;
        if (at + int64_t(out.size()) > int64_t(size)) return false;
        std::memcpy(out.data(), data + at, out.size());
        return true;
    };
    const auto index = cache::ReadIndex(read);
    if (!index) return 0;
    if (index->empty() || index->size() % cache::Records != 0 ||
        index->size() > size_t(cache::MaxBlocks) * cache::Records)
        __builtin_trap();
    std::vector<uint8_t> slot(static_cast<size_t>(cache::SlotBytes));
    for (size_t i = 0; i < slot.size(); ++i) slot[i] = size ? data[i % size] : 0;
    uint8_t bytes[cache::RecordSize];
    for (const cache::Record& r : *index) {
        if (r.name.size() >= cache::NameSize) __builtin_trap();
        if (!r.valid) continue;
        if (r.thumbWidth < 1 || r.thumbWidth > 120 || r.thumbHeight < 1 || r.thumbHeight > 90)
            __builtin_trap();
        const Buffer thumb = cache::SlotToThumb(slot, {r.thumbWidth, r.thumbHeight});
        if (thumb.Width() != r.thumbWidth || thumb.Height() != r.thumbHeight) __builtin_trap();
        cache::EncodeRecord(r, bytes);
        const auto back = cache::DecodeRecord(bytes);
        if (!back || back->name != r.name || back->size != r.size || back->time != r.time ||
            back->imageWidth != r.imageWidth || back->imageHeight != r.imageHeight)
            __builtin_trap();
    }
    return 0;
}
