#include "app/BrowseCommands.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Program.h"
#include "app/ProgramFixture.h"
#include "browser/ui/BrowseForm.h"
#include "filters/CompScan.h"
#include "lang/Language.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <numeric>

namespace {

void Picture(const QString& path, int w, int h, uint32_t colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(colour));
    ASSERT_TRUE(img.save(path));
}

void WaitIdle(const TBrowseForm& form) {
    QDeadlineTimer deadline(20000);
    while ((!form.Worker() || !form.Worker()->Idle()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(form.Worker() && form.Worker()->Idle());
}

std::vector<int> Sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<int> Span(int first, int last) {
    std::vector<int> v(size_t(last - first + 1));
    std::iota(v.begin(), v.end(), first);
    return v;
}

} // namespace

TEST(BrowseForm, AWindowTallEnoughForEightRowsShowsThemAllAndScrolls) {
    QTemporaryDir dir;
    for (int i = 0; i < 40; ++i)
        Picture(dir.filePath(QString("p%1.png").arg(i, 2, 10, QChar('0'))), 8, 6, 0x4080C0);
    Language language;
    TBrowseForm form(language, dir.path(), {});
    form.resize(form.width(), 8 * 120 + 9 + 200);
    form.show();
    QCoreApplication::processEvents();
    ASSERT_GE(form.View()->height(), 8 * 120 + 9);
    WaitIdle(form);
    // The parent and 40 pictures: at least eight whole rows are on show.
    const browse::Range range = browse::VisibleRange(0, form.View()->height());
    EXPECT_EQ(Sorted(form.ShownEntries()), Span(0, std::min(range.last, 40)));
    EXPECT_GE(range.last, 31);

    form.ScrollBar()->setValue(form.ScrollBar()->maximum());
    WaitIdle(form);
    const std::vector<int> shown = Sorted(form.ShownEntries());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), 40);
}

TEST(BrowseForm, AFolderCellShowsTheFolderAPictureCellChoosesThePicture) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    Picture(dir.filePath("sub/b.png"), 30, 20, 0xFF0000);
    Language language;
    TBrowseForm form(language, dir.path(), {});
    form.show();
    WaitIdle(form);
    ASSERT_EQ(form.Entries().size(), 2u); // the parent and sub
    form.ClickEntry(1);
    QDeadlineTimer deadline(5000);
    while (form.Folder() == QDir(dir.path()).absolutePath() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(form.Folder(), QDir(dir.filePath("sub")).absolutePath());
    ASSERT_EQ(form.Entries().size(), 2u); // the parent and b.png
    WaitIdle(form);
    form.ClickEntry(1);
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(form.ChosenFile(), QDir(dir.filePath("sub")).absoluteFilePath("b.png"));
}

TEST(BrowseForm, FileBrowseOpensTheChosenPictureAndStartsThereNextTime) {
    QTemporaryDir config, folder, pictures;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    MessageByKeySeam() = [](const QString&, const QString&, int) { return kAnswerOk; };
    auto program = StartProgram({}, folder.path());
    const QString red = pictures.filePath("red.png");
    Picture(red, 30, 20, 0xFF0000);
    QStringList startedIn;
    program->Browser().browseDialog = [&](const QString& start) {
        startedIn << start;
        return BrowseCommands::Outcome{red, pictures.path()};
    };
    QAction* browse = program->MainForm()->Action("Browse1");
    ASSERT_TRUE(browse && browse->isEnabled());
    browse->trigger();
    const ImageDoc& doc = program->Documents().CurrentDoc();
    EXPECT_EQ(doc.fileName, red);
    EXPECT_EQ(doc.image.Width(), 30);
    EXPECT_EQ(doc.image.At(5, 5) & 0xFFFFFF, 0xFF0000u);
    browse->trigger();
    EXPECT_EQ(startedIn.value(1), pictures.path());
    program.reset();
    MessageByKeySeam() = nullptr;
}

TEST(BrowseForm, TheGroupListSwitchesGroupsAndAClickNamesTheComponentOfThatGroup) {
    // Two groups of the recording component (it paints white): ONE holds components 0 and 2,
    // TWO holds component 1.
    const QString recorder = QStringLiteral(OV_BUILD_DIR "/dialogcomps/recorder.ovc");
    comp::ComponentTable table;
    for (int i = 0; i < 3; ++i) {
        comp::Component c;
        c.path = recorder;
        c.descriptor.name = QStringLiteral("Effect %1").arg(i);
        table.components.push_back(c);
    }
    table.menu.categories = {{QStringLiteral("ONE"), {{0}, {2}}}, {QStringLiteral("TWO"), {{1}}}};
    Buffer picture;
    ASSERT_TRUE(picture.Alloc({40, 30}));
    picture.Box(picture.Bounds(), 0x102030);
    Language language;
    TBrowseForm form(language, table, 1, picture);
    form.show();
    WaitIdle(form);
    ASSERT_EQ(form.PlaceList()->count(), 2);
    EXPECT_EQ(form.PlaceList()->currentText(), QStringLiteral("TWO"));
    ASSERT_EQ(form.Entries().size(), 1u);
    EXPECT_EQ(form.Entries()[0].name, QStringLiteral("recorder.ovc"));
    EXPECT_EQ(form.CaptionOf(0), QStringLiteral("Effect 1"));

    emit form.PlaceList()->activated(0);
    QDeadlineTimer deadline(5000);
    while (form.Group() != 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    WaitIdle(form);
    ASSERT_EQ(form.Entries().size(), 2u);
    EXPECT_EQ(form.CaptionOf(1), QStringLiteral("Effect 2"));
    const Buffer* thumb = form.ThumbOf(1);
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ((std::array{thumb->Width(), thumb->Height()}), (std::array{120, 90}));
    EXPECT_EQ(thumb->At(10, 10) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(picture.At(10, 10), 0x102030u); // the picture given stays as it was
    form.ClickEntry(1);
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(form.ChosenComponent(), 2);
}
