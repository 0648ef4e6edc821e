// libFuzzer target: the language file decoder on any bytes, and packing any bytes as a text
// must expand back to them.
#include "lang/LngDecoder.h"
#include "lang/LngPacker.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A small repeat limit keeps each run fast; the limit's own path is the same.
    const LngDecodeResult r = DecodeLng({data, size}, 1u << 20);
    if (r.text.size() > r.declaredLength) __builtin_trap();
    if (r.status == LngStatus::Ok && r.text.size() != r.declaredLength) __builtin_trap();
    if (r.status != LngStatus::TooLarge && r.text.size() > size * 8 && r.text.size() > (1u << 20))
        __builtin_trap();

    if (size <= 8192) {
        try {
            const std::vector<uint8_t> packed = PackLng({data, size});
            const LngDecodeResult back = DecodeLng(packed);
            if (back.status != LngStatus::Ok ||
                back.text != std::string(reinterpret_cast<const char*>(data), size))
                __builtin_trap();
        } catch (const std::length_error&) {
            // All 256 byte values about equally often: no describable code fits in N bytes.
        }
    }
    return 0;
}
