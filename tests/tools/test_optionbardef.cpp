#include "lang/BuiltInLanguage.h"
#include "tools/OptionBarDef.h"
#include "tools/OptionBarState.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Step = OptionBarState::Step;

// Puts a comma-decimal locale in force for the test and restores the previous one.
struct GermanLocale {
    QLocale saved;
    GermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~GermanLocale() { QLocale::setDefault(saved); }
};

TEST(OptionBarDef, ListAndIntegerFieldTakeIndexesInOrder) {
    const OptionBarDef d =
        OptionBarDef::Parse("Pen,L,Mode,3,One,Two,Three,Pick a mode,I,Size,1,999,2,Stroke size");
    EXPECT_EQ(d.caption, "Pen");
    ASSERT_EQ(d.ControlCount(), 2);
    const OptionEntry* list = d.Control(0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind, OptionKind::List);
    EXPECT_EQ(list->caption, "Mode");
    EXPECT_EQ(list->items, QStringList({"One", "Two", "Three"}));
    EXPECT_EQ(list->hint, "Pick a mode");
    const OptionEntry* size = d.Control(1);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->kind, OptionKind::Integer);
    EXPECT_EQ(size->caption, "Size");
    EXPECT_EQ(size->minimum, 1);
    EXPECT_EQ(size->maximum, 999);
    EXPECT_EQ(size->value, 2);
    EXPECT_EQ(size->hint, "Stroke size");
    EXPECT_EQ(d.Control(2), nullptr);
}

TEST(OptionBarDef, TypeLengthIsTheLevelAndOnlyControlsAreIndexed) {
    const OptionBarDef d = OptionBarDef::Parse(
        "X,FF,Scale,1,1,1000,100,Wide,S,TT,Note,Read me,B,Go,Run it,CCC,Tick,5,Hint");
    ASSERT_EQ(d.entries.size(), 5u);
    EXPECT_EQ(d.entries[0].kind, OptionKind::Real);
    EXPECT_EQ(d.entries[0].level, 1);
    EXPECT_EQ(d.entries[0].index, 0);
    EXPECT_EQ(d.entries[1].kind, OptionKind::Separator);
    EXPECT_EQ(d.entries[1].index, -1);
    EXPECT_EQ(d.entries[2].kind, OptionKind::Text);
    EXPECT_EQ(d.entries[2].level, 1);
    EXPECT_EQ(d.entries[2].index, -1);
    EXPECT_EQ(d.entries[2].hint, "Read me");
    EXPECT_EQ(d.entries[3].kind, OptionKind::Button);
    EXPECT_EQ(d.entries[3].index, 1);
    EXPECT_EQ(d.entries[3].hint, "Run it");
    EXPECT_EQ(d.entries[4].kind, OptionKind::Check);
    EXPECT_EQ(d.entries[4].level, 2);
    EXPECT_EQ(d.entries[4].value, 1); // any non-zero state ticks
    EXPECT_EQ(d.entries[4].index, 2);
}

TEST(OptionBarDef, RealsUseAPointWhateverTheLocale) {
    const GermanLocale german;
    ASSERT_EQ(QLocale().decimalPoint(), ",");
    const OptionBarDef d = OptionBarDef::Parse("X,F,Half,2,-1.25,1.5,0.5,Hint");
    const OptionEntry* f = d.Control(0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->decimals, 2);
    EXPECT_EQ(f->minimum, -1.25);
    EXPECT_EQ(f->maximum, 1.5);
    EXPECT_EQ(f->value, 0.5);
    EXPECT_EQ(f->hint, "Hint");
}

TEST(OptionBarDef, OtherKindsReadTheirFields) {
    const OptionBarDef d = OptionBarDef::Parse(
        "Text,N,Font Name,P,FONTBOLD,Bold,O,Shadow,80A0ff,Shadow Color,C,Off,0,Not ticked");
    ASSERT_EQ(d.ControlCount(), 4);
    EXPECT_EQ(d.Control(0)->kind, OptionKind::FontList);
    EXPECT_EQ(d.Control(0)->hint, "Font Name");
    EXPECT_EQ(d.Control(1)->kind, OptionKind::Picture);
    EXPECT_EQ(d.Control(1)->caption, "FONTBOLD");
    EXPECT_EQ(d.Control(1)->hint, "Bold");
    EXPECT_EQ(d.Control(2)->kind, OptionKind::Swatch);
    EXPECT_EQ(d.Control(2)->caption, "Shadow");
    EXPECT_EQ(d.Control(2)->colour, 0x80A0FFu);
    EXPECT_EQ(d.Control(2)->hint, "Shadow Color");
    EXPECT_EQ(d.Control(3)->value, 0);
}

TEST(OptionBarDef, CaptionOnlyAndUnknownTypes) {
    EXPECT_EQ(OptionBarDef::Parse("Just a caption").caption, "Just a caption");
    EXPECT_TRUE(OptionBarDef::Parse("Just a caption").entries.empty());
    EXPECT_TRUE(OptionBarDef::Parse("").entries.empty());
    // Unknown types take no fields: Q and Z are skipped and the I reads on.
    const OptionBarDef d = OptionBarDef::Parse("X,Q,Z,,I,n,1,5,3,h");
    ASSERT_EQ(d.ControlCount(), 1);
    EXPECT_EQ(d.Control(0)->caption, "n");
    EXPECT_EQ(d.Control(0)->value, 3);
    EXPECT_EQ(d.Control(0)->hint, "h");
}

TEST(OptionBarDef, DamagedDefinitionsFallBackToEmptyAndZero) {
    // A count beyond the fields takes what is left; nothing is read past the end.
    OptionBarDef d = OptionBarDef::Parse("X,L,Lab,99999999999999,a,b");
    ASSERT_EQ(d.ControlCount(), 1);
    EXPECT_EQ(d.Control(0)->items, QStringList({"a", "b"}));
    EXPECT_TRUE(d.Control(0)->hint.isEmpty());
    d = OptionBarDef::Parse("X,L,Lab,1000000,a");
    EXPECT_EQ(d.Control(0)->items, QStringList({"a"}));
    // A negative count gives an empty list; the next field is its hint.
    d = OptionBarDef::Parse("X,L,Lab,-3,Hint");
    EXPECT_TRUE(d.Control(0)->items.isEmpty());
    EXPECT_EQ(d.Control(0)->hint, "Hint");
    // Truncated entries: missing fields are empty or 0.
    d = OptionBarDef::Parse("X,I,Lab,5");
    ASSERT_EQ(d.ControlCount(), 1);
    EXPECT_EQ(d.Control(0)->minimum, 0);
    EXPECT_EQ(d.Control(0)->maximum, 5);
    EXPECT_EQ(d.Control(0)->value, 0);
    EXPECT_TRUE(d.Control(0)->hint.isEmpty());
    // Garbage numbers read 0; a whole real still serves as an integer.
    d = OptionBarDef::Parse("X,F,Lab,zz,1e999,nan,inf,h,I,Lab,abc,2.0,7,h,O,Lab,GGGG,h");
    ASSERT_EQ(d.ControlCount(), 3);
    EXPECT_EQ(d.Control(0)->decimals, 0);
    EXPECT_EQ(d.Control(0)->minimum, 0);
    EXPECT_EQ(d.Control(0)->maximum, 0);
    EXPECT_EQ(d.Control(0)->value, 0);
    EXPECT_EQ(d.Control(1)->minimum, 0);
    EXPECT_EQ(d.Control(1)->maximum, 2);
    EXPECT_EQ(d.Control(1)->value, 2); // 7 clamped into 0..2
    EXPECT_EQ(d.Control(2)->colour, 0u);
    // Minimum and maximum given the wrong way round are swapped.
    d = OptionBarDef::Parse("X,I,n,10,1,50,h");
    EXPECT_EQ(d.Control(0)->minimum, 1);
    EXPECT_EQ(d.Control(0)->maximum, 10);
    EXPECT_EQ(d.Control(0)->value, 10);
}

TEST(OptionBarDef, LimitsOnControlsEntriesAndLevels) {
    QString text = "X";
    for (int i = 0; i < 40; ++i) text += QStringLiteral(",B,b%1,h").arg(i);
    OptionBarDef d = OptionBarDef::Parse(text);
    EXPECT_EQ(d.ControlCount(), OptionBarDef::MaxControls);
    ASSERT_NE(d.Control(31), nullptr);
    EXPECT_EQ(d.Control(31)->caption, "b31");
    EXPECT_EQ(d.Control(32), nullptr);

    text = "X";
    for (int i = 0; i < 1000; ++i) text += ",S";
    EXPECT_EQ(OptionBarDef::Parse(text).entries.size(), size_t(OptionBarDef::MaxEntries));

    d = OptionBarDef::Parse("X," + QString(5000, 'L') + ",Lab,1,a,h");
    ASSERT_EQ(d.ControlCount(), 1);
    EXPECT_EQ(d.Control(0)->level, OptionBarDef::MaxLevel);
}

TEST(OptionBarDef, RandomTextKeepsTheInvariants) {
    const QString alphabet = QStringLiteral("BCFILNOPST,,,,0123456789.-eLLxa ");
    std::mt19937 rng(20240607);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = int(rng() % 120);
        for (int i = 0; i < length; ++i) text += alphabet[int(rng() % alphabet.size())];
        const OptionBarDef d = OptionBarDef::Parse(text);
        ASSERT_LE(d.entries.size(), size_t(OptionBarDef::MaxEntries)) << text.toStdString();
        int next = 0;
        for (const OptionEntry& e : d.entries) {
            if (e.index >= 0) {
                ASSERT_EQ(e.index, next++) << text.toStdString();
            }
            if (e.kind == OptionKind::Integer || e.kind == OptionKind::Real) {
                ASSERT_LE(e.minimum, e.value) << text.toStdString();
                ASSERT_LE(e.value, e.maximum) << text.toStdString();
            }
            ASSERT_LE(e.items.size(), text.count(',')) << text.toStdString();
        }
        ASSERT_LE(next, OptionBarDef::MaxControls);
    }
}

// The tools rely on these kinds at these indexes of the shipped English bars.
TEST(OptionBarDef, EnglishBarsHaveTheKindsTheToolsRead) {
    enum Want { List, Number, Button };
    const std::vector<std::pair<QString, std::vector<Want>>> bars = {
        {"LINEBAR", {List, Number, List}},
        {"CURVEBAR", {List, Number, List}},
        {"CIRCLEBAR", {List, Number}},
        {"ELLIPSEBAR", {List, Number}},
        {"SPRAYBAR", {Button, Number, Number}},
        {"AIRBRUSHBAR", {Button, Number, Number}},
        {"CUTBAR", {Button, Number, Number, Button, Button}},
        {"WANDBAR", {Number}},
    };
    for (const auto& [key, kinds] : bars) {
        const QString text = BuiltInBarDefinition(key);
        ASSERT_FALSE(text.isEmpty()) << key.toStdString();
        const OptionBarDef d = OptionBarDef::Parse(text);
        EXPECT_FALSE(d.caption.isEmpty()) << key.toStdString();
        ASSERT_GE(d.ControlCount(), int(kinds.size())) << key.toStdString();
        for (size_t i = 0; i < kinds.size(); ++i) {
            const OptionEntry* e = d.Control(int(i));
            const bool ok = kinds[i] == List ? e->kind == OptionKind::List
                            : kinds[i] == Button
                                ? e->kind == OptionKind::Button
                                : e->kind == OptionKind::Integer || e->kind == OptionKind::Real;
            EXPECT_TRUE(ok) << key.toStdString() << " index " << i;
            EXPECT_EQ(e->level, 0) << key.toStdString() << " index " << i;
        }
    }
    // Spacing modes and arrowheads: three modes, none and four sizes.
    EXPECT_EQ(OptionBarDef::Parse(BuiltInBarDefinition("LINEBAR")).Control(0)->items.size(), 3);
    EXPECT_EQ(OptionBarDef::Parse(BuiltInBarDefinition("CURVEBAR")).Control(2)->items.size(), 5);
    const OptionBarDef wand = OptionBarDef::Parse(BuiltInBarDefinition("WANDBAR"));
    const OptionEntry* tolerance = wand.Control(0);
    EXPECT_EQ(tolerance->minimum, 0);
    EXPECT_EQ(tolerance->maximum, 765);
}

TEST(OptionBarState, SameBarIsKeptUntilTheLevelChanges) {
    OptionBarState s;
    EXPECT_EQ(s.Show("", false, 0), Step::None);
    EXPECT_EQ(s.Hide("", "CURVEBAR", 0), Step::None);

    // Single Curve, then Continuous Curve: one build.
    EXPECT_EQ(s.Show("CURVEBAR", false, 0), Step::Rebuild);
    EXPECT_EQ(s.Hide("CURVEBAR", "CURVEBAR", 0), Step::Clear);
    EXPECT_EQ(s.Show("CURVEBAR", true, 0), Step::Clear);
    // Level switched to Expert in between: rebuilt.
    EXPECT_EQ(s.Hide("CURVEBAR", "CURVEBAR", 1), Step::Hide);
    EXPECT_EQ(s.BuildLevel(), 1);
    EXPECT_EQ(s.Show("CURVEBAR", false, 1), Step::Rebuild);
    EXPECT_EQ(s.Hide("CURVEBAR", "CURVEBAR", 1), Step::Clear);
    // Another bar, or none.
    EXPECT_EQ(s.Hide("CURVEBAR", "LINEBAR", 1), Step::Hide);
    EXPECT_EQ(s.Show("LINEBAR", false, 1), Step::Rebuild);
    EXPECT_EQ(s.Key(), "LINEBAR");
    EXPECT_EQ(s.Hide("LINEBAR", "", 1), Step::Hide);
    // A visible bar of another key is never taken for this one.
    EXPECT_EQ(s.Show("CURVEBAR", true, 1), Step::Rebuild);
}

TEST(OptionBarState, ALevelChangeWhileHiddenStillRebuildsLater) {
    OptionBarState s;
    s.Show("LINEBAR", false, 1);
    EXPECT_EQ(s.Hide("LINEBAR", "", 1), Step::Hide);
    // Novice now: built for Novice.
    EXPECT_EQ(s.Show("LINEBAR", false, 0), Step::Rebuild);
    // Back to Expert while it shows: the Novice bar must not survive the switch.
    EXPECT_EQ(s.Hide("LINEBAR", "LINEBAR", 1), Step::Hide);
}

} // namespace
