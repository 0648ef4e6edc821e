#include "app/AppContext.h"
#include "app/CommandChecks.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/ProgramFixture.h"
#include "app/ProgressDisplay.h"
#include "raster/GFXFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <map>
#include <set>

// Exported by QtGui for QtTest: runs a key press through the application's shortcut map.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace {

struct Form {
    QTemporaryDir dir;
    AppContext context;
    TMainForm form{context};
    Form() { context.programFolder = dir.path(); }
};

struct SeamGuard {
    ~SeamGuard() { MessageByKeySeam() = nullptr; }
};

// Every menu of the bar by its caption path ("&Brush/&Halve").
void CollectMenus(QMenu* menu, const QString& path, std::map<QString, QMenu*>& out) {
    out[path] = menu;
    for (QAction* a : menu->actions())
        if (a->menu()) CollectMenus(a->menu(), path + "/" + a->text(), out);
}

std::map<QString, QMenu*> MenusOf(TMainForm& form) {
    std::map<QString, QMenu*> out;
    for (QAction* a : form.menuBar()->actions())
        if (a->menu()) CollectMenus(a->menu(), a->text(), out);
    return out;
}

struct Item {
    const char* menu;
    const char* caption;
    QKeySequence shortcut;
    const char* name;
};

// The menu as the program's documentation gives it; names are the handlers less "Click".
const Item kItems[] = {
    {"&File", "&New...", Qt::CTRL | Qt::Key_N, "New1"},
    {"&File", "&Open...", Qt::CTRL | Qt::Key_O, "OpenImage"},
    {"&File", "&Browse...", Qt::CTRL | Qt::SHIFT | Qt::Key_R, "Browse1"},
    {"&File", "&Save", Qt::CTRL | Qt::Key_S, "SavePicture"},
    {"&File", "Save &as...", {}, "SavePictureAs"},
    {"&File", "S&elect Source...", {}, "SelectSource1"},
    {"&File", "Ac&quire...", {}, "Acquire1"},
    {"&File", "Expor&t to Clipboard", {}, "ExptoClipb"},
    {"&File", "&Import from Clipboard", {}, "ImpfromClipb"},
    {"&File", "&Print...", {}, "Print1"},
    {"&File", "P&rinter Setup...", {}, "PrinterSetup1"},
    {"&File", "&Update && Exit", {}, "UpdateExit1"},
    {"&File", "E&xit", Qt::ALT | Qt::Key_X, "Exit1"},
    {"&Brush", "&Crop", Qt::CTRL | Qt::Key_P, "Crop1"},
    {"&Brush", "Select &All", Qt::CTRL | Qt::Key_A, "SelectAll1"},
    {"&Brush", "Res&tore", {}, "Restore1"},
    {"&Brush", "&Outline", Qt::CTRL | Qt::SHIFT | Qt::Key_O, "Outline1"},
    {"&Brush/&Halve", "&Both", Qt::CTRL | Qt::Key_H, "Both1"},
    {"&Brush/&Halve", "&Width", {}, "Width1"},
    {"&Brush/&Halve", "&Height", {}, "Height1"},
    {"&Brush/&Double", "&Both", Qt::CTRL | Qt::Key_D, "Both2"},
    {"&Brush/&Double", "&Width", {}, "Width2"},
    {"&Brush/&Double", "&Height", {}, "Height2"},
    {"&Brush/Str&etch", "&Both", Qt::CTRL | Qt::Key_B, "Both3"},
    {"&Brush/Str&etch", "&Width", {}, "Width3"},
    {"&Brush/Str&etch", "&Height", {}, "Height3"},
    {"&Brush/&Mirror", "&Left-to-Right", Qt::CTRL | Qt::Key_X, "LefttoRight1"},
    {"&Brush/&Mirror", "&Top-to-Bottom", Qt::CTRL | Qt::Key_Y, "ToptoBottom1"},
    {"&Brush/&Rotate", "&90 Degrees", {}, "N90Degrees1"},
    {"&Brush/&Rotate", "&180 Degrees", {}, "N180Degrees1"},
    {"&Brush/&Rotate", "&Any Angle", Qt::CTRL | Qt::Key_R, "AnyAngle1"},
    {"&Brush/&Bend", "&Up-and-Down", {}, "UpandDown1"},
    {"&Brush/&Bend", "&Left-and-Right", {}, "LeftandRight1"},
    {"&Brush/Sh&ear", "&Up-and-Down", {}, "UpandDown2"},
    {"&Brush/Sh&ear", "&Left-and-Right", {}, "LeftandRight2"},
    {"&Brush", "Drop Shado&w...", {}, "DropShadow1"},
    {"&Brush", "O&pen...", {}, "LoadBrush"},
    {"&Brush", "&Save...", {}, "SaveBrush"},
    {"&Brush/Ha&ndle", "&Center", Qt::CTRL | Qt::Key_E, "Center1"},
    {"&Brush/Ha&ndle", "&Left Top Corner", {}, "LTCorner1"},
    {"&Brush/Ha&ndle", "Right &Top Corner", {}, "RTCorner1"},
    {"&Brush/Ha&ndle", "&Right Bottom Corner", {}, "RBCorner1"},
    {"&Brush/Ha&ndle", "Left &Bottom Corner", {}, "LBCorner1"},
    {"&Image", "Stretch / &Mirror", {}, "StretchMirror1"},
    {"&Image", "&Rotate", {}, "Rotate1"},
    {"&Image", "&Filter Factory", {}, "FilterFactory1"},
    {"&Image", "&Custom Filter", {}, "CustomFilter1"},
    {"&Image", "&Info...", Qt::CTRL | Qt::Key_I, "Info1"},
    {"&Techniques", "&Paint", Qt::Key_F2, "Paint1"},
    {"&Techniques", "&Color", Qt::Key_F3, "Color1"},
    {"&Techniques", "&Replace", Qt::Key_F4, "Replace1"},
    {"&Options", "&Toolbar Visible", {}, "ToolbarVisib"},
    {"&Options", "&Palette Visible", {}, "PaletteVisib"},
    {"&Options", "Preferences...", {}, "PrefsMenu"},
    {"&Window", "1", Qt::ALT | Qt::Key_1, "N11"},
    {"&Window", "2", Qt::ALT | Qt::Key_2, "N21"},
    {"&Window", "3", Qt::ALT | Qt::Key_3, "N31"},
    {"&Window", "4", Qt::ALT | Qt::Key_4, "N41"},
    {"&Window", "5", Qt::ALT | Qt::Key_5, "N51"},
    {"&Window", "6", Qt::ALT | Qt::Key_6, "N61"},
    {"&Window", "7", Qt::ALT | Qt::Key_7, "N71"},
    {"&Window", "8", Qt::ALT | Qt::Key_8, "N81"},
    {"&Window", "9", Qt::ALT | Qt::Key_9, "N91"},
    {"&Window", "10", Qt::ALT | Qt::Key_0, "N101"},
    {"&Window", "Next Image", Qt::ALT | Qt::Key_BracketRight, "NextImage1"},
    {"&Window", "Prev Image", Qt::ALT | Qt::Key_BracketLeft, "PrevImage1"},
    {"&Help", "&Contents", {}, "Contents1"},
    {"&Help", "Visit &HomePage", {}, "Homepage"},
    {"&Help", "&About...", {}, "About1"},
};

// What the window carries out itself, with no other module started.
const QStringList kWindowCommands = {"Exit1",     "Contents1", "ToolbarVisib", "PaletteVisib",
                                     "PrefsMenu", "About1",    "Homepage"};

} // namespace

TEST(MainForm, EveryMenuItemWithCaptionShortcutAndName) {
    Form f;
    EXPECT_EQ(f.form.objectName(), "MainForm");
    const std::map<QString, QMenu*> menus = MenusOf(f.form);
    const QStringList top = {"&File",    "&Brush",  "&Image", "&Techniques",
                             "&Options", "&Window", "&Help"};
    QStringList barMenus;
    for (QAction* a : f.form.menuBar()->actions()) barMenus << a->text();
    EXPECT_EQ(barMenus, top);
    for (const char* sub :
         {"&File/Reopen", "&Brush/&Halve", "&Brush/&Double", "&Brush/Str&etch", "&Brush/&Mirror",
          "&Brush/&Rotate", "&Brush/&Bend", "&Brush/Sh&ear", "&Brush/Ha&ndle"})
        EXPECT_TRUE(menus.count(sub)) << sub;

    std::set<QAction*> expected;
    for (const Item& item : kItems) {
        SCOPED_TRACE(std::string(item.menu) + " > " + item.caption);
        ASSERT_TRUE(menus.count(item.menu));
        QAction* found = nullptr;
        for (QAction* a : menus.at(item.menu)->actions())
            if (a->text() == item.caption) found = a;
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->objectName(), item.name);
        EXPECT_EQ(found->shortcut(), item.shortcut);
        EXPECT_EQ(f.form.Action(item.name), found);
        // Owned by the window itself, so that "[MainForm]" entries reach it.
        EXPECT_EQ(found->parent(), &f.form);
        expected.insert(found);
    }
    // Nothing beyond the list, except separators and submenus.
    for (const auto& [path, menu] : menus)
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && !a->menu()) {
                EXPECT_TRUE(expected.count(a))
                    << path.toStdString() << " " << a->text().toStdString();
            }
    EXPECT_EQ(f.form.Action("NoSuchThing"), nullptr);
}

TEST(MainForm, OnlyRegisteredCommandsAreEnabled) {
    Form f;
    ExpectEnabledExactlyWhenRegistered(f.form);
    EXPECT_EQ(Sorted(f.form.Commands().Names()), Sorted(kWindowCommands));
    for (const char* name : {"ToolbarVisib", "PaletteVisib"}) {
        EXPECT_TRUE(f.form.Action(name)->isCheckable());
        EXPECT_TRUE(f.form.Action(name)->isChecked());
    }
    EXPECT_TRUE(f.form.Action("FilterFactory1")->isVisible());
    EXPECT_FALSE(f.form.Action("Reopen1")->isEnabled());

    f.form.SetActionEnabled("Crop1", true);
    EXPECT_TRUE(f.form.Action("Crop1")->isEnabled());
    f.form.SetActionsEnabled({"Crop1", "Exit1"}, false);
    EXPECT_FALSE(f.form.Action("Crop1")->isEnabled());
    EXPECT_FALSE(f.form.Action("Exit1")->isEnabled());
    f.form.SetActionEnabled("NoSuchThing", true); // ignored
}

TEST(MainForm, ShortcutsReachTheirActionsOnlyWhenEnabled) {
    Form f;
    TMainForm& m = f.form;
    m.show();
    QApplication::setActiveWindow(&m);
    ASSERT_TRUE(m.isActiveWindow());
    auto press = [&](int key, Qt::KeyboardModifiers mods) {
        return qt_sendShortcutOverrideEvent(&m, 0, key, mods, QString(), false, 1);
    };
    int next = 0, both = 0;
    QObject::connect(m.Action("NextImage1"), &QAction::triggered, [&] { ++next; });
    QObject::connect(m.Action("Both1"), &QAction::triggered, [&] { ++both; });
    press(Qt::Key_BracketRight, Qt::AltModifier);
    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(next + both, 0); // disabled until their feature is wired
    m.SetActionsEnabled({"NextImage1", "Both1"}, true);
    EXPECT_TRUE(press(Qt::Key_BracketRight, Qt::AltModifier));
    EXPECT_TRUE(press(Qt::Key_H, Qt::ControlModifier)); // in a submenu
    EXPECT_EQ(next, 1);
    EXPECT_EQ(both, 1);
    EXPECT_TRUE(press(Qt::Key_X, Qt::AltModifier));
    EXPECT_FALSE(m.isVisible());
}

TEST(MainForm, UpdateModeSwapsSaveForUpdateAndExit) {
    Form f;
    auto visible = [&](const char* n) { return f.form.Action(n)->isVisible(); };
    EXPECT_FALSE(f.form.UpdateMode());
    EXPECT_TRUE(visible("SavePicture"));
    EXPECT_TRUE(visible("SavePictureAs"));
    EXPECT_FALSE(visible("UpdateExit1"));
    f.form.SetUpdateMode(true);
    EXPECT_TRUE(f.form.UpdateMode());
    EXPECT_FALSE(visible("SavePicture"));
    EXPECT_FALSE(visible("SavePictureAs"));
    EXPECT_TRUE(visible("UpdateExit1"));
    EXPECT_TRUE(visible("Exit1"));
    f.form.SetUpdateMode(false);
    EXPECT_TRUE(visible("SavePicture"));
    EXPECT_FALSE(visible("UpdateExit1"));
}

TEST(MainForm, BarsAndTheirTicks) {
    Form f;
    TMainForm& m = f.form;
    EXPECT_EQ(m.ToolsBar()->objectName(), "ToolBar");
    EXPECT_EQ(m.PaletteBar()->objectName(), "PaletteBar");
    EXPECT_EQ(m.OptionBar()->objectName(), "Toolbar97");
    EXPECT_EQ(m.GridBar()->objectName(), "GridBar");
    EXPECT_EQ(m.OptionBar()->findChild<QLabel*>(), m.OptionBarLabel());
    EXPECT_EQ(m.OptionBarLabel()->objectName(), "Toolbar97Label");
    EXPECT_EQ(m.toolBarArea(m.OptionBar()), Qt::BottomToolBarArea);
    EXPECT_EQ(m.toolBarArea(m.GridBar()), Qt::BottomToolBarArea);
    m.show();
    EXPECT_TRUE(m.ToolsBar()->isVisible());
    EXPECT_TRUE(m.PaletteBar()->isVisible());
    EXPECT_FALSE(m.OptionBar()->isVisible());
    EXPECT_FALSE(m.GridBar()->isVisible());

    QAction* tools = m.Action("ToolbarVisib");
    QAction* palette = m.Action("PaletteVisib");
    tools->trigger();
    EXPECT_FALSE(m.ToolsBar()->isVisible());
    EXPECT_FALSE(tools->isChecked());
    tools->trigger();
    EXPECT_TRUE(m.ToolsBar()->isVisible());
    EXPECT_TRUE(tools->isChecked());
    palette->trigger();
    EXPECT_FALSE(m.PaletteBar()->isVisible());
    EXPECT_FALSE(palette->isChecked());
    EXPECT_TRUE(tools->isChecked());
    palette->trigger();

    // Closed by the bar's own means: the tick follows.
    m.PaletteBar()->toggleViewAction()->trigger();
    EXPECT_FALSE(m.PaletteBar()->isVisible());
    EXPECT_FALSE(palette->isChecked());
    m.PaletteBar()->show();
    EXPECT_TRUE(palette->isChecked());
    m.ToolsBar()->hide();
    EXPECT_FALSE(tools->isChecked());
    // Hiding the whole window is not closing a bar.
    m.hide();
    EXPECT_TRUE(palette->isChecked());
}

TEST(MainForm, ToolbarsAndPlacementRoundTrip) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("settings.ini");
    {
        Form f;
        TMainForm& m = f.form;
        m.show();
        m.addToolBar(Qt::BottomToolBarArea, m.PaletteBar());
        m.ToolsBar()->hide();
        m.OptionBar()->show(); // shown only with its tool: not restored
        m.resize(640, 455);
        QSettings s(ini, QSettings::IniFormat);
        m.SaveToolbars(s);
        m.SavePlacement(s);
    }
    QSettings s(ini, QSettings::IniFormat);
    EXPECT_TRUE(s.childGroups().contains("Toolbars"));
    Form f;
    TMainForm& m = f.form;
    m.LoadPlacement(s);
    m.LoadToolbars(s);
    m.show();
    EXPECT_EQ(m.size(), QSize(640, 455));
    EXPECT_EQ(m.toolBarArea(m.PaletteBar()), Qt::BottomToolBarArea);
    EXPECT_FALSE(m.ToolsBar()->isVisible());
    EXPECT_FALSE(m.Action("ToolbarVisib")->isChecked());
    EXPECT_TRUE(m.Action("PaletteVisib")->isChecked());
    EXPECT_FALSE(m.OptionBar()->isVisible());
    EXPECT_FALSE(m.GridBar()->isVisible());
    EXPECT_EQ(m.minimumSize(), QSize(486, 320));
}

TEST(MainForm, StatusBarPanels) {
    Form f;
    TMainForm& m = f.form;
    m.show();
    const int widths[5] = {192, 16, 72, 80, 50};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        QLabel* panel = m.PanelLabel(i);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->parentWidget(), m.statusBar());
        EXPECT_EQ(panel->width(), widths[i]);
        EXPECT_EQ((panel->alignment() & Qt::AlignHCenter) != 0, i >= 1 && i <= 3);
        m.SetPanel(i, QString("text %1").arg(i));
        EXPECT_EQ(m.Panel(i), QString("text %1").arg(i));
        if (i > 0) {
            EXPECT_GT(panel->x(), m.PanelLabel(i - 1)->x());
        }
    }
    // The last panel takes the timing of long work whole.
    const QString timing = QStringLiteral("Processed in  12.34 s");
    m.SetPanel(4, timing);
    m.statusBar()->layout()->activate();
    EXPECT_GE(m.PanelLabel(4)->contentsRect().width(),
              m.PanelLabel(4)->fontMetrics().horizontalAdvance(timing));
    EXPECT_EQ(m.FileLabel()->objectName(), "FileLabel");
    EXPECT_EQ(m.PanelLabel(5), nullptr);
    m.SetPanel(-1, "ignored");
    EXPECT_EQ(m.Panel(7), "");
    EXPECT_EQ(m.ProgressBar()->objectName(), "ProgressBar");
    EXPECT_EQ(m.ProgressBar()->maximum(), 100);
    EXPECT_FALSE(m.ProgressBar()->isVisible());
}

TEST(MainForm, NoImageAreaIsBlackWithWhiteFrameAndDiagonals) {
    Form f;
    TMainForm& m = f.form;
    m.show();
    ASSERT_EQ(m.ScrollBox()->objectName(), "ScrollBox");
    ASSERT_EQ(m.ScrollBox()->widget(), m.ShowBuf());
    EXPECT_EQ(m.ShowBuf()->objectName(), "ShowBuf");
    const QImage img = m.ShowBuf()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    ASSERT_GT(w, 20);
    ASSERT_GT(h, 20);
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    EXPECT_EQ(img.pixel(0, h / 2), white);
    EXPECT_EQ(img.pixel(w - 1, h / 2), white);
    EXPECT_EQ(img.pixel(w / 2, 0), white);
    EXPECT_EQ(img.pixel(w / 2, h - 1), white);
    EXPECT_EQ(img.pixel(w / 2, h / 4), black);
    EXPECT_EQ(img.pixel(w / 4, h / 2), black);
    // Each diagonal passes within two pixels of its ideal place at a quarter of the width.
    const int x = w / 4;
    const int down = x * (h - 1) / (w - 1), up = (h - 1) - down;
    for (int y0 : {down, up}) {
        bool hit = false;
        for (int y = y0 - 2; y <= y0 + 2; ++y) hit |= img.pixel(x, y) == white;
        EXPECT_TRUE(hit) << "diagonal near " << x << "," << y0;
    }
}

TEST(MainForm, RetranslateReachesActionsMenusAndTheWindow) {
    Form f;
    WriteLanguage(f.dir.path(), "deutsch.lng",
                  "[Messages]\r\nErr=Fehler\r\n[MainForm]\r\nCaption=Malprogramm\r\n"
                  "File1.Caption=&Datei\r\nNew1.Caption=&Neu...\r\nNew1.Hint=Neues@Bild\r\n"
                  "Halve1.Caption=&Halbieren\r\nUpdateExit1.Caption=&Zurueck\r\n");
    ASSERT_EQ(f.context.language.Load(f.dir.path(), "deutsch"), std::nullopt);
    f.form.Retranslate(f.context.language);
    EXPECT_EQ(f.form.windowTitle(), "Malprogramm");
    EXPECT_EQ(f.form.Menu("File1")->title(), "&Datei");
    EXPECT_EQ(f.form.menuBar()->actions().first()->text(), "&Datei");
    EXPECT_EQ(f.form.Action("New1")->text(), "&Neu...");
    EXPECT_EQ(f.form.Action("New1")->toolTip(), "Neues Bild");
    EXPECT_EQ(f.form.Menu("Halve1")->title(), "&Halbieren");
    EXPECT_EQ(f.form.Action("UpdateExit1")->text(), "&Zurueck");
    EXPECT_FALSE(f.form.Action("UpdateExit1")->isVisible());
    EXPECT_EQ(f.form.Action("OpenImage")->text(), "&Open...");
}

TEST(MainForm, HomePageFailureIsReportedByKey) {
    SeamGuard guard;
    Form f;
    QStringList messages;
    MessageByKeySeam() = [&](const QString& t, const QString& c, int style) {
        messages << QString("%1/%2/%3").arg(t, c).arg(style);
        return 1;
    };
    QList<QUrl> opened;
    bool works = true;
    f.form.openUrl = [&](const QUrl& url) {
        opened << url;
        return works;
    };
    f.form.Action("Homepage")->trigger();
    EXPECT_EQ(opened, QList<QUrl>{TMainForm::HomePage()});
    EXPECT_TRUE(messages.isEmpty());
    works = false;
    f.form.Action("Homepage")->trigger();
    EXPECT_EQ(messages, QStringList{"CantOpenBrowser/Err/48"});
}

TEST(MainForm, PreferencesAndAboutOpenModalAndExitCloses) {
    Form f;
    TMainForm& m = f.form;
    m.show();
    int opening = 0;
    m.onPreferencesOpening = [&] { ++opening; };
    QStringList seen;
    auto closeNextModal = [&] {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            timer->stop();
            timer->deleteLater();
            seen << modal->objectName();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->button(QMessageBox::Ok)->click();
            else
                modal->close();
        });
        timer->start();
    };
    closeNextModal();
    m.Action("PrefsMenu")->trigger();
    EXPECT_EQ(opening, 1);
    closeNextModal();
    m.Action("About1")->trigger();
    EXPECT_EQ(seen, (QStringList{"Preferences", "AboutBox"}));

    m.Action("Exit1")->trigger();
    EXPECT_FALSE(m.isVisible());
}

namespace {

struct Progress {
    Form f;
    qint64 now = 1000;
    int repaints = 0;
    ProgressDisplay display{f.form, f.context.language, [this] { return now; }};
    Progress() {
        f.form.show();
        display.repaintView = [this] { ++repaints; };
    }
};

} // namespace

TEST(ProgressDisplay, StepsAreThrottledAndTheViewRepaintedEveryTwoSeconds) {
    Progress p;
    QProgressBar* bar = p.f.form.ProgressBar();
    bar->setValue(77);
    p.display.Start();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->text(), "Processing...");
    EXPECT_EQ(bar->geometry(), p.f.form.FileLabel()->rect());

    // (time after start, percent, bar afterwards)
    const int steps[][3] = {{50, 10, 0},   {99, 15, 0},   {100, 20, 20}, {150, 30, 20},
                            {199, 40, 20}, {200, 50, 50}, {450, 60, 60}, {451, 70, 60}};
    for (const auto& s : steps) {
        p.now = 1000 + s[0];
        EXPECT_TRUE(p.display.Step(s[1]));
        EXPECT_EQ(bar->value(), s[2]) << "at " << s[0];
    }
    EXPECT_EQ(p.repaints, 0);
    p.now = 1000 + 1999;
    p.display.Step(80);
    EXPECT_EQ(p.repaints, 0);
    p.now = 1000 + 2000;
    p.display.Step(81);
    EXPECT_EQ(p.repaints, 1);
    p.now = 1000 + 3999;
    p.display.Step(82);
    EXPECT_EQ(p.repaints, 1);
    p.now = 1000 + 4000;
    p.display.Step(83);
    EXPECT_EQ(p.repaints, 2);
    p.now = 1000 + 4200;
    p.display.Step(250); // out of range: full
    EXPECT_EQ(bar->value(), 100);

    p.now = 1000 + 3456;
    p.display.Stop();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(p.f.form.Panel(4), "ProcIn   3.46 Sec");

    // A second run counts from its own start.
    p.now = 10000;
    p.display.Start();
    p.now = 10050;
    p.display.Step(40);
    EXPECT_EQ(bar->value(), 0);
    p.now = 71250;
    p.display.Stop();
    EXPECT_EQ(p.f.form.Panel(4), "ProcIn  61.25 Sec");
}

TEST(ProgressDisplay, StopTextIsTranslated) {
    Progress p;
    WriteLanguage(p.f.dir.path(), "english.lng", "[Messages]\r\nProcIn=Done@in\r\nSec=s\r\n");
    ASSERT_EQ(p.f.context.language.Load(p.f.dir.path(), "english"), std::nullopt);
    p.display.Start();
    p.now += 123456;
    p.display.Stop();
    EXPECT_EQ(p.f.form.Panel(4), "Done in 123.46 s");
}

TEST(ProgressDisplay, DrivenByTheRasterLibrary) {
    Progress p;
    QTemporaryDir dir;
    Buffer image;
    ASSERT_TRUE(image.Alloc({40, 30}));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) image.pixels[y * image.stride + x] = 0x123456;
    RegisterProgressDisplay(p.display);
    p.f.form.SetPanel(4, "before");
    GFXtra32 extra;
    GFXFile::Save(image, dir.filePath("a.png"), &extra, nullptr);
    UnregisterProgressDisplay();
    EXPECT_EQ(p.f.form.Panel(4), "ProcIn   0.00 Sec");
    EXPECT_FALSE(p.f.form.ProgressBar()->isVisible());
    p.f.form.SetPanel(4, "after");
    GFXFile::Save(image, dir.filePath("b.png"), &extra, nullptr);
    EXPECT_EQ(p.f.form.Panel(4), "after");
}
