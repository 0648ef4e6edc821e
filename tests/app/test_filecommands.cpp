#include "app/FileCommands.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Program.h"
#include "app/ProgramFixture.h"
#include "app/ToolShell.h"
#include "files/ui/NewForm.h"
#include "files/ui/OpenPlusDialog.h"
#include "testdata.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FileMenu : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config_.path());
        MessageByKeySeam() = [this](const QString& text, const QString&, int) {
            messages_ << text;
            return kAnswerOk;
        };
        program_ = StartProgram({}, folder_.path());
        ASSERT_TRUE(program_->Ready());
    }
    void TearDown() override {
        program_.reset();
        MessageByKeySeam() = nullptr;
    }
    FileCommands& Files() { return program_->Files(); }
    ImageDoc& Doc() { return program_->Documents().CurrentDoc(); }
    QString Path(const QString& file) const { return folder_.filePath(file); }

    QTemporaryDir config_, folder_;
    QStringList messages_;
    std::unique_ptr<Program> program_;
};

} // namespace

TEST_F(FileMenu, SaveOfANewPictureAsksForANameAndCancelKeepsItUntitled) {
    QStringList titles;
    std::optional<QString> answer;
    Files().saveDialog = [&](const QString& title, const QString& offered) {
        titles << title + QLatin1Char('|') + offered;
        return answer;
    };
    Doc().AddChange();
    program_->MainForm()->Action(QStringLiteral("SavePicture"))->trigger();
    EXPECT_EQ(titles, QStringList{"Save Image|"});
    EXPECT_TRUE(Doc().untitled);
    EXPECT_TRUE(Doc().Changed());

    answer = Path(QStringLiteral("first.png"));
    EXPECT_TRUE(Files().SavePicture());
    EXPECT_FALSE(Doc().untitled);
    EXPECT_EQ(Doc().changeCount, 0);
    EXPECT_EQ(QImage(Path(QStringLiteral("first.png"))).size(), QSize(640, 480));
    EXPECT_EQ(program_->MainForm()->Panel(4), QStringLiteral("Img saved"));
    EXPECT_EQ(program_->MainForm()->Panel(0), QStringLiteral("[1] ") + Path("first.png"));
    EXPECT_EQ(Files().Recent().Entries().value(0), Path(QStringLiteral("first.png")));

    // Titled now: Save writes in place without a dialog.
    Doc().AddChange();
    EXPECT_TRUE(Files().SavePicture());
    EXPECT_EQ(titles.size(), 2);
    EXPECT_EQ(Doc().changeCount, 0);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(FileMenu, NewOffersTheLastAcceptedSizeAndUsesTheBackgroundColour) {
    QList<Pair> offered;
    std::optional<Pair> answer = Pair{33, 21};
    Files().newDialog = [&](Pair remembered) {
        offered << remembered;
        return answer;
    };
    program_->State().backCol = 0x3366CC;
    program_->MainForm()->Action(QStringLiteral("New1"))->trigger();
    ASSERT_EQ(program_->Image().Width(), 33);
    EXPECT_EQ(program_->Image().Height(), 21);
    EXPECT_EQ(program_->Image().At(32, 20), 0x3366CCu);
    EXPECT_TRUE(Doc().untitled);

    answer.reset(); // Cancel: nothing changes, the size stays remembered
    Files().New1Click();
    EXPECT_EQ(program_->Image().Width(), 33);
    answer = Pair{1, 1};
    Files().New1Click();
    EXPECT_EQ(offered, (QList<Pair>{{640, 480}, {33, 21}, {33, 21}}));
    EXPECT_EQ(program_->NewImageSize(), (Pair{1, 1}));

    TNewForm dialog(program_->Context().language, {16384, 1});
    EXPECT_EQ(dialog.SizeX()->maximum(), 16384);
    EXPECT_EQ(dialog.SizeY()->minimum(), 1);
    EXPECT_EQ(dialog.ChosenSize(), (Pair{16384, 1}));
}

TEST_F(FileMenu, OpenFromThePreviewAndReopenTheThirdImage) {
    REQUIRE_TESTDATA();
    const QString anim = Path(QStringLiteral("Anim.gif"));
    ASSERT_TRUE(QFile::copy(TestDataDir() + QStringLiteral("/gifsuite/animated_loop.gif"), anim));

    // The dialog previews image 3; the file is gone before it is opened.
    Files().openDialog = [&](const QString&) -> std::optional<FileCommands::OpenChoice> {
        TOpenPlus dialog(Files().Preview(), {}, 0, 0);
        dialog.LoadPreview(anim);
        EXPECT_EQ(dialog.ImageCount(), 4);
        dialog.IncImgIndex();
        dialog.IncImgIndex();
        EXPECT_EQ(dialog.Line("ImgNumLab")->text(), QStringLiteral("Image 3"));
        EXPECT_FALSE(dialog.PreviewImage()->size().isEmpty());
        const QString kept = anim + QStringLiteral(".kept");
        QFile::rename(anim, kept);
        QFile::copy(kept, anim + QStringLiteral(".later"));
        return FileCommands::OpenChoice{anim, dialog.ImageNumber()};
    };
    program_->MainForm()->Action(QStringLiteral("OpenImage"))->trigger();
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_EQ(Doc().imageNumber, 3);
    EXPECT_EQ(Doc().fileName, anim);
    const QString entry = anim + QStringLiteral(": 3");
    EXPECT_EQ(Files().Recent().Entries().value(0), entry);

    // Reopen from the menu reads image 3 from the file again.
    QFile::rename(anim + QStringLiteral(".later"), anim);
    const Buffer opened = program_->Image();
    program_->Documents().CurrentDoc().image.Box(program_->Image().Bounds(), 0);
    QMenu* reopen = program_->MainForm()->Menu(QStringLiteral("Reopen1"));
    ASSERT_NE(reopen, nullptr);
    ASSERT_FALSE(reopen->actions().isEmpty());
    EXPECT_EQ(reopen->actions().first()->text(), entry);
    reopen->actions().first()->trigger();
    EXPECT_EQ(Doc().imageNumber, 3);
    EXPECT_EQ(program_->Image().Width(), opened.Width());
    bool same = true;
    for (int y = 0; y < opened.Height(); ++y)
        for (int x = 0; x < opened.Width(); ++x)
            same = same && program_->Image().At(x, y) == opened.At(x, y);
    EXPECT_TRUE(same);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(',').toStdString();
}
