#include "lang/LngDecoder.h"

#include <algorithm>

namespace {

// With at most 256 codes, and every table but the last holding at least one code, a longer
// chain cannot come from a valid description.
constexpr size_t kMaxTables = 258;

int LeadingOnes(unsigned byte) {
    int k = 0;
    while (k < 8 && (byte & (0x80u >> k))) ++k;
    return k;
}

// The 8 stream bits starting at bit pos, most significant first; bits past the end read as 0.
unsigned Window(std::span<const uint8_t> stream, size_t pos) {
    const size_t byte = pos >> 3;
    const unsigned b0 = byte < stream.size() ? stream[byte] : 0;
    const unsigned b1 = byte + 1 < stream.size() ? stream[byte + 1] : 0;
    return (((b0 << 8) | b1) << (pos & 7) >> 8) & 0xFF;
}

} // namespace

LngStatus ReadLngDescription(std::span<const uint8_t> file, size_t& pos, LngCode& code) {
    code = {};
    if (pos >= file.size()) return LngStatus::Truncated;
    const unsigned n0 = file[pos++];
    if (n0 == 0) {
        if (pos >= file.size()) return LngStatus::Truncated;
        code.repeated = true;
        code.repeatedByte = file[pos++];
        return LngStatus::Ok;
    }
    if (n0 > 8) return LngStatus::BadDescription;

    code.tables.emplace_back();
    unsigned slot = 0;    // next free slot of the current table, up to 256
    unsigned length = n0; // code length counted from the start of the current table's window
    for (;;) {
        if (pos >= file.size()) return LngStatus::Truncated;
        const unsigned count = file[pos++];
        if (code.codeCount + count > 256) return LngStatus::BadDescription;
        if (file.size() - pos < count) return LngStatus::Truncated;
        const unsigned span = 1u << (8 - length);
        if (slot + count * span > 256) return LngStatus::BadDescription;
        LngTable& table = code.tables.back();
        for (unsigned i = 0; i < count; ++i) {
            const LngSlot s{int8_t(length), file[pos++]};
            std::fill_n(table.begin() + slot, span, s);
            slot += span;
        }
        code.codeCount += int(count);
        if (slot % 256 == 0) return LngStatus::Ok; // full, or a chained table with nothing in it
        if (length < 8) {
            ++length;
            continue;
        }
        // Codes longer than the window go on in the next table: the free slots all start with
        // k one bits, which the mark shifts out.
        const int k = LeadingOnes(slot);
        if (k == 0) return LngStatus::BadDescription; // "-0" would read as a code of length 0
        if (code.tables.size() >= kMaxTables) return LngStatus::BadDescription;
        std::fill(table.begin() + slot, table.end(), LngSlot{int8_t(-k), 0});
        slot = (slot << k) & 0xFF;
        length = 9 - k;
        code.tables.emplace_back();
    }
}

LngDecodeResult DecodeLng(std::span<const uint8_t> file, uint32_t maxRepeat) {
    LngDecodeResult result;
    if (file.size() < 4) {
        result.status = LngStatus::NoHeader;
        return result;
    }
    const uint32_t n = uint32_t(file[0]) | uint32_t(file[1]) << 8 | uint32_t(file[2]) << 16 |
                       uint32_t(file[3]) << 24;
    result.declaredLength = n;
    if (n == 0) return result;

    size_t pos = 4;
    LngCode code;
    result.status = ReadLngDescription(file, pos, code);
    result.tableCount = code.tables.size();
    if (result.status != LngStatus::Ok) return result;

    if (code.repeated) {
        if (n > maxRepeat)
            result.status = LngStatus::TooLarge;
        else
            result.text.assign(n, char(code.repeatedByte));
        return result;
    }

    // The stream is read as a block of at most N bytes.
    const auto stream = file.subspan(pos, std::min<size_t>(file.size() - pos, n));
    const size_t totalBits = stream.size() * 8;
    result.text.reserve(std::min<size_t>(n, totalBits));
    size_t bit = 0;
    while (result.text.size() < n) {
        size_t t = 0;
        for (;;) {
            const LngSlot s = code.tables[t][Window(stream, bit)];
            if (s.length > 0) {
                if (bit + size_t(s.length) > totalBits) {
                    result.status = LngStatus::Truncated;
                    return result;
                }
                result.text.push_back(char(s.value));
                bit += size_t(s.length);
                break;
            }
            if (s.length == 0) {
                result.status = bit + 8 > totalBits ? LngStatus::Truncated : LngStatus::InvalidCode;
                return result;
            }
            bit += size_t(-s.length);
            // A mark is only ever written when a next table follows; keep the guard anyway.
            if (++t >= code.tables.size() || bit >= totalBits) {
                result.status =
                    t >= code.tables.size() ? LngStatus::InvalidCode : LngStatus::Truncated;
                return result;
            }
        }
    }
    return result;
}
