#include "tools/Palette.h"
#include "tools/PaletteTestTools.h"
#include "tools/ToolIcons.h"

#include <QMap>
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>
#include <vector>

namespace {

using palettetest::FakeTool;
using palettetest::kIcons;
using palettetest::ToolFor;

PaintTool* const kBrushAlt = FakeTool(50);
PaintTool* const kCutAlt = FakeTool(51);

struct Fixture {
    Palette palette;
    std::vector<std::pair<PaintTool*, int>> selected;
    std::vector<int> changed;

    explicit Fixture(
        std::vector<PaletteComponent> components = {},
        TranslateFn tr = [](const QString& k) { return k; })
        : palette(std::move(tr)) {
        palette.SetSelectHandler([this](PaintTool* t, int v) { selected.push_back({t, v}); });
        palette.SetChangeHandler([this](int g) { changed.push_back(g); });
        PaletteTools tools;
        tools.toolOf = palettetest::EntryTool;
        tools.brushAlternate = kBrushAlt;
        tools.cutAlternate = kCutAlt;
        tools.components = std::move(components);
        RegisterStandardPalette(palette, tools);
    }
    int GroupOf(const QString& icon) const {
        for (int g = 0; g < palette.GroupCount(); ++g)
            if (palette.Variant(palette.Group(g).first).icon == icon) return g;
        return -1;
    }
    QString Showing(int g) const { return palette.CurrentVariant(g).icon; }
};

constexpr int Shift = 0x100, Ctrl = 0x200, Alt = 0x400;

} // namespace

TEST(PaletteContent, GroupsInOrderWithKeysRowsAndButtonGroups) {
    Fixture f;
    struct Want {
        QString first;
        int count, perRow, key, buttonGroup;
    };
    const std::vector<Want> want = {
        {"BRUSH1", 8, 4, 0, 1},      {"PEN1", 3, 4, 0x50, 1},   {"LINE1", 2, 4, 0x4C, 1},
        {"SPLINE1", 2, 4, 0x55, 1},  {"RECT1", 4, 4, 0x52, 1},  {"CRC1", 4, 4, 0x43, 1},
        {"FILLDRAW", 2, 4, 0x44, 1}, {"SPRAY1", 2, 4, 0x53, 1}, {"FILL1", 2, 4, 0x46, 1},
        {"TEXT", 1, 4, 0x54, 1},     {"CUT1", 5, 5, 0x42, 1},   {"CLONE", 1, 4, 0x4F, 1},
        {"GETCOL", 1, 4, 0x47, 1},   {"CHCOL", 1, 4, 0x48, 1},  {"GRID", 1, 4, 0x133, 2},
        {"EMPTY", 1, 4, 0, 0},       {"UNDO", 1, 4, 0x25A, 0},  {"CLEAR", 1, 4, 0x243, 0}};
    ASSERT_EQ(f.palette.GroupCount(), int(want.size()));
    int next = 0;
    for (int g = 0; g < f.palette.GroupCount(); ++g) {
        const PaletteGroup& grp = f.palette.Group(g);
        SCOPED_TRACE(want[size_t(g)].first.toStdString());
        EXPECT_EQ(grp.first, next);
        EXPECT_EQ(grp.current, next);
        EXPECT_EQ(f.palette.Variant(grp.first).icon, want[size_t(g)].first);
        EXPECT_EQ(grp.count, want[size_t(g)].count);
        EXPECT_EQ(grp.perRow, want[size_t(g)].perRow);
        EXPECT_EQ(grp.key, want[size_t(g)].key);
        EXPECT_EQ(int(grp.buttonGroup), want[size_t(g)].buttonGroup);
        next += grp.count;
    }
    // Every variant in the listed order, each with its own tool.
    QStringList order;
    for (int v = 0; v < f.palette.VariantCount(); ++v) order << f.palette.Variant(v).icon;
    QStringList expected = kIcons;
    expected.insert(expected.indexOf("UNDO"), "EMPTY");
    EXPECT_EQ(order, expected);
    EXPECT_EQ(f.palette.Variant(int(order.indexOf("CRC3"))).tool, FakeTool(21));

    EXPECT_EQ(f.palette.Group(0).alternate, kBrushAlt);
    EXPECT_EQ(f.palette.Group(0).alternateKey, 0);
    EXPECT_EQ(f.palette.Group(10).alternate, kCutAlt);
    EXPECT_EQ(f.palette.Group(10).alternateKey, Shift + 'B');
    EXPECT_EQ(f.palette.Group(1).alternate, nullptr);
}

TEST(PaletteContent, PlaceholderIsDisabledAndComponentsReplaceIt) {
    Fixture none;
    const int empty = none.GroupOf("EMPTY");
    const PaletteGroup& g = none.palette.Group(empty);
    EXPECT_FALSE(g.enabled);
    EXPECT_EQ(none.palette.Variant(g.first).tool, nullptr);
    EXPECT_EQ(none.palette.Variant(g.first).hint, "");
    EXPECT_FALSE(none.palette.ClickGroup(empty));
    EXPECT_FALSE(none.palette.LookupKey('I', nullptr, false));
    EXPECT_TRUE(none.selected.empty());

    // A component without a tool is left out; the others form one group of eight per row.
    std::vector<PaletteComponent> comps = {
        {FakeTool(60), "Blur", {}}, {nullptr, "Broken", {}}, {FakeTool(61), "Emboss", {}}};
    Fixture with(comps);
    ASSERT_EQ(with.GroupOf("EMPTY"), -1);
    const PaletteGroup& c = with.palette.Group(15);
    EXPECT_EQ(c.count, 2);
    EXPECT_EQ(c.perRow, 8);
    EXPECT_EQ(c.key, 'I');
    EXPECT_EQ(with.palette.Variant(c.first + 1).hint, "Emboss (I)");
    EXPECT_EQ(with.palette.Variant(c.first).icon, QString()); // its icon comes as an image
    EXPECT_EQ(with.Showing(16), "UNDO");
    ASSERT_TRUE(with.palette.LookupKey('I', nullptr, false));
    EXPECT_EQ(with.selected.back().first, FakeTool(60));
}

TEST(PaletteHints, KeysAppendedWithTranslatedModifiers) {
    Fixture f;
    auto hintOf = [&](const QString& icon) {
        for (int v = 0; v < f.palette.VariantCount(); ++v)
            if (f.palette.Variant(v).icon == icon) return f.palette.Variant(v).hint;
        return QString("?");
    };
    EXPECT_EQ(hintOf("UNDO"), "Undo Last Action (Ctrl+Z)");
    EXPECT_EQ(hintOf("GRID"), "Grid (Shift+3)");
    EXPECT_EQ(hintOf("PEN2"), "Dotted Freehand (P)");
    EXPECT_EQ(hintOf("BRUSH21"), "3x3");
    EXPECT_EQ(hintOf("CUT2"), "Cut Predefined Rectangle (B)");

    const QMap<QString, QString> german = {{"Ctrl", "Strg"},
                                           {"Shift", "Umschalt"},
                                           {"Undo Last Action", "Rueckgaengig"},
                                           {"Grid", "Raster"}};
    f.palette.Retranslate([&](const QString& k) { return german.value(k, k); });
    EXPECT_EQ(hintOf("UNDO"), "Rueckgaengig (Strg+Z)");
    EXPECT_EQ(hintOf("GRID"), "Raster (Umschalt+3)");
    EXPECT_EQ(hintOf("LINE1"), "Single Line (L)");
    EXPECT_EQ(f.changed.size(), size_t(f.palette.GroupCount())); // every button told

    const TranslateFn upper = [](const QString& k) { return k.toUpper(); };
    EXPECT_EQ(KeyCodeName(Alt + Ctrl + Shift + 'A', upper), "ALT+CTRL+SHIFT+A");
    EXPECT_EQ(KeyCodeName(Alt + '7', upper), "ALT+7");
    EXPECT_EQ(KeyCodeName(0x71, upper), "F2");
}

TEST(PaletteHints, IndexesFollowTheHintTable) {
    Fixture f;
    const auto& table = PaletteHintTable();
    ASSERT_EQ(table.size(), 41u);
    std::set<int> used;
    for (int v = 0; v < f.palette.VariantCount(); ++v) {
        const PaletteVariant& var = f.palette.Variant(v);
        if (var.hintIndex < 0) continue;
        EXPECT_EQ(table[size_t(var.hintIndex)], var.hintKey) << var.icon.toStdString();
        used.insert(var.hintIndex);
    }
    EXPECT_EQ(used.size(), 41u); // every hint once, the two "3x3" entries apart
    EXPECT_EQ(f.palette.Variant(1).hintIndex, 34);
    EXPECT_EQ(f.palette.Variant(5).hintIndex, 37);
}

TEST(PaletteKeys, GroupKeyStepsOnlyWhenItsToolIsCurrentAndIdle) {
    Fixture f;
    const int pen = f.GroupOf("PEN1");
    PaintTool* pen1 = ToolFor("PEN1");
    // Another tool current: the key selects what the group shows, without stepping.
    ASSERT_TRUE(f.palette.LookupKey('P', ToolFor("LINE1"), false));
    EXPECT_EQ(f.selected.back(), std::make_pair(pen1, 8));
    EXPECT_EQ(f.Showing(pen), "PEN1");
    // Busy: no step either.
    f.palette.LookupKey('P', pen1, true);
    EXPECT_EQ(f.Showing(pen), "PEN1");
    // Idle and current: step, step, wrap.
    f.palette.LookupKey('P', pen1, false);
    EXPECT_EQ(f.selected.back(), std::make_pair(ToolFor("PEN2"), 9));
    f.palette.LookupKey('P', ToolFor("PEN2"), false);
    EXPECT_EQ(f.Showing(pen), "PEN3");
    f.palette.LookupKey('P', ToolFor("PEN3"), false);
    EXPECT_EQ(f.Showing(pen), "PEN1");
    EXPECT_EQ(f.selected.back().first, pen1);

    // The alternate key, the command keys, and keys nobody owns.
    ASSERT_TRUE(f.palette.LookupKey(Shift + 'B', nullptr, false));
    EXPECT_EQ(f.selected.back(), std::make_pair(kCutAlt, -1));
    ASSERT_TRUE(f.palette.LookupKey(Ctrl + 'Z', nullptr, false));
    EXPECT_EQ(f.selected.back().first, ToolFor("UNDO"));
    f.palette.LookupKey(Shift + '3', nullptr, false);
    EXPECT_EQ(f.selected.back().first, ToolFor("GRID"));
    const size_t before = f.selected.size();
    EXPECT_FALSE(f.palette.LookupKey('Q', nullptr, false));
    EXPECT_FALSE(f.palette.LookupKey(Ctrl + 'P', nullptr, false));
    EXPECT_FALSE(f.palette.LookupKey(0, nullptr, false)); // Brushes has no key
    EXPECT_EQ(f.selected.size(), before);
}

TEST(PaletteButtons, PopupChoiceThenKeyThenClick) {
    Fixture f;
    const int crc = f.GroupOf("CRC1");
    ASSERT_TRUE(f.palette.ChooseVariant(crc, 2));
    EXPECT_EQ(f.Showing(crc), "CRC3");
    EXPECT_EQ(f.selected.back().first, ToolFor("CRC3"));
    f.palette.LookupKey('C', ToolFor("CRC3"), false);
    EXPECT_EQ(f.Showing(crc), "CRC4");
    f.palette.ClickGroup(crc);
    EXPECT_EQ(f.selected.back().first, ToolFor("CRC4"));
    // Choices outside the group change nothing.
    const size_t before = f.selected.size();
    EXPECT_FALSE(f.palette.ChooseVariant(crc, 4));
    EXPECT_FALSE(f.palette.ChooseVariant(crc, -1));
    EXPECT_FALSE(f.palette.ChooseVariant(99, 0));
    EXPECT_FALSE(f.palette.ClickGroup(-1));
    EXPECT_EQ(f.Showing(crc), "CRC4");

    // Right button: only groups with an alternate select something.
    EXPECT_FALSE(f.palette.AlternateGroup(f.GroupOf("PEN1")));
    EXPECT_EQ(f.selected.size(), before);
    EXPECT_TRUE(f.palette.AlternateGroup(0));
    EXPECT_EQ(f.selected.back().first, kBrushAlt);

    EXPECT_TRUE(f.palette.WantsPanel(crc));
    EXPECT_FALSE(f.palette.WantsPanel(f.GroupOf("TEXT")));
    EXPECT_FALSE(f.palette.WantsPanel(f.GroupOf("EMPTY")));
}

TEST(PaletteButtons, EngineSelectionShowsTheToolAndMovesTheDownButton) {
    Fixture f;
    const int lines = f.GroupOf("LINE1"), cut = f.GroupOf("CUT1");
    EXPECT_EQ(f.palette.DownGroup(), -1);
    EXPECT_EQ(f.palette.ShowTool(ToolFor("LINE2"), -1), lines);
    EXPECT_EQ(f.Showing(lines), "LINE2");
    EXPECT_EQ(f.palette.DownGroup(), lines);
    f.changed.clear();
    EXPECT_EQ(f.palette.ShowTool(ToolFor("CUT4"), 33), cut);
    EXPECT_EQ(f.Showing(cut), "CUT4");
    EXPECT_EQ(f.palette.DownGroup(), cut);
    EXPECT_EQ(f.changed, (std::vector<int>{lines, cut})); // old one up, new one down
    // A command does not take the radio button; an unknown tool changes nothing.
    f.palette.ShowTool(ToolFor("UNDO"), -1);
    EXPECT_EQ(f.palette.DownGroup(), cut);
    EXPECT_EQ(f.palette.ShowTool(kCutAlt, -1), -1);
    EXPECT_EQ(f.palette.ShowTool(nullptr, 3), -1);
    // A wrong variant index is ignored in favour of a search.
    EXPECT_EQ(f.palette.ShowTool(ToolFor("PEN3"), 0), f.GroupOf("PEN1"));
    EXPECT_EQ(f.Showing(f.GroupOf("PEN1")), "PEN3");
    EXPECT_EQ(f.Showing(0), "BRUSH1");
}

TEST(PaletteLayout, ButtonsInTwoColumns) {
    EXPECT_EQ(Palette::ButtonPosition(0), QPoint(0, 0));
    EXPECT_EQ(Palette::ButtonPosition(1), QPoint(28, 0));
    EXPECT_EQ(Palette::ButtonPosition(2), QPoint(0, 28));
    EXPECT_EQ(Palette::ButtonPosition(17), QPoint(28, 224));
}

TEST(PaletteLayout, PopupSizesAndButtonPlaces) {
    const QRect screen(0, 0, 1024, 768);
    // Cut: one row of five.
    IconPanelLayout cut = Palette::LayoutPanel(5, 5, {100, 300}, screen);
    EXPECT_EQ(cut.panel, QRect(128, 300, 164, 36));
    ASSERT_EQ(cut.buttons.size(), 5u);
    EXPECT_EQ(cut.buttons[4], QPoint(130, 2));
    // Brushes: two rows of four.
    IconPanelLayout brushes = Palette::LayoutPanel(8, 4, {0, 0}, screen);
    EXPECT_EQ(brushes.panel, QRect(28, 0, 132, 68));
    EXPECT_EQ(brushes.buttons[3], QPoint(98, 2));
    EXPECT_EQ(brushes.buttons[4], QPoint(2, 34));
    // Fewer variants than a row: as wide as the variants.
    EXPECT_EQ(Palette::LayoutPanel(3, 4, {0, 0}, screen).panel.size(), QSize(100, 36));
    // Ten components at eight per row.
    IconPanelLayout comps = Palette::LayoutPanel(10, 8, {0, 0}, screen);
    EXPECT_EQ(comps.panel.size(), QSize(260, 68));
    EXPECT_EQ(comps.buttons[9], QPoint(34, 34));
}

TEST(PaletteLayout, PopupFlipsLeftNearTheScreenEdge) {
    const QRect screen(0, 0, 1024, 768);
    // 164 wide: from a left edge of 860 it just fits, from 861 it does not.
    EXPECT_EQ(Palette::LayoutPanel(5, 5, {860, 10}, screen).panel.left(), 888);
    EXPECT_EQ(Palette::LayoutPanel(5, 5, {861, 10}, screen).panel.left(), 861 - 164);
    // A second screen to the right has its own edge.
    const QRect right(1024, 0, 800, 600);
    EXPECT_EQ(Palette::LayoutPanel(5, 5, {1100, 10}, right).panel.left(), 1128);
    EXPECT_EQ(Palette::LayoutPanel(5, 5, {1700, 10}, right).panel.left(), 1700 - 164);
}

TEST(PaletteLayout, OddInputsStayInsideThePanel) {
    const QRect screen(0, 0, 1024, 768);
    // More variants than the panel has buttons: only the first 32 are placed.
    IconPanelLayout many = Palette::LayoutPanel(128, 8, {0, 0}, screen);
    EXPECT_EQ(many.buttons.size(), 32u);
    EXPECT_EQ(many.panel.size(), QSize(260, 132));
    for (QPoint b : many.buttons) EXPECT_TRUE(QRect(QPoint(0, 0), many.panel.size()).contains(b));
    EXPECT_TRUE(Palette::LayoutPanel(0, 4, {0, 0}, screen).buttons.empty());
    EXPECT_EQ(Palette::LayoutPanel(2, 0, {0, 0}, screen).panel.size(), QSize(36, 68));
}

TEST(ToolIcons, EveryPaletteIconIsDrawnAndDistinct) {
    Fixture f;
    std::vector<QImage> seen;
    for (int v = 0; v < f.palette.VariantCount(); ++v) {
        const QString name = f.palette.Variant(v).icon;
        const QImage img = ToolIcon(name);
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(img.size(), QSize(24, 24));
        int opaque = 0, clearCorner = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) opaque += qAlpha(img.pixel(x, y)) > 128;
        clearCorner = qAlpha(img.pixel(0, 23)) == 0 || qAlpha(img.pixel(23, 0)) == 0;
        EXPECT_GT(opaque, 2);
        EXPECT_TRUE(clearCorner); // drawn on a transparent ground
        for (const QImage& other : seen) EXPECT_NE(img, other);
        seen.push_back(img);
    }
    EXPECT_TRUE(ToolIcon("NOSUCH").isNull());
    EXPECT_TRUE(ToolIcon("").isNull());
}

TEST(ToolIcons, CursorsHaveHotspotsOnTheirFigure) {
    const QStringList names = {"CROSS", "CROSSOK",  "FILL", "ROTATE",
                               "SPRAY", "AIRBRUSH", "WAND", "PIPETTE"};
    EXPECT_EQ(ToolCursorNames(), names);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const ToolCursorImage c = DrawToolCursor(name);
        ASSERT_EQ(c.image.size(), QSize(32, 32));
        ASSERT_TRUE(QRect(0, 0, 32, 32).contains(c.hotspot));
        // Something is drawn within two pixels of the hotspot, so the pointer is where it looks.
        bool near = false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QPoint q = c.hotspot + QPoint(dx, dy);
                if (QRect(0, 0, 32, 32).contains(q) && qAlpha(c.image.pixel(q)) > 100) near = true;
            }
        EXPECT_TRUE(near);
    }
    EXPECT_EQ(DrawToolCursor("CROSS").hotspot, QPoint(15, 15));
    EXPECT_TRUE(DrawToolCursor("NONE").image.isNull());
}
