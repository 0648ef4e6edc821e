#include "lang/LngDecoder.h"

#include "LngTestUtil.h"
#include "testdata.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

LngDecodeResult Decode(const Bytes& file, uint32_t maxRepeat = kLngMaxRepeat) {
    return DecodeLng(file, maxRepeat);
}

// Bit stream of text under a hand-written code table.
Bytes Encode(const std::map<char, std::string>& codes, std::string_view text) {
    std::string bits;
    for (char c : text) bits += codes.at(c);
    return Bits(bits);
}

Bytes ReadTestFile(const char* name) {
    QFile f(TestDataDir() + "/lng/" + name);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return Bytes(b.begin(), b.end());
}

std::string AsString(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

} // namespace

TEST(LngDecoder, RepeatedByteForm) {
    EXPECT_EQ(Decode(LngFile(5, {0, 'x'})).text, "xxxxx");
    EXPECT_EQ(Decode(LngFile(1000, {0, 'x'}), 1000).status, LngStatus::Ok);
    const LngDecodeResult big = Decode(LngFile(1001, {0, 'x'}), 1000);
    EXPECT_EQ(big.status, LngStatus::TooLarge);
    EXPECT_TRUE(big.text.empty());
    EXPECT_EQ(Decode(LngFile(5, {0})).status, LngStatus::Truncated);
    // N = 0 needs nothing after it.
    const LngDecodeResult empty = Decode(LngFile(0, {}));
    EXPECT_EQ(empty.status, LngStatus::Ok);
    EXPECT_TRUE(empty.text.empty());
    EXPECT_EQ(Decode({1, 0, 0}).status, LngStatus::NoHeader);
}

TEST(LngDecoder, SingleTableEndsWhenFull) {
    // a = 0, b = 1: the table is full after length 1, so 0x60 is already stream.
    const LngDecodeResult r = Decode(LngFile(4, {1, 2, 'a', 'b'}, Bits("0110")));
    EXPECT_EQ(r.status, LngStatus::Ok);
    EXPECT_EQ(r.text, "abba");
    EXPECT_EQ(r.tableCount, 1u);
}

TEST(LngDecoder, ChainAfterLastSlot) {
    // Lengths 1..8 once each leave slot 255: mark -8, next table from slot 0 with length 1.
    const std::map<char, std::string> codes = {
        {'a', "0"},         {'b', "10"},       {'c', "110"},     {'d', "1110"},
        {'e', "11110"},     {'f', "111110"},   {'g', "1111110"}, {'h', "11111110"},
        {'i', "111111110"}, {'j', "111111111"}};
    const Bytes desc = {1,   1, 'a', 1, 'b', 1, 'c', 1, 'd', 1,
                        'e', 1, 'f', 1, 'g', 1, 'h', 2, 'i', 'j'};
    const std::string text = "jihgfedcbaijjia";
    const LngDecodeResult r = Decode(LngFile(uint32_t(text.size()), desc, Encode(codes, text)));
    EXPECT_EQ(r.status, LngStatus::Ok);
    EXPECT_EQ(r.text, text);
    EXPECT_EQ(r.tableCount, 2u);
}

TEST(LngDecoder, ChainStartingInsideTable) {
    // Table 0 is free from slot 253 (11111101): mark -6, the next table starts at slot 64 and
    // its lengths 3, 4, 5 are the true lengths 9, 10, 11. Length 7 has no codes.
    const std::map<char, std::string> codes = {
        {'a', "0"},          {'b', "10"},          {'c', "110"},         {'d', "1110"},
        {'e', "11110"},      {'f', "111110"},      {'g', "11111100"},    {'h', "111111010"},
        {'i', "111111011"},  {'j', "111111100"},   {'k', "111111101"},   {'l', "1111111100"},
        {'m', "1111111101"}, {'n', "11111111100"}, {'o', "11111111101"}, {'p', "11111111110"},
        {'q', "11111111111"}};
    const Bytes desc = {1,   1, 'a', 1,   'b', 1,   'c', 1,   'd', 1, 'e', 1,   'f', 0,  1,
                        'g', 4, 'h', 'i', 'j', 'k', 2,   'l', 'm', 4, 'n', 'o', 'p', 'q'};
    const std::string text = "qhagpbliondjkmfceqq";
    const LngDecodeResult r = Decode(LngFile(uint32_t(text.size()), desc, Encode(codes, text)));
    EXPECT_EQ(r.status, LngStatus::Ok);
    EXPECT_EQ(r.text, text);
    EXPECT_EQ(r.tableCount, 2u);
}

TEST(LngDecoder, ChainedTableFromSlotZeroWithoutCodesEndsDescription) {
    // a = 0 only; lengths 2..8 empty leave slot 128: mark -1, next table from slot 0 whose first
    // count is 0, so the description ends there and 0x1F, 0xFF are stream.
    const Bytes desc = {1, 1, 'a', 0, 0, 0, 0, 0, 0, 0, 0};
    const LngDecodeResult ok = Decode(LngFile(3, desc, {0x1F, 0xFF}));
    EXPECT_EQ(ok.status, LngStatus::Ok);
    EXPECT_EQ(ok.text, "aaa");
    EXPECT_EQ(ok.tableCount, 2u);
    // A 1 bit leads into the empty table: no code there.
    const LngDecodeResult bad = Decode(LngFile(4, desc, {0x1F, 0xFF}));
    EXPECT_EQ(bad.status, LngStatus::InvalidCode);
    EXPECT_EQ(bad.text, "aaa");
}

TEST(LngDecoder, MalformedDescriptionsStop) {
    Bytes tooMany = {8, 255};
    for (int v = 0; v < 255; ++v) tooMany.push_back(uint8_t(v));
    tooMany.insert(tooMany.end(), {2, 'x', 'y'}); // 257 codes although the slots would fit
    const struct {
        const char* what;
        Bytes desc;
        LngStatus status;
    } cases[] = {
        {"shortest length above 8", {9, 1, 'a'}, LngStatus::BadDescription},
        {"over-full first length", {1, 3, 'a', 'b', 'c'}, LngStatus::BadDescription},
        {"over-full later length", {1, 1, 'a', 3, 'b', 'c', 'd'}, LngStatus::BadDescription},
        {"more than 256 codes", tooMany, LngStatus::BadDescription},
        {"free slot without leading 1", {2, 1, 'a', 0, 0, 0, 0, 0, 0}, LngStatus::BadDescription},
        {"values cut off", {1, 2, 'a'}, LngStatus::Truncated},
        {"count cut off", {1, 1, 'a'}, LngStatus::Truncated},
        {"chain cut off", {1, 1, 'a', 0, 0, 0, 0, 0, 0, 0}, LngStatus::Truncated},
    };
    for (const auto& c : cases) {
        const LngDecodeResult r = Decode(LngFile(10, c.desc));
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_TRUE(r.text.empty()) << c.what;
    }
    EXPECT_EQ(Decode(LngFile(10, {})).status, LngStatus::Truncated);
}

TEST(LngDecoder, StreamShorterThanLengthStops) {
    // Eight codes in one byte, then the data ends although N promises 20.
    const LngDecodeResult r = Decode(LngFile(20, {1, 2, 'a', 'b'}, Bits("01100110")));
    EXPECT_EQ(r.status, LngStatus::Truncated);
    EXPECT_EQ(r.text, "abbaabba");
    // A 9-bit code of which only 8 bits are there.
    const Bytes desc = {1,   1, 'a', 1, 'b', 1, 'c', 1, 'd', 1,
                        'e', 1, 'f', 1, 'g', 1, 'h', 2, 'i', 'j'};
    const LngDecodeResult cut = Decode(LngFile(1, desc, {0xFF}));
    EXPECT_EQ(cut.status, LngStatus::Truncated);
    EXPECT_TRUE(cut.text.empty());
}

TEST(LngDecoder, PublicFilesExpandExactly) {
    REQUIRE_TESTDATA();
    for (const char* name : {"single", "sample", "longcodes", "allbytes"}) {
        const Bytes packed = ReadTestFile((std::string(name) + ".lng").c_str());
        const Bytes expected = ReadTestFile((std::string(name) + ".txt").c_str());
        ASSERT_FALSE(packed.empty()) << name;
        const LngDecodeResult r = Decode(packed);
        EXPECT_EQ(r.status, LngStatus::Ok) << name;
        EXPECT_EQ(r.text, AsString(expected)) << name;
    }
    EXPECT_GT(Decode(ReadTestFile("longcodes.lng")).tableCount, 2u);
}

TEST(LngDecoder, BrokenPublicFilesStopAtTheirData) {
    REQUIRE_TESTDATA();
    const std::string sample = AsString(ReadTestFile("sample.txt"));
    const Bytes truncatedFile = ReadTestFile("truncated.lng");
    const LngDecodeResult truncated = Decode(truncatedFile);
    EXPECT_NE(truncated.status, LngStatus::Ok);
    EXPECT_LT(truncated.text.size(), sample.size());
    EXPECT_EQ(sample.substr(0, truncated.text.size()), truncated.text);

    const Bytes lyingFile = ReadTestFile("lying-length.lng");
    const LngDecodeResult lying = Decode(lyingFile);
    EXPECT_EQ(lying.declaredLength, 0x7FFFFFFFu);
    EXPECT_NE(lying.status, LngStatus::Ok);
    EXPECT_EQ(lying.text.substr(0, sample.size()), sample);
    EXPECT_LE(lying.text.size(), lyingFile.size() * 8);
}

TEST(LngDecoder, EveryPrefixAndRandomDamageStaysInside) {
    REQUIRE_TESTDATA();
    const Bytes file = ReadTestFile("longcodes.lng");
    const std::string full = AsString(ReadTestFile("longcodes.txt"));
    ASSERT_FALSE(file.empty());
    for (size_t n = 0; n < file.size(); n += 1999) {
        const LngDecodeResult r = Decode(Bytes(file.begin(), file.begin() + ptrdiff_t(n)));
        EXPECT_NE(r.status, LngStatus::Ok);
        EXPECT_EQ(full.substr(0, r.text.size()), r.text);
    }
    std::mt19937 rng(7);
    for (int i = 0; i < 100; ++i) {
        Bytes damaged = file;
        for (int j = 0; j < 3; ++j) damaged[rng() % 200] = uint8_t(rng());
        const LngDecodeResult r = Decode(damaged);
        EXPECT_LE(r.text.size(), std::max<size_t>(damaged.size() * 8, kLngMaxRepeat));
    }
}
