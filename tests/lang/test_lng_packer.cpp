#include "lang/LngDecoder.h"
#include "lang/LngPacker.h"

#include "LngTestUtil.h"
#include "testdata.h"

#include <QFile>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <queue>
#include <random>
#include <stdexcept>

namespace {

// Cost in bits of an optimal prefix code: the sum of all Huffman merges.
uint64_t OptimalBits(const LngCounts& counts) {
    std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<>> q;
    for (uint64_t c : counts)
        if (c) q.push(c);
    uint64_t total = 0;
    while (q.size() > 1) {
        const uint64_t a = q.top();
        q.pop();
        const uint64_t b = q.top();
        q.pop();
        total += a + b;
        q.push(a + b);
    }
    return total;
}

uint64_t CodeBits(const LngCounts& counts, const LngLengths& lengths) {
    uint64_t bits = 0;
    for (size_t b = 0; b < 256; ++b) bits += counts[b] * uint64_t(lengths[b]);
    return bits;
}

// Sum of 2^-length is exactly 1, checked by carrying pairs from the longest length up.
bool CompleteCode(const LngLengths& lengths) {
    const int maxLen = *std::max_element(lengths.begin(), lengths.end());
    std::vector<uint64_t> perLength(size_t(maxLen) + 1, 0);
    for (int l : lengths)
        if (l) ++perLength[size_t(l)];
    uint64_t carry = 0;
    for (int l = maxLen; l >= 1; --l) {
        const uint64_t n = perLength[size_t(l)] + carry;
        if (n % 2) return false;
        carry = n / 2;
    }
    return carry == 1;
}

Bytes TextFromCounts(const LngCounts& counts, uint32_t seed) {
    Bytes text;
    for (size_t b = 0; b < 256; ++b) text.insert(text.end(), counts[b], uint8_t(b));
    std::shuffle(text.begin(), text.end(), std::mt19937(seed));
    return text;
}

void ExpectRoundTrip(const Bytes& text, size_t minTables = 0) {
    const Bytes packed = PackLng(text);
    const LngDecodeResult r = DecodeLng(packed);
    ASSERT_EQ(r.status, LngStatus::Ok);
    EXPECT_EQ(r.text, std::string(text.begin(), text.end()));
    EXPECT_GE(r.tableCount, minTables);
}

LngLengths Lengths(std::initializer_list<std::pair<int, int>> symbolLength) {
    LngLengths l{};
    for (auto [s, len] : symbolLength) l[size_t(s)] = len;
    return l;
}

} // namespace

TEST(LngPacker, EmptyAndSingleByteTexts) {
    EXPECT_EQ(PackLng(Bytes{}), (Bytes{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(PackLng(Bytes(300, 'z')), (Bytes{44, 1, 0, 0, 0, 'z'}));
    ExpectRoundTrip(Bytes{});
    ExpectRoundTrip(ToBytes("ab"));
}

TEST(LngPacker, RandomAndSkewedTextsRoundTrip) {
    std::mt19937 rng(12345);
    for (int trial = 0; trial < 60; ++trial) {
        LngCounts counts{};
        const int symbols = 2 + int(rng() % 255);
        const double skew = 1.0 + (rng() % 100) / 25.0; // up to a ratio of 5 between neighbours
        double weight = 20000;
        for (int i = 0; i < symbols; ++i) {
            counts[rng() % 256] += 1 + uint64_t(weight);
            weight /= skew;
        }
        const Bytes text = TextFromCounts(counts, uint32_t(trial));
        ExpectRoundTrip(text);
        const LngLengths lengths = LngCodeLengths(counts);
        EXPECT_TRUE(CompleteCode(lengths));
        EXPECT_TRUE(LngDescribable(lengths));
        EXPECT_GE(CodeBits(counts, lengths), OptimalBits(counts));
    }
}

TEST(LngPacker, FibonacciCountsUseChainedTablesAtOptimalCost) {
    LngCounts counts{};
    uint64_t a = 1, b = 1;
    for (int i = 0; i < 25; ++i) {
        counts[size_t('A' + i)] = a;
        std::tie(a, b) = std::pair(b, a + b);
    }
    const LngLengths lengths = LngCodeLengths(counts);
    EXPECT_GT(*std::max_element(lengths.begin(), lengths.end()), 16);
    EXPECT_EQ(CodeBits(counts, lengths), OptimalBits(counts));
    ExpectRoundTrip(TextFromCounts(counts, 1), 3);
}

TEST(LngPacker, HuffmanCodesTheDescriptionCannotExpressAreReshaped) {
    // Huffman gives lengths 1..8 and then four codes of 10 (slot 255 free, nothing of length
    // 9), or 1..7 and eight codes of 10: both chain into a table from slot 0 with an empty first
    // length, which ends the description early.
    const struct {
        LngLengths huffman;
        std::vector<uint64_t> counts; // for the bytes 0, 1, 2, ...
    } cases[] = {
        {Lengths({{0, 1},
                  {1, 2},
                  {2, 3},
                  {3, 4},
                  {4, 5},
                  {5, 6},
                  {6, 7},
                  {7, 8},
                  {8, 10},
                  {9, 10},
                  {10, 10},
                  {11, 10}}),
         {512, 256, 128, 64, 32, 16, 8, 4, 1, 1, 1, 1}},
        {Lengths({{0, 1},
                  {1, 2},
                  {2, 3},
                  {3, 4},
                  {4, 5},
                  {5, 6},
                  {6, 7},
                  {7, 10},
                  {8, 10},
                  {9, 10},
                  {10, 10},
                  {11, 10},
                  {12, 10},
                  {13, 10},
                  {14, 10}}),
         {512, 256, 128, 64, 32, 16, 8, 1, 1, 1, 1, 1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        LngCounts counts{};
        std::copy(c.counts.begin(), c.counts.end(), counts.begin());
        ASSERT_TRUE(CompleteCode(c.huffman));
        EXPECT_EQ(CodeBits(counts, c.huffman), OptimalBits(counts));
        EXPECT_FALSE(LngDescribable(c.huffman));

        const LngLengths lengths = LngCodeLengths(counts);
        EXPECT_TRUE(CompleteCode(lengths));
        EXPECT_TRUE(LngDescribable(lengths));
        EXPECT_GT(*std::max_element(lengths.begin(), lengths.end()), 8);
        EXPECT_LE(CodeBits(counts, lengths), OptimalBits(counts) + 8);
        for (int scale : {1, 3}) {
            LngCounts scaled = counts;
            for (uint64_t& n : scaled) n *= uint64_t(scale);
            ExpectRoundTrip(TextFromCounts(scaled, uint32_t(scale)), 2);
        }
    }
}

TEST(LngPacker, AllByteValuesAtLengthEight) {
    // All 256 bytes at length 8 would need a count of 256, which a count byte cannot hold.
    LngLengths allEight;
    allEight.fill(8);
    EXPECT_TRUE(CompleteCode(allEight));
    EXPECT_FALSE(LngDescribable(allEight));
    // Every other code costs more than 8 bits a byte when all bytes are equally frequent: the
    // stream would not fit in the N bytes the decoder reads.
    LngCounts counts{};
    counts.fill(3);
    EXPECT_THROW(PackLng(TextFromCounts(counts, 5)), std::length_error);
    // One frequent byte pays for the two that move to 9 bits.
    counts['e'] = 7;
    const LngLengths lengths = LngCodeLengths(counts);
    EXPECT_TRUE(CompleteCode(lengths));
    EXPECT_TRUE(LngDescribable(lengths));
    EXPECT_LE(CodeBits(counts, lengths), 8 * (255 * 3 + 7));
    ExpectRoundTrip(TextFromCounts(counts, 5), 2);
}

TEST(LngPacker, PublicTextsPackNoLargerThanTheReferenceFiles) {
    REQUIRE_TESTDATA();
    for (const char* name : {"single", "sample", "longcodes", "allbytes"}) {
        QFile txt(TestDataDir() + "/lng/" + name + ".txt");
        QFile lng(TestDataDir() + "/lng/" + name + ".lng");
        ASSERT_TRUE(txt.open(QIODevice::ReadOnly) && lng.open(QIODevice::ReadOnly)) << name;
        const QByteArray t = txt.readAll();
        const Bytes text(t.begin(), t.end());
        EXPECT_LE(PackLng(text).size(), size_t(lng.size())) << name;
        ExpectRoundTrip(text);
    }
}
