#include "app/FileCommands.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Program.h"
#include "app/ProgramFixture.h"
#include "app/TransferCommands.h"
#include "files/ClipboardPicture.h"
#include "files/ui/InfoForm.h"
#include "files/ui/PrintForm.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Transfer : public ::testing::Test {
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
        QGuiApplication::clipboard()->clear();
    }
    TransferCommands& Commands() { return program_->Transfer(); }
    ImageDoc& Doc() { return program_->Documents().CurrentDoc(); }
    QAction* Action(const char* name) {
        return program_->MainForm()->Action(QString::fromLatin1(name));
    }
    static Buffer Picture(int w, int h) {
        Buffer b;
        EXPECT_TRUE(b.Alloc({w, h}));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.At(x, y) = uint32_t(x * 40 + y * 0x10000) & 0xFFFFFF;
        return b;
    }

    QTemporaryDir config_, folder_;
    QStringList messages_;
    std::unique_ptr<Program> program_;
};

} // namespace

TEST_F(Transfer, ExportAndImportCarryThePictureAndItsSize) {
    EXPECT_FALSE(Action("ImpfromClipb")->isEnabled()); // nothing on the clipboard yet
    Doc().image = Picture(5, 3);
    Doc().fileName = QStringLiteral("/tmp/old.png");
    Doc().untitled = false;
    Commands().ExptoClipbClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Action("ImpfromClipb")->isEnabled());

    Doc().image = Picture(9, 9);
    Commands().ImpfromClipbClick();
    ASSERT_EQ(Doc().image.Width(), 5);
    ASSERT_EQ(Doc().image.Height(), 3);
    const Buffer want = Picture(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(Doc().image.At(x, y), want.At(x, y));
    EXPECT_TRUE(Doc().untitled);
    EXPECT_TRUE(Doc().fileName.isEmpty());
    EXPECT_EQ(Doc().changeCount, 1);
    EXPECT_EQ(program_->NewImageSize(), (Pair{5, 3}));
    EXPECT_EQ(program_->Documents().UndoDoc().image.Width(), 9); // Undo brings back the old one
    EXPECT_TRUE(messages_.isEmpty());

    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Action("ImpfromClipb")->isEnabled());
}

TEST_F(Transfer, AnUnreadableClipboardBitmapShowsErrClpAndKeepsThePicture) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/bmp"),
                  QByteArray("BM\x10\0\0\0\0\0\0\0\xff\xff\xff\x7f", 14));
    QGuiApplication::clipboard()->setMimeData(data);
    Doc().image = Picture(4, 4);
    Commands().ImpfromClipbClick();
    EXPECT_EQ(messages_, QStringList{QStringLiteral("ErrClp")});
    EXPECT_EQ(Doc().image.Width(), 4);
    EXPECT_EQ(program_->NewImageSize(), (Pair{Buffer::default_x, Buffer::default_y}));
}

TEST_F(Transfer, AcquireReadsTheTestScannerAndAJamKeepsThePicture) {
    ASSERT_TRUE(Commands().WaitForScanner());
    QCoreApplication::processEvents();
    EXPECT_TRUE(Action("Acquire1")->isEnabled());
    EXPECT_TRUE(Action("SelectSource1")->isEnabled());
    EXPECT_EQ(Commands().Source(), QStringLiteral("test:0"));

    Doc().fileName = QStringLiteral("/tmp/named.png");
    Commands().scanOptions = {
        {"read-return-value", "Default"}, {"resolution", "50"}, {"mode", "Color"}};
    Commands().Acquire1Click();
    EXPECT_TRUE(messages_.isEmpty());
    const Pair scanned{Doc().image.Width(), Doc().image.Height()};
    EXPECT_GT(scanned.x, 0);
    EXPECT_NE(scanned, (Pair{Buffer::default_x, Buffer::default_y}));
    EXPECT_EQ(program_->NewImageSize(), scanned);
    EXPECT_TRUE(Doc().fileName.isEmpty());
    EXPECT_TRUE(Doc().Changed());

    Doc().changeCount = 0; // no unsaved-changes prompt
    Doc().image = Picture(4, 4);
    Commands().scanOptions = {{"read-return-value", "SANE_STATUS_JAMMED"}};
    Commands().Acquire1Click();
    EXPECT_EQ(messages_, QStringList{QStringLiteral("ErrScan")});
    EXPECT_EQ(Doc().image.Width(), 4);
    EXPECT_EQ(program_->NewImageSize(), scanned);
}

TEST_F(Transfer, CountingALargePictureLeavesTheUndoCopyAlone) {
    Doc().image = Picture(512, 1024);
    ImageDoc& undo = program_->Documents().UndoDoc();
    undo.image = Picture(3, 3);
    TInfoForm info(program_->Context().language, QStringLiteral("x.png"), Doc().image,
                   program_->State().brush.source);
    info.ImgColCnt()->click();
    // 512 columns by 256 distinct rows (the row part wraps at 24 bits).
    EXPECT_EQ(info.ImageCol()->text(), QString::number(512 * 256));
    ASSERT_EQ(undo.image.Width(), 3);
    EXPECT_EQ(undo.image.At(2, 2), Picture(3, 3).At(2, 2));
}

TEST_F(Transfer, AFailedPrintReportsAndKeepsTheDialogOpen) {
    QTemporaryDir out;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const Buffer image = Picture(10, 10);
    TPrintForm form(program_->Context().language, printer, image, QStringLiteral("pic"));
    int failures = 0;
    form.printFailed = [&] { ++failures; };
    form.pdfFileName = [&](const QString&) {
        return out.filePath(QStringLiteral("no/such/a.pdf"));
    };
    form.PrintClick();
    EXPECT_EQ(failures, 1);
    EXPECT_NE(form.result(), QDialog::Accepted);

    const QString good = out.filePath(QStringLiteral("a.pdf"));
    form.pdfFileName = [&](const QString&) { return good; };
    form.PrintClick();
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    QFile pdf(good);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}
