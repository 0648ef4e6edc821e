#include "app/FileLinks.h"
#include "raster/GFXFile.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

const QByteArray kUserList = "# chosen by hand\n"
                             "[Added Associations]\n"
                             "image/png=gimp.desktop;\n"
                             "\n"
                             "[Default Applications]\n"
                             "text/plain=gedit.desktop;\n"
                             "image/png = eog.desktop;gimp.desktop;\n"
                             "image/jpeg=eog.desktop;gimp.desktop\n" // no final ';'
                             "\n"
                             "[Removed Associations]\n"
                             "image/gif=foo.desktop;\n";

class FileLinksTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    FileLinks links{home.path()};
    QString list = home.filePath(QStringLiteral("mimeapps.list"));
};

TEST_F(FileLinksTest, LinkPutsUsFirstAndUnlinkRestoresTheFile) {
    WriteAll(list, kUserList);
    EXPECT_EQ(links.MimeAppsPath(), list);
    EXPECT_FALSE(links.IsLinked(QStringLiteral(".png")));
    links.Link(QStringLiteral(".PNG"));
    QByteArray expected = kUserList;
    expected.replace("image/png = eog.desktop;gimp.desktop;\n",
                     "image/png=orvelpaint.desktop;eog.desktop;gimp.desktop;\n");
    EXPECT_EQ(ReadAll(list), expected);
    EXPECT_TRUE(links.IsLinked(QStringLiteral(".png")));
    EXPECT_FALSE(links.IsLinked(QStringLiteral(".jpg")));

    links.Unlink(QStringLiteral(".png"));
    EXPECT_EQ(ReadAll(list), kUserList);
    EXPECT_FALSE(links.IsLinked(QStringLiteral(".png")));
}

TEST_F(FileLinksTest, NewEntryGoesIntoTheSectionAndLeavesWithUnlink) {
    WriteAll(list, kUserList);
    links.Link(QStringLiteral(".gif"));
    QByteArray expected = kUserList;
    expected.replace("image/jpeg=eog.desktop;gimp.desktop\n",
                     "image/jpeg=eog.desktop;gimp.desktop\nimage/gif=orvelpaint.desktop;\n");
    EXPECT_EQ(ReadAll(list), expected);
    links.Unlink(QStringLiteral(".gif"));
    EXPECT_EQ(ReadAll(list), kUserList);
}

TEST_F(FileLinksTest, MissingFileAndSectionAreCreated) {
    links.Link(QStringLiteral(".gif"));
    EXPECT_EQ(ReadAll(list), QByteArray("[Default Applications]\nimage/gif=orvelpaint.desktop;\n"));
    links.Unlink(QStringLiteral(".gif"));
    EXPECT_EQ(ReadAll(list), QByteArray("[Default Applications]\n"));

    WriteAll(list, "[Added Associations]\nimage/png=a.desktop;"); // no final newline
    links.Link(QStringLiteral(".gif"));
    EXPECT_EQ(ReadAll(list), QByteArray("[Added Associations]\nimage/png=a.desktop;\n\n"
                                        "[Default Applications]\nimage/gif=orvelpaint.desktop;\n"));
}

TEST_F(FileLinksTest, LinkingTwiceKeepsTheFirstMemory) {
    WriteAll(list, kUserList);
    links.Link(QStringLiteral(".jpg"));
    const QByteArray once = ReadAll(list);
    links.Link(QStringLiteral(".jpg"));
    EXPECT_EQ(ReadAll(list), once);
    EXPECT_EQ(once.count("orvelpaint.desktop"), 1);
    links.Unlink(QStringLiteral(".jpg"));
    EXPECT_EQ(ReadAll(list), kUserList);
}

TEST_F(FileLinksTest, OurIdLaterInTheListMovesToTheFront) {
    const QByteArray before = "[Default Applications]\r\n"
                              "image/bmp=eog.desktop;orvelpaint.desktop;gimp.desktop;\r\n";
    WriteAll(list, before);
    links.Link(QStringLiteral(".bmp"));
    EXPECT_EQ(ReadAll(list),
              QByteArray("[Default Applications]\r\n"
                         "image/bmp=orvelpaint.desktop;eog.desktop;gimp.desktop;\r\n"));
    links.Unlink(QStringLiteral(".bmp"));
    EXPECT_EQ(ReadAll(list), before);
}

TEST_F(FileLinksTest, FormatWithOneOfTwoExtensionsLinkedIsMixed) {
    const QString svg = QStringLiteral("*.svg;*.svgz");
    EXPECT_EQ(links.StateOf(svg), FileLinks::State::None);
    links.Link(QStringLiteral(".svg"));
    EXPECT_EQ(links.StateOf(svg), FileLinks::State::Some);
    links.LinkAll(svg);
    EXPECT_EQ(links.StateOf(svg), FileLinks::State::All);
    EXPECT_EQ(links.StateOf(QStringLiteral("*.png")), FileLinks::State::None);
    links.UnlinkAll(svg);
    EXPECT_EQ(links.StateOf(svg), FileLinks::State::None);
    EXPECT_EQ(links.StateOf(QString()), FileLinks::State::None);
}

TEST_F(FileLinksTest, ExtensionsSharingATypeShareTheLink) {
    WriteAll(list, kUserList);
    links.Link(QStringLiteral(".jpg"));
    EXPECT_EQ(links.StateOf(QStringLiteral("*.jpg;*.jpeg;*.jpe")), FileLinks::State::All);
    links.Link(QStringLiteral(".jpeg"));
    // The old default was remembered under .jpg; unlinking a sibling still brings it back.
    links.Unlink(QStringLiteral(".jpeg"));
    EXPECT_EQ(ReadAll(list), kUserList);
}

TEST_F(FileLinksTest, EveryTypeOfAnExtensionIsLinked) {
    QStringList types;
    for (const QMimeType& t : QMimeDatabase().mimeTypesForFileName(QStringLiteral("x.djvu")))
        types += t.name();
    types.sort();
    if (types != QStringList({"image/vnd.djvu", "image/vnd.djvu+multipage"}))
        GTEST_SKIP() << "this MIME database gives .djvu other types";
    links.Link(QStringLiteral(".djvu"));
    EXPECT_EQ(ReadAll(list), QByteArray("[Default Applications]\n"
                                        "image/vnd.djvu=orvelpaint.desktop;\n"
                                        "image/vnd.djvu+multipage=orvelpaint.desktop;\n"));
    EXPECT_TRUE(links.IsLinked(QStringLiteral(".djvu")));
    // One type taken over by someone else: the extension is no longer ours.
    WriteAll(list, "[Default Applications]\n"
                   "image/vnd.djvu=orvelpaint.desktop;\n"
                   "image/vnd.djvu+multipage=evince.desktop;\n");
    EXPECT_FALSE(links.IsLinked(QStringLiteral(".djvu")));
    EXPECT_EQ(links.StateOf(QStringLiteral("*.djvu")), FileLinks::State::None);
}

TEST_F(FileLinksTest, ADefaultChosenAfterUsSurvivesUnlink) {
    WriteAll(list, kUserList);
    links.Link(QStringLiteral(".png"));
    QByteArray mine = ReadAll(list);
    mine.replace("image/png=orvelpaint.desktop;eog.desktop;gimp.desktop;",
                 "image/png=krita.desktop;");
    WriteAll(list, mine);
    links.Unlink(QStringLiteral(".png"));
    EXPECT_EQ(ReadAll(list), mine);
    // The memory is gone with it: linking again remembers the new choice.
    links.Link(QStringLiteral(".png"));
    links.Unlink(QStringLiteral(".png"));
    EXPECT_EQ(ReadAll(list), mine);
}

TEST_F(FileLinksTest, MemoryLivesInOurSettingsFile) {
    WriteAll(list, kUserList);
    links.Link(QStringLiteral(".jpg"));
    QSettings memory(home.filePath(QStringLiteral("OV/OrvelPaint.ini")), QSettings::IniFormat);
    memory.beginGroup(QStringLiteral("OrvelPaint"));
    EXPECT_EQ(memory.childGroups(), QStringList({".jpg"}));
    EXPECT_EQ(memory.value(QStringLiteral(".jpg/image/jpeg")).toString(),
              QStringLiteral("image/jpeg=eog.desktop;gimp.desktop"));
}

TEST_F(FileLinksTest, UnusableMemoryOrUnknownExtensionDoesNoHarm) {
    links.Link(QStringLiteral(".nosuchextension"));
    links.Link(QStringLiteral(""));
    EXPECT_FALSE(QFile::exists(list));
    EXPECT_FALSE(links.IsLinked(QStringLiteral(".nosuchextension")));

    WriteAll(list, "[Default Applications]\nimage/png=orvelpaint.desktop;eog.desktop;\n");
    {
        QSettings memory(home.filePath(QStringLiteral("OV/OrvelPaint.ini")), QSettings::IniFormat);
        memory.setValue(QStringLiteral("OrvelPaint/.png/image/png"), QStringLiteral("junk"));
    }
    links.Unlink(QStringLiteral(".png"));
    EXPECT_EQ(ReadAll(list), QByteArray("[Default Applications]\nimage/png=eog.desktop;\n"));
}

TEST_F(FileLinksTest, UnwritableSettingsLeaveTheListAlone) {
    // A file where our settings folder should be: the memory cannot be written, root or not.
    WriteAll(home.filePath(QStringLiteral("OV")), "x");
    WriteAll(list, kUserList);
    links.Link(QStringLiteral(".png"));
    EXPECT_EQ(ReadAll(list), kUserList);
}

// Every type a linked format can bring must be one our desktop entry claims, or the desktop
// would ignore the link.
TEST(DesktopEntry, ClaimsTheTypesOfOurFormats) {
    const QByteArray entry = ReadAll(QStringLiteral(OV_SOURCE_DIR "/packaging/orvelpaint.desktop"));
    ASSERT_FALSE(entry.isEmpty());
    QStringList claimed;
    for (const QByteArray& line : entry.split('\n'))
        if (line.startsWith("MimeType="))
            claimed = QString::fromUtf8(line.mid(9)).split(';', Qt::SkipEmptyParts);
    ASSERT_FALSE(claimed.isEmpty());
    EXPECT_TRUE(entry.contains("\nExec=orvelpaint %f\n"));
    EXPECT_TRUE(entry.contains("\nIcon=orvelpaint\n"));

    const QStringList ours = {"*.bmp", "*.png", "*.jpg", "*.gif", "*.tif", "*.webp", "*.tga",
                              "*.ico", "*.ppm", "*.pgm", "*.pbm", "*.xpm", "*.xbm"};
    const QMimeDatabase db;
    for (const GFXFormat& f : GFXFile::Formats()) {
        if (!ours.contains(f.extensions.split(';').first())) continue;
        for (const QString& pattern : f.extensions.split(';'))
            for (const QMimeType& t : db.mimeTypesForFileName(QStringLiteral("x") + pattern.mid(1)))
                EXPECT_TRUE(claimed.contains(t.name())) << t.name().toStdString();
    }
}

} // namespace
