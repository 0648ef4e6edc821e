#pragma once

// Packs a text into the language file format that LngDecoder expands. Plain C++ (no Qt) so the
// build-time packer can use it on its own.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

using LngCounts = std::array<uint64_t, 256>;
using LngLengths = std::array<int, 256>; // code length per byte value, 0 = byte not coded

// Huffman code lengths, reshaped where the table-chain description cannot express them. With
// fewer than two distinct bytes every length is 0 (such texts use the repeated-byte form).
LngLengths LngCodeLengths(const LngCounts& counts);

// Whether a complete code with these lengths can be written as a description: every length
// fits a count byte, and no chained table that starts at slot 0 lacks codes of its first length.
bool LngDescribable(const LngLengths& lengths);

// The whole file: N, the description and the stream. Throws std::length_error for texts of
// 4 GiB or more, which N cannot state, and for texts whose stream would not fit in N bytes, the
// most the decoder reads. That happens only when the describable code is longer than 8 bits on
// average: all 256 byte values about equally often (all of them at length 8 cannot be described).
std::vector<uint8_t> PackLng(std::span<const uint8_t> text);
