#include "lang/LngPacker.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

namespace {

struct Item {
    uint64_t weight;
    int symbol;
};

// Huffman merging of items until `roots` trees are left; returns each item's depth in its tree.
// Stopping early gives the cheapest forest whose roots all sit at the same depth.
std::vector<int> HuffmanForest(std::vector<Item> items, size_t roots) {
    const size_t n = items.size();
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return items[a].weight != items[b].weight ? items[a].weight < items[b].weight
                                                  : items[a].symbol < items[b].symbol;
    });
    // Nodes 0..n-1 are the leaves; merged nodes follow in the order they are made, which is
    // also ascending weight (the two-queue method).
    std::vector<uint64_t> weight(n);
    for (size_t i = 0; i < n; ++i) weight[i] = items[i].weight;
    std::vector<size_t> parent(n, SIZE_MAX);
    size_t nextLeaf = 0, nextMerged = n;
    auto takeSmallest = [&]() {
        const bool leafFirst = nextLeaf < n && (nextMerged >= weight.size() ||
                                                weight[order[nextLeaf]] <= weight[nextMerged]);
        return leafFirst ? order[nextLeaf++] : nextMerged++;
    };
    for (size_t trees = n; trees > roots; --trees) {
        const size_t a = takeSmallest();
        const size_t b = takeSmallest();
        parent.push_back(SIZE_MAX);
        weight.push_back(weight[a] + weight[b]);
        parent[a] = parent[b] = weight.size() - 1;
    }
    std::vector<int> depth(n, 0);
    for (size_t i = 0; i < n; ++i)
        for (size_t p = parent[i]; p != SIZE_MAX; p = parent[p]) ++depth[i];
    return depth;
}

int LeadingOnes(unsigned byte) {
    int k = 0;
    while (k < 8 && (byte & (0x80u >> k))) ++k;
    return k;
}

struct Check {
    enum Kind { Describable, CountOverflow, EmptyChainStart, NotACode } kind;
    int boundary = 0; // EmptyChainStart: the longest length of the table before the empty one
    int freeLog = 0;  // EmptyChainStart: 2^freeLog slots were free at that boundary
};

// Walks the lengths the way the decoder walks the description.
Check CheckLengths(const LngLengths& lengths) {
    int minLen = std::numeric_limits<int>::max(), maxLen = 0;
    for (int l : lengths)
        if (l > 0) minLen = std::min(minLen, l), maxLen = std::max(maxLen, l);
    if (maxLen == 0 || minLen > 8) return {Check::NotACode};
    std::vector<int> perLength(size_t(maxLen) + 1, 0);
    for (int l : lengths)
        if (l > 0) ++perLength[size_t(l)];

    unsigned slot = 0;
    int shift = 0, lastK = 0;
    for (int len = minLen; len <= maxLen + 8; ++len) {
        const int window = len - shift;
        const int count = len <= maxLen ? perLength[size_t(len)] : 0;
        if (count > 255) return {Check::CountOverflow};
        slot += unsigned(count) << (8 - window);
        if (slot > 256) return {Check::NotACode};
        if (slot == 256) return {len == maxLen ? Check::Describable : Check::NotACode};
        if (slot == 0) return {Check::EmptyChainStart, len - 1, 8 - lastK};
        if (window == 8) {
            lastK = LeadingOnes(slot);
            if (lastK == 0) return {Check::NotACode};
            slot = (slot << lastK) & 0xFF;
            shift += lastK;
        }
    }
    return {Check::NotACode};
}

// Used bytes, most frequent first.
std::vector<int> ByFrequency(const LngCounts& counts, const LngLengths& lengths, int longerThan) {
    std::vector<int> s;
    for (int b = 0; b < 256; ++b)
        if (counts[size_t(b)] > 0 && lengths[size_t(b)] > longerThan) s.push_back(b);
    std::stable_sort(s.begin(), s.end(),
                     [&](int a, int b) { return counts[size_t(a)] > counts[size_t(b)]; });
    return s;
}

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Put(uint8_t bit) {
        acc_ = uint8_t(acc_ << 1 | bit);
        if (++n_ == 8) out_.push_back(acc_), acc_ = 0, n_ = 0;
    }
    void Flush() {
        if (n_ > 0) out_.push_back(uint8_t(acc_ << (8 - n_)));
        acc_ = 0, n_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint8_t acc_ = 0;
    int n_ = 0;
};

} // namespace

bool LngDescribable(const LngLengths& lengths) {
    return CheckLengths(lengths).kind == Check::Describable;
}

LngLengths LngCodeLengths(const LngCounts& counts) {
    LngLengths lengths{};
    std::vector<Item> items;
    for (int b = 0; b < 256; ++b)
        if (counts[size_t(b)] > 0) items.push_back({counts[size_t(b)], b});
    if (items.size() < 2) return lengths;
    const std::vector<int> depth = HuffmanForest(items, 1);
    for (size_t i = 0; i < items.size(); ++i) lengths[size_t(items[i].symbol)] = depth[i];

    // Each repair leaves every length up to the boundary alone and puts a code right after it,
    // so the next problem, if any, lies further down the chain: the loop ends.
    for (;;) {
        const Check check = CheckLengths(lengths);
        if (check.kind == Check::Describable || check.kind == Check::NotACode) return lengths;
        if (check.kind == Check::CountOverflow) {
            // All 256 bytes at length 8 would need a count of 256: one code moves up, two down.
            const std::vector<int> s = ByFrequency(counts, lengths, 0);
            lengths[size_t(s.front())] = 7;
            lengths[size_t(s[s.size() - 1])] = 9;
            lengths[size_t(s[s.size() - 2])] = 9;
            continue;
        }
        // The codes beyond the boundary all sit two or more lengths deeper. The most frequent
        // one moves to boundary + 1; the others share the remaining 2^(freeLog+1) - 1 subtrees.
        const int t = check.boundary;
        const std::vector<int> s = ByFrequency(counts, lengths, t);
        const size_t roots = (size_t(1) << (check.freeLog + 1)) - 1;
        if (s.size() < roots + 1) return lengths; // cannot happen for a complete code
        lengths[size_t(s.front())] = t + 1;
        std::vector<Item> rest;
        for (size_t i = 1; i < s.size(); ++i) rest.push_back({counts[size_t(s[i])], s[i]});
        const std::vector<int> d = HuffmanForest(rest, roots);
        for (size_t i = 0; i < rest.size(); ++i) lengths[size_t(rest[i].symbol)] = t + 1 + d[i];
    }
}

std::vector<uint8_t> PackLng(std::span<const uint8_t> text) {
    if (text.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("text too long for a language file");
    const auto n = uint32_t(text.size());
    std::vector<uint8_t> out{uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};

    LngCounts counts{};
    for (uint8_t c : text) ++counts[c];
    const LngLengths lengths = LngCodeLengths(counts);
    std::vector<int> order;
    for (int b = 0; b < 256; ++b)
        if (lengths[size_t(b)] > 0) order.push_back(b);
    if (order.empty()) {
        // Zero or one distinct byte: N copies of it.
        out.push_back(0);
        out.push_back(text.empty() ? 0 : text[0]);
        return out;
    }
    if (!LngDescribable(lengths)) throw std::logic_error("language packer built a bad code");
    // The decoder reads at most N bytes of stream. Huffman never needs more, but the reshaped
    // code can, when all 256 byte values occur about equally often.
    uint64_t bits = 0;
    for (size_t b = 0; b < 256; ++b) bits += counts[b] * uint64_t(lengths[b]);
    if (bits > uint64_t(n) * 8)
        throw std::length_error("text cannot be packed: its code would be longer than the text");
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lengths[size_t(a)] < lengths[size_t(b)]; });

    const int minLen = lengths[size_t(order.front())];
    const int maxLen = lengths[size_t(order.back())];
    out.push_back(uint8_t(minLen));
    for (int len = minLen, i = 0; len <= maxLen; ++len) {
        const size_t countPos = out.size();
        out.push_back(0);
        for (; i < int(order.size()) && lengths[size_t(order[size_t(i)])] == len; ++i) {
            out.push_back(uint8_t(order[size_t(i)]));
            ++out[countPos];
        }
    }

    // Canonical codes, kept as bit strings: a reshaped code may be longer than any integer.
    std::array<std::vector<uint8_t>, 256> codes;
    std::vector<uint8_t> code(size_t(minLen), 0);
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0) {
            size_t j = code.size();
            while (j > 0 && code[j - 1] == 1) code[--j] = 0;
            if (j == 0) throw std::logic_error("language packer overflowed its code");
            code[j - 1] = 1;
        }
        code.resize(size_t(lengths[size_t(order[i])]), 0);
        codes[size_t(order[i])] = code;
    }
    BitWriter writer(out);
    for (uint8_t c : text)
        for (uint8_t bit : codes[c]) writer.Put(bit);
    writer.Flush();
    return out;
}
