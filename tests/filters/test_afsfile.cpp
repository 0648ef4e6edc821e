#include "filters/AfsFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

FilterSource Sample() {
    FilterSource s;
    s.channels = {QStringLiteral("r + ctl(0)\n* 2"), QString(), QStringLiteral("b")};
    s.ctl = {1, 2, 3, 4, 5, 6, 7, 255};
    s.names[0] = QStringLiteral("Radius");
    s.names[7] = QStringLiteral("Last: one");
    s.category = QStringLiteral("Tests");
    s.author = QStringLiteral("Ann");
    return s; // empty description, title and copyright
}

void ExpectSame(const FilterSource& a, const FilterSource& b) {
    EXPECT_EQ(a.channels, b.channels);
    EXPECT_EQ(a.ctl, b.ctl);
    EXPECT_EQ(a.names, b.names);
    EXPECT_EQ(a.description, b.description);
    EXPECT_EQ(a.category, b.category);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.author, b.author);
    EXPECT_EQ(a.copyright, b.copyright);
}

TEST(AfsFile, EmptyTextsSurviveSaveAndLoad) {
    for (int empty = 0; empty < 4; ++empty) {
        FilterSource s = Sample();
        if (empty < 3)
            s.channels[size_t(empty)].clear();
        else
            s.description = QStringLiteral("two\nlines");
        FilterSource back;
        ASSERT_EQ(afs::Read(afs::Write(s), back), AfsResult::Ok);
        if (empty == 3) s.description = QStringLiteral("twolines"); // joined without separator
        ExpectSame(back, s);
    }
}

TEST(AfsFile, WriterUsesCrLfAndLeavesEmptyLinesOutOfTexts) {
    FilterSource s;
    s.channels[0] = QStringLiteral("r\n\n+1\n");
    const QByteArray bytes = afs::Write(s);
    EXPECT_TRUE(bytes.startsWith("%RGB-1.0\r\n0\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nr\r\n+1\r\n\r\ng\r\n\r\n"));
    FilterSource back;
    ASSERT_EQ(afs::Read(bytes, back), AfsResult::Ok);
    EXPECT_EQ(back.channels[0], QStringLiteral("r\n+1"));
    EXPECT_EQ(back.channels[1], QStringLiteral("g"));
}

TEST(AfsFile, ReaderRefusesWhatIsNoFilter) {
    const QByteArray good = afs::Write(Sample());
    QByteArray trailingSpace = good;
    trailingSpace.replace("%RGB-1.0\r\n", "%RGB-1.0 \r\n");
    QByteArray badValue = good;
    badValue.replace("\r\n2\r\n", "\r\n2 \r\n");
    QByteArray emptyValue = good;
    emptyValue.replace("\r\n2\r\n", "\r\n\r\n");
    QByteArray noColon = good;
    noColon.replace("1: Radius", "1 Radius");
    for (const QByteArray& bytes :
         {trailingSpace, badValue, emptyValue, noColon, QByteArray("%rgb-1.0\r\n"), QByteArray()}) {
        FilterSource s;
        EXPECT_EQ(afs::Read(bytes, s), AfsResult::NotValid) << bytes.left(40).toStdString();
    }
}

TEST(AfsFile, ValuesAreLenientBeforeAndClampedToTheSliders) {
    QByteArray bytes = afs::Write(Sample());
    bytes.replace("\r\n1\r\n2\r\n3\r\n", "\r\n 12\r\n-5\r\n99999999999999999999\r\n");
    FilterSource s;
    ASSERT_EQ(afs::Read(bytes, s), AfsResult::Ok);
    EXPECT_EQ(s.ctl[0], 12);
    EXPECT_EQ(s.ctl[1], 0);
    EXPECT_EQ(s.ctl[2], 255);
}

TEST(AfsFile, NamesAndShortFiles) {
    QByteArray bytes = afs::Write(Sample());
    bytes.replace("1: Radius", "3:   Radius");
    FilterSource s;
    ASSERT_EQ(afs::Read(bytes, s), AfsResult::Ok);
    EXPECT_EQ(s.names[0], QStringLiteral("Radius"));
    EXPECT_EQ(s.names[7], QStringLiteral("Last: one"));
    // Cut right after the copyright line: every name empty.
    const QByteArray cut = bytes.left(bytes.indexOf("3:   Radius") - 2);
    FilterSource t = Sample();
    ASSERT_EQ(afs::Read(cut, t), AfsResult::Ok);
    for (const QString& name : t.names) EXPECT_TRUE(name.isEmpty());
}

TEST(AfsFile, FilesThroughTheDisk) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("f.afs"));
    ASSERT_TRUE(afs::Save(name, Sample()));
    FilterSource s;
    EXPECT_EQ(afs::Load(name, s), AfsResult::Ok);
    ExpectSame(s, Sample());
    EXPECT_EQ(afs::Load(dir.filePath(QStringLiteral("none.afs")), s), AfsResult::CantOpen);
    EXPECT_EQ(afs::Load(dir.path(), s), AfsResult::CantOpen); // a folder
    EXPECT_FALSE(afs::Save(dir.filePath(QStringLiteral("no/such/f.afs")), Sample()));
}

} // namespace
