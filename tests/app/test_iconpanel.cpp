#include "tools/Palette.h"
#include "tools/PaletteTestTools.h"
#include "tools/ui/IconPanel.h"
#include "tools/ui/ToolPaletteBar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace {

using palettetest::FakeTool;
using palettetest::kIcons;
using palettetest::ToolFor;
PaintTool* const kCutAlt = FakeTool(60);

// Group numbers of the standard palette.
constexpr int kBrushes = 0, kFreehand = 1, kLines = 2, kEllipses = 5, kText = 9, kCut = 10,
              kEmpty = 15;

struct PaletteUi {
    Palette palette{[](const QString& k) { return k; }};
    std::vector<std::pair<PaintTool*, int>> selected;
    IconPanel panel{palette};
    std::unique_ptr<ToolPaletteBar> bar;

    PaletteUi() {
        PaletteTools tools;
        tools.toolOf = palettetest::EntryTool;
        tools.cutAlternate = kCutAlt;
        RegisterStandardPalette(palette, tools);
        palette.SetSelectHandler([this](PaintTool* t, int v) { selected.push_back({t, v}); });
        bar = std::make_unique<ToolPaletteBar>(palette, panel);
        bar->move(0, 0);
        bar->show();
    }
    int Visible() const {
        int n = 0;
        for (int i = 0; i < Palette::PanelButtons; ++i)
            n += panel.VariantButton(i) && panel.VariantButton(i)->isVisible();
        return n;
    }
};

void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button) {
    const QPointF local(10, 10);
    QMouseEvent e(type, local, w->mapToGlobal(local), button,
                  type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(w, QEvent::MouseButtonPress, button);
    Mouse(w, QEvent::MouseButtonRelease, button);
}

} // namespace

TEST(IconPanelLayout, CutIsOneRowOfFiveBrushesTwoRowsOfFour) {
    PaletteUi ui;
    const QRect screen(0, 0, 1024, 768);
    ui.panel.ShowFor(kCut, {100, 200}, screen);
    ASSERT_TRUE(ui.panel.isVisible());
    EXPECT_EQ(ui.panel.geometry(), QRect(128, 200, 164, 36));
    EXPECT_EQ(ui.Visible(), 5);
    EXPECT_EQ(ui.panel.VariantButton(4)->geometry(), QRect(130, 2, 32, 32));
    EXPECT_EQ(ui.panel.VariantButton(1)->toolTip(), "Cut Predefined Rectangle (B)");

    ui.panel.ShowFor(kBrushes, {100, 200}, screen);
    EXPECT_EQ(ui.panel.geometry(), QRect(128, 200, 132, 68));
    EXPECT_EQ(ui.Visible(), 8);
    EXPECT_EQ(ui.panel.VariantButton(5)->geometry(), QRect(34, 34, 32, 32));
    EXPECT_FALSE(ui.panel.VariantButton(8)->isVisible());

    // Near the right edge it opens to the left of the button.
    ui.panel.ShowFor(kBrushes, {950, 200}, screen);
    EXPECT_EQ(ui.panel.geometry().left(), 950 - 132);

    // A single variant opens nothing.
    ui.panel.ShowFor(kText, {100, 200}, screen);
    EXPECT_FALSE(ui.panel.isVisible());
}

TEST(IconPanelClose, EscapeAndFocusLossCloseUnlessSelecting) {
    PaletteUi ui;
    const QRect screen(0, 0, 1024, 768);
    ui.panel.ShowFor(kCut, {0, 0}, screen);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&ui.panel, &other);
    EXPECT_TRUE(ui.panel.isVisible());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&ui.panel, &esc);
    EXPECT_FALSE(ui.panel.isVisible());

    ui.panel.ShowFor(kCut, {0, 0}, screen);
    QEvent deactivate(QEvent::WindowDeactivate);
    ui.panel.SetSelecting(true);
    QApplication::sendEvent(&ui.panel, &deactivate);
    EXPECT_TRUE(ui.panel.isVisible());
    ui.panel.SetSelecting(false);
    QApplication::sendEvent(&ui.panel, &deactivate);
    EXPECT_FALSE(ui.panel.isVisible());
}

TEST(IconPanelSelect, ChoosingAVariantUpdatesTheButtonAndSelects) {
    PaletteUi ui;
    ui.panel.ShowFor(kEllipses, {0, 0}, QRect(0, 0, 1024, 768));
    ui.panel.VariantButton(2)->click();
    EXPECT_FALSE(ui.panel.isVisible());
    ASSERT_FALSE(ui.selected.empty());
    EXPECT_EQ(ui.selected.back(), std::make_pair(ToolFor("CRC3"), 21));
    EXPECT_EQ(ui.bar->Button(kEllipses)->toolTip(), "Ellipse (C)");
    // Clicking the group's button now selects what it shows.
    Click(ui.bar->Button(kEllipses));
    EXPECT_EQ(ui.selected.back().first, ToolFor("CRC3"));
}

TEST(ToolPaletteBarButtons, TwoColumnsOfGroupButtons) {
    PaletteUi ui;
    ASSERT_EQ(ui.bar->ButtonCount(), 18);
    EXPECT_EQ(ui.bar->Button(0)->geometry(), QRect(0, 0, 28, 28));
    EXPECT_EQ(ui.bar->Button(3)->geometry(), QRect(28, 28, 28, 28));
    EXPECT_EQ(ui.bar->Button(17)->geometry(), QRect(28, 224, 28, 28));
    EXPECT_EQ(ui.bar->size(), QSize(56, 252));
    EXPECT_FALSE(ui.bar->Button(kEmpty)->isEnabled());
    EXPECT_EQ(ui.bar->Button(16)->toolTip(), "Undo Last Action (Ctrl+Z)");
    EXPECT_FALSE(ui.bar->Button(16)->isCheckable());
}

TEST(ToolPaletteBarButtons, ClicksHoldsAndTheRightButton) {
    PaletteUi ui;
    // Left click selects the shown variant; the button goes down only when the engine says so.
    Click(ui.bar->Button(kLines));
    ASSERT_EQ(ui.selected.size(), 1u);
    EXPECT_EQ(ui.selected.back(), std::make_pair(ToolFor("LINE1"), 11));
    EXPECT_FALSE(ui.bar->Button(kLines)->isChecked());
    ui.palette.ShowTool(ToolFor("LINE1"), 11);
    EXPECT_TRUE(ui.bar->Button(kLines)->isChecked());
    ui.palette.ShowTool(ToolFor("PEN2"), -1);
    EXPECT_FALSE(ui.bar->Button(kLines)->isChecked());
    EXPECT_TRUE(ui.bar->Button(kFreehand)->isChecked());

    // Holding a group of several variants arms the timer; its tick opens the pop-up beside it.
    Mouse(ui.bar->Button(kCut), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(ui.panel.TimerActive());
    ui.panel.ShowIconPanel();
    ASSERT_TRUE(ui.panel.isVisible());
    EXPECT_EQ(ui.panel.ShownGroup(), kCut);
    const QPoint at = ui.bar->Button(kCut)->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(ui.panel.geometry(), QRect(at.x() + 28, at.y(), 164, 36));
    ui.panel.CloseForm();
    // A quick release stops the timer; a one-variant group never arms it.
    Mouse(ui.bar->Button(kBrushes), QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(ui.bar->Button(kBrushes), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(ui.panel.TimerActive());
    Mouse(ui.bar->Button(kText), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_FALSE(ui.panel.TimerActive());
    Mouse(ui.bar->Button(kText), QEvent::MouseButtonRelease, Qt::LeftButton);

    // Right button: Freehand has no alternate and only closes the pop-up; Cut has one.
    ui.panel.ShowFor(kCut, {0, 0}, QRect(0, 0, 1024, 768));
    const size_t before = ui.selected.size();
    Click(ui.bar->Button(kFreehand), Qt::RightButton);
    EXPECT_EQ(ui.selected.size(), before);
    EXPECT_FALSE(ui.panel.isVisible());
    Click(ui.bar->Button(kCut), Qt::RightButton);
    ASSERT_EQ(ui.selected.size(), before + 1);
    EXPECT_EQ(ui.selected.back(), std::make_pair(kCutAlt, -1));

    // A hot key that steps the variant changes the icon's hint on the bar.
    ui.palette.LookupKey('P', ToolFor("PEN2"), false);
    EXPECT_EQ(ui.bar->Button(kFreehand)->toolTip(), "Single Freehand (P)");
}
