#include "CompTestKit.h"

#include "filters/CompScan.h"
#include "filters/CompScanCache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace comp;

namespace {

void Write(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode = {}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | mode));
    f.write(bytes);
}

QStringList Described(const ComponentTable& t) {
    QStringList out;
    for (const Component& c : t.components)
        out << c.path + '|' + c.descriptor.name + '|' + c.helpPath + '|' + c.iconPath;
    return out;
}

} // namespace

TEST(ScanCache, KeepsWhatIsUnchangedAndDropsTheRest) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.ovc"), b = dir.filePath("b.ovc"), cache = dir.filePath("c");
    Write(a, "library a");
    Write(b, "library b");
    {
        ScanCache c(cache);
        c.Put(a, "Name=A");
        c.Put(b, "Name=B");
        ASSERT_TRUE(c.Save());
    }
    Write(b, "+", QIODevice::Append); // b changed: its entry no longer counts
    {
        ScanCache c(cache);
        EXPECT_EQ(c.Find(a), QByteArray("Name=A"));
        EXPECT_EQ(c.Find(b), std::nullopt);
        ASSERT_TRUE(c.Save()); // only a was asked for
    }
    Write(b, "library b");
    ScanCache c(cache);
    EXPECT_EQ(c.Find(a), QByteArray("Name=A"));
    EXPECT_EQ(c.Find(b), std::nullopt);
}

TEST(ScanCache, ADamagedFileIsAnEmptyCache) {
    QTemporaryDir dir;
    const QString lib = dir.filePath("a.ovc"), cache = dir.filePath("c");
    Write(lib, "library");
    {
        ScanCache c(cache);
        c.Put(lib, "Name=A");
        ASSERT_TRUE(c.Save());
    }
    QFile f(cache);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    QByteArray hugeLength = good.left(8) + QByteArray("\xff\xff\xff\x7f", 4) + good.mid(12);
    for (const QByteArray& bad :
         {good.chopped(1), good + 'x', QByteArray("not a cache"), hugeLength, QByteArray()}) {
        Write(cache, bad);
        EXPECT_EQ(ScanCache(cache).Find(lib), std::nullopt) << bad.size();
    }
}

TEST(ScanCache, AScanFromTheCacheFindsWhatLoadingFinds) {
    QTemporaryDir dir;
    ScanOptions plain;
    const QStringList loaded = Described(Scan(comptest::Comps(), plain));
    ASSERT_FALSE(loaded.isEmpty());
    for (int run = 0; run < 2; ++run) { // writes the cache, then reads it
        ScanCache cache(dir.filePath("cache"));
        ScanOptions options;
        options.cache = &cache;
        EXPECT_EQ(Described(Scan(comptest::Comps(), options)), loaded) << run;
        EXPECT_TRUE(cache.Save());
    }
}
