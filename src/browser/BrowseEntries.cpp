#include "browser/BrowseEntries.h"

#include "raster/GFXFile.h"

#include <QDir>

std::vector<BrowseEntry> ScanFolder(const QString& folder) {
    std::vector<BrowseEntry> out;
    QDir dir(folder);
    if (!dir.exists()) return out;
    if (!dir.isRoot()) out.push_back({QStringLiteral(".."), false, true});
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, order))
        out.push_back({name, false, false});
    for (const QString& name : dir.entryList(QDir::Files, order))
        if (GFXFile::GetDefaultFormat(name)) out.push_back({name, true, false});
    return out;
}

QString FolderCaption(const BrowseEntry& entry) {
    return entry.parent ? entry.name : entry.name.toUpper();
}
