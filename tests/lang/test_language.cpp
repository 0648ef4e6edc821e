#include "lang/Language.h"
#include "lang/LngPacker.h"

#include "support/FileTraps.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void WriteLanguage(const QString& folder, const QString& fileName, const QByteArray& text) {
    const std::vector<uint8_t> packed =
        PackLng({reinterpret_cast<const uint8_t*>(text.constData()), size_t(text.size())});
    WriteFile(QDir(folder).filePath(fileName),
              QByteArray(reinterpret_cast<const char*>(packed.data()), qsizetype(packed.size())));
}

struct LoadedText {
    QTemporaryDir dir;
    Language language;
    explicit LoadedText(const QByteArray& text) {
        WriteLanguage(dir.path(), "test.lng", text);
        EXPECT_EQ(language.Load(dir.path(), "test"), std::nullopt);
    }
};

QStringList ScratchFiles(const QString& folder) {
    return QDir(folder).entryList({"OVLNG*"}, QDir::Files);
}

} // namespace

TEST(Language, MessageLookupOfThePublicSample) {
    REQUIRE_TESTDATA();
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(TestDataDir() + "/lng/sample.lng", dir.filePath("sample.lng")));
    Language lang;
    ASSERT_EQ(lang.Load(dir.path(), "sample"), std::nullopt);
    EXPECT_EQ(lang.Translate("Err"), "Error");
    EXPECT_EQ(lang.Translate("NoMem"), "Not enough memory ");
    // "ErrLoadImg = x" has the key "ErrLoadImg " and does not match.
    EXPECT_EQ(lang.Translate("ErrLoadImg"),
              "The image could not be loaded completely. Keep what was read?");
    // The search runs on through later sections.
    EXPECT_EQ(lang.Translate("OkBtn.Caption"), "&Ok");
    EXPECT_EQ(lang.Translate("Late"), "Found past another header");
    EXPECT_EQ(lang.Translate("err"), "err");
    EXPECT_EQ(lang.Translate("Missing"), "Missing");
}

TEST(Language, EntryRules) {
    LoadedText t("[NewForm]\r\nA=before the header\r\n  [messages]  \r\n"
                 ";A=comment\r\nA\r\n   A=trimmed@  \r\n"
                 "B==x=y\nC=\r\n D = spaced\r\nE=@@\r\n");
    EXPECT_EQ(t.language.Translate("A"), "trimmed ");
    EXPECT_EQ(t.language.Translate("B"), "=x=y");
    EXPECT_EQ(t.language.Translate("C"), "");
    EXPECT_EQ(t.language.Translate("D"), "D");
    EXPECT_EQ(t.language.Translate("D "), " spaced");
    EXPECT_EQ(t.language.Translate("E"), "  ");
    EXPECT_EQ(t.language.Translate(";A"), ";A");
}

TEST(Language, WithoutMessagesHeaderEveryKeyIsItself) {
    LoadedText t("[NewForm]\r\nA=x\r\n[Messagesx]\r\nB=y\r\n");
    EXPECT_EQ(t.language.MessagesPos(), 34); // the end of the text
    EXPECT_EQ(t.language.Translate("A"), "A");
    EXPECT_EQ(t.language.Translate("B"), "B");
}

TEST(Language, LongLinesAreReadInPieces) {
    // A header hidden behind 255 characters of one line is still found by the section search;
    // a 511-character piece ends a message and the rest of its line is an entry of its own.
    const QByteArray text = QByteArray(255, ';') + "[Messages]\r\n" + "K=" + QByteArray(509, 'x') +
                            "L=tail\r\n" + "M=" + QByteArray(509, 'y') + "\r\nN=next\r\n";
    LoadedText t(text);
    EXPECT_EQ(t.language.Translate("K"), QString(509, 'x'));
    EXPECT_EQ(t.language.Translate("L"), "tail");
    EXPECT_EQ(t.language.Translate("M"), QString(509, 'y'));
    EXPECT_EQ(t.language.Translate("N"), "next");
}

TEST(Language, Utf8WithLatin1Fallback) {
    LoadedText t("[Messages]\r\nSize=Gr\xc3\xb6\xc3\x9f"
                 "e\r\nOld=Gr\xf6\xdf"
                 "e\r\n"
                 "Wide=" +
                 QByteArray(508, 'w') + "\xc3\xa4\xc3\xa4\r\n");
    EXPECT_EQ(t.language.Translate("Size"), QString::fromUtf8("Größe"));
    EXPECT_EQ(t.language.Translate("Old"), QString::fromUtf8("Größe"));
    // The piece ends before the character that would be split, not inside it.
    EXPECT_EQ(t.language.Translate("Wide"), QString(506, 'w'));
}

TEST(Language, LinesOpenedByMarksOrBlanksStillMatch) {
    // The lookup skips lines by their first byte before decoding them; these must not be skipped.
    LoadedText t("[Messages]\r\n"
                 "\xEF\xBB\xBF"
                 "Bom=after a byte order mark\r\n"
                 "\t\x01 Ctl=after controls\r\n"
                 "\xD6l=Latin-1 key\r\n"
                 "\xC3\x84pfel=UTF-8 key\r\n");
    const struct {
        const char* key;
        const char* want;
    } cases[] = {
        {"Bom", "after a byte order mark"},
        {"Ctl", "after controls"},
        {"\u00D6l", "Latin-1 key"},
        {"\u00C4pfel", "UTF-8 key"},
        {"tl", "tl"}, // a key is never found in the middle of a line
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.language.Translate(QString::fromUtf8(c.key)), QString::fromUtf8(c.want))
            << c.key;
}

TEST(Language, TranslateName) {
    LoadedText t("[Messages]\r\n~Blur=Weichzeichnen\r\n~Odd=~Tilde\r\n");
    EXPECT_EQ(t.language.TranslateName("Blur"), "Weichzeichnen");
    EXPECT_EQ(t.language.TranslateName("Sharpen"), "Sharpen");
    EXPECT_EQ(t.language.TranslateName("Odd"), "Tilde");
}

TEST(Language, EveryLookupReadsTheScratchFileAnew) {
    LoadedText t("[Messages]\r\nA=1\r\n");
    const QString scratch = t.language.ScratchPath();
    EXPECT_TRUE(QFileInfo(scratch).fileName().startsWith("OVLNG"));
    EXPECT_EQ(QFileInfo(scratch).absolutePath(), QFileInfo(t.dir.path()).absoluteFilePath());
    EXPECT_EQ(t.language.Translate("A"), "1");
    WriteFile(scratch, "[Messages]\r\nA=2\r\n");
    EXPECT_EQ(t.language.Translate("A"), "2");
    QFile::remove(scratch);
    EXPECT_EQ(t.language.Translate("A"), "A");
}

// A Held language answers from what it read, on its own thread, until the language is loaded
// again; everywhere else lookups still read the scratch file.
TEST(Language, HeldLookupsReadOnceUntilTheLanguageChanges) {
    LoadedText t("[Messages]\r\nA=1\r\n");
    const Language::Held held(t.language);
    WriteFile(t.language.ScratchPath(), "[Messages]\r\nA=2\r\n");
    EXPECT_EQ(t.language.Translate("A"), "1");
    QString elsewhere;
    std::thread([&] { elsewhere = t.language.Translate("A"); }).join();
    EXPECT_EQ(elsewhere, "2");
    WriteLanguage(t.dir.path(), "other.lng", "[Messages]\r\nA=3\r\n");
    ASSERT_EQ(t.language.Load(t.dir.path(), "other"), std::nullopt);
    EXPECT_EQ(t.language.Translate("A"), "3");
}

TEST(Language, ScratchFileLifecycleAndFailures) {
    QTemporaryDir dir;
    WriteLanguage(dir.path(), "one.lng", "[Messages]\r\nA=one\r\n");
    WriteLanguage(dir.path(), "two.lng", "[Messages]\r\nA=two\r\n");
    {
        Language lang;
        EXPECT_EQ(lang.Translate("A"), "A");
        ASSERT_EQ(lang.Load(dir.path(), "one"), std::nullopt);
        ASSERT_EQ(lang.Load(dir.path(), "two"), std::nullopt);
        EXPECT_EQ(lang.Translate("A"), "two");
        EXPECT_EQ(ScratchFiles(dir.path()), QStringList{QFileInfo(lang.ScratchPath()).fileName()});
        const LanguageMessage missing{"Can't Load Language File", "Error"};
        EXPECT_EQ(lang.Load(dir.path(), "three"), missing);
        EXPECT_FALSE(lang.Loaded());
        EXPECT_TRUE(ScratchFiles(dir.path()).isEmpty());
        EXPECT_EQ(lang.Translate("A"), "A");
        ASSERT_EQ(lang.Load(dir.path(), "one"), std::nullopt);
        EXPECT_EQ(ScratchFiles(dir.path()).size(), 1);
    }
    EXPECT_TRUE(ScratchFiles(dir.path()).isEmpty());
}

// Expanded on another thread, a language loads as Load would; one dropped unloaded leaves no file.
TEST(Language, ExpandedAheadLoadsAsLoadWouldAndADroppedOneLeavesNothing) {
    QTemporaryDir dir;
    WriteLanguage(dir.path(), "one.lng", "[Messages]\r\nA=one\r\n");
    Language lang;
    Language::Expanded ahead;
    std::thread([&] { ahead = Language::Expanded::Make(dir.path(), "one"); }).join();
    ASSERT_EQ(lang.Load(std::move(ahead)), std::nullopt);
    EXPECT_EQ(lang.Name(), "one");
    EXPECT_EQ(lang.Translate("A"), "one");
    Language::Expanded::Make(dir.path(), "one"); // dropped at once
    EXPECT_EQ(ScratchFiles(dir.path()), QStringList{QFileInfo(lang.ScratchPath()).fileName()});
    const LanguageMessage missing{"Can't Load Language File", "Error"};
    EXPECT_EQ(lang.Load(Language::Expanded::Make(dir.path(), "three")), missing);
    EXPECT_FALSE(lang.Loaded());
    EXPECT_TRUE(ScratchFiles(dir.path()).isEmpty());
}

TEST(Language, ScratchOfAKilledProgramGoesWhileARunningOnesStays) {
    QTemporaryDir dir;
    WriteLanguage(dir.path(), "one.lng", "[Messages]\r\nA=one\r\n");
    WriteFile(dir.filePath("OVLNGdead01.tmp"), "left by a killed program");
    WriteFile(dir.filePath("OVLNGlive01.tmp"), "in use");
    // Another running program holds its scratch file as Language does.
    QFile live(dir.filePath("OVLNGlive01.tmp"));
    ASSERT_TRUE(live.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(live.handle(), LOCK_EX | LOCK_NB), 0);
    {
        Language lang;
        ASSERT_EQ(lang.Load(dir.path(), "one"), std::nullopt);
        QStringList want{QFileInfo(lang.ScratchPath()).fileName(), "OVLNGlive01.tmp"};
        want.sort(Qt::CaseInsensitive);
        EXPECT_EQ(ScratchFiles(dir.path()), want);
        // A second program starting now leaves this one's scratch alone.
        Language other;
        ASSERT_EQ(other.Load(dir.path(), "one"), std::nullopt);
        EXPECT_EQ(lang.Translate("A"), "one");
    }
    EXPECT_EQ(ScratchFiles(dir.path()), QStringList{"OVLNGlive01.tmp"});
}

TEST(Language, APipeNamedAsLanguageFileFailsAtOnce) {
    QTemporaryDir dir;
    const QString pipe = MakePipe(dir, "pipe.lng");
    ExpectReturnsPromptly(pipe, [&] {
        EXPECT_FALSE(Language::FileReadable(dir.path(), "pipe"));
        Language lang;
        EXPECT_EQ(lang.Load(dir.path(), "pipe"),
                  (LanguageMessage{"Can't Load Language File", "Error"}));
    });
}

TEST(Language, DamagedFileKeepsWhatDecoded) {
    REQUIRE_TESTDATA();
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(TestDataDir() + "/lng/truncated.lng", dir.filePath("cut.lng")));
    Language lang;
    ASSERT_EQ(lang.Load(dir.path(), "cut"), std::nullopt);
    EXPECT_EQ(lang.DecodeStatus(), LngStatus::Truncated);
    EXPECT_EQ(lang.Translate("Err"), "Error");
    EXPECT_EQ(lang.Translate("Late"), "Late");
}

TEST(Language, ListAndFileNames) {
    QTemporaryDir dir;
    for (const char* f : {"english.lng", "GERMAN.LNG", "fRench.lng", "notes.txt", "x.lng.bak"})
        WriteFile(dir.filePath(f), "");
    QDir(dir.path()).mkpath("sub");
    QDir(dir.path()).mkpath("folder.lng");
    WriteFile(dir.filePath("sub/italian.lng"), "");
    EXPECT_EQ(Language::List(dir.path()), (QStringList{"English", "French", "German"}));
    EXPECT_EQ(Language::FilePath(dir.path(), "German"), dir.filePath("GERMAN.LNG"));
    EXPECT_TRUE(Language::FileReadable(dir.path(), "English"));
    EXPECT_FALSE(Language::FileReadable(dir.path(), "Italian"));
    EXPECT_FALSE(Language::FileReadable(dir.path(), "folder"));
}

TEST(Language, ScratchFallsBackToTempFolderThenFails) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    QTemporaryDir dir, tmp;
    WriteLanguage(dir.path(), "ro.lng", "[Messages]\r\nA=ro\r\n");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.path().toLocal8Bit());
    {
        Language lang;
        ASSERT_EQ(lang.Load(dir.path(), "ro"), std::nullopt);
        EXPECT_EQ(QFileInfo(lang.ScratchPath()).absolutePath(),
                  QFileInfo(tmp.path()).absoluteFilePath());
        EXPECT_EQ(lang.Translate("A"), "ro");
        QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::ExeOwner);
        const LanguageMessage cantSave{"CantSaveLngFile", "Err"};
        EXPECT_EQ(lang.Load(dir.path(), "ro"), cantSave);
        EXPECT_EQ(lang.Translate("A"), "A");
        qputenv("TMPDIR", tmp.filePath("missing").toLocal8Bit());
        EXPECT_EQ(lang.Load(dir.path(), "ro"), cantSave);
    }
    qputenv("TMPDIR", oldTmp);
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
