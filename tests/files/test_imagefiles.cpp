#include "files/ImageFiles.h"

#include "document/DocumentTable.h"
#include "document/FakeHost.h"
#include "files/FilesTestUtil.h"
#include "raster/GFXFile.h"
#include "raster/RasterError.h"
#include "support/FileTraps.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList FolderEntries(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                               QDir::Name);
}

// Restores the process-wide progress functions even when a test fails.
struct ProgressGuard {
    ~ProgressGuard() { GFXFile::SetProgFunc({}, {}, {}); }
};

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const QString& file) const { return dir.filePath(file); }

    QTemporaryDir dir;
    FakeHost host;
    DocumentTable docs{host, host, host};
};

// The current document in a known, non-default state.
void Prime(ImageDoc& doc) {
    doc = Patterned(5, 4, 3);
    doc.fileName = QStringLiteral("/old/Name.bmp");
    doc.untitled = false;
    doc.changeCount = 7;
    doc.imageNumber = 2;
}

void ExpectPrimed(const ImageDoc& doc) {
    const ImageDoc want = Patterned(5, 4, 3);
    EXPECT_TRUE(SamePixels(doc.image, want.image));
    EXPECT_EQ(doc.fileName, QStringLiteral("/old/Name.bmp"));
    EXPECT_FALSE(doc.untitled);
    EXPECT_EQ(doc.changeCount, 7);
    EXPECT_EQ(doc.imageNumber, 2);
}

} // namespace

TEST_F(ImageFiles, SavingTwiceWithBackupsKeepsTheFirstBackup) {
    const QString photo = Path(QStringLiteral("photo.bmp"));
    WriteAll(photo, QByteArray("the photo before any save"));
    const QByteArray original = ReadAll(photo);
    SaveOptions options;
    options.backupFiles = true;

    ImageDoc doc = Patterned(6, 3, 1);
    doc.image.At(2, 1) |= Pixel::EdgeMark;
    doc.changeCount = 4;
    EXPECT_EQ(SaveImageFile(doc, photo, options, host), QStringLiteral("Img saved"));
    EXPECT_EQ(ReadAll(Path(QStringLiteral("photo._bm"))), original);
    EXPECT_TRUE(SamePixels(LoadDirect(photo), Patterned(6, 3, 1).image));
    EXPECT_EQ(doc.image.At(2, 1), Patterned(6, 3, 1).image.At(2, 1)); // mark cleared
    EXPECT_EQ(doc.fileName, photo);
    EXPECT_FALSE(doc.untitled);
    EXPECT_EQ(doc.changeCount, 0);

    ImageDoc second = Patterned(4, 4, 2);
    EXPECT_EQ(SaveImageFile(second, photo, options, host), QStringLiteral("Img saved"));
    EXPECT_EQ(ReadAll(Path(QStringLiteral("photo._bm"))), original);
    EXPECT_TRUE(SamePixels(LoadDirect(photo), Patterned(4, 4, 2).image));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(FolderEntries(dir.path()), (QStringList{"photo._bm", "photo.bmp"}));
}

TEST_F(ImageFiles, SaveWithoutBackupsReplacesTheFileAndCreatesANewOne) {
    const QString fresh = Path(QStringLiteral("new.png"));
    ImageDoc doc = Patterned(3, 3, 5);
    EXPECT_EQ(SaveImageFile(doc, fresh, SaveOptions{}, host), QStringLiteral("Img saved"));
    EXPECT_TRUE(SamePixels(LoadDirect(fresh), Patterned(3, 3, 5).image));
    EXPECT_TRUE(QFileInfo(fresh).permissions() & QFile::ReadOther);
    ImageDoc other = Patterned(2, 5, 6);
    EXPECT_EQ(SaveImageFile(other, fresh, SaveOptions{}, host), QStringLiteral("Img saved"));
    EXPECT_TRUE(SamePixels(LoadDirect(fresh), Patterned(2, 5, 6).image));
    EXPECT_EQ(FolderEntries(dir.path()), QStringList{"new.png"});
}

TEST_F(ImageFiles, SaveFailingMidwayLeavesTheOldFileAndTheDocument) {
    const QString photo = Path(QStringLiteral("photo.bmp"));
    WriteAll(photo, QByteArray("old contents"));
    ImageDoc doc = Patterned(40, 40, 9);
    doc.fileName = QStringLiteral("/elsewhere/doc.png");
    doc.changeCount = 3;
    SaveOptions options;
    options.backupFiles = true;
    {
        ProgressGuard guard;
        // The library aborts while converting pixels once half is done.
        GFXFile::SetProgFunc({}, [](int percent) { return percent < 50; }, {});
        EXPECT_EQ(SaveImageFile(doc, photo, options, host), QString());
    }
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "ErrSaveImg", "Err", 48}));
    EXPECT_EQ(ReadAll(photo), QByteArray("old contents"));
    EXPECT_EQ(FolderEntries(dir.path()), QStringList{"photo.bmp"}); // no backup, no leftovers
    EXPECT_EQ(doc.fileName, QStringLiteral("/elsewhere/doc.png"));
    EXPECT_TRUE(doc.untitled);
    EXPECT_EQ(doc.changeCount, 3);
}

TEST_F(ImageFiles, SaveOntoAFullDiskKeepsTheOldFile) {
    SmallDisk disk;
    REQUIRE_SMALL_DISK(disk);
    const ImageDoc before = Patterned(40, 40, 4);
    for (const char* name : {"a.png", "a.bmp", "a.tif", "a.ppm", "a.jpg"}) {
        GFXtra32 extra;
        GFXFile::Save(before.image, disk.Path(name), &extra, nullptr);
    }
    // Nothing free at all, then one page free: the new file fits neither way.
    for (const qint64 spare : {qint64(0), qint64(4096)}) {
        disk.Fill(spare);
        for (const char* name : {"a.png", "a.bmp", "a.tif", "a.ppm", "a.jpg"}) {
            SCOPED_TRACE(std::string(name) + " with " + std::to_string(spare) + " bytes free");
            const QByteArray old = ReadAll(disk.Path(name));
            ImageDoc doc = Noise(80, 80); // larger than a page in every format
            doc.fileName = QStringLiteral("/elsewhere/doc.png");
            doc.changeCount = 3;
            host.boxes.clear();
            EXPECT_EQ(SaveImageFile(doc, disk.Path(name), SaveOptions{}, host), QString());
            ASSERT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(host.boxes[0].text, "ErrSaveImg");
            EXPECT_EQ(ReadAll(disk.Path(name)), old);
            EXPECT_EQ(doc.fileName, QStringLiteral("/elsewhere/doc.png"));
            EXPECT_EQ(doc.changeCount, 3);
        }
    }
    EXPECT_EQ(QDir(disk.Path(".")).entryList({"*ovtmp*"}, QDir::Files | QDir::Hidden),
              QStringList());
}

TEST_F(ImageFiles, SaveErrorsByKind) {
    // An icon holds at most 256 x 256 pixels.
    const QString icon = Path(QStringLiteral("big.ico"));
    WriteAll(icon, QByteArray("an older icon"));
    ImageDoc big = Patterned(300, 300, 2);
    big.changeCount = 2;
    EXPECT_EQ(SaveImageFile(big, icon, SaveOptions{}, host), QString());
    EXPECT_EQ(ReadAll(icon), QByteArray("an older icon"));
    EXPECT_EQ(big.changeCount, 2);

    // The folder named in the path is a file.
    WriteAll(Path(QStringLiteral("afile")), QByteArray("x"));
    ImageDoc doc = Patterned(3, 3, 1);
    EXPECT_EQ(SaveImageFile(doc, Path(QStringLiteral("afile/photo.bmp")), SaveOptions{}, host),
              QString());
    EXPECT_TRUE(doc.untitled);
    EXPECT_EQ(doc.fileName, QString());

    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "ErrSaveImgForm", "Err", 48}));
    EXPECT_EQ(host.boxes[1], (FakeHost::Box{true, "ErrSaveImg", "Err", 48}));
    EXPECT_EQ(FolderEntries(dir.path()), (QStringList{"afile", "big.ico"}));
}

TEST_F(ImageFiles, NoToThePartialLoadQuestionRestoresEverything) {
    // Noise, so that half of the file holds about half of the rows (libpng reads 8 KB at a time).
    const QString png = Path(QStringLiteral("Cut.png"));
    const ImageDoc src = WriteCutPng(png);

    Prime(docs.CurrentDoc());
    host.Script({MessageCode::No});
    uint32_t a = 0x111111, b = 0x222222;
    QString entry = QStringLiteral("stale");
    EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), png, 1, false, host, a, b, entry),
              LoadCode::PartialImage);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "ErrLoadImg", "Err", 52}));
    ExpectPrimed(docs.CurrentDoc());
    EXPECT_EQ(a, 0x111111u);
    EXPECT_EQ(b, 0x222222u);
    EXPECT_EQ(entry, QString());

    // Yes keeps the part that was read.
    host.Script({MessageCode::Yes});
    EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), png, 1, false, host, a, b, entry),
              LoadCode::Ok);
    const ImageDoc& doc = docs.CurrentDoc();
    EXPECT_EQ(doc.image.Width(), 128);
    EXPECT_EQ(doc.image.Height(), 128);
    EXPECT_EQ(doc.image.At(3, 2), src.image.At(3, 2)); // a row before the cut
    EXPECT_EQ(doc.fileName, png);
    EXPECT_EQ(doc.changeCount, 0);
    EXPECT_EQ(doc.imageNumber, 1);
    EXPECT_EQ(entry, png);
    EXPECT_TRUE(SamePixels(docs.UndoDoc().image, doc.image));
}

TEST_F(ImageFiles, CorruptSuiteFilesGiveTheirMessageAndChangeNothing) {
    REQUIRE_TESTDATA();
    const QDir suite(TestDataDir() + QStringLiteral("/pngsuite"));
    const QStringList corrupt = suite.entryList({QStringLiteral("x*.png")}, QDir::Files);
    ASSERT_FALSE(corrupt.isEmpty());
    int checked = 0;
    for (const QString& file : corrupt) {
        SCOPED_TRACE(file.toStdString());
        const QString name = suite.filePath(file);
        // What the library itself says about the file decides the expected code and message.
        int wantCode = 0;
        QString wantKey;
        try {
            LoadDirect(name);
        } catch (const InvalidImageError& e) {
            wantCode = e.Partial() ? 1 : 2;
            wantKey = e.Partial() ? QStringLiteral("ErrLoadImg") : QStringLiteral("FormNotSup");
        } catch (const LibraryError& e) {
            wantCode = 3; // nothing comes back from LoadDirect, so there is nothing to keep
            wantKey = IsSizeRefusal(e) ? QStringLiteral("ImgBig") : QStringLiteral("ErrOpenImg");
        } catch (const RasterError&) {
            wantCode = 4;
            wantKey = QStringLiteral("ErrOpenImg");
        }
        if (wantCode == 0) continue; // this decoder reads it anyway
        ++checked;
        Prime(docs.CurrentDoc());
        host.boxes.clear();
        host.answers.clear();
        host.Script({MessageCode::No});
        uint32_t a = 1, b = 2;
        QString entry;
        EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), name, 1, false, host, a, b, entry),
                  wantCode);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text, wantKey);
        EXPECT_EQ(host.boxes[0].style, wantKey == QLatin1String("ErrLoadImg") ? 52 : 48);
        ExpectPrimed(docs.CurrentDoc());
        EXPECT_TRUE(entry.isEmpty());
    }
    EXPECT_GT(checked, corrupt.size() / 2);
}

// A PNG whose header claims w x h and whose data holds no pixels at all.
QByteArray ForgedPng(uint32_t w, uint32_t h) {
    const auto be32 = [](uint32_t v) {
        const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    const auto crc = [](const QByteArray& bytes) {
        uint32_t c = 0xFFFFFFFFu;
        for (const char ch : bytes) {
            c ^= uchar(ch);
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
        }
        return ~c;
    };
    const QByteArray ihdr = "IHDR" + be32(w) + be32(h) + QByteArray("\x08\x02\x00\x00\x00", 5);
    const QByteArray idat = "IDAT" + QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
    const QByteArray iend = "IEND";
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + be32(13) + ihdr + be32(crc(ihdr)) + be32(8) + idat +
           be32(crc(idat)) + be32(0) + iend + be32(crc(iend));
}

TEST_F(ImageFiles, AHeaderClaimingAHugeImageIsRefusedWithoutTheKeepQuestion) {
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[10] = 54;
    bmp[14] = 40;
    for (const int at : {18, 22}) bmp[at] = bmp[at + 1] = char(0xFF); // 65535 x 65535
    bmp[26] = 1;
    bmp[28] = 24;
    const std::pair<const char*, QByteArray> files[] = {{"huge.png", ForgedPng(65535, 65535)},
                                                        {"huge.bmp", bmp}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteAll(Path(name), bytes);
        Prime(docs.CurrentDoc());
        host.boxes.clear();
        host.answers.clear();
        host.Script({MessageCode::Yes}); // were the question asked, Yes would keep nothing
        uint32_t a = 1, b = 2;
        QString entry;
        EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), Path(name), 1, false, host, a, b, entry),
                  LoadCode::LibraryFault);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "ImgBig", "Err", 48}));
        ExpectPrimed(docs.CurrentDoc());
    }
}

TEST_F(ImageFiles, MissingFileAndQuietLoads) {
    Prime(docs.CurrentDoc());
    uint32_t a = 0, b = 0;
    QString entry;
    EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), Path(QStringLiteral("none.png")), 1, false,
                            host, a, b, entry),
              LoadCode::CannotRead);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "ErrOpenImg", "Err", 48}));
    ExpectPrimed(docs.CurrentDoc());

    // Quiet: no message; a record outside the table is left as an empty default-size image.
    ImageDoc preview = Patterned(2, 2, 1);
    EXPECT_EQ(
        LoadImageFile(docs, preview, Path(QStringLiteral("none.png")), 1, true, host, a, b, entry),
        LoadCode::CannotRead);
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(preview.image.Width(), Buffer::default_x);
    EXPECT_EQ(preview.image.Height(), Buffer::default_y);
    EXPECT_EQ(preview.image.Get(0, 0, 7), 0u);
}

TEST_F(ImageFiles, ThirdImageOfAMultiImageFile) {
    REQUIRE_TESTDATA();
    const QString source = TestDataDir() + QStringLiteral("/gifsuite/animated_loop.gif");
    ASSERT_GE(GFXFile::GetImgCount(source), 3);
    const QString copy = Path(QStringLiteral("Anim.GIF"));
    ASSERT_TRUE(QFile::copy(source, copy));

    Prime(docs.CurrentDoc());
    uint32_t a = 0, b = 0;
    QString entry;
    EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), copy, 3, false, host, a, b, entry),
              LoadCode::Ok);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(entry, copy + QStringLiteral(": 3"));
    EXPECT_EQ(docs.CurrentDoc().imageNumber, 3);
    EXPECT_EQ(docs.CurrentDoc().fileName, copy);
    EXPECT_FALSE(docs.CurrentDoc().untitled);
    EXPECT_TRUE(SamePixels(docs.CurrentDoc().image, LoadDirect(copy, 3)));

    EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), copy, 1, false, host, a, b, entry),
              LoadCode::Ok);
    EXPECT_EQ(entry, copy);
    EXPECT_EQ(LoadImageFile(docs, docs.CurrentDoc(), copy, 1, true, host, a, b, entry),
              LoadCode::Ok);
    EXPECT_TRUE(entry.isEmpty());
}

// Pictures large enough for the kept store of a freed one: a picture replaced by one of its size
// writes into the pages of the last one freed, which must never show through or reach the undo
// copy. Each step loads a file, edits (the way a tool does: the undo copy detached first) and
// checks the picture, the undo copy and Undo.
TEST_F(ImageFiles, ReplacingLargePicturesKeepsPicturesAndUndoApart) {
    struct Step {
        int file; // index into pictures
        bool edit;
    };
    const ImageDoc pictures[] = {Patterned(1024, 1100, 1), Patterned(1024, 1100, 2),
                                 Patterned(1100, 1024, 3)};
    for (int i = 0; i < 3; ++i) {
        GFXtra32 extra;
        GFXFile::Save(pictures[i].image, Path(QStringLiteral("p%1.png").arg(i)), &extra, nullptr);
    }
    const Step steps[] = {{0, false}, {1, true}, {1, false}, {2, true}, {0, true}, {2, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.file);
        uint32_t a = 0, b = 0;
        QString entry;
        ASSERT_EQ(LoadImageFile(docs, docs.CurrentDoc(),
                                Path(QStringLiteral("p%1.png").arg(s.file)), 1, false, host, a, b,
                                entry),
                  LoadCode::Ok);
        const Buffer& loaded = pictures[s.file].image;
        ImageDoc& doc = docs.CurrentDoc();
        ASSERT_TRUE(SamePixels(doc.image, loaded));
        ASSERT_TRUE(SamePixels(docs.UndoDoc().image, loaded));
        if (!s.edit) {
            ASSERT_TRUE(docs.ExchangeWithUndo(doc)); // Undo right after the load
            EXPECT_TRUE(SamePixels(doc.image, loaded));
            continue;
        }
        ASSERT_TRUE(docs.DetachUndo());
        doc.image.Box({10, 10, 500, 20}, 0x123456);
        doc.AddChange();
        EXPECT_TRUE(SamePixels(docs.UndoDoc().image, loaded));
        const QString saved = Path(QStringLiteral("saved.png"));
        SaveOptions options;
        ASSERT_FALSE(SaveImageFile(doc, saved, options, host).isEmpty());
        EXPECT_TRUE(SamePixels(LoadDirect(saved), doc.image));
        ASSERT_TRUE(docs.ExchangeWithUndo(doc)); // Undo of the edit
        EXPECT_TRUE(SamePixels(doc.image, loaded));
    }
}
