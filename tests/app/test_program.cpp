#include "app/ColourCommands.h"
#include "app/CommandChecks.h"
#include "app/FileLinks.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Program.h"
#include "app/ProgramFixture.h"
#include "app/ToolShell.h"
#include "app/ViewController.h"
#include "app/ui/PreferencesDialog.h"
#include "color/ui/ColorSel.h"
#include "tools/ToolEngine.h"

#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// A run of the start-up against a private settings folder, with every message box answered.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config_.path());
        MessageByKeySeam() = [this](const QString& text, const QString& title, int style) {
            messages_ << QStringLiteral("%1/%2/%3").arg(text, title).arg(style);
            return answer_;
        };
    }
    void TearDown() override { MessageByKeySeam() = nullptr; }

    std::unique_ptr<Program> Start(const QStringList& args) {
        return StartProgram(args, folder_.path());
    }

    QTemporaryDir config_, folder_;
    QStringList messages_;
    int answer_ = kAnswerOk;
};

TEST_F(ProgramRun, UpdateModeWithMissingTargetStartsBlankAtTheGivenSize) {
    const QString target = folder_.filePath("absent.png");
    auto program = Start({"-sLetter head", "37", "12", target});
    ASSERT_FALSE(program->Image().Empty());
    EXPECT_EQ(program->Image().Width(), 37);
    EXPECT_EQ(program->Image().Height(), 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(program->Image().At(x, y), 0u);
    EXPECT_TRUE(program->MainForm()->UpdateMode());
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(ProgramRun, UpdateModeLoadsAnExistingTarget) {
    const QString target = folder_.filePath("my picture.png");
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(QColor(10, 20, 30));
    ASSERT_TRUE(img.save(target));
    // The shell split the name at its blank; it is joined again.
    auto program = Start({"-sTitle", "100", "100", folder_.filePath("my"), "picture.png"});
    ASSERT_EQ(program->Image().Width(), 5);
    EXPECT_EQ(program->Image().At(4, 2), 0x0A141Eu);
    EXPECT_TRUE(program->MainForm()->UpdateMode());
}

TEST_F(ProgramRun, InvalidSwitchIsReportedAndStartUpGoesOn) {
    auto program = Start({"-q", "picture.png"});
    EXPECT_EQ(messages_, QStringList{"InvSwitch/Err/48"});
    EXPECT_EQ(program->Image().Width(), Buffer::default_x);
    EXPECT_FALSE(program->MainForm()->UpdateMode());
}

TEST_F(ProgramRun, UnreadableImageGivesItsMessageAndKeepsTheBlankImage) {
    QFile text(folder_.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just text, not a picture");
    text.close();
    auto program = Start({text.fileName()});
    EXPECT_EQ(messages_, QStringList{"FormNotSup/Err/48"});
    EXPECT_EQ(program->Image().Width(), Buffer::default_x);
    EXPECT_EQ(program->Image().Height(), Buffer::default_y);
}

TEST_F(ProgramRun, ChosenLanguageThatIsMissingIsReportedByKey) {
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "OV", "OrvelPaint");
        s.setValue("TPreferences/Language", "Klingon");
    }
    auto program = Start({});
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_.first().endsWith("/48"));
    EXPECT_FALSE(program->Context().language.Loaded());
}

TEST_F(ProgramRun, WindowMenuSwitchesSlotsAndTheFileLabelFollows) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    const QString first = form.Panel(0);
    EXPECT_FALSE(first.isEmpty());
    form.Action("N31")->trigger();
    EXPECT_EQ(program->Documents().CurrentIndex(), 2);
    EXPECT_EQ(program->Image().Width(), Buffer::default_x);
    EXPECT_EQ(program->Image().At(5, 5), 0u);
    EXPECT_NE(form.Panel(0), first);
    form.Action("PrevImage1")->trigger();
    EXPECT_EQ(program->Documents().CurrentIndex(), 1);
    form.Action("N11")->trigger();
    EXPECT_EQ(program->Documents().CurrentIndex(), 0);
    EXPECT_EQ(form.Panel(0), first);
    // The menu shows the slots with the current one ticked.
    QMenu* window = form.Menu("WindowMenu");
    ASSERT_NE(window, nullptr);
    QMetaObject::invokeMethod(window, "aboutToShow");
    EXPECT_TRUE(form.Action("N11")->isChecked());
    EXPECT_FALSE(form.Action("N21")->isChecked());
    // One of many: menus mark such an item with a radio dot, not a check box.
    ASSERT_NE(form.Action("N11")->actionGroup(), nullptr);
    EXPECT_TRUE(form.Action("N11")->actionGroup()->isExclusive());
    EXPECT_EQ(form.Action("N11")->actionGroup(), form.Action("N101")->actionGroup());
}

TEST_F(ProgramRun, EachModuleRegistersItsCommandsAndNothingElseIsEnabled) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    ExpectEnabledExactlyWhenRegistered(form);
    QStringList expected = {
        "Exit1",         "Contents1",      "ToolbarVisib",  "PaletteVisib",  "PrefsMenu",
        "About1",        "Homepage",       "New1",          "OpenImage",     "SavePicture",
        "SavePictureAs", "UpdateExit1",    "LoadBrush",     "SaveBrush",     "Paint1",
        "Color1",        "Replace1",       "Restore1",      "NextImage1",    "PrevImage1",
        "SelectAll1",    "Crop1",          "Outline1",      "LefttoRight1",  "ToptoBottom1",
        "Center1",       "LTCorner1",      "RTCorner1",     "RBCorner1",     "LBCorner1",
        "Both1",         "Width1",         "Height1",       "Both2",         "Width2",
        "Height2",       "Both3",          "Width3",        "Height3",       "N90Degrees1",
        "N180Degrees1",  "AnyAngle1",      "UpandDown1",    "LeftandRight1", "UpandDown2",
        "LeftandRight2", "StretchMirror1", "Rotate1",       "DropShadow1",   "ExptoClipb",
        "ImpfromClipb",  "SelectSource1",  "Acquire1",      "Print1",        "PrinterSetup1",
        "Info1",         "FilterFactory1", "CustomFilter1", "Browse1"};
    for (int n = 1; n <= 10; ++n) expected << QStringLiteral("N%1%2").arg(n).arg(1);
    EXPECT_EQ(Sorted(form.Commands().Names()), Sorted(expected));
    // A submenu, not a command: it follows its entries, and a fresh run has none.
    EXPECT_FALSE(form.Action("Reopen1")->isEnabled());
}

// Sends a key press the way the window system would, to whatever has the focus.
void Press(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
}

TEST_F(ProgramRun, NumericPadZoomsTheViewUnlessANumberFieldHasTheFocus) {
    const QString file = folder_.filePath("small.png");
    QImage img(100, 50, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(file));
    auto program = Start({file});
    TMainForm& form = *program->MainForm();
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    ViewController& view = program->View();
    const int fitted = view.State().Step();
    Press(&form, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(view.State().Step(), fitted + 1);
    EXPECT_EQ(form.ShowBuf()->width(), 100 * (fitted + 1));
    Press(&form, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(view.State().Step(), fitted);
    // The plus of the main keyboard is no zoom key.
    Press(&form, Qt::Key_Plus);
    EXPECT_EQ(view.State().Step(), fitted);
    // Typed into the Zoom field, the key belongs to the field.
    auto* field = form.findChild<QAbstractSpinBox*>("Zoom");
    ASSERT_NE(field, nullptr);
    field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), field);
    Press(field, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(view.State().Step(), fitted);
    Press(field, Qt::Key_Escape); // gives the focus back to the window
    EXPECT_NE(QApplication::focusWidget(), field);
    // Z fits and Z again returns.
    view.SetStep(20); // larger than the window
    Press(&form, Qt::Key_Z);
    EXPECT_EQ(view.State().Step(), fitted);
    Press(&form, Qt::Key_Z);
    EXPECT_EQ(view.State().Step(), 20);
}

TEST_F(ProgramRun, ClearAndUndoFromTheirHotKeysAndOnlyBuiltToolsEnabled) {
    const QString file = folder_.filePath("red.png");
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 0));
    ASSERT_TRUE(img.save(file));
    auto program = Start({file});
    TMainForm& form = *program->MainForm();
    QApplication::setActiveWindow(&form);
    form.setFocus();
    Press(&form, Qt::Key_C, Qt::ControlModifier); // Clear Image, in the background colour
    EXPECT_EQ(program->Image().At(3, 3), 0x000000u);
    EXPECT_EQ(program->Documents().CurrentDoc().changeCount, 1);
    EXPECT_TRUE(program->Documents().CurrentDoc().untitled);
    Press(&form, Qt::Key_Z, Qt::ControlModifier); // Undo Last Action
    EXPECT_EQ(program->Image().At(3, 3), 0xFF0000u);
    EXPECT_FALSE(program->Documents().CurrentDoc().untitled);
    Press(&form, Qt::Key_Z, Qt::ControlModifier); // Undo again: the clear comes back
    EXPECT_EQ(program->Image().At(3, 3), 0x000000u);

    const Palette& palette = program->Tools().ToolPalette();
    int enabled = 0;
    for (int g = 0; g < palette.GroupCount(); ++g) enabled += palette.Group(g).enabled;
    // brushes, freehand, lines, curves, boxes, ellipses, filled shapes, spray, fills, text, cut,
    // clone, get colour, change colour, grid, undo, clear
    EXPECT_EQ(enabled, 17);
}

TEST_F(ProgramRun, GridToolShowsItsBarAndFollowsItsFields) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    QApplication::setActiveWindow(&form);
    form.setFocus();
    EXPECT_FALSE(form.GridBar()->isVisibleTo(&form));
    Press(&form, Qt::Key_NumberSign, Qt::ShiftModifier); // Shift+3: the grid
    EXPECT_TRUE(form.GridBar()->isVisibleTo(&form));
    EXPECT_TRUE(program->State().gridOn);
    auto* dx = form.findChild<QSpinBox*>("GridDx");
    ASSERT_NE(dx, nullptr);
    EXPECT_EQ(dx->value(), 8);
    dx->setValue(5);
    EXPECT_EQ(program->State().grid.dx, 5);
    Press(&form, Qt::Key_NumberSign, Qt::ShiftModifier); // and off again
    EXPECT_FALSE(form.GridBar()->isVisibleTo(&form));
    EXPECT_FALSE(program->State().gridOn);
}

TEST_F(ProgramRun, GridBarBrushSizeAndSnappedCoordinates) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    ToolEngine& engine = program->Tools().Engine();
    QApplication::setActiveWindow(&form);
    form.setFocus();
    program->View().SetStep(1);
    Press(&form, Qt::Key_NumberSign, Qt::ShiftModifier); // the grid, spacing 8
    // The status panel shows the position the tool uses: 13,13 snaps to 16,16.
    QMouseEvent move(QEvent::MouseMove, QPointF(13, 13), QPointF(13, 13), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.ShowBuf(), &move);
    EXPECT_EQ(engine.Position(), (Pair{16, 16}));
    EXPECT_EQ(form.Panel(2), "16,16");

    ProgramState& state = program->State();
    state.brush.SelectBuiltIn(BrushShape::Square, 5, state.drawCol, state.backCol);
    const Pair size{state.brush.source.Width(), state.brush.source.Height()};
    ASSERT_NE(size.x, 8);
    auto* button = form.findChild<QPushButton*>("BrushSizeBtn");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    button->click();
    EXPECT_EQ(form.findChild<QSpinBox*>("GridDx")->value(), size.x);
    EXPECT_EQ(form.findChild<QSpinBox*>("GridDy")->value(), size.y);
    EXPECT_EQ(state.grid.dx, size.x);
}

TEST_F(ProgramRun, TheRightButtonOnTheBarsOpensNoBarMenu) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    for (QToolBar* bar : {form.ToolsBar(), form.PaletteBar()}) {
        bool opened = false;
        // A menu would run its own event loop here: look for it from inside, then close it.
        QTimer::singleShot(200, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened = true;
                popup->close();
            }
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                bar->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(bar, &click);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_FALSE(opened) << bar->objectName().toStdString();
    }
}

TEST_F(ProgramRun, CtrlLAndCtrlTFlipTheirPreferences) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    QApplication::setActiveWindow(&form);
    form.setFocus();
    const Preferences before = program->Context().prefs;
    Press(&form, Qt::Key_L, Qt::ControlModifier);
    EXPECT_NE(program->Context().prefs.Clipping, before.Clipping);
    Press(&form, Qt::Key_T, Qt::ControlModifier);
    EXPECT_NE(program->Context().prefs.AntiAlias, before.AntiAlias);
    Press(&form, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(program->Context().prefs.Clipping, before.Clipping);
}

TEST_F(ProgramRun, ToolKeysReachToolsButNotAnOpenMenu) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    QApplication::setActiveWindow(&form);
    form.setFocus();
    ToolEngine& engine = program->Tools().Engine();
    StandardTools& tools = program->Tools().Tools();
    Press(&form, Qt::Key_L);
    EXPECT_EQ(engine.CurrentTool(), &tools.singleLine);

    QMenu* file = form.Menu(QStringLiteral("File1"));
    ASSERT_NE(file, nullptr);
    file->popup(QPoint(0, 0));
    ASSERT_EQ(QApplication::activePopupWidget(), file);
    Press(&form, Qt::Key_U); // a menu letter, not the Curves key
    EXPECT_EQ(engine.CurrentTool(), &tools.singleLine);
    file->close();

    // Shift+B restores the brush a custom one replaced, with no cut tool built yet.
    Buffer pixels;
    ASSERT_TRUE(pixels.Alloc({4, 3}));
    pixels.Box(pixels.Bounds(), 0x00FF00);
    ASSERT_TRUE(engine.state.brush.SetCustom(pixels, CustomBrush{}, engine.state.drawCol,
                                             engine.state.backCol));
    Press(&form, Qt::Key_B, Qt::ShiftModifier);
    EXPECT_FALSE(engine.state.brush.custom);
    EXPECT_EQ(engine.state.brush.source.Width(), 3);
    EXPECT_EQ(engine.CurrentTool(), &tools.singleLine);
}

TEST_F(ProgramRun, ColourKeysOpenTheSelectorAndPreferencesCancelKeepsThePalette) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    QApplication::setActiveWindow(&form);
    form.setFocus();
    TColorSel* selector = program->ColourSelector();
    ASSERT_NE(selector, nullptr);
    Press(&form, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(selector->isVisible());
    EXPECT_EQ(selector->windowTitle(), QStringLiteral("SelBackCol"));
    EXPECT_EQ(selector->Colour(), program->State().backCol);
    selector->reject();
    Press(&form, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(selector->windowTitle(), QStringLiteral("SelDrawCol"));
    selector->reject();

    // Trying 24 cells in the preferences previews them; Cancel brings the 8 back.
    FileLinks links(config_.path());
    {
        TPreferences dialog(program->Context(), links, form.preferencesHooks, &form);
        auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("PalEntries"));
        ASSERT_NE(sizes, nullptr);
        sizes->setCurrentIndex(3);
        EXPECT_EQ(program->Colours().Palette().Count(), 24);
        dialog.reject();
    }
    EXPECT_EQ(program->Colours().Palette().Count(), 8);
    EXPECT_EQ(program->Context().prefs.Palette, 0);
}

TEST_F(ProgramRun, BrushMenuCropsToTheBrushAndTheHandleKeySteps) {
    auto program = Start({});
    TMainForm& form = *program->MainForm();
    QApplication::setActiveWindow(&form);
    form.setFocus();
    ProgramState& state = program->State();
    // Select All, then a brush two pixels narrower: Crop gives a picture of its size and the New
    // dialog remembers it.
    ImageDoc& doc = program->Documents().CurrentDoc();
    doc.image.Box(doc.image.Bounds(), 0x00FF00);
    doc.image.Box({0, 0, 1, doc.image.bottom}, state.backCol);
    form.Action("SelectAll1")->trigger();
    const int w = doc.image.Width() - 2, h = doc.image.Height();
    EXPECT_EQ(state.brush.source.Width(), w);
    EXPECT_EQ(program->Tools().Engine().CurrentTool(), &program->Tools().Tools().dottedFreehand);
    form.Action("Crop1")->trigger();
    EXPECT_EQ(program->Image().Width(), w);
    EXPECT_EQ(program->Image().At(0, 0), 0x00FF00u);
    EXPECT_EQ(program->NewImageSize(), (Pair{w, h}));
    // Numeric-pad 5 and Clear step the handle; Ctrl+E puts it back in the centre.
    Press(&form, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(state.brush.handle, 1);
    Press(&form, Qt::Key_Clear);
    EXPECT_EQ(state.brush.handle, 2);
    form.Action("Center1")->trigger();
    EXPECT_EQ(state.brush.handle, 0);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(',').toStdString();
}

} // namespace
