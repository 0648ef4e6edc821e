// The public suites opened the way the File menu opens them: into the current document.

#include "document/DocumentTable.h"
#include "document/FakeHost.h"
#include "files/FilesTestUtil.h"
#include "files/ImageFiles.h"
#include "testdata.h"

#include <QDir>
#include <QImage>
#include <QImageReader>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

class SuiteDocs : public ::testing::Test {
protected:
    int Open(const QString& name, int n = 1) {
        uint32_t a = 0xFFFFFF, b = 0;
        QString entry;
        return LoadImageFile(docs, docs.CurrentDoc(), name, n, false, host, a, b, entry);
    }
    void ExpectOpened(const QString& name, int n) {
        const ImageDoc& doc = docs.CurrentDoc();
        EXPECT_EQ(doc.fileName, name);
        EXPECT_EQ(doc.imageNumber, n);
        EXPECT_FALSE(doc.untitled);
        EXPECT_EQ(doc.changeCount, 0);
    }
    static QString Suite(const char* sub) {
        return TestDataDir() + QLatin1Char('/') + QLatin1String(sub);
    }

    FakeHost host;
    DocumentTable docs{host, host, host};
};

} // namespace

TEST_F(SuiteDocs, EveryValidPngOpensAtItsSize) {
    REQUIRE_TESTDATA();
    const QDir dir(Suite("pngsuite"));
    int opened = 0;
    for (const QString& file : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        if (file.startsWith(QLatin1Char('x'))) continue;
        SCOPED_TRACE(file.toStdString());
        const QString name = dir.filePath(file);
        ASSERT_EQ(Open(name), LoadCode::Ok);
        const QSize want = QImageReader(name).size();
        EXPECT_EQ(docs.CurrentDoc().image.Width(), want.width());
        EXPECT_EQ(docs.CurrentDoc().image.Height(), want.height());
        ExpectOpened(name, 1);
        ++opened;
    }
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(opened, 161);
}

TEST_F(SuiteDocs, GoodBitmapsOpenWithTheirReferencePixels) {
    REQUIRE_TESTDATA();
    const QDir good(Suite("bmpsuite/g")), ref(Suite("bmpsuite/reference"));
    int compared = 0;
    for (const QString& file : good.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
        SCOPED_TRACE(file.toStdString());
        const QString name = good.filePath(file);
        ASSERT_EQ(Open(name), LoadCode::Ok);
        ExpectOpened(name, 1);
        const QString refName = file.chopped(4) + QStringLiteral(".png");
        if (!ref.exists(refName)) continue;
        const QImage want = QImage(ref.filePath(refName)).convertToFormat(QImage::Format_RGB32);
        const Buffer& got = docs.CurrentDoc().image;
        ASSERT_EQ(got.Width(), want.width());
        ASSERT_EQ(got.Height(), want.height());
        // 5- and 6-bit channels are widened by shifting here, by scaling in the references.
        const int tolerance = file.startsWith(QLatin1String("rgb16")) ? 7 : 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x)
                for (int s = 0; s < 24; s += 8)
                    ASSERT_LE(
                        std::abs(int(got.At(x, y) >> s & 0xFF) - int(want.pixel(x, y) >> s & 0xFF)),
                        tolerance)
                        << x << "," << y;
        ++compared;
    }
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_GE(compared, 12);
}

TEST_F(SuiteDocs, EveryGifFrameOpensAsItsNumberedImage) {
    REQUIRE_TESTDATA();
    const QDir dir(Suite("gifsuite")), frames(Suite("gifsuite/frames"));
    int opened = 0;
    for (const QString& file : dir.entryList({QStringLiteral("*.gif")}, QDir::Files)) {
        const QString name = dir.filePath(file);
        const QString base = file.chopped(4);
        for (int n = 1; frames.exists(QStringLiteral("%1-%2.png").arg(base).arg(n - 1)); ++n) {
            SCOPED_TRACE(file.toStdString() + " image " + std::to_string(n));
            ASSERT_EQ(Open(name, n), LoadCode::Ok);
            ExpectOpened(name, n);
            const QImage want(frames.filePath(QStringLiteral("%1-%2.png").arg(base).arg(n - 1)));
            EXPECT_EQ(docs.CurrentDoc().image.Width(), want.width());
            EXPECT_EQ(docs.CurrentDoc().image.Height(), want.height());
            // The pixels of each frame against the suite are the library's own test.
            EXPECT_TRUE(SamePixels(docs.CurrentDoc().image, LoadDirect(name, n)));
            ++opened;
        }
    }
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(opened, 11 * 4);
}

TEST_F(SuiteDocs, TiffDirectoryLoopsEndAndBadBitmapsLeaveTheDocument) {
    REQUIRE_TESTDATA();
    const QDir tiff(Suite("tiff"));
    for (const QString& file : tiff.entryList({QStringLiteral("test_ifd_loop_*")}, QDir::Files)) {
        SCOPED_TRACE(file.toStdString());
        host.Script({MessageCode::Yes});
        const int code = Open(tiff.filePath(file));
        EXPECT_TRUE(code == LoadCode::Ok || code == LoadCode::PartialImage ||
                    code == LoadCode::LibraryFault || code == LoadCode::NotSupported);
    }

    const QDir bad(Suite("bmpsuite/b"));
    int refused = 0;
    for (const QString& file : bad.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
        SCOPED_TRACE(file.toStdString());
        ImageDoc& doc = docs.CurrentDoc();
        doc = Patterned(6, 5, 2);
        doc.fileName = QStringLiteral("/kept.png");
        doc.untitled = false;
        doc.changeCount = 4;
        host.boxes.clear();
        host.answers.clear();
        host.Script({MessageCode::No});
        EXPECT_NE(Open(bad.filePath(file)), LoadCode::Ok);
        ASSERT_EQ(host.boxes.size(), 1u);
        // The question only with something read; otherwise a plain refusal.
        EXPECT_TRUE(host.boxes[0].text == QLatin1String("ErrLoadImg") ||
                    host.boxes[0].text == QLatin1String("ErrOpenImg") ||
                    host.boxes[0].text == QLatin1String("ImgBig") ||
                    host.boxes[0].text == QLatin1String("FormNotSup"));
        EXPECT_TRUE(SamePixels(doc.image, Patterned(6, 5, 2).image));
        EXPECT_EQ(doc.fileName, QStringLiteral("/kept.png"));
        EXPECT_EQ(doc.changeCount, 4);
        ++refused;
    }
    EXPECT_EQ(refused, 20);
}
