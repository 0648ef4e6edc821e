#include "files/OpenPreview.h"

#include "document/DocumentTable.h"
#include "document/FakeHost.h"
#include "files/FilesTestUtil.h"
#include "files/ImageFiles.h"
#include "testdata.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Preview : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const QString& file) const { return dir.filePath(file); }
    int Open(const QString& name, int n, QString& entry) {
        uint32_t a = 1, b = 2;
        return LoadImageFile(docs, docs.CurrentDoc(), name, n, false, host, a, b, entry, &preview);
    }
    void Prime() {
        ImageDoc& doc = docs.CurrentDoc();
        doc = Patterned(5, 4, 3);
        doc.fileName = QStringLiteral("/old/Name.bmp");
        doc.untitled = false;
        doc.changeCount = 7;
    }

    QTemporaryDir dir;
    FakeHost host;
    DocumentTable docs{host, host, host};
    OpenPreview preview;
};

} // namespace

TEST(PreviewBox, DisplaySizeFitsTheBoxAndEnlargesSmallImages) {
    EXPECT_EQ(PreviewDisplaySize(40, 30), (Pair{240, 180}));
    EXPECT_EQ(PreviewDisplaySize(480, 180), (Pair{240, 90}));
    EXPECT_EQ(PreviewDisplaySize(90, 360), (Pair{45, 180}));
    EXPECT_EQ(PreviewDisplaySize(1, 5000), (Pair{1, 180}));
    EXPECT_EQ(PreviewDisplaySize(5000, 1), (Pair{240, 1}));
}

TEST(PreviewBox, DescriptionLines) {
    REQUIRE_TESTDATA();
    const auto keys = [](const QString& k) { return QLatin1Char('<') + k + QLatin1Char('>'); };
    const PreviewLines pal =
        DescribeImageFile(TestDataDir() + QStringLiteral("/pngsuite/basn3p08.png"), keys);
    EXPECT_TRUE(pal.isImage);
    EXPECT_EQ(pal.color, QStringLiteral("<Color> <Image> <WithPal>"));
    EXPECT_EQ(pal.size, QStringLiteral("<Size>: 32x32 <Pixels>"));
    const PreviewLines grey =
        DescribeImageFile(TestDataDir() + QStringLiteral("/pngsuite/basn0g16.png"), keys);
    EXPECT_EQ(grey.color, QStringLiteral("<Grayscale> <Image>"));
    EXPECT_EQ(grey.bpc, QStringLiteral("<BPCC>: 16"));

    const PreviewLines text = DescribeImageFile(TestDataDir() + QStringLiteral("/README.md"), keys);
    EXPECT_FALSE(text.isImage);
    EXPECT_TRUE(text.color.isEmpty() && text.size.isEmpty() && text.bpp.isEmpty());

    EXPECT_EQ(FileDateLine(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)), keys),
              QStringLiteral("<Date>: 03/04/2026 05:06"));
    EXPECT_EQ(FileSizeLine(12345, keys), QStringLiteral("<SizeInB>: 12345"));
    EXPECT_EQ(ImageNumberLine(3, {}), QStringLiteral("Image 3"));
}

TEST_F(Preview, OpeningThePreviewedImageDoesNotReadTheFileAgain) {
    const QString name = Path(QStringLiteral("Shot.png"));
    const ImageDoc src = Patterned(48, 20, 4);
    GFXtra32 extra;
    GFXFile::Save(src.image, name, &extra, nullptr);

    LoadPreviewImage(preview, name, 1, 0, 0);
    ASSERT_TRUE(preview.valid);
    EXPECT_EQ(preview.loadResult, LoadCode::Ok);
    EXPECT_EQ(preview.shown.Width(), 240);
    EXPECT_EQ(preview.shown.Height(), 100);
    // Gone from the disk: only the preview can still provide it.
    ASSERT_TRUE(QFile::remove(name));

    Prime();
    QString entry;
    EXPECT_EQ(Open(name, 1, entry), LoadCode::Ok);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(SamePixels(docs.CurrentDoc().image, src.image));
    EXPECT_EQ(docs.CurrentDoc().fileName, name);
    EXPECT_EQ(docs.CurrentDoc().changeCount, 0);
    EXPECT_EQ(entry, name);
    EXPECT_FALSE(preview.valid);
    EXPECT_FALSE(preview.full.HasPixels());

    // Another image number than the previewed one is read from the file.
    LoadPreviewImage(preview, Path(QStringLiteral("none.png")), 1, 0, 0);
    EXPECT_FALSE(preview.valid);
}

TEST_F(Preview, PartlyReadPreviewAsksAndNoRestoresEverything) {
    const QString png = Path(QStringLiteral("Cut.png"));
    const ImageDoc src = WriteCutPng(png);
    LoadPreviewImage(preview, png, 1, 0, 0);
    ASSERT_TRUE(preview.valid);
    EXPECT_EQ(preview.loadResult, LoadCode::PartialImage);
    EXPECT_TRUE(host.boxes.empty()); // the preview loads quietly

    Prime();
    host.Script({MessageCode::No});
    QString entry;
    EXPECT_EQ(Open(png, 1, entry), LoadCode::PartialImage);
    ASSERT_EQ(host.boxes.size(), 1u); // asked once, not again for the same failure
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "ErrLoadImg", "Err", 52}));
    EXPECT_TRUE(SamePixels(docs.CurrentDoc().image, Patterned(5, 4, 3).image));
    EXPECT_EQ(docs.CurrentDoc().fileName, QStringLiteral("/old/Name.bmp"));
    EXPECT_EQ(docs.CurrentDoc().changeCount, 7);
    EXPECT_FALSE(docs.CurrentDoc().untitled);
    EXPECT_TRUE(entry.isEmpty());
    EXPECT_FALSE(preview.valid);

    LoadPreviewImage(preview, png, 1, 0, 0);
    host.Script({MessageCode::Yes});
    EXPECT_EQ(Open(png, 1, entry), LoadCode::Ok);
    EXPECT_EQ(docs.CurrentDoc().image.Width(), 128);
    EXPECT_EQ(docs.CurrentDoc().image.At(3, 2), src.image.At(3, 2));
    EXPECT_EQ(docs.CurrentDoc().changeCount, 0);
}
