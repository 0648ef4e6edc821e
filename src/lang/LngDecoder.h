#pragma once

// Expands a packed language file: a 32-bit little-endian length N, a code description and a
// canonical Huffman bit stream decoded through a chain of 8-bit lookup tables. Plain C++ (no Qt)
// so the fuzz target can use it on its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class LngStatus {
    Ok,             // exactly N bytes were produced
    NoHeader,       // fewer than 4 bytes: no length at all
    Truncated,      // the description or the bit stream ended before it should
    BadDescription, // n0 > 8, over-full table, more than 256 codes, unusable chain mark
    InvalidCode,    // the stream hit a slot that no code fills
    TooLarge,       // a repeated-byte text longer than the caller's limit
};

// One slot of a lookup table: length > 0 is a code of that many window bits standing for value;
// length < 0 is the mark -k (shift k bits, go on in the next table); 0 is a slot no code fills.
struct LngSlot {
    int8_t length = 0;
    uint8_t value = 0;
};
using LngTable = std::array<LngSlot, 256>;

struct LngCode {
    std::vector<LngTable> tables; // tables[0] is the first; a mark leads to the next one
    int codeCount = 0;
    bool repeated = false; // n0 = 0: the text is N copies of repeatedByte
    uint8_t repeatedByte = 0;
};

// Reads the code description starting at pos (just after N) and advances pos past it. On a
// status other than Ok, code holds what was read so far and must not be used for decoding.
LngStatus ReadLngDescription(std::span<const uint8_t> file, size_t& pos, LngCode& code);

struct LngDecodeResult {
    std::string text; // the whole text when Ok, otherwise the part decoded before the fault
    LngStatus status = LngStatus::Ok;
    uint32_t declaredLength = 0; // N as stored in the file
    size_t tableCount = 0;       // lookup tables the description built
};

// Texts of repeated bytes longer than this are refused rather than allocated.
inline constexpr uint32_t kLngMaxRepeat = 64u << 20;

// Never reads outside file and never produces more than the stored bits can yield (each code
// takes at least one bit), so a lying N costs nothing.
LngDecodeResult DecodeLng(std::span<const uint8_t> file, uint32_t maxRepeat = kLngMaxRepeat);
