#include "browser/BrowseLayout.h"
#include "browser/BrowserTestUtil.h"
#include "browser/ThumbLoader.h"
#include "files/FilesTestUtil.h"
#include "support/FileTraps.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

using namespace browse;

namespace {

struct SizeCase {
    int w, h;
    Pair expected;
};

TEST(BrowseLayout, ThumbnailKeepsTheSidesRatioRoundedAndAtLeastOnePixel) {
    const SizeCase cases[] = {
        {240, 90, {120, 45}},    {60, 30, {120, 60}},   {120, 90, {120, 90}},
        {1, 1, {90, 90}},        {10000, 1, {120, 1}},  {1, 10000, {1, 90}},
        {4000, 3000, {120, 90}}, {641, 480, {120, 90}}, // 89.86 rounds up
    };
    for (const SizeCase& c : cases) {
        const Pair got = ThumbnailSize(c.w, c.h);
        EXPECT_EQ(got.x, c.expected.x) << c.w << " x " << c.h;
        EXPECT_EQ(got.y, c.expected.y) << c.w << " x " << c.h;
    }
}

TEST(BrowseLayout, VisibleRangeCoversEveryRowInView) {
    struct Case {
        int top, height;
        Range expected;
    };
    const Case cases[] = {
        {0, 100, {0, 3}},          // one row
        {-240, 360, {8, 19}},      // rows 2 to 4
        {-100, 150, {0, 11}},      // the bottom of row 0, row 1 and the top of row 2
        {0, 8 * 120 + 9, {0, 35}}, // eight whole rows and the edge of a ninth
    };
    for (const Case& c : cases)
        EXPECT_EQ(VisibleRange(c.top, c.height), c.expected) << c.top << " " << c.height;
}

TEST(BrowseLayout, CaptionGivesPixelsAndRoundedUpKilobytes) {
    EXPECT_EQ(FileCaption({240, 90}, 1025, "Pixels", "KB"), "240 x 90 Pixels\r\n2 KB");
    EXPECT_EQ(FileCaption({1, 2}, 1024, "Pixel", "KByte"), "1 x 2 Pixel\r\n1 KByte");
    EXPECT_EQ(KBytes(0), 0);
    EXPECT_EQ(KBytes(int64_t(5) << 32), int64_t(5) << 22); // files past 4 GB
}

TEST(BrowseLayout, FolderThumbnailIsTheFolderPictureScaledByThePlacesFactor) {
    const Buffer b = FolderThumbnail(false);
    EXPECT_EQ(b.Width(), 102); // 32 x 3.2142856, truncated
    EXPECT_EQ(b.Height(), 89); // 28 x 3.2142856 = 89.99..., truncated
}

// The image worker over a folder of real files, with and without the cache.
class BrowseFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Cache() const { return CachePath(dir.path()); }
    // The record of n read back from the cache file as it is on the disk.
    cache::Record RecordOnDisk(int n) const {
        const QByteArray bytes = FileBytes(Cache());
        const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
        auto r = cache::DecodeRecord({p + cache::RecordOffset(n), size_t(cache::RecordSize)});
        EXPECT_TRUE(r.has_value());
        return r.value_or(cache::Record{});
    }
};

uint32_t Centre(const Buffer& b) {
    return b.At(b.left + b.Width() / 2, b.top + b.Height() / 2) & 0xFFFFFF;
}

TEST_F(BrowseFolder, FoldersComeFirstWithTheParentThenPictures) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    WritePicture(Path("a.png"), 4, 4, 0xFF0000);
    WriteAll(Path("notes.txt"), "text");
    const std::vector<BrowseEntry> entries = ScanFolder(dir.path());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].parent);
    EXPECT_EQ(entries[1].name, "sub");
    EXPECT_FALSE(entries[1].file);
    EXPECT_EQ(entries[2].name, "a.png");
    EXPECT_TRUE(entries[2].file);
    EXPECT_EQ(FolderCaption(entries[1]), "SUB");
    EXPECT_FALSE(ScanFolder("/").front().parent);
}

TEST_F(BrowseFolder, UnchangedFileComesFromTheCacheAChangedOneIsMadeAgain) {
    WritePicture(Path("a.png"), 240, 90, 0xFF0000);
    auto shown = BrowseOnce(dir.path());
    EXPECT_EQ(shown["a.png"].thumb.Width(), 120);
    EXPECT_EQ(shown["a.png"].thumb.Height(), 45);
    EXPECT_EQ(Centre(shown["a.png"].thumb), 0xFF0000u);
    EXPECT_TRUE(shown["a.png"].caption.startsWith("240 x 90 Pixels\r\n"));

    // Paint the stored slot green: a second showing must take it from there.
    {
        QFile f(Cache());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray slot(int(cache::SlotBytes), 0);
        for (int i = 0; i < slot.size(); i += 3) slot[i + 1] = char(0xFF);
        ASSERT_TRUE(f.seek(cache::SlotOffset(0)));
        ASSERT_EQ(f.write(slot), slot.size());
    }
    shown = BrowseOnce(dir.path());
    EXPECT_EQ(Centre(shown["a.png"].thumb), 0x00FF00u);

    // Another picture under the same name, with another size and time.
    WritePicture(Path("a.png"), 60, 30, 0x0000FF);
    QFile file(Path("a.png"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
    file.close();
    shown = BrowseOnce(dir.path());
    EXPECT_EQ(shown["a.png"].thumb.Width(), 120);
    EXPECT_EQ(shown["a.png"].thumb.Height(), 60);
    EXPECT_EQ(Centre(shown["a.png"].thumb), 0x0000FFu);
    const cache::Record r = RecordOnDisk(0);
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.name, "a.png");
    EXPECT_EQ(r.size, uint32_t(QFileInfo(Path("a.png")).size()));
    EXPECT_EQ(r.imageWidth, 60);
    EXPECT_EQ(r.imageHeight, 30);
    EXPECT_EQ(r.thumbWidth, 120);
    EXPECT_EQ(r.thumbHeight, 60);
}

TEST_F(BrowseFolder, MoreThan128PicturesGrowTheFileByExactlyOneBlock) {
    for (int i = 0; i < 128; ++i) WritePicture(Path(QString("p%1.png").arg(i)), 2, 2, 0x102030);
    BrowseOnce(dir.path());
    EXPECT_EQ(QFileInfo(Cache()).size(), cache::BlockSize);
    WritePicture(Path("p128.png"), 2, 2, 0x102030);
    BrowseOnce(dir.path());
    EXPECT_EQ(QFileInfo(Cache()).size(), 2 * cache::BlockSize);
    ThumbCache reread(dir.path());
    ASSERT_TRUE(reread.Open());
    EXPECT_EQ(reread.Index().size(), 256u);
    EXPECT_EQ(std::count_if(reread.Index().begin(), reread.Index().end(),
                            [](const cache::Record& r) { return r.valid; }),
              129);
}

TEST_F(BrowseFolder, AFolderWhosePicturesWereAllDeletedLosesItsCache) {
    WritePicture(Path("a.png"), 8, 8, 0x00FF00);
    WritePicture(Path("b.bmp"), 8, 8, 0x00FF00);
    BrowseOnce(dir.path());
    ASSERT_TRUE(QFileInfo::exists(Cache()));
    QFile::remove(Path("a.png"));
    BrowseOnce(dir.path());
    EXPECT_TRUE(QFileInfo::exists(Cache())); // b.bmp is still cached
    QFile::remove(Path("b.bmp"));
    BrowseOnce(dir.path());
    EXPECT_FALSE(QFileInfo::exists(Cache()));
}

// Cache files that are not ours, or not whole: refused, never changed, and browsing goes on.
TEST_F(BrowseFolder, HostileOrTruncatedCacheFilesAreLeftAlone) {
    std::vector<uint8_t> good(size_t(cache::BlockSize), 0);
    cache::Record valid;
    valid.valid = true;
    valid.name = "a.png";
    valid.thumbWidth = valid.thumbHeight = valid.imageWidth = valid.imageHeight = 4;
    cache::EncodeRecord(valid, {good.data(), size_t(cache::RecordSize)});
    const auto withRecord = [&](const std::function<void(cache::Record&)>& edit) {
        std::vector<uint8_t> bytes = good;
        cache::Record r = valid;
        edit(r);
        cache::EncodeRecord(r, {bytes.data(), size_t(cache::RecordSize)});
        return bytes;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"short", std::vector<uint8_t>(100, 0)},
        {"cut inside the index", std::vector<uint8_t>(size_t(cache::IndexBytes) - 1, 0)},
        {"wide thumbnail", withRecord([](cache::Record& r) { r.thumbWidth = 121; })},
        {"tall thumbnail", withRecord([](cache::Record& r) { r.thumbHeight = 91; })},
        {"empty thumbnail", withRecord([](cache::Record& r) { r.thumbWidth = 0; })},
        {"negative thumbnail", withRecord([](cache::Record& r) { r.thumbHeight = -5; })},
        {"no image size", withRecord([](cache::Record& r) { r.imageWidth = 0; })},
        {"a path as name", withRecord([](cache::Record& r) { r.name = "../a.png"; })},
    };
    std::vector<uint8_t> flags = good;
    flags[0] = 3;
    cases.push_back({"unknown flags", flags});
    std::vector<uint8_t> noZero = good;
    std::fill(noZero.begin() + 1, noZero.begin() + 1 + cache::NameSize, uint8_t('x'));
    cases.push_back({"name without its zero", noZero});
    std::vector<uint8_t> linked = good;
    linked[size_t(cache::IndexBytes)] = 1; // says a block follows; the file ends
    cases.push_back({"link past the end", linked});

    WritePicture(Path("a.png"), 4, 4, 0xFF0000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(Cache(), QByteArray(reinterpret_cast<const char*>(c.bytes.data()),
                                     qsizetype(c.bytes.size())));
        bool opened = true;
        const auto shown = BrowseOnce(dir.path(), true, &opened);
        EXPECT_FALSE(opened);
        EXPECT_EQ(Centre(shown.at("a.png").thumb), 0xFF0000u);
        const QByteArray after = FileBytes(Cache());
        EXPECT_TRUE(after == QByteArray(reinterpret_cast<const char*>(c.bytes.data()),
                                        qsizetype(c.bytes.size())));
    }
}

TEST_F(BrowseFolder, AnEndlessChainInASparseFileIsRefused) {
    // Every block links on: more blocks than any folder of ours has, with holes between.
    const int fd = ::open(QFile::encodeName(Cache()).constData(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const uint8_t link[4] = {1, 0, 0, 0};
    for (int p = 0; p <= cache::MaxBlocks; ++p)
        ASSERT_EQ(::pwrite(fd, link, 4, off_t(p) * cache::BlockSize + cache::IndexBytes), 4);
    ::close(fd);
    const qint64 size = QFileInfo(Cache()).size();
    ThumbCache c(dir.path());
    EXPECT_FALSE(c.Open());
    EXPECT_EQ(QFileInfo(Cache()).size(), size);
}

TEST_F(BrowseFolder, ALinkOrAFolderNamedLikeTheCacheIsNeverUsed) {
    QTemporaryDir elsewhere;
    WritePicture(Path("a.png"), 4, 4, 0xFF0000);
    const QString target = elsewhere.filePath("target");
    WriteAll(target, QByteArray(int(cache::SlotsOffset), 0)); // an empty cache, by its bytes
    ASSERT_TRUE(QFile::link(target, Cache()));
    bool opened = true;
    BrowseOnce(dir.path(), true, &opened);
    EXPECT_FALSE(opened);
    EXPECT_EQ(FileBytes(target), QByteArray(int(cache::SlotsOffset), 0));
    EXPECT_TRUE(QFileInfo(Cache()).isSymLink());
    ASSERT_TRUE(QFile::remove(Cache()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(cache::FileName)));
    BrowseOnce(dir.path(), true, &opened);
    EXPECT_FALSE(opened);
}

TEST_F(BrowseFolder, ASecondBrowserOnTheSameFolderRunsWithoutTheCache) {
    ThumbCache first(dir.path()), second(dir.path());
    ASSERT_TRUE(first.Open());
    EXPECT_FALSE(second.Open());
    first.Close(); // nothing valid: the file goes
    EXPECT_TRUE(second.Open());
}

TEST_F(BrowseFolder, ARecordIsInvalidOnTheDiskBeforeItsSlotIsOverwritten) {
    Buffer red, blue;
    ASSERT_TRUE(red.Alloc({4, 4}));
    red.Box({0, 0, 3, 3}, 0xFF0000);
    ASSERT_TRUE(blue.Alloc({4, 4}));
    blue.Box({0, 0, 3, 3}, 0x0000FF);
    ThumbCache c(dir.path());
    ASSERT_TRUE(c.Open());
    c.Store("a.png", 10, 100, red, {4, 4});
    EXPECT_FALSE(RecordOnDisk(0).valid); // its slot is not known to be on the disk yet
    c.Flush();
    EXPECT_TRUE(RecordOnDisk(0).valid);
    c.Store("a.png", 20, 200, blue, {4, 4});
    // The new pixels are in the slot while the record no longer vouches for them.
    EXPECT_FALSE(RecordOnDisk(0).valid);
    const QByteArray bytes = FileBytes(Cache());
    EXPECT_EQ(uint8_t(bytes[int(cache::SlotOffset(0)) + 2]), 0xFF);
    c.Flush();
    EXPECT_TRUE(RecordOnDisk(0).valid);
    EXPECT_EQ(RecordOnDisk(0).size, 20u);
}

TEST_F(BrowseFolder, AFullDiskLeavesTheCacheConsistent) {
    SmallDisk disk;
    REQUIRE_SMALL_DISK(disk);
    const QString folder = QFileInfo(disk.Path("x")).absolutePath();
    Buffer thumb;
    ASSERT_TRUE(thumb.Alloc({120, 90}));
    thumb.Box({0, 0, 119, 89}, 0x123456);
    {
        ThumbCache c(folder);
        ASSERT_TRUE(c.Open());
        c.Store("a.png", 1, 1, thumb, {120, 90});
        c.Flush();
        disk.Fill(0);
        for (int i = 0; i < 8 && !c.Failed(); ++i)
            c.Store(QString("b%1.png").arg(i), 1, 1, thumb, {120, 90});
        EXPECT_TRUE(c.Failed());
        c.Close();
    }
    ThumbCache again(folder);
    ASSERT_TRUE(again.Open());
    Buffer got;
    Pair size;
    EXPECT_TRUE(again.Find("a.png", 1, 1, got, size));
    EXPECT_EQ(Centre(got), 0x123456u);
    for (const cache::Record& r : again.Index())
        EXPECT_TRUE(!r.valid || r.name == "a.png") << r.name.toStdString();
}

// A stand-in worker whose thumbnails are made instantly: one pixel of the entry's number.
class CountingThread : public TBrowseThread {
public:
    using TBrowseThread::TBrowseThread;
    ~CountingThread() override { Stop(); }

protected:
    bool MakeThumbnail(const BrowseEntry&, Buffer& thumb, QString& caption) override {
        thumb.Alloc({1, 1});
        caption = "x";
        return true;
    }
};

std::vector<BrowseEntry> Files(int n) {
    std::vector<BrowseEntry> out;
    for (int i = 0; i < n; ++i) out.push_back({QString::number(i), true, false});
    return out;
}

TEST(BrowseThread, AWindowTallEnoughForEightRowsShowsThemAll) {
    const std::vector<BrowseEntry> entries = Files(60);
    FakeCells cells;
    CountingThread worker(cells, entries);
    worker.Start();
    const Range tall = VisibleRange(0, 8 * CellHeight + 9);
    worker.SetRange(tall);
    WaitIdle(worker);
    EXPECT_EQ(cells.thumbOfEntry.size(), size_t(tall.Size()));
    EXPECT_EQ(cells.thumbOfEntry.begin()->first, 0);
    EXPECT_EQ(cells.thumbOfEntry.rbegin()->first, tall.last);
    // Scrolled down by two rows: the same cells serve the new range.
    worker.SetRange(VisibleRange(-2 * CellHeight, 8 * CellHeight + 9));
    WaitIdle(worker);
    EXPECT_EQ(cells.thumbOfEntry.begin()->first, 8);
    EXPECT_EQ(cells.thumbOfEntry.rbegin()->first, 43);
    EXPECT_EQ(worker.CellCount(), tall.Size());
}

// Processor time this process has used, in milliseconds.
double CpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

TEST(BrowseThread, AnIdleWorkerSleeps) {
    const std::vector<BrowseEntry> entries = Files(4);
    FakeCells cells;
    CountingThread worker(cells, entries);
    worker.Start();
    worker.SetRange({0, 3});
    WaitIdle(worker);
    const double before = CpuMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    // A worker looking for work would burn the whole 400 ms.
    EXPECT_LT(CpuMs() - before, 100.0);
    EXPECT_TRUE(worker.Idle());
}

TEST(BrowseThread, StopReturnsWhileACallWaitsForTheUiThread) {
    const std::vector<BrowseEntry> entries = Files(8);
    FakeCells cells;
    CountingThread worker(cells, entries);
    worker.Start();
    worker.SetRange({0, 7});
    // No events are served: the worker's first call is left waiting.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    worker.Stop();
    EXPECT_TRUE(cells.entryOfCell.empty());
    QCoreApplication::processEvents(); // the dropped call does nothing now
    EXPECT_TRUE(cells.entryOfCell.empty());
}

// The quiet loader against the sizes of the files it reads.
TEST(ThumbLoader, ScalesEveryFormatToItsThumbnail) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        int w, h;
        Pair thumb;
    };
    const Case cases[] = {
        {"wide.png", 240, 90, {120, 45}},
        {"small.bmp", 60, 30, {120, 60}},
        {"photo.jpg", 1600, 1200, {120, 90}}, // decoded at 1/8 in the decoder
        {"thin.jpg", 2000, 16, {120, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WritePicture(dir.filePath(c.name), c.w, c.h, 0x20C040);
        for (bool scaled : {true, false}) {
            ThumbLoad load;
            ThumbLoadOptions options;
            options.scaledDecode = scaled;
            ASSERT_TRUE(LoadThumbnail(dir.filePath(c.name), load, options));
            EXPECT_EQ(load.imageSize.x, c.w);
            EXPECT_EQ(load.imageSize.y, c.h);
            EXPECT_EQ(load.thumb.Width(), c.thumb.x);
            EXPECT_EQ(load.thumb.Height(), c.thumb.y);
            const uint32_t p = Centre(load.thumb);
            EXPECT_NEAR(int(p >> 16), 0x20, 6);
            EXPECT_NEAR(int(p >> 8 & 0xFF), 0xC0, 6);
            EXPECT_NEAR(int(p & 0xFF), 0x40, 6);
        }
    }
}

TEST(ThumbLoader, RefusesWhatIsNoPictureWithoutWaiting) {
    QTemporaryDir dir;
    WriteAll(dir.filePath("fake.png"), "not a picture at all");
    ThumbLoad load;
    EXPECT_FALSE(LoadThumbnail(dir.filePath("fake.png"), load));
    EXPECT_FALSE(LoadThumbnail(dir.filePath("missing.png"), load));
    const QString pipe = MakePipe(dir, "pipe.png");
    ExpectReturnsPromptly(pipe, [&] { EXPECT_FALSE(LoadThumbnail(pipe, load)); });
}

} // namespace
