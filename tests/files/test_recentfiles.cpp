#include "files/RecentFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndBounded) {
    RecentFiles list(3);
    for (const char* e : {"a", "b", "a", "c", "d"}) list.Add(QString::fromLatin1(e));
    EXPECT_EQ(list.Entries(), (QStringList{"d", "c", "a"}));
    list.Add(QString());
    EXPECT_EQ(list.Entries().size(), 3);
    list.SetMaxEntries(1);
    EXPECT_EQ(list.Entries(), QStringList{"d"});
    list.SetMaxEntries(0);
    list.Add(QStringLiteral("e"));
    EXPECT_TRUE(list.Entries().isEmpty());
}

TEST(RecentFiles, EntriesAndTheirSplit) {
    EXPECT_EQ(RecentFiles::EntryFor(QStringLiteral("/Pics/Anim.GIF"), 3),
              QStringLiteral("/Pics/Anim.GIF: 3"));
    EXPECT_EQ(RecentFiles::EntryFor(QStringLiteral("/Pics/A.png"), 1),
              QStringLiteral("/Pics/A.png"));
    QString name;
    int n = 0;
    RecentFiles::SplitEntry(QStringLiteral("/pics/anim.gif: 3"), name, n);
    EXPECT_EQ(name, QStringLiteral("/pics/anim.gif"));
    EXPECT_EQ(n, 3);
    RecentFiles::SplitEntry(QStringLiteral("/pics/a.png"), name, n);
    EXPECT_EQ(name, QStringLiteral("/pics/a.png"));
    EXPECT_EQ(n, 1);
    RecentFiles::SplitEntry(QStringLiteral("/x: y/a.gif: 2"), name, n);
    EXPECT_EQ(name, QStringLiteral("/x: y/a.gif"));
    EXPECT_EQ(n, 2);
    RecentFiles::SplitEntry(QStringLiteral("/x: y/a.gif"), name, n);
    EXPECT_EQ(name, QStringLiteral("/x: y/a.gif"));
    EXPECT_EQ(n, 1);
    RecentFiles::SplitEntry(QStringLiteral("/x: -4"), name, n);
    EXPECT_EQ(name, QStringLiteral("/x: -4"));
    EXPECT_EQ(n, 1);
}

TEST(RecentFiles, KeptInSettings) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings settings(dir.filePath(QStringLiteral("mru.ini")), QSettings::IniFormat);
    RecentFiles list(4);
    for (const char* e : {"a", "b", "c"}) list.Add(QString::fromLatin1(e));
    list.Save(settings);
    RecentFiles shorter(2);
    shorter.Add(QStringLiteral("z"));
    shorter.Save(settings); // no stale items of the longer list stay
    RecentFiles back(4);
    back.Load(settings);
    EXPECT_EQ(back.Entries(), QStringList{"z"});
    list.Save(settings);
    RecentFiles two(2);
    two.Load(settings);
    EXPECT_EQ(two.Entries(), (QStringList{"c", "b"}));
    settings.beginGroup(QStringLiteral("MRU Items"));
    EXPECT_EQ(settings.value(QStringLiteral("Item1")).toString(), QStringLiteral("c"));
    settings.endGroup();
}
