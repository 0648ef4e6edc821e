#include "app/Preferences.h"

#include <QSettings>

#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("TPreferences");

// The settings file is edited by hand at times: anything that is not a whole decimal number is
// treated as absent, so one bad line cannot take the other values with it.
bool ReadInt(const QSettings& settings, const QString& name, int& out) {
    const QVariant v = settings.value(name);
    if (!v.isValid()) return false;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok, 10);
    if (ok) out = n;
    return ok;
}

void ReadBool(const QSettings& settings, const QString& name, bool& out) {
    int n = 0;
    if (ReadInt(settings, name, n)) {
        out = n != 0;
        return;
    }
    // QSettings itself writes "true"/"false" for real booleans; accept them too.
    const QString text = settings.value(name).toString().trimmed().toLower();
    if (text == QLatin1String("true")) out = true;
    if (text == QLatin1String("false")) out = false;
}

void ReadClamped(const QSettings& settings, const QString& name, int lo, int hi, int& out) {
    int n = 0;
    if (ReadInt(settings, name, n)) out = std::clamp(n, lo, hi);
}

} // namespace

int Preferences::PaletteCells(int index) {
    return PaletteSizes[std::clamp(index, 0, 4)];
}

void Preferences::Load(QSettings& settings) {
    settings.beginGroup(kGroup);
    ReadBool(settings, QStringLiteral("Clipping"), Clipping);
    ReadBool(settings, QStringLiteral("OptimBrush"), OptimBrush);
    ReadBool(settings, QStringLiteral("AntiAlias"), AntiAlias);
    ReadBool(settings, QStringLiteral("BackupFiles"), BackupFiles);
    ReadBool(settings, QStringLiteral("CacheThumbs"), CacheThumbs);
    const QVariant language = settings.value(QStringLiteral("Language"));
    if (language.isValid()) Language = language.toString();
    ReadClamped(settings, QStringLiteral("Level"), 0, 1, Level);
    ReadClamped(settings, QStringLiteral("Palette"), 0, 4, Palette);
    ReadClamped(settings, QStringLiteral("MRUFiles"), 0, 16, MRUFiles);
    settings.endGroup();
}

void Preferences::Save(QSettings& settings) const {
    const std::pair<QString, int> values[] = {
        {QStringLiteral("Level"), Level},
        {QStringLiteral("Clipping"), Clipping ? 1 : 0},
        {QStringLiteral("OptimBrush"), OptimBrush ? 1 : 0},
        {QStringLiteral("AntiAlias"), AntiAlias ? 1 : 0},
        {QStringLiteral("BackupFiles"), BackupFiles ? 1 : 0},
        {QStringLiteral("CacheThumbs"), CacheThumbs ? 1 : 0},
        {QStringLiteral("Palette"), Palette},
        {QStringLiteral("MRUFiles"), MRUFiles},
    };
    settings.beginGroup(kGroup);
    for (const auto& [name, value] : values) {
        if (onWrite) onWrite(name);
        settings.setValue(name, value);
        // QSettings only meets the disk on sync, so each value is synced to see its failure at
        // once. Only AccessError is a failed write: a FormatError is left over from reading a
        // damaged file, and QSettings still writes it whole, so stopping then would never let
        // the user's preferences be saved again.
        settings.sync();
        if (settings.status() == QSettings::AccessError) break;
    }
    settings.endGroup();
}

void Preferences::SaveLanguage(QSettings& settings, const QString& language) {
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("Language"), language);
    settings.endGroup();
    settings.sync();
}

QSettings* OpenUserSettings() {
    return new QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("OV"),
                         QStringLiteral("OrvelPaint"));
}
