#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<uint8_t>;

// "0110 10..." to bytes, most significant bit first, the last byte padded with zeros.
inline Bytes Bits(std::string_view bits) {
    Bytes out;
    int n = 0;
    for (char c : bits) {
        if (c != '0' && c != '1') continue;
        if (n % 8 == 0) out.push_back(0);
        if (c == '1') out.back() |= uint8_t(0x80 >> (n % 8));
        ++n;
    }
    return out;
}

// N little-endian, then the description, then the stream.
inline Bytes LngFile(uint32_t n, const Bytes& description, const Bytes& stream = {}) {
    Bytes out{uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
    out.insert(out.end(), description.begin(), description.end());
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

inline Bytes ToBytes(std::string_view s) {
    return Bytes(s.begin(), s.end());
}
