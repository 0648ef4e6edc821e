#include "filters/CompDescriptor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace comp;

namespace {

int32_t IntAt(const Values& v, size_t offset) {
    int32_t i;
    std::memcpy(&i, v.data() + offset, sizeof i);
    return i;
}
double DoubleAt(const Values& v, size_t offset) {
    double d;
    std::memcpy(&d, v.data() + offset, sizeof d);
    return d;
}

Descriptor Parse(const std::string& text) {
    const std::optional<Descriptor> d = ParseDescriptor(text);
    EXPECT_TRUE(d.has_value()) << text;
    return d.value_or(Descriptor{});
}

} // namespace

TEST(CompDescriptor, VersionWindow) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        {"Ver=1.48\r", true},  {"Ver=1.479\r", false}, {"Ver=2\r", false},
        {"Ver=1.999\r", true}, {"Ver=\r", false},      {"Name=x\r", false},
        {"Ver=1,5\r", false},  {"Ver=1.5x\r", false},  {"Ver=nan\r", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDescriptor(c.text).has_value(), c.accepted) << c.text;
}

TEST(CompDescriptor, KeysAreFoundBySearch) {
    const std::string text = "Name=First\r\nname=lower\rName=Second\rOpt=WP";
    EXPECT_EQ(FindKey(text, "Name="), "First");
    EXPECT_EQ(FindKey(text, "name="), "lower");
    EXPECT_EQ(FindKey(text, "Opt="), "WP"); // up to the end of the text
    EXPECT_EQ(FindKey(text, "Icon="), "");
    // A bare LF ends a value too, so no label gets a line break.
    EXPECT_EQ(FindKey("Name=A\nCopyright=B", "Name="), "A");
}

TEST(CompDescriptor, HelpInBothForms) {
    const NameTranslator translate = [](const QString& name) {
        return name == QLatin1String("GUIDE.HLP") ? QStringLiteral("guide.html") : name;
    };
    const struct {
        const char* text;
        const char* file;
        int context;
    } cases[] = {
        {"Ver=1.5\rHelp=guide.hlp,12\r", "guide.hlp", 12},
        {"Ver=1.5\rHelp=guide.hlp\r", "guide.html", 100},
        {"Ver=1.5\rHelp=other.hlp\r", "OTHER.HLP", 100},
        {"Ver=1.5\r", "", 100},
    };
    for (const auto& c : cases) {
        const std::optional<Descriptor> d = ParseDescriptor(c.text, translate);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->helpFile, QString::fromLatin1(c.file)) << c.text;
        EXPECT_EQ(d->helpContext, c.context) << c.text;
    }
}

TEST(CompDescriptor, EveryParameterType) {
    const Descriptor d = Parse("Ver=1.5\r"
                               "Par1=I,Radius,1,100,10\r"
                               "Par2=F2,Amount,3,0.25,-1.5,2.5,1.75\r"
                               "Par3=B,Go\r"
                               "Par4=C1,Flag,7\r"
                               "Par5=S3,Level,0,255,128\r"
                               "Par6=L,Mode,3,One,Two,Three,2,\r"
                               "Par7=O,Tint,FF8000,\r"
                               "Par8=P,Spot,5,7\r"
                               "Par9=G,Other,2\r"
                               "Par10=X,Unknown,1\r");
    const ParamDef* p = d.params.data();
    EXPECT_EQ(p[0].type, ParamType::Integer);
    EXPECT_EQ((std::array{p[0].lowest, p[0].highest, p[0].initial}), (std::array{1, 100, 10}));
    EXPECT_EQ(p[1].type, ParamType::Decimal);
    EXPECT_EQ(p[1].level, 2);
    EXPECT_EQ(p[1].decimals, 3);
    EXPECT_EQ((std::array{p[1].step, p[1].lowestD, p[1].highestD, p[1].initialD}),
              (std::array{0.25, -1.5, 2.5, 1.75}));
    EXPECT_EQ(p[2].type, ParamType::Button);
    EXPECT_EQ(p[2].label, QStringLiteral("Go"));
    EXPECT_EQ(p[3].type, ParamType::Check);
    EXPECT_EQ(p[3].initial, 1);
    EXPECT_EQ(p[4].type, ParamType::Slider);
    EXPECT_EQ(p[4].level, 3);
    EXPECT_EQ(p[4].initial, 128);
    EXPECT_EQ(p[5].type, ParamType::List);
    EXPECT_EQ(p[5].items, (QStringList{"One", "Two", "Three"}));
    EXPECT_EQ(p[5].initial, 2);
    EXPECT_EQ(p[6].type, ParamType::Colour);
    EXPECT_EQ(p[6].colour, 0xFF8000u);
    EXPECT_EQ(p[7].type, ParamType::Point);
    EXPECT_EQ((std::array{p[7].pointX, p[7].pointY}), (std::array{5, 7}));
    EXPECT_EQ(p[8].type, ParamType::Image);
    EXPECT_EQ(p[8].initial, 2);
    EXPECT_FALSE(p[9].Defined());
    EXPECT_EQ(d.ControlCount(), 9);
}

TEST(CompDescriptor, DefinitionsThatAreSkipped) {
    const char* skipped[] = {
        "I",           // too short
        "I,",          // no values
        "Q,Label,1",   // unknown letter
        "I,Radius",    // no values after the label
        "I,Radius,a",  // the first value does not scan
        "C,Flag,",     // nothing to scan
        "IX,Radius,1", // neither a level digit nor ","
        "L,Mode,-1,a,1",
        "L,Mode,99999,a,1",
        "F,Amount,x",
        "I,Big,99999999999,1,1", // out of range
    };
    for (const char* s : skipped) EXPECT_FALSE(ParseParam(s).Defined()) << s;
}

TEST(CompDescriptor, ValuesAfterOneThatDoesNotScanKeepDefaults) {
    // "0.5" gives the decimals 0 and stops the reading there.
    const ParamDef f = ParseParam("F2,Amount,0.5,0,10,1");
    ASSERT_EQ(f.type, ParamType::Decimal);
    EXPECT_EQ(f.decimals, 0);
    EXPECT_EQ(f.initialD, 0.0);
    EXPECT_GT(f.step, 0.0);
    // Highest below lowest and an initial value outside are brought into the range.
    const ParamDef i = ParseParam("I,R,10,5,99");
    EXPECT_EQ((std::array{i.lowest, i.highest, i.initial}), (std::array{10, 10, 10}));
    // A list shorter than its count keeps what it has.
    const ParamDef l = ParseParam("L,Mode,3,One,Two");
    ASSERT_EQ(l.type, ParamType::List);
    EXPECT_EQ(l.items, QStringList{"One"});
    EXPECT_EQ(l.initial, 1);
}

TEST(CompDescriptor, PackingFollowsThePlaces) {
    const Descriptor d = Parse("Ver=1.5\rPar1=I,Radius,1,100,10\rPar2=F2,Amount,0.5,0,10,1\r");
    Values v;
    v.fill(0xAB);
    Pack(d, InitialValues(d), {0, 0, 99, 49}, v);
    EXPECT_EQ(IntAt(v, 0), 10);
    EXPECT_EQ(DoubleAt(v, 4), 0.0);
    for (size_t i = 12; i < v.size(); ++i) ASSERT_EQ(v[i], 0xAB) << i; // left as it was
    EXPECT_TRUE(d.params[1].HiddenAt(0));
    EXPECT_FALSE(d.params[1].HiddenAt(1));

    // Buttons and skipped places take no room; the rest packs in place order.
    const Descriptor e = Parse("Ver=1.5\rPar1=B,Go\rPar2=Q,x,1\rPar3=C,F,5\rPar4=O,T,123456\r"
                               "Par5=F1,A,1,0.5,0,9,2.5\rPar6=L,M,2,a,b,2\rPar7=G,I,3\r");
    Values w{};
    Pack(e, InitialValues(e), {0, 0, 99, 49}, w);
    EXPECT_EQ(IntAt(w, 0), 1);
    EXPECT_EQ(IntAt(w, 4), 0x123456);
    EXPECT_EQ(DoubleAt(w, 8), 2.5);
    EXPECT_EQ(IntAt(w, 16), 2);
    EXPECT_EQ(IntAt(w, 20), 3);
}

TEST(CompDescriptor, PointsScaleOverThePicture) {
    const Descriptor d = Parse("Ver=1.5\rPar1=P,Spot,0,0\r");
    const struct {
        Rect area;
        int x, y;
        uint32_t packed;
    } cases[] = {
        {{0, 0, 99, 49}, 99, 0, 0xFFFF0000u},
        {{0, 0, 99, 49}, 33, 49, (21845u << 16) | 65535u},
        {{0, 0, 0, 9}, 0, 3, 21845u},           // one pixel wide: x is 0, never a division by zero
        {{0, 0, 0, 0}, 0, 0, 0u},               // one pixel
        {{0, 0, 99, 49}, 500, -3, 0xFFFF0000u}, // outside: clamped, y does not spill into x
    };
    for (const auto& c : cases) {
        ParamValues values{};
        values[0].x = c.x;
        values[0].y = c.y;
        Values v{};
        Pack(d, values, c.area, v);
        EXPECT_EQ(uint32_t(IntAt(v, 0)), c.packed) << c.x << "," << c.y;
    }
    EXPECT_EQ(PointFromFraction(0xFFFF0000u, {0, 0, 99, 49}).x, 99);
    EXPECT_EQ(PointFromFraction(0xFFFFFFFFu, {0, 0, 0, 0}).x, 0);
}

TEST(CompDescriptor, TextsAreBounded) {
    const std::string name(200000, 'n');
    const std::optional<Descriptor> d = ParseDescriptor("Ver=1.5\rName=" + name + "\r");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->name.size(), MaxValueLength);
    // Nothing past the first zero byte is read.
    const std::string text("Ver=1.5\rName=A\0Par1=I,R,1,2,1\r", 30);
    EXPECT_FALSE(Parse(text).params[0].Defined());
}
