#include "color/QuickPalette.h"
#include "files/PaletteFile.h"

#include "FilesTestUtil.h"
#include "support/FileTraps.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A palette whose colours differ from every default, so that a kept cell is told from a read one.
QuickPalette Marked(int cells) {
    QuickPalette p;
    p.Rebuild(cells);
    for (int i = 0; i < p.Count(); ++i) p.SetColour(i, 0x010101u * uint32_t(i + 1));
    return p;
}

} // namespace

TEST(PaletteFile, SavingTheDefaultPaletteWritesNineLines) {
    QTemporaryDir dir;
    const QString name = dir.filePath("default.pal");
    EXPECT_EQ(WritePaletteFile(name, QuickPalette()), PaletteFileResult::Ok);
    EXPECT_EQ(ReadAll(name), QByteArray("8\n000000\n00FFFF\n0000FF\nFF00FF\n00FF00\nFFFF00\n"
                                        "FF0000\nFFFFFF\n"));

    // Writing over an existing, longer file leaves nothing of it behind.
    QuickPalette small;
    small.SetColour(0, 0xabc);
    EXPECT_EQ(WritePaletteFile(name, small), PaletteFileResult::Ok);
    EXPECT_TRUE(ReadAll(name).startsWith("8\n000ABC\n00FFFF\n"));
    EXPECT_EQ(ReadAll(name).size(), 2 + 8 * 7);

    EXPECT_EQ(WritePaletteFile(dir.filePath("no/such/folder/x.pal"), small),
              PaletteFileResult::Failed);
    EXPECT_EQ(WritePaletteFile(dir.path(), small), PaletteFileResult::Failed);
}

TEST(PaletteFile, AFullDiskKeepsTheOldFile) {
    SmallDisk disk;
    REQUIRE_SMALL_DISK(disk);
    const QString name = disk.Path("colours.pal");
    ASSERT_EQ(WritePaletteFile(name, QuickPalette()), PaletteFileResult::Ok);
    const QByteArray old = ReadAll(name);
    disk.Fill(0);
    EXPECT_EQ(WritePaletteFile(name, Marked(40)), PaletteFileResult::Failed);
    EXPECT_EQ(ReadAll(name), old);
}

TEST(PaletteFile, APipeIsRefusedWithoutWaitingForAWriter) {
    QTemporaryDir dir;
    const QString pipe = MakePipe(dir, "pipe.pal");
    QuickPalette p = Marked(12);
    ExpectReturnsPromptly(pipe,
                          [&] { EXPECT_EQ(ReadPaletteFile(pipe, p), PaletteFileResult::Failed); });
    EXPECT_EQ(p.Colours(), Marked(12).Colours());
}

TEST(PaletteFile, TenAnnouncedColoursGiveTwelveCellsTheLastTwoKept) {
    QuickPalette p = Marked(12);
    ReadPaletteText("10\n111111\n222222\n333333\n444444\n555555\n666666\n777777\n888888\n"
                    "999999\nAAAAAA\n",
                    p);
    EXPECT_EQ(p.Colours(),
              (std::vector<uint32_t>{0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666,
                                     0x777777, 0x888888, 0x999999, 0xAAAAAA, 0x0B0B0B, 0x0C0C0C}));
    // From the 8-cell default, the two extra cells take their defaults.
    QuickPalette fresh;
    ReadPaletteText("10\n1\n2\n3\n4\n5\n6\n7\n8\n9\nA\n", fresh);
    ASSERT_EQ(fresh.Count(), 12);
    EXPECT_EQ(fresh.Colour(9), 0xAu);
    EXPECT_EQ(fresh.Colour(10), 0x000088u);
    EXPECT_EQ(fresh.Colour(11), 0x880088u);
}

TEST(PaletteFile, WrittenPalettesReadBackWhole) {
    QTemporaryDir dir;
    for (int cells : {8, 12, 16, 24, 32}) {
        const QString name = dir.filePath(QStringLiteral("p%1.pal").arg(cells));
        const QuickPalette written = Marked(cells);
        ASSERT_EQ(WritePaletteFile(name, written), PaletteFileResult::Ok);
        QuickPalette read;
        ASSERT_EQ(ReadPaletteFile(name, read), PaletteFileResult::Ok);
        EXPECT_EQ(read.Colours(), written.Colours()) << cells;
    }
}

TEST(PaletteFile, ValuesAreReadAsHexNumbersAndBadOnesLeaveTheirCell) {
    QuickPalette p;
    // One value per line or several per line, any case, a prefix or a sign, as "%X" reads them.
    ReadPaletteText("8 abcdef 0x1A2B3C\r\n  +ff\t-1\n1234567890\nZZZ\n12G4\n", p);
    EXPECT_EQ(p.Colours(), (std::vector<uint32_t>{0xABCDEF, 0x1A2B3C, 0x0000FF, 0xFFFFFF, 0x567890,
                                                  0xFFFF00, 0x000012, 0xFFFFFF}));
    // "ZZZ" left cell 5, "12G4" gave 0x12 to cell 6 and its rest "G4" was cell 7's bad value.

    QuickPalette q;
    ReadPaletteText("8\n111111\n-\n0x\n333333\n", q);
    EXPECT_EQ(q.Colour(0), 0x111111u);
    EXPECT_EQ(q.Colour(1), 0x00FFFFu); // a lone sign reads nothing
    EXPECT_EQ(q.Colour(2), 0u);        // "0x" with no digits after it is the number 0
    EXPECT_EQ(q.Colour(3), 0x333333u);
    EXPECT_EQ(q.Colour(4), 0x00FF00u); // the file ended
}

TEST(PaletteFile, OddCountsAndContentsNeverGoWrong) {
    const QuickPalette marked = Marked(16);
    auto read = [&](const QByteArray& text) {
        QuickPalette p = marked;
        ReadPaletteText(text, p);
        return p;
    };
    // No count: the palette stays as it was.
    for (const QByteArray& text :
         {QByteArray(), QByteArray("\n\n  \r\n"), QByteArray("hello\n000000\n"),
          QByteArray("\0\1\2\3\xff\xfe", 6), QByteArray("-\n8\n")})
        EXPECT_EQ(read(text).Colours(), marked.Colours()) << text.toHex().toStdString();

    // Counts at and beyond the int range, negative or zero: the nearest size, cells kept.
    for (const char* text : {"2147483647", "2147483648\n", "99999999999999999999999", "+40\n"}) {
        const QuickPalette p = read(text);
        ASSERT_EQ(p.Count(), 32) << text;
        EXPECT_EQ(p.Colour(15), 0x101010u);
        EXPECT_EQ(p.Colour(16), 0xCCCCCCu);
    }
    for (const char* text : {"-2147483648", "-5\n123456\n", "0"}) {
        const QuickPalette p = read(text);
        ASSERT_EQ(p.Count(), 8) << text;
        EXPECT_EQ(p.Colour(1), 0x020202u) << text;
    }
    EXPECT_EQ(read("-5\n123456\n").Colour(0), 0x123456u);

    // Missing lines: the cells after the last value keep their colours.
    const QuickPalette p = read("16\nFF0000\n");
    ASSERT_EQ(p.Count(), 16);
    EXPECT_EQ(p.Colour(0), 0xFF0000u);
    EXPECT_EQ(p.Colour(1), 0x020202u);
    EXPECT_EQ(p.Colour(15), 0x101010u);

    // Binary after a good count: unreadable bytes leave their cells.
    const QuickPalette b = read(QByteArray("12\n\0\0\0 7F\n", 10));
    ASSERT_EQ(b.Count(), 12);
    EXPECT_EQ(b.Colour(0), 0x010101u);
    EXPECT_EQ(b.Colour(1), 0x7Fu);

    // Only the head of an endless file is looked at: a value past it is never reached.
    QByteArray padded("8\n");
    padded += QByteArray(kPaletteReadLimit, ' ');
    padded += "123456\n";
    EXPECT_EQ(read(padded).Colour(0), 0x010101u);
}

TEST(PaletteFile, FilesThatCannotBeOpenedAreReportedAndChangeNothing) {
    QTemporaryDir dir;
    QuickPalette p = Marked(16);
    EXPECT_EQ(ReadPaletteFile(dir.filePath("missing.pal"), p), PaletteFileResult::Failed);
    EXPECT_EQ(ReadPaletteFile(dir.path(), p), PaletteFileResult::Failed);
    EXPECT_EQ(p.Colours(), Marked(16).Colours());

    const QString empty = dir.filePath("empty.pal");
    WriteAll(empty, QByteArray());
    EXPECT_EQ(ReadPaletteFile(empty, p), PaletteFileResult::Ok);
    EXPECT_EQ(p.Colours(), Marked(16).Colours());

    // Only regular files are palettes: a device is refused, even one that never ends.
    if (QFile::exists(QStringLiteral("/dev/zero"))) {
        EXPECT_EQ(ReadPaletteFile(QStringLiteral("/dev/zero"), p), PaletteFileResult::Failed);
        EXPECT_EQ(p.Colours(), Marked(16).Colours());
    }
}
