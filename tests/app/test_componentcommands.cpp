#include "app/ComponentCommands.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Program.h"
#include "app/ProgramFixture.h"
#include "app/ToolShell.h"
#include "browser/ui/BrowseForm.h"
#include "filters/ui/CompForm.h"
#include "tools/ToolEngine.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The program started from a folder whose Comps/Tests holds the recording component (no icon),
// which paints its whole rectangle white when it runs.
class ComponentRun : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config_.path());
        MessageByKeySeam() = [](const QString&, const QString&, int) { return kAnswerOk; };
        const QString comps = QDir(folder_.path()).filePath(QStringLiteral("Comps/Tests"));
        ASSERT_TRUE(QDir().mkpath(comps));
        ASSERT_TRUE(QFile::copy(QStringLiteral(OV_BUILD_DIR "/dialogcomps/recorder.ovc"),
                                comps + QStringLiteral("/recorder.ovc")));
        program_ = StartProgram({}, folder_.path());
    }
    void TearDown() override {
        program_.reset();
        MessageByKeySeam() = nullptr;
    }
    static void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    Buffer& Image() { return program_->State().docs.CurrentDoc().image; }
    bool AllWhite() {
        for (int y = 0; y < Image().Height(); ++y)
            for (int x = 0; x < Image().Width(); ++x)
                if ((Image().At(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
        return true;
    }

    QTemporaryDir config_, folder_;
    std::unique_ptr<Program> program_;
};

TEST_F(ComponentRun, TheCategoryGetsASubmenuWithBrowseAndTheEntry) {
    ComponentCommands& comps = program_->Components();
    ASSERT_EQ(comps.Table().components.size(), 1u);
    QMenu* sub = program_->MainForm()->findChild<QMenu*>(QStringLiteral("CompCategory1"));
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->title(), QStringLiteral("&TESTS"));
    const QList<QAction*> actions = sub->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions[0]->isEnabled()); // Browse: the category in the effect browser
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), QStringLiteral("&Recorder"));
    EXPECT_EQ(actions[2], comps.MenuEntry(0));
    // No icon: no drawing mode, and the palette keeps its disabled placeholder.
    EXPECT_EQ(comps.BrushTool(0), nullptr);
}

// Start-up reads the components on a thread (ScanAhead); each icon must reach its own component.
TEST(ComponentScan, AComponentReadBesideStartUpKeepsItsIcon) {
    QTemporaryDir config, folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const QString comps = QDir(folder.path()).filePath(QStringLiteral("Comps/Brushes"));
    ASSERT_TRUE(QDir().mkpath(comps));
    for (const char* file : {"dodge.ovc", "dodge.png"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(OV_BUILD_DIR "/Comps/Brushes/") + file,
                                comps + u'/' + QLatin1String(file)));
    ASSERT_TRUE(QFile::copy(QStringLiteral(OV_BUILD_DIR "/dialogcomps/recorder.ovc"),
                            comps + QStringLiteral("/recorder.ovc")));
    // The second start takes the descriptors and the icon from the scan cache the first wrote.
    QImage icons[2];
    for (QImage& icon : icons) {
        std::unique_ptr<Program> program = StartProgram({}, folder.path());
        ComponentCommands& found = program->Components();
        ASSERT_EQ(found.Table().components.size(), 2u);
        // Sorted by file: dodge (with its icon) before recorder (none).
        ASSERT_NE(found.BrushTool(0), nullptr);
        EXPECT_EQ(found.BrushTool(1), nullptr);
        const Palette& palette = program->Tools().ToolPalette();
        for (int v = 0; v < palette.VariantCount(); ++v)
            if (palette.Variant(v).tool == found.BrushTool(0)) icon = palette.Variant(v).iconImage;
    }
    ASSERT_FALSE(icons[0].isNull());
    EXPECT_EQ(icons[1].convertToFormat(QImage::Format_ARGB32),
              icons[0].convertToFormat(QImage::Format_ARGB32));
}

// The scan starts before the language is loaded; a help file named for translation must still
// get the language's name for it.
TEST(ComponentScan, AHelpFileNamedForTranslationGetsTheLanguagesName) {
    QTemporaryDir config, folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const QString comps = QDir(folder.path()).filePath(QStringLiteral("Comps/Help"));
    ASSERT_TRUE(QDir().mkpath(comps));
    ASSERT_TRUE(QFile::copy(QStringLiteral(OV_BUILD_DIR "/namedhelp/namedhelp.ovc"),
                            comps + QStringLiteral("/namedhelp.ovc")));
    for (const char* page : {"guide.html", "GUIDE.HLP"}) {
        QFile f(comps + u'/' + QLatin1String(page));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    WriteLanguage(folder.path(), QStringLiteral("English.lng"),
                  "[Messages]\r\n~GUIDE.HLP=guide.html\r\n");
    std::unique_ptr<Program> program = StartProgram({}, folder.path());
    const comp::ComponentTable& table = program->Components().Table();
    ASSERT_EQ(table.components.size(), 1u);
    EXPECT_EQ(QFileInfo(table.components[0].helpPath).fileName(), QStringLiteral("guide.html"));
}

TEST_F(ComponentRun, CancelGivesThePictureBackAndOkKeepsOneChange) {
    ComponentCommands& comps = program_->Components();
    ToolEngine& engine = program_->Tools().Engine();
    PaintTool* before = engine.CurrentTool();
    const Buffer original = Image();
    const int changes = program_->State().docs.CurrentDoc().changeCount;
    struct Case {
        bool ok;
        bool white;
        int changes;
    } cases[] = {{false, false, 0}, {true, true, 1}};
    for (const Case& c : cases) {
        comps.MenuEntry(0)->trigger();
        Settle();
        ASSERT_NE(comps.Form(), nullptr);
        EXPECT_EQ(engine.CurrentTool(), comps.ImageTool(0));
        EXPECT_FALSE(program_->MainForm()->menuBar()->isEnabled()) << c.ok;
        comps.Form()->PreviewBtnClick(); // no "P" button, but the handler runs the picture
        if (c.ok)
            comps.Form()->OkBtnClick();
        else
            comps.Form()->CancelBtnClick();
        Settle();
        EXPECT_EQ(comps.Form(), nullptr) << c.ok;
        EXPECT_EQ(comps.ActiveSession(), nullptr) << c.ok;
        EXPECT_EQ(engine.CurrentTool(), before) << c.ok;
        EXPECT_TRUE(program_->MainForm()->menuBar()->isEnabled()) << c.ok;
        EXPECT_EQ(AllWhite(), c.white) << c.ok;
        if (!c.white) {
            EXPECT_EQ(Image().Width(), original.Width());
            EXPECT_EQ(Image().At(3, 3), original.At(3, 3));
        }
        EXPECT_EQ(program_->State().docs.CurrentDoc().changeCount - changes, c.changes) << c.ok;
    }
}

TEST_F(ComponentRun, BrowseShowsTheCategoryRunThroughItsComponentsAndAClickStartsOne) {
    ComponentCommands& comps = program_->Components();
    const Buffer original = Image();
    ASSERT_FALSE(AllWhite());
    QString title, group, caption;
    bool thumbWhite = false, pictureKept = false;
    // The browser runs modal: answer it from the event loop once its cell is made; after 20 s
    // close it, so a fault fails the test instead of hanging it.
    QTimer poll, watchdog;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* form = qobject_cast<TBrowseForm*>(QApplication::activeModalWidget());
        const Buffer* thumb = form ? form->ThumbOf(0) : nullptr;
        if (!thumb) return;
        poll.stop();
        title = form->windowTitle();
        group = form->PlaceList()->currentText();
        caption = form->CaptionOf(0);
        // The recorder paints white: its preview did, on the browser's own buffers.
        thumbWhite = !thumb->Empty() &&
                     (thumb->At(thumb->Width() / 2, thumb->Height() / 2) & 0xFFFFFF) == 0xFFFFFF;
        pictureKept = Image().Width() == original.Width() && !AllWhite() &&
                      Image().At(5, 5) == original.At(5, 5);
        form->ClickEntry(0);
    });
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    poll.start(10);
    watchdog.setSingleShot(true);
    watchdog.start(20000);
    program_->MainForm()->findChild<QAction*>(QStringLiteral("CompCategory1Browse"))->trigger();
    Settle();
    EXPECT_EQ(title, program_->Context().Translate(QStringLiteral("EffBr")));
    EXPECT_EQ(group, QStringLiteral("TESTS"));
    EXPECT_EQ(caption, QStringLiteral("Recorder"));
    EXPECT_TRUE(thumbWhite);
    EXPECT_TRUE(pictureKept);
    // Chosen: the component starts as from its menu entry, with its dialog.
    ASSERT_NE(comps.Form(), nullptr);
    EXPECT_EQ(program_->Tools().Engine().CurrentTool(), comps.ImageTool(0));
    comps.Form()->OkBtnClick();
    Settle();
    EXPECT_TRUE(AllWhite());
}

} // namespace
