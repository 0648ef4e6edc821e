#include "app/AppContext.h"
#include "app/ColourCommands.h"
#include "app/MainForm.h"
#include "color/ui/PalettePanel.h"
#include "document/FakeHost.h"
#include "tools/FakeToolHost.h"
#include "tools/ToolEngine.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QuickPaletteBar : public ::testing::Test {
protected:
    void SetUp() override {
        context.programFolder = dir.path();
        form = std::make_unique<TMainForm>(context);
        ASSERT_TRUE(state.docs.CurrentDoc().MakeBlank({20, 20}));
    }
    void Build() {
        colours = std::make_unique<ColourCommands>(*form, context, engine, host);
        colours->swatchTaken = [this](int which) { taken.push_back(which); };
        colours->openSelector = [this](int which) { selectorOpened.push_back(which); };
    }
    PalettePanel& Panel() { return *colours->Panel(); }
    // A press and release at a point of the panel, on whatever lies there.
    QWidget* Press(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys = {}) {
        QWidget* target = Panel().childAt(at);
        if (!target) return nullptr;
        const QPointF local = target->mapFrom(&Panel(), at);
        QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), button,
                          button, keys);
        QApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), button,
                            Qt::NoButton, keys);
        QApplication::sendEvent(target, &release);
        return target;
    }
    void WriteFile(const QString& name, const QByteArray& text) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    AppContext context;
    std::unique_ptr<TMainForm> form;
    FakeHost host;
    FakeToolHost view;
    ProgramState state{host, host, host};
    ToolEngine engine{state, view, nullptr};
    std::unique_ptr<ColourCommands> colours;
    std::vector<int> taken, selectorOpened;
};

} // namespace

TEST_F(QuickPaletteBar, LeadsThePaletteBarWithItsControlsInPlace) {
    context.prefs.Palette = 3;
    Build();
    QToolBar* bar = form->PaletteBar();
    EXPECT_EQ(bar->widgetForAction(bar->actions().value(0)), &Panel());
    EXPECT_EQ(Panel().size(), QSize(56, 176));
    ASSERT_EQ(Panel().CellCount(), 24);
    EXPECT_EQ(Panel().Cell(23)->geometry(), QRect(42, 90, 14, 18));

    auto named = [&](const char* name) { return Panel().findChild<QWidget*>(name); };
    EXPECT_EQ(named("DrawCol")->geometry(), QRect(14, 140, 28, 24));
    EXPECT_EQ(named("BackCol")->geometry(), QRect(0, 128, 55, 48));
    EXPECT_EQ(named("OpenPaletteBtn")->geometry(), QRect(0, 112, 28, 16));
    EXPECT_EQ(named("SavePaletteBtn")->geometry(), QRect(28, 112, 28, 16));
    EXPECT_EQ(Panel().OpenButton()->text(), QStringLiteral("Open"));
    EXPECT_EQ(Panel().SaveButton()->toolTip(), QStringLiteral("Save Palette"));
    // The drawing colour lies over the background colour.
    EXPECT_EQ(Panel().childAt(20, 150), named("DrawCol"));
    EXPECT_EQ(Panel().childAt(2, 130), named("BackCol"));
    EXPECT_EQ(Panel().childAt(50, 170), named("BackCol"));

    EXPECT_EQ(Panel().SwatchColour(DrawSwatch), state.drawCol);
    EXPECT_EQ(Panel().SwatchColour(BackSwatch), state.backCol);
}

TEST_F(QuickPaletteBar, PlainPressesTakeTheCellColourIntoTheSwatch) {
    Build();
    ASSERT_TRUE(state.brush.SelectBuiltIn(BrushShape::Circular, 2, state.drawCol, state.backCol));
    engine.PrepareStamp(false);
    ASSERT_EQ(state.brush.stamp.At(2, 2), 0xFFFFFFu);

    // Cell 2 of the 8-cell palette (0000FF) lies at (0, 28).
    ASSERT_EQ(Press({5, 33}, Qt::LeftButton), Panel().Cell(2));
    EXPECT_EQ(state.drawCol, 0x0000FFu);
    EXPECT_EQ(Panel().SwatchColour(DrawSwatch), 0x0000FFu);
    EXPECT_EQ(state.brush.stamp.At(2, 2), 0x0000FFu); // the colour-change notice ran
    EXPECT_EQ(taken, std::vector<int>{DrawSwatch});

    ASSERT_EQ(Press({40, 100}, Qt::RightButton), Panel().Cell(7)); // FFFFFF
    EXPECT_EQ(state.backCol, 0xFFFFFFu);
    EXPECT_EQ(Panel().SwatchColour(BackSwatch), 0xFFFFFFu);
    EXPECT_EQ(state.drawCol, 0x0000FFu);
    EXPECT_EQ(taken, (std::vector<int>{DrawSwatch, BackSwatch}));

    // The middle button does nothing, with or without a modifier.
    ASSERT_EQ(Press({5, 60}, Qt::MiddleButton), Panel().Cell(4));
    Press({5, 60}, Qt::MiddleButton, Qt::ShiftModifier);
    EXPECT_EQ(state.drawCol, 0x0000FFu);
    EXPECT_EQ(state.backCol, 0xFFFFFFu);
    EXPECT_EQ(colours->Palette().Colour(4), 0x00FF00u);
    EXPECT_EQ(taken.size(), 2u);
    EXPECT_TRUE(selectorOpened.empty());
}

TEST_F(QuickPaletteBar, ModifierPressesStoreTheSwatchIntoTheCell) {
    state.drawCol = 0x123456;
    state.backCol = 0xFEDCBA;
    Build();
    ASSERT_EQ(Press({5, 5}, Qt::LeftButton, Qt::ShiftModifier), Panel().Cell(0));
    EXPECT_EQ(colours->Palette().Colour(0), 0x123456u);
    EXPECT_EQ(Panel().Cell(0)->toolTip(), QStringLiteral("(18,52,86)"));
    EXPECT_EQ(state.drawCol, 0x123456u);

    Press({30, 5}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(colours->Palette().Colour(1), 0xFEDCBAu);
    EXPECT_EQ(Panel().Cell(1)->toolTip(), QStringLiteral("(254,220,186)"));
    Press({30, 33}, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(colours->Palette().Colour(3), 0x123456u);
    EXPECT_TRUE(taken.empty());

    // A stored colour survives a change of size and is picked up again by a plain press.
    colours->RebuildPalette(20);
    EXPECT_EQ(context.prefs.Palette, 3);
    ASSERT_EQ(Panel().CellCount(), 24);
    state.drawCol = 0;
    ASSERT_EQ(Press({2, 2}, Qt::LeftButton), Panel().Cell(0));
    EXPECT_EQ(state.drawCol, 0x123456u);
}

TEST_F(QuickPaletteBar, SwatchesOpenTheSelectorAndFollowTheirColours) {
    Build();
    Press({20, 150}, Qt::LeftButton);
    Press({52, 172}, Qt::RightButton);
    EXPECT_EQ(selectorOpened, (std::vector<int>{DrawSwatch, BackSwatch}));

    colours->SetSwatchColour(BackSwatch, 0x01ABCDEF);
    EXPECT_EQ(state.backCol, 0xABCDEFu);
    EXPECT_EQ(Panel().SwatchColour(BackSwatch), 0xABCDEFu);
    state.drawCol = 0x445566;
    colours->SyncSwatches();
    EXPECT_EQ(Panel().SwatchColour(DrawSwatch), 0x445566u);
}

TEST_F(QuickPaletteBar, PreferencePreviewBuildsAtTheChosenSize) {
    Build();
    context.prefs.Palette = 4;
    colours->BuildFromPreference();
    EXPECT_EQ(Panel().CellCount(), 32);
    context.prefs.Palette = 99; // a damaged setting still gives a palette
    colours->BuildFromPreference();
    EXPECT_EQ(Panel().CellCount(), 32);
    EXPECT_EQ(context.prefs.Palette, 4);
    context.prefs.Palette = 1;
    colours->BuildFromPreference();
    EXPECT_EQ(Panel().CellCount(), 12);
}

TEST_F(QuickPaletteBar, PaletteFilesThroughTheButtons) {
    Build();
    QStringList asked;
    std::optional<QString> answer;
    colours->saveDialog = [&](const QString& title, const QString& remembered) {
        asked << title + QLatin1Char('|') + remembered;
        return answer;
    };
    colours->openDialog = colours->saveDialog;

    Panel().SaveButton()->click(); // cancelled
    const QString saved = dir.filePath(QStringLiteral("mine.pal"));
    answer = saved;
    Press({5, 5}, Qt::LeftButton, Qt::ShiftModifier); // white into cell 0
    Panel().SaveButton()->click();
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("8\nFFFFFF\n00FFFF\n"));

    QByteArray text("24\n");
    for (int i = 0; i < 24; ++i) text += QByteArray::number(0x10000 * i + 7, 16) + "\n";
    const QString big = dir.filePath(QStringLiteral("big.pal"));
    WriteFile(big, text);
    answer = big;
    Panel().OpenButton()->click();
    EXPECT_EQ(asked, (QStringList{"Save Fast Palette|", "Save Fast Palette|",
                                  "Open Fast Palette|" + saved}));
    ASSERT_EQ(Panel().CellCount(), 24);
    EXPECT_EQ(context.prefs.Palette, 3);
    EXPECT_EQ(colours->Palette().Colour(23), 0x170007u);
    EXPECT_EQ(Panel().Cell(23)->toolTip(), QStringLiteral("(23,0,7)"));
    EXPECT_EQ(colours->LastPaletteFile(), big);
    EXPECT_TRUE(host.boxes.empty());

    answer = dir.filePath(QStringLiteral("missing.pal"));
    Panel().OpenButton()->click();
    answer = dir.filePath(QStringLiteral("no/folder/x.pal"));
    Panel().SaveButton()->click();
    EXPECT_EQ(host.boxes, (std::vector<FakeHost::Box>{{true, "ErrOpenPal", "Err", 48},
                                                      {true, "ErrSavePal", "Err", 48}}));
    EXPECT_EQ(Panel().CellCount(), 24);
}
