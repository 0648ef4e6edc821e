#include "CompTestKit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace comp;
using comptest::CompPath;
using comptest::Comps;

namespace {

struct Scanned {
    ComponentTable table;
    QStringList log;
};

Scanned ScanFolder(const QString& folder, int topMenuEntries = 0) {
    Scanned s;
    ScanOptions options;
    options.log = [&s](const QString& line) { s.log << line; };
    options.topMenuEntries = topMenuEntries;
    s.table = Scan(folder, options);
    return s;
}

QStringList Names(const ComponentTable& t) {
    QStringList names;
    for (const Component& c : t.components) names << c.descriptor.name;
    return names;
}

} // namespace

TEST(CompScan, FindsTheTreeInOrder) {
    const Scanned s = ScanFolder(Comps());
    // A library with both exports is described by OVCDESC; Ver=1.48 is in, 1.479, 2, a file
    // that is no library and one without OVCPROCESS are out.
    EXPECT_EQ(Names(s.table), (QStringList{"Data Wins", "By Data", "By Function", "Lowest",
                                           "No Params", "Probe", "All"}));
    EXPECT_EQ(s.table.categories, (QStringList{"MY", "DEEPER", "REFUSED"}));
    EXPECT_EQ(s.table.components[4].category, QStringLiteral("MY"));
    EXPECT_EQ(s.table.components[6].category, QStringLiteral("DEEPER"));
    EXPECT_EQ(s.log.first(), QStringLiteral("Scanning for components started."));
    EXPECT_EQ(s.log.last(), QStringLiteral("Scanning for components finished."));
    EXPECT_EQ(s.log.count(QStringLiteral("Directory found.")), 4);
    // Refused files are still logged as found.
    EXPECT_TRUE(s.log.contains(CompPath("Refused/ver2.ovc") + QStringLiteral(" found.")));
    EXPECT_TRUE(s.log.contains(CompPath("Refused/text.ovc") + QStringLiteral(" found.")));
}

TEST(CompScan, FilesBesideTheLibrary) {
    const Scanned s = ScanFolder(Comps());
    const Component& all = s.table.components.back();
    EXPECT_EQ(all.iconPath, CompPath("My.Effects/Deeper/all.png"));
    EXPECT_EQ(all.helpPath, CompPath("My.Effects/Deeper/all.html"));
    EXPECT_EQ(all.descriptor.helpContext, 12);
    EXPECT_EQ(all.descriptor.ControlCount(), 9); // every type; the unknown tenth is skipped
    EXPECT_EQ(all.descriptor.params[4].level, 3);
    EXPECT_TRUE(s.table.components.front().iconPath.isEmpty());
}

TEST(CompScan, MenuModel) {
    const Scanned s = ScanFolder(Comps());
    const MenuModel& m = s.table.menu;
    ASSERT_EQ(m.top.size(), 4u);
    // A menu that held exactly one entry gets a separator before the next.
    EXPECT_EQ(
        (std::array{m.top[0].separatorBefore, m.top[1].separatorBefore, m.top[2].separatorBefore}),
        (std::array{false, true, false}));
    ASSERT_EQ(m.categories.size(), 3u);
    EXPECT_EQ(m.categories[0].entries.size(), 2u);
    EXPECT_EQ(m.categories[0].entries[1].component, 5);
    EXPECT_FALSE(m.categories[0].entries[0].separatorBefore); // "Browse" and a separator first
    EXPECT_TRUE(m.categories[2].entries.empty());
    EXPECT_FALSE(ScanFolder(Comps(), 6).table.menu.top[0].separatorBefore);
    EXPECT_TRUE(ScanFolder(Comps(), 1).table.menu.top[0].separatorBefore);
}

TEST(CompScan, Categories) {
    const struct {
        const char* folder;
        const char* category;
    } cases[] = {
        {"/x/My.Effects", "MY"}, {"/x/Blur", "BLUR"}, {"a.b.c", "A"}, {"/x/Dist/", "DIST"}};
    for (const auto& c : cases)
        EXPECT_EQ(CategoryOf(QString::fromUtf8(c.folder)), QString::fromUtf8(c.category));
}

TEST(CompScan, The129thFileIsNotLookedAt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int i = 0; i < 129; ++i)
        ASSERT_TRUE(QFile::link(CompPath("bydata.ovc"),
                                dir.filePath(QStringLiteral("c%1.ovc").arg(i, 3, 10, QChar('0')))));
    const Scanned s = ScanFolder(dir.path());
    EXPECT_EQ(s.table.components.size(), 128u);
    EXPECT_TRUE(s.log.contains(dir.filePath("c127.ovc") + QStringLiteral(" found.")));
    EXPECT_FALSE(s.log.contains(dir.filePath("c128.ovc") + QStringLiteral(" found.")));
}

TEST(CompScan, FolderLinksAreNotFollowed) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::link(Comps() + QStringLiteral("/My.Effects"), dir.filePath("Linked")));
    const Scanned s = ScanFolder(dir.path());
    EXPECT_TRUE(s.table.components.empty());
    EXPECT_TRUE(s.table.categories.isEmpty());
    EXPECT_TRUE(ScanFolder(dir.filePath("missing")).table.components.empty());
}
