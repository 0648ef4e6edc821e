#include "app/Preferences.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The values of one INI section as written on disk, read without QSettings.
QMap<QString, QString> RawSection(const QString& path, const QString& section) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QMap<QString, QString> out;
    bool inside = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inside = line == QLatin1Char('[') + section + QLatin1Char(']');
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (inside && eq > 0) out[line.left(eq)] = line.mid(eq + 1);
    }
    return out;
}

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class PreferencesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("OV/OrvelPaint.ini"));
};

TEST_F(PreferencesTest, AbsentValuesGiveNoviceEightCellsSixFilesAllOff) {
    WriteText(path, "[Toolbars]\nMain=1\n");
    Preferences p;
    QSettings s(path, QSettings::IniFormat);
    p.Load(s);
    EXPECT_FALSE(p.Clipping);
    EXPECT_FALSE(p.OptimBrush);
    EXPECT_FALSE(p.AntiAlias);
    EXPECT_FALSE(p.BackupFiles);
    EXPECT_FALSE(p.CacheThumbs);
    EXPECT_TRUE(p.Language.isEmpty());
    EXPECT_EQ(p.Level, 0);
    EXPECT_EQ(Preferences::PaletteCells(p.Palette), 8);
    EXPECT_EQ(p.MRUFiles, 6);
}

TEST_F(PreferencesTest, SaveWritesIntegersThatReadBack) {
    Preferences p;
    p.Clipping = true;
    p.AntiAlias = true;
    p.CacheThumbs = true;
    p.Level = 1;
    p.Palette = 3;
    p.MRUFiles = 12;
    p.Language = QStringLiteral("German"); // written only by SaveLanguage
    {
        QSettings s(path, QSettings::IniFormat);
        p.Save(s);
    }
    const QMap<QString, QString> expected = {
        {"Level", "1"},       {"Clipping", "1"},    {"OptimBrush", "0"}, {"AntiAlias", "1"},
        {"BackupFiles", "0"}, {"CacheThumbs", "1"}, {"Palette", "3"},    {"MRUFiles", "12"},
    };
    EXPECT_EQ(RawSection(path, QStringLiteral("TPreferences")), expected);

    Preferences back;
    QSettings s(path, QSettings::IniFormat);
    back.Load(s);
    EXPECT_TRUE(back.Clipping);
    EXPECT_FALSE(back.OptimBrush);
    EXPECT_TRUE(back.AntiAlias);
    EXPECT_FALSE(back.BackupFiles);
    EXPECT_TRUE(back.CacheThumbs);
    EXPECT_EQ(back.Level, 1);
    EXPECT_EQ(back.Palette, 3);
    EXPECT_EQ(back.MRUFiles, 12);
    EXPECT_TRUE(back.Language.isEmpty());
}

TEST_F(PreferencesTest, TwentyFourCellsIsStoredAsIndexThree) {
    EXPECT_EQ(Preferences::PaletteCells(3), 24);
    EXPECT_EQ(Preferences::PaletteCells(0), 8);
    EXPECT_EQ(Preferences::PaletteCells(4), 32);
    EXPECT_EQ(Preferences::PaletteCells(-1), 8);
    EXPECT_EQ(Preferences::PaletteCells(99), 32);
    Preferences p;
    p.Palette = 3;
    {
        QSettings s(path, QSettings::IniFormat);
        p.Save(s);
    }
    EXPECT_EQ(RawSection(path, QStringLiteral("TPreferences")).value(QStringLiteral("Palette")),
              QStringLiteral("3"));
}

TEST_F(PreferencesTest, SaveOrderAndLanguageWrittenApart) {
    Preferences p;
    QStringList seen;
    p.onWrite = [&](const QString& name) { seen += name; };
    {
        QSettings s(path, QSettings::IniFormat);
        p.Save(s);
        Preferences::SaveLanguage(s, QStringLiteral("Deutsch"));
    }
    EXPECT_EQ(seen, QStringList({"Level", "Clipping", "OptimBrush", "AntiAlias", "BackupFiles",
                                 "CacheThumbs", "Palette", "MRUFiles"}));
    const auto raw = RawSection(path, QStringLiteral("TPreferences"));
    EXPECT_EQ(raw.value(QStringLiteral("Language")), QStringLiteral("Deutsch"));
    EXPECT_EQ(raw.size(), 9);
}

TEST_F(PreferencesTest, FailedWriteStopsAfterTheFirstValue) {
    // A regular file where the settings folder should be: no user, root included, can write.
    WriteText(dir.filePath(QStringLiteral("blocker")), "x");
    Preferences p;
    QStringList seen;
    p.onWrite = [&](const QString& name) { seen += name; };
    QSettings s(dir.filePath(QStringLiteral("blocker/OV/OrvelPaint.ini")), QSettings::IniFormat);
    p.Save(s);
    EXPECT_EQ(seen, QStringList({"Level"}));
}

TEST_F(PreferencesTest, DamagedFileIsStillSavedWhole) {
    WriteText(path, "[TPreferences\nLevel=1\n");
    Preferences p;
    p.MRUFiles = 9;
    QStringList seen;
    p.onWrite = [&](const QString& name) { seen += name; };
    {
        QSettings s(path, QSettings::IniFormat);
        p.Load(s);
        p.Save(s);
    }
    EXPECT_EQ(seen.size(), 8);
    const auto raw = RawSection(path, QStringLiteral("TPreferences"));
    EXPECT_EQ(raw.value(QStringLiteral("MRUFiles")), QStringLiteral("9"));
    EXPECT_EQ(raw.value(QStringLiteral("CacheThumbs")), QStringLiteral("0"));
}

TEST_F(PreferencesTest, JunkKeepsDefaultsAndRangesAreClamped) {
    struct Case {
        QByteArray text;
        int level, palette, mru;
        bool clipping;
    } cases[] = {
        {"Level=abc\nPalette=x1\nMRUFiles=\nClipping=yes\n", 0, 0, 6, false},
        {"Level=5\nPalette=7\nMRUFiles=99\nClipping=2\n", 1, 4, 16, true},
        {"Level=-1\nPalette=-3\nMRUFiles=-4\nClipping=0\n", 0, 0, 0, false},
        {"Level=1.5\nPalette=0x2\nMRUFiles=3\nClipping=true\n", 0, 0, 3, true},
        {"Level= 1 \nPalette=2\nMRUFiles=16\nClipping=99999999999\n", 1, 2, 16, false},
    };
    for (const Case& c : cases) {
        WriteText(path, "[TPreferences]\n" + c.text + "Language=German\n");
        Preferences p;
        QSettings s(path, QSettings::IniFormat);
        p.Load(s);
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(p.Level, c.level);
        EXPECT_EQ(p.Palette, c.palette);
        EXPECT_EQ(p.MRUFiles, c.mru);
        EXPECT_EQ(p.Clipping, c.clipping);
        EXPECT_EQ(p.Language, QStringLiteral("German"));
    }
}

TEST(OpenUserSettings, IsTheIniFileOfOvOrvelPaint) {
    std::unique_ptr<QSettings> s(OpenUserSettings());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format(), QSettings::IniFormat);
    EXPECT_EQ(s->scope(), QSettings::UserScope);
    EXPECT_TRUE(s->fileName().endsWith(QStringLiteral("/OV/OrvelPaint.ini")))
        << s->fileName().toStdString();
}

} // namespace
