#pragma once

#include <QString>

#include <functional>

class QSettings;

// The user's preferences, read at start-up and written on exit.
struct Preferences {
    bool Clipping = false;
    bool OptimBrush = false;
    bool AntiAlias = false;
    bool BackupFiles = false;
    bool CacheThumbs = false;
    QString Language;
    int Level = 0;   // 0 Novice, 1 Expert
    int Palette = 0; // index into PaletteSizes
    int MRUFiles = 6;

    static constexpr int PaletteSizes[5] = {8, 12, 16, 24, 32};
    static int PaletteCells(int index); // clamped to the table

    // Reads group "TPreferences"; absent or malformed values keep their defaults.
    void Load(QSettings& settings);
    // Writes Level, Clipping, OptimBrush, AntiAlias, BackupFiles, CacheThumbs, Palette, MRUFiles in
    // that order (booleans as 0/1); stops silently at the first failed write. Not Language.
    void Save(QSettings& settings) const;
    // Language is written on its own, when the user changes it.
    static void SaveLanguage(QSettings& settings, const QString& language);

    // Seam for tests: sees each value name just before it is written.
    std::function<void(const QString& name)> onWrite;
};

// The per-user settings file: $XDG_CONFIG_HOME/OV/OrvelPaint.ini.
QSettings* OpenUserSettings(); // caller owns
