#include "color/ui/ColorSel.h"
#include "lang/Language.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A swatch that records every colour written to it (each write is one colour-change notice).
struct FakeSwatch {
    uint32_t colour = 0;
    std::vector<uint32_t> sets;
    ColourSwatch Swatch() {
        return {[this] { return colour; },
                [this](uint32_t c) {
                    colour = c;
                    sets.push_back(c);
                }};
    }
};

struct Fixture {
    Language language;
    QWidget view;
    TColorSel sel{language, &view};
    FakeSwatch swatch;

    QScrollBar* Bar(const char* name) { return sel.findChild<QScrollBar*>(name); }
    QLineEdit* Edit(const char* name) { return sel.findChild<QLineEdit*>(name); }
    QWidget* Widget(const char* name) { return sel.findChild<QWidget*>(name); }

    void Open(uint32_t colour) {
        swatch.colour = colour;
        sel.Open(swatch.Swatch(), "Drawing Color", false);
        swatch.sets.clear();
    }
    // Replaces the edit's text as the user would: delete, then the new text in one go (typing
    // it key by key would apply "2" and "25" on the way to "256").
    void Type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(edit, &del);
        if (text.isEmpty()) return;
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &key);
    }
    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButtons held) {
        QWidget* w = Widget("HSVBuf");
        QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void Key(int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&sel, &e);
    }
};

TEST(ColorSel, ControlsAsTheLanguageFileNamesThem) {
    Fixture f;
    EXPECT_EQ(f.sel.objectName(), "ColorSel");
    EXPECT_EQ(f.sel.property("helpContext").toInt(), 1000);
    EXPECT_TRUE(f.sel.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f.sel.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    for (const char* name : {"Red", "Green", "Blue"}) {
        QScrollBar* bar = f.Bar(name);
        ASSERT_NE(bar, nullptr) << name;
        EXPECT_EQ(bar->orientation(), Qt::Vertical);
        EXPECT_EQ(bar->maximum(), 255);
        EXPECT_EQ(bar->pageStep(), 32);
    }
    for (const char* name : {"RedEdit", "GreenEdit", "BlueEdit"}) {
        ASSERT_NE(f.Edit(name), nullptr) << name;
        EXPECT_EQ(f.Edit(name)->maxLength(), 3);
    }
    ASSERT_NE(f.Bar("HVal"), nullptr);
    EXPECT_EQ(f.Bar("HVal")->maximum(), 359);
    EXPECT_EQ(f.Widget("HSVBuf")->size(), QSize(128, 128));
    EXPECT_NE(f.sel.findChild<QPushButton*>("OkBtn"), nullptr);
    EXPECT_NE(f.sel.findChild<QPushButton*>("CancelBtn"), nullptr);
}

TEST(ColorSel, OpenShowsTheSwatchColour) {
    Fixture f;
    f.view.setGeometry(100, 100, 600, 400);
    f.view.show();
    f.Open(0x00FF80); // H 150 (2 + (128 - 0) / 255 = 2.50196 -> 150.1), S 255, V 255
    EXPECT_TRUE(f.sel.isVisible());
    EXPECT_EQ(f.sel.windowTitle(), "Drawing Color");
    EXPECT_EQ(f.Bar("Red")->value(), 255);
    EXPECT_EQ(f.Bar("Green")->value(), 0);
    EXPECT_EQ(f.Bar("Blue")->value(), 127);
    EXPECT_EQ(f.Edit("BlueEdit")->text(), "128");
    EXPECT_EQ(f.Bar("HVal")->value(), 150);
    EXPECT_EQ(f.sel.KeptColour(), 0x00FF80u);
    // The marker: bright colour, so black at (255 >> 1, 255 >> 1).
    EXPECT_EQ(f.sel.Picture().At(127, 127), 0x000000u);
    const QPoint centre = f.sel.geometry().center();
    EXPECT_NEAR(centre.x(), f.view.mapToGlobal(f.view.rect().center()).x(), 2);
    EXPECT_NEAR(centre.y(), f.view.mapToGlobal(f.view.rect().center()).y(), 2);
}

TEST(ColorSel, ChannelChangesGoToTheSwatch) {
    Fixture f;
    f.Open(0x102030);
    f.Bar("Red")->setValue(255 - 200);
    ASSERT_EQ(f.swatch.sets.size(), 1u);
    EXPECT_EQ(f.swatch.sets.back(), 0xC82030u);
    EXPECT_EQ(f.Edit("RedEdit")->text(), "200");
    // (200, 32, 48): V 200, S = 168 * 255 / 200 = 214.2, h = -16 / 168 * 60 = -5.7 -> 355.
    EXPECT_EQ(f.Bar("HVal")->value(), 355);
    EXPECT_EQ(f.sel.Saturation(), 214);
    EXPECT_EQ(f.sel.Value(), 200);
    EXPECT_EQ(f.sel.CurrentGuard(), TColorSel::Idle);

    f.Type(f.Edit("BlueEdit"), "7");
    EXPECT_EQ(f.Bar("Blue")->value(), 248);
    EXPECT_EQ(f.swatch.sets.back(), 0xC82007u);
}

TEST(ColorSel, BadEditTextChangesNothing) {
    Fixture f;
    f.Open(0x405060);
    for (const char* text : {"256", "-1", "12a", "", "+5", " 5"}) {
        f.Type(f.Edit("GreenEdit"), text);
        emit f.Edit("GreenEdit")->editingFinished();
        EXPECT_EQ(f.Bar("Green")->value(), 255 - 0x50) << text;
    }
    EXPECT_TRUE(f.swatch.sets.empty());
    EXPECT_EQ(f.sel.Colour(), 0x405060u);
    f.Type(f.Edit("GreenEdit"), "255");
    EXPECT_EQ(f.sel.Colour(), 0x40FF60u);
}

TEST(ColorSel, PictureClickPicksSaturationAndValue) {
    Fixture f;
    f.Open(0x404040);
    f.Bar("HVal")->setValue(120);
    f.Mouse(QEvent::MouseButtonPress, {127, 127}, Qt::LeftButton);
    f.Mouse(QEvent::MouseButtonRelease, {127, 127}, Qt::NoButton);
    EXPECT_EQ(f.sel.Saturation(), 255);
    EXPECT_EQ(f.sel.Value(), 255);
    EXPECT_EQ(f.sel.Colour(), 0x00FF00u);
    EXPECT_EQ(f.swatch.sets.back(), 0x00FF00u);
    EXPECT_EQ(f.Bar("HVal")->value(), 120);

    // Column 0 is grey of value 2y; outside points clamp to the picture.
    f.Mouse(QEvent::MouseButtonPress, {0, 50}, Qt::LeftButton);
    EXPECT_EQ(f.sel.Colour(), 0x646464u);
    f.Mouse(QEvent::MouseButtonRelease, {0, 50}, Qt::NoButton);
}

TEST(ColorSel, DraggingNeverMovesTheHue) {
    Fixture f;
    f.Open(0x404040);
    f.Bar("HVal")->setValue(7);
    f.Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    for (int x : {90, 60, 30, 3}) {
        f.Mouse(QEvent::MouseMove, {x, 120}, Qt::LeftButton);
        EXPECT_EQ(f.Bar("HVal")->value(), 7);
    }
    // A channel changed while the button is held leaves the hue bar alone too.
    f.Bar("Green")->setValue(0);
    EXPECT_EQ(f.Bar("HVal")->value(), 7);
    // Dragged beyond the bottom right: S = V = 255, HSV (7, 255, 255) = (255, 29, 0).
    f.Mouse(QEvent::MouseMove, {400, 300}, Qt::LeftButton);
    EXPECT_EQ(f.sel.Colour(), 0xFF1D00u);
    f.Mouse(QEvent::MouseButtonRelease, {400, 300}, Qt::NoButton);
    const size_t sets = f.swatch.sets.size();
    f.Mouse(QEvent::MouseMove, {10, 10}, Qt::NoButton);
    EXPECT_EQ(f.swatch.sets.size(), sets);
}

TEST(ColorSel, HueChanges) {
    Fixture f;
    f.Open(0x808080);
    for (int h : {40, 200, 359}) {
        f.Bar("HVal")->setValue(h);
        EXPECT_EQ(f.sel.Colour(), 0x808080u) << h;
    }
    f.Open(0xFF0000);
    f.Bar("HVal")->setValue(240);
    EXPECT_EQ(f.sel.Colour(), 0x0000FFu);
    EXPECT_EQ(f.swatch.sets, std::vector<uint32_t>{0x0000FFu}); // one notice, no half colour
    EXPECT_EQ(f.Bar("HVal")->value(), 240);
    EXPECT_EQ(f.sel.CurrentGuard(), TColorSel::Idle);
}

TEST(ColorSel, CancelRestoresOkKeeps) {
    Fixture f;
    f.Open(0x102030);
    f.Bar("Red")->setValue(0);
    f.sel.findChild<QPushButton*>("CancelBtn")->click();
    EXPECT_FALSE(f.sel.isVisible());
    EXPECT_EQ(f.swatch.sets.back(), 0x102030u);
    EXPECT_EQ(f.swatch.colour, 0x102030u);

    f.Open(0x102030);
    f.Bar("Red")->setValue(0);
    f.sel.findChild<QPushButton*>("OkBtn")->click();
    EXPECT_FALSE(f.sel.isVisible());
    EXPECT_EQ(f.swatch.colour, 0xFF2030u);
    EXPECT_EQ(f.sel.KeptColour(), 0xFF2030u);

    // Escape and the close button cancel too.
    f.Open(0x000001);
    f.Bar("Green")->setValue(0);
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.swatch.colour, 0x000001u);
    f.Open(0x000001);
    f.Bar("Green")->setValue(0);
    f.sel.close();
    EXPECT_FALSE(f.sel.isVisible());
    EXPECT_EQ(f.swatch.colour, 0x000001u);
}

TEST(ColorSel, EnterIsOkEvenFromAnEditBox) {
    Fixture f;
    f.Open(0x000000);
    f.Type(f.Edit("RedEdit"), "99");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.Edit("RedEdit"), &enter);
    EXPECT_FALSE(f.sel.isVisible());
    EXPECT_EQ(f.sel.result(), QDialog::Accepted);
    EXPECT_EQ(f.swatch.colour, 0x630000u);
}

TEST(ColorSel, ModalOpenClosesAVisibleSelectorFirst) {
    Fixture f;
    FakeSwatch other;
    f.Open(0x111111);
    f.Bar("Red")->setValue(0); // edited live, not kept
    other.colour = 0x222222;
    QTimer::singleShot(0, &f.sel, [&] {
        f.Bar("Blue")->setValue(0);
        f.sel.findChild<QPushButton*>("OkBtn")->click();
    });
    f.sel.Open(other.Swatch(), "Param", true);
    EXPECT_EQ(f.swatch.colour, 0x111111u);
    EXPECT_EQ(other.colour, 0x2222FFu);
    EXPECT_EQ(f.sel.result(), QDialog::Accepted);
}

} // namespace
