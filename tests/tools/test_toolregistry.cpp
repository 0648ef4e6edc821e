// The tool registry against the real tools: each palette entry has its own tool object or is
// deliberately disabled, each has its icon, and the built tools keep their keys, hints and
// settings.
#include "../document/FakeHost.h"
#include "FakeToolHost.h"
#include "tools/Palette.h"
#include "tools/StandardTools.h"
#include "tools/ToolEngine.h"
#include "tools/ToolIconArt.h"
#include "tools/ToolIcons.h"
#include "tools/ToolRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <thread>
#include <vector>

namespace {

// The palette as the program builds it: the standard tools and the engine's commands.
struct ProgramPalette {
    FakeHost host;
    FakeToolHost view;
    ProgramState state{host, host, host};
    StandardTools tools;
    ToolEngine engine{state, view, &tools.continuousFreehand};
    Palette palette{[](const QString& k) { return k; }};

    ProgramPalette() {
        PaletteTools p;
        p.toolOf = toolregistry::ResolverFor({&tools, &engine});
        p.brushAlternate = toolregistry::BrushAlternate({&tools, &engine});
        RegisterStandardPalette(palette, p);
    }
};

std::vector<ToolEntry> AllEntries() {
    std::vector<ToolEntry> all;
    for (std::span<const ToolEntry> part : {toolregistry::ToolGroups(), toolregistry::Commands()})
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const QStringList kNotBuilt = {};

// The built tools in palette order, as they were before the registry held them.
struct BuiltTool {
    const char* icon;
    const char* hint; // with the hot key appended
    int helpContext;
    const char* optionBar;
    int cursor = ToolCursor::Cross;
};
const std::vector<BuiltTool> kBuilt = {
    {"BRUSH1", "Circular Brush", 2000, ""},
    {"BRUSH11", "3x3", 2000, ""},
    {"BRUSH12", "11x11", 2000, ""},
    {"BRUSH13", "21x21", 2000, ""},
    {"BRUSH2", "Rectangular Brush", 2000, ""},
    {"BRUSH21", "3x3", 2000, ""},
    {"BRUSH22", "11x11", 2000, ""},
    {"BRUSH23", "21x21", 2000, ""},
    {"PEN1", "Continuous Freehand (P)", 2100, ""},
    {"PEN2", "Dotted Freehand (P)", 2100, ""},
    {"PEN3", "Single Freehand (P)", 2100, ""},
    {"LINE1", "Single Line (L)", 2200, "LINEBAR"},
    {"LINE2", "Continuous Line (L)", 2200, "LINEBAR"},
    {"SPLINE1", "Single Curve (U)", 2300, "CURVEBAR"},
    {"SPLINE2", "Continuous Curve (U)", 2300, "CURVEBAR"},
    {"RECT1", "Filled Rectangle (R)", 2400, ""},
    {"RECT2", "Rectangle (R)", 2400, ""},
    {"RECT3", "Filled Square (R)", 2400, ""},
    {"RECT4", "Square (R)", 2400, ""},
    {"CRC1", "Circle (C)", 2500, "CIRCLEBAR"},
    {"CRC2", "Filled Circle (C)", 2500, ""},
    {"CRC3", "Ellipse (C)", 2500, "ELLIPSEBAR"},
    {"CRC4", "Filled Ellipse (C)", 2500, ""},
    {"FILLDRAW", "Filled Shape (D)", 2600, ""},
    {"FILLPOLY", "Filled Polygon (D)", 2600, ""},
    {"SPRAY1", "Spray (S)", 2900, "SPRAYBAR", ToolCursor::Spray},
    {"SPRAY2", "Airbrush (S)", 2900, "AIRBRUSHBAR", ToolCursor::Airbrush},
    {"FILL1", "Solid Fill (F)", 2800, "SFILLBAR", ToolCursor::Fill},
    {"FILL2", "Pattern Fill (F)", 2800, "PFILLBAR", ToolCursor::Fill},
    {"TEXT", "Write Text (T)", 3100, "TEXTBAR"},
    {"CUT1", "Cut Rectangle (B)", 3000, ""},
    {"CUT2", "Cut Predefined Rectangle (B)", 3000, "CUTBAR"},
    {"CUT3", "Cut Freehand (B)", 3000, ""},
    {"CUT4", "Cut Polygon (B)", 3000, ""},
    {"CUT5", "Cut with Magic Wand (B)", 3000, "WANDBAR", ToolCursor::Wand},
    {"CLONE", "Clone (O)", 2700, "CLONEBAR"},
    {"GETCOL", "Get Color (G)", 3200, "", ToolCursor::Pipette},
    {"CHCOL", "Change Color (H)", 3300, "CHBAR", ToolCursor::Pipette},
    {"GRID", "Grid (Shift+3)", 100, ""},
    {"UNDO", "Undo Last Action (Ctrl+Z)", 3600, ""},
    {"CLEAR", "Clear Image (Ctrl+C)", 3700, ""},
};

} // namespace

TEST(ToolRegistry, EveryEntryHasItsOwnToolOrIsDeliberatelyDisabled) {
    ProgramPalette f;
    std::vector<const PaintTool*> seen;
    for (int v = 0; v < f.palette.VariantCount(); ++v) {
        const PaletteVariant& var = f.palette.Variant(v);
        SCOPED_TRACE(var.icon.toStdString());
        const bool disabled = var.icon == "EMPTY" || kNotBuilt.contains(var.icon);
        EXPECT_EQ(var.tool == nullptr, disabled);
        if (!var.tool) continue;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), var.tool), 0);
        seen.push_back(var.tool);
    }
    for (const ToolEntry& e : AllEntries()) {
        EXPECT_EQ(e.Built(), !kNotBuilt.contains(e.icon)) << e.icon;
        EXPECT_EQ(e.Resolve({}), nullptr) << e.icon; // no objects yet: nothing, not a crash
    }
}

TEST(ToolRegistry, BuiltToolsKeepTheirKeysHintsAndSettings) {
    ProgramPalette f;
    // The objects the built entries must reach, in palette order.
    std::vector<const PaintTool*> objects;
    for (const BuiltInBrushTool& b : f.tools.brushes) objects.push_back(&b);
    objects.insert(objects.end(), {&f.tools.continuousFreehand,
                                   &f.tools.dottedFreehand,
                                   &f.tools.singleFreehand,
                                   &f.tools.singleLine,
                                   &f.tools.continuousLine,
                                   &f.tools.singleCurve,
                                   &f.tools.continuousCurve,
                                   &f.tools.filledRectangle,
                                   &f.tools.rectangle,
                                   &f.tools.filledSquare,
                                   &f.tools.square,
                                   &f.tools.circle,
                                   &f.tools.filledCircle,
                                   &f.tools.ellipse,
                                   &f.tools.filledEllipse,
                                   &f.tools.filledShape,
                                   &f.tools.filledPolygon,
                                   &f.tools.spray,
                                   &f.tools.airbrush,
                                   &f.tools.solidFill,
                                   &f.tools.patternFill,
                                   &f.tools.writeText,
                                   &f.tools.cutRectangle,
                                   &f.tools.cutPredefined,
                                   &f.tools.cutFreehand,
                                   &f.tools.cutPolygon,
                                   &f.tools.cutWand,
                                   &f.tools.clone,
                                   &f.tools.getColour,
                                   &f.tools.changeColour,
                                   &f.engine.gridTool,
                                   &f.engine.undoTool,
                                   &f.engine.clearTool});
    ASSERT_EQ(objects.size(), kBuilt.size());

    size_t i = 0;
    for (int v = 0; v < f.palette.VariantCount(); ++v) {
        const PaletteVariant& var = f.palette.Variant(v);
        if (!var.tool) continue;
        ASSERT_LT(i, kBuilt.size());
        const BuiltTool& want = kBuilt[i];
        SCOPED_TRACE(want.icon);
        EXPECT_EQ(var.icon, want.icon);
        EXPECT_EQ(var.tool, objects[i]);
        EXPECT_EQ(var.hint, want.hint);
        EXPECT_EQ(var.tool->helpContext, want.helpContext);
        EXPECT_EQ(var.tool->optionBar, want.optionBar);
        EXPECT_EQ(var.tool->cursor, want.cursor);
        ++i;
    }
    EXPECT_EQ(i, kBuilt.size());
}

TEST(ToolRegistry, TheBrushesGroupsRightButtonResizesTheBrush) {
    ProgramPalette f;
    EXPECT_EQ(f.palette.Group(0).alternate, &f.tools.transform.brushResize);
    EXPECT_EQ(f.palette.Group(0).alternateKey, 0);
    EXPECT_EQ(f.tools.transform.brushResize.helpContext, 2000);
    EXPECT_EQ(toolregistry::BrushAlternate({}), nullptr);
}

TEST(ToolRegistry, EveryEntryHasAnIconInPaletteOrder) {
    QStringList names;
    for (const ToolEntry& e : AllEntries()) {
        EXPECT_EQ(ToolIcon(e.icon).size(), QSize(ToolIconSize, ToolIconSize)) << e.icon;
        names << e.icon;
    }
    names << "EMPTY"; // the placeholder the registry has no entry for
    EXPECT_EQ(ToolIconNames(), names);
}

// Start-up paints the icons on a thread; they must be the ones painted here.
TEST(ToolRegistry, IconsPaintedOnAThreadAreThoseOfTheMainThread) {
    std::thread(PaintToolIcons).join();
    using namespace toolicons;
    for (const auto family :
         {BrushIcons, FreehandIcons, LineIcons, CurveIcons, ShapeIcons, SprayIcons, FillIcons,
          TextIcons, CutIcons, CloneIcons, ColourIcons, CommandIcons})
        for (const IconEntry& e : family())
            EXPECT_EQ(ToolIcon(e.name), Paint(ToolIconSize, e.draw)) << e.name;
}
