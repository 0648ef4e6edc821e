#include "FilterTestUtil.h"

#include "filters/FFScanner.h"
#include "filters/FFTables.h"

#include <gtest/gtest.h>

#include <climits>

using namespace filtertest;

namespace {

// One pixel: r 10, g 20, b 30 at (3, 4) of a 7 x 5 picture.
Buffer Probe() {
    Buffer b;
    b.Alloc({7, 5});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) b.At(x, y) = 0x0A141E;
    return b;
}

int32_t ValueAt(const std::string& text, int channel = 0, std::array<int32_t, 8> ctl = {}) {
    const Buffer b = Probe();
    return StackValues(text, b, ctl, channel)[4 * 7 + 3];
}

struct Case {
    const char* text;
    int32_t expected;
};

TEST(FFCompiler, ValuesFollowTheLanguage) {
    const Case cases[] = {
        {"1&&2", 0},
        {"1||2", 1},
        {"!5", 0},
        {"7/0", 0},
        {"7%0", 0},
        {"-7/2", -3},
        {"-7%2", -1},
        {"-8>>1", 2147483644},
        {"1<<33", 2},
        {"2+3*4", 14},
        {"10-3-2", 5},
        {"-2*3", -6},
        {"1?2:0?3:4", 2},
        {"0?2:0?3:4", 4},
        {"0?2:1?3:4", 3},
        {"1,2", 2},
        {"min(1,2)", 1},
        {"(1,2)+1", 3},
        {"0x1F", 31},
        {"0x", 0},
        {"r", 10},
        {"x*100+y", 304},
        {"X+Y", 12},
        {"dminx", 0},
        {"D+Z", 1027},
        {"~0", -1},
        {"+-+1", -1},
        {"1<=1", 1},
        {"2>=3", 0},
        {"3!=3", 0},
        {"3==3", 1},
        {"6^3", 5},
        {"6&3|8", 10},
        {"4294967297", 1},
        {"-2147483648/-1", INT_MIN},
        {"-2147483648%-1", 0},
        {"abs(-2147483648)", INT_MIN},
        {"sqr(4)", 2},
        {"sqr(-1)", INT_MIN},
        {"c2m(3,4)", 5},
        {"c2m(2147483647,2147483647)", INT_MIN},
        {"c2d(0,-5)", -256},
        {"c2d(1,0)", 0},
        {"scl(5,0,10,0,100)", 50},
        {"scl(5,3,3,1,9)", 8},
        {"mix(10,0,1,2)", 5},
        {"mix(2147483647,-2147483648,2147483647,1)", 1},
        {"add(1,2,2)", 2},
        {"sub(1,5,-9)", -4},
        {"dif(3,10)", 7},
        {"src(100,-3,0)", 10},
        {"src(0,0,3)", 0},
        {"get(5)", 0},
        {"put(7,1025)+get(1)", 14},
        {"sin(256)", 512},
        {"cos(0)", 512},
        {"r2x(0,1024)", 1024},
        {"i", (76 * 10 + 150 * 20 + 29 * 30) >> 8},
        {"u", (56 * 30 - 37 * 20 - 19 * 10) >> 8},
        {"v", (78 * 10 - 65 * 20 - 13 * 30) >> 8},
    };
    for (const Case& c : cases) EXPECT_EQ(ValueAt(c.text), c.expected) << c.text;
}

TEST(FFCompiler, ControlsReachCtlValAndMap) {
    const std::array<int32_t, 8> ctl = {255, 100, 200, 50, 0, 0, 0, 0};
    EXPECT_EQ(ValueAt("ctl(9)", 0, ctl), 100);
    EXPECT_EQ(ValueAt("val(0,0,255)", 0, ctl), 255);
    EXPECT_EQ(ValueAt("val(1,10,20)", 0, ctl), 10 + (10 * 100 + 127) / 255);
    EXPECT_EQ(ValueAt("map(125,1)", 0, ctl), (125 - 50) * 255 / 150); // hi ctl2, lo ctl3
    EXPECT_EQ(ValueAt("map(40,1)", 0, ctl), 0);
}

TEST(FFCompiler, ChannelLettersFollowTheChannel) {
    EXPECT_EQ(ValueAt("c", 1), 20);
    EXPECT_EQ(ValueAt("c", 2), 30);
    EXPECT_EQ(ValueAt("z", 2), 2);
}

TEST(FFCompiler, FaultyTextsCompileToZeroWithTheirOffset) {
    const struct {
        const char* text;
        int offset;
    } cases[] = {
        {"sqrt(4)", 4},
        {"sin(1,2)", 6},
        {"maxx(1,2)", 4},
        {"r)", 2},
        {"", 0},
        {"r+", 2},
        {"cnv(1,2,3,4,5,6,7,8,9,10)", 25},
        {"1 ! 2", 3},
        {"=", 1},
        {"(1", 2},
        {"1?2", 3},
        {"*2", 1},
        {"abs()", 5},
    };
    for (const auto& c : cases) {
        const ff::ChannelProgram p = ff::CompileChannel(c.text, 0);
        EXPECT_TRUE(p.failed) << c.text;
        EXPECT_EQ(p.errorOffset, c.offset) << c.text;
        EXPECT_EQ(ValueAt(c.text), 0) << c.text;
    }
}

TEST(FFCompiler, ScannerNeverTakesTheEndForAFollower) {
    // "r+" must not become "r-" reading past the text.
    const std::string text = "r+";
    ff::Scanner s(std::string_view(text.data(), 2));
    s.Next();
    EXPECT_TRUE(s.Next().Is(ff::TokenKind::Operator, ff::OpAdd));
    EXPECT_EQ(s.Next().kind, ff::TokenKind::End);
    EXPECT_EQ(s.Position(), 2);
}

TEST(FFCompiler, StoreHoldsExactly4096Bytes) {
    std::string fits = "r", over = "a";
    for (int i = 0; i < 337; ++i) fits += "+1";
    for (int i = 0; i < 3; ++i) fits += "-1";
    for (int i = 0; i < 336; ++i) over += "+1";
    for (int i = 0; i < 4; ++i) over += "-1";
    const ff::ChannelProgram p = ff::CompileChannel(fits, 0);
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.size, 4096);
    EXPECT_EQ(ValueAt(fits), 10 + 337 - 3);
    EXPECT_TRUE(ff::CompileChannel(over, 0).failed);
}

TEST(FFCompiler, OperatorStackAndConditionalsHold128) {
    for (int n : {128, 129}) {
        const std::string negations = std::string(size_t(n), '-') + "1";
        EXPECT_EQ(ff::CompileChannel(negations, 0).failed, n > 128) << n;
        std::string nested;
        for (int i = 0; i < n; ++i) nested += "1?";
        nested += "7";
        for (int i = 0; i < n; ++i) nested += ":0";
        EXPECT_EQ(ff::CompileChannel(nested, 0).failed, n > 128) << n;
    }
    EXPECT_EQ(ValueAt(std::string(128, '-') + "1"), 1);
}

TEST(FFCompiler, TextIsCutAt1023Bytes) {
    EXPECT_EQ(ValueAt(std::string(1022, ' ') + "12"), 1);
    EXPECT_EQ(ValueAt(std::string(1021, ' ') + "12"), 12);
}

TEST(FFCompiler, OrderedFunctionsRunInPixelOrder) {
    const Buffer b = Probe();
    const std::vector<int32_t> counts = StackValues("put(get(0)+1,0)", b);
    for (size_t i = 0; i < counts.size(); ++i) EXPECT_EQ(counts[i], int32_t(i + 1));
    // Through a whole run the channels share the cells: green sees red's count.
    const ff::CompiledFilter f = ff::CompileAll({"put(get(0)+1,0)", "get(0)", "0"});
    ASSERT_TRUE(f.Ordered());
    Buffer dest;
    dest.Alloc({7, 5});
    ff::FilterRun(f, b, {}).Rows(dest, 0, 5, 2);
    for (int i = 0; i < 35; ++i) EXPECT_EQ(dest.At(i % 7, i / 7), uint32_t(i + 1) * 0x10100) << i;
}

} // namespace
